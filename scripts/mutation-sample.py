#!/usr/bin/env python3
"""The mutation sample of the tests, area by area.

Plants the same faults as the shared mutants.py (its own sites and sampler, so the same seed
gives the same faults). Each fault is judged first by rebuilding only the unit-test programs and
running those the build relinked, the area's own programs first, stopping at the first that
fails: seconds a fault instead of minutes of ctest. With --complete, a fault the unit programs
miss is then judged by the rest of the suite as well (end-to-end, install, reliability and, in a
build configured with ZING_FUZZ=ON such as build-sanitize, the fuzz targets): a fault counts as
caught when any test fails. With --also build-sanitize, a fault the first build's unit programs
miss is judged by the area's own unit programs in that second build too: faults that only read or
write past an array's end show there, under the sanitizers CI runs, and nowhere in a plain build.

usage: scripts/mutation-sample.py [--build build] [--seed S] [--count 30] [--complete]
                                  [--also build-sanitize]
                                  [--mutants ../shared/tools/mutants.py] AREA...
  AREA    a folder of sources, e.g. game/puzzle or framework/widget (its *.cpp files)
  --seed  the sample's seed; without it one is drawn from the clock. It is printed either way,
          so that a sample can be drawn again; a seed whose misses were given tests no longer
          measures anything.

Run from the top of a checkout whose build folder is configured and built; every file is
restored after each try and on any exit.
"""
import argparse
import glob
import importlib.util
import json
import os
import random
import re
import subprocess
import sys
import time

# The programs most likely to catch a fault of each area run first; the others follow.
FIRST = {
    "game/puzzle": ["puzzle_tests", "gamescreen_tests", "shell_tests"],
    "game/shell": ["shell_tests", "gamescreen_tests", "gamedialog_tests"],
    "framework/graphics": ["graphics_tests", "image_tests", "widget_tests"],
    "framework/widget": ["widget_tests", "app_tests", "gamedialog_tests"],
    "framework/archive": ["resource_tests", "pak_tool_tests", "image_tests"],
    "framework/resource": ["resource_tests", "image_tests", "pak_tool_tests"],
    "framework/app": ["app_tests", "settings_tests", "audio_tests"],
    "framework/audio": ["audio_tests", "audio_wave_tests", "audio_data_tests"],
    "framework/platform": ["app_tests", "settings_tests", "widget_tests"],
    "tools/artgen": ["artgen_tests", "identifier_tests"],
    "tools/demogen": ["demogen_tests"],
    "tools/levelgen": ["levelgen_tests"],
    "tools/pak": ["pak_tool_tests"],
    "tools/soundgen": ["audio_data_tests"],
}
# A second build runs the first two of those (the area's own programs); the game's others take
# minutes each under the sanitizers, so there only the first.
SECOND_BUILD_PROGRAMS = {"game/puzzle": 1, "game/shell": 1}


def load_mutants(path):
    found = importlib.util.spec_from_file_location("mutants", path)
    module = importlib.util.module_from_spec(found)
    found.loader.exec_module(module)
    return module


def suite(build):
    """The unit-test programs (name -> path) and the names of every other test of ctest."""
    listing = subprocess.run(["ctest", "--test-dir", build, "-N", "--show-only=json-v1"],
                             capture_output=True, text=True, check=True).stdout
    programs, others = {}, []
    for test in json.loads(listing)["tests"]:
        command = test.get("command") or [""]
        if any(a.startswith("--gtest_filter=") for a in command):
            programs[os.path.basename(command[0])] = command[0]
        elif not test["name"].endswith("_NOT_BUILT"):
            others.append(test["name"])
    if not programs:
        sys.exit("no unit-test program in %s: configure and build it first" % build)
    return programs, others


def first_failure(programs, paths, env, timeout):
    for name in programs:
        try:
            result = subprocess.run([paths[name], "--gtest_brief=1"], cwd=os.path.dirname(paths[name]), env=env,
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=timeout)
            if result.returncode != 0:
                return name
        except subprocess.TimeoutExpired:
            return name + " (timeout)"
    return None


def rest_failure(M, build, others, timeout):
    """The first of the other tests to fail, through ctest (which sets their environment)."""
    if not others:
        return None
    if M.run(["cmake", "--build", build, "-j2"], 1800) != 0:
        return "the whole build"
    pattern = "^(" + "|".join(re.escape(n) for n in others) + ")$"
    out = os.path.join(build, "mutation-home", "ctest-failed.txt")
    cmd = ["ctest", "--test-dir", build, "-j2", "--stop-on-failure", "-R", pattern,
           "--timeout", str(timeout), "--output-log", out]
    if M.run(cmd, len(others) * timeout) == 0:
        return None
    failed = re.findall(r"\d+ - (\S+) \(", open(out, errors="replace").read()) if os.path.exists(out) else []
    return failed[0] if failed else "ctest"


DOES_NOT_BUILD = "does not build"


class Judge:
    """The unit programs of one build folder, run in their own environment, the area's first."""

    def __init__(self, build, timeout, run, areas=None):
        self.build, self.timeout, self.run = os.path.abspath(build), timeout, run
        self.own_only = areas is not None
        self.paths, self.others = suite(self.build)
        home = os.path.join(self.build, "mutation-home")
        os.makedirs(home, exist_ok=True)
        # The unit tests' own environment: a private home, no screen, no sound card; sanitizers
        # stop at the first report, as in the project's sanitizer run.
        self.env = dict(os.environ, XDG_DATA_HOME=home + "/data", XDG_CONFIG_HOME=home + "/config", HOME=home,
                        SDL_VIDEODRIVER="dummy", SDL_AUDIODRIVER="dummy", ALSOFT_DRIVERS="null",
                        LINTWICK_DATA_DIR=os.path.join(self.build, "data"),
                        ASAN_OPTIONS="detect_leaks=0:abort_on_error=1",
                        UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1")
        used = sorted({p for area in areas for p in self.programs(area)} if areas else self.paths)
        if first_failure(used, self.paths, self.env, timeout):
            sys.exit("the unchanged tree must pass the unit tests of %s first" % self.build)

    def programs(self, area):
        """The area's own programs first, then the others; a second build runs only the area's own."""
        first = [p for p in FIRST.get(area.rstrip("/"), []) if p in self.paths]
        if self.own_only:
            return first[:SECOND_BUILD_PROGRAMS.get(area.rstrip("/"), 2)]
        return first + sorted(p for p in self.paths if p not in first)

    def rebuild(self, programs, timeout=900):
        return self.run(["cmake", "--build", self.build, "-j2", "--target"] + programs, timeout) == 0

    def failure(self, area):
        """None when the fault builds and every relinked program passes; else what caught it."""
        programs = self.programs(area)
        before = {p: os.path.getmtime(self.paths[p]) for p in programs}
        if not self.rebuild(programs):
            return DOES_NOT_BUILD
        # A program the build did not relink does not contain the fault; in a tool's area
        # the data it generates may have changed, so there every program runs.
        relinked = [p for p in programs if area.startswith("tools") or os.path.getmtime(self.paths[p]) != before[p]]
        return first_failure(relinked, self.paths, self.env, self.timeout)


def sample_area(M, area, args, judges):
    rng = random.Random(args.seed)
    pool = []
    for path in sorted(set(glob.glob(os.path.join(area, "*.cpp")))):
        text = open(path).read()
        M.originals[path] = text
        pool += [(path,) + site for site in M.sites(path, text)]
    if not pool:
        print("%s: no place to plant a fault\n" % area, flush=True)
        return
    chosen = rng.sample(pool, min(args.count, len(pool)))
    plain = judges[0]
    caught, missed, stillborn = 0, [], 0
    for n, (path, i, a, b, new, what) in enumerate(chosen, 1):
        lines = M.originals[path].split("\n")
        lines[i] = lines[i][:a] + new + lines[i][b:]
        with open(path, "w") as f:
            f.write("\n".join(lines))
        start = time.time()
        where = "%s:%d  %s" % (path, i + 1, what)
        by = plain.failure(area)
        if by == DOES_NOT_BUILD:
            stillborn += 1
            verdict = by
        else:
            for extra in judges[1:]:
                # A fault another compiler refuses was not caught by a test.
                found = None if by else extra.failure(area)
                if found and found != DOES_NOT_BUILD:
                    by = found + " in " + os.path.basename(extra.build)
            if not by and args.complete:
                by = rest_failure(M, plain.build, plain.others, args.timeout)
            if by:
                caught += 1
                verdict, where = "caught", where + "  by " + by
            else:
                missed.append(where + "   | " + M.originals[path].split("\n")[i].strip())
                verdict = "MISSED"
        with open(path, "w") as f:
            f.write(M.originals[path])
        print("%3d/%d %-15s %s (%.0f s)" % (n, len(chosen), verdict, where, time.time() - start), flush=True)
    for judge in judges:
        judge.rebuild(judge.programs(area), 1800)
    if args.complete:
        M.run(["cmake", "--build", plain.build, "-j2"], 1800)
    tried = caught + len(missed)
    modes = (", complete" if args.complete else "") + "".join(", also " + os.path.basename(j.build) for j in judges[1:])
    print("\n%s (seed %d%s): caught %d of %d faults that build (%.0f%%); %d did not build" %
          (area, args.seed, modes, caught, tried, 100.0 * caught / max(tried, 1), stillborn))
    for m in missed:
        print("  " + m)
    print(flush=True)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--build", default="build")
    ap.add_argument("--seed", type=int, default=None)
    ap.add_argument("--count", type=int, default=30)
    ap.add_argument("--timeout", type=int, default=300)
    ap.add_argument("--complete", action="store_true",
                    help="judge a fault the unit programs miss by the rest of the suite too")
    ap.add_argument("--also", action="append", default=[],
                    help="a second build folder (e.g. build-sanitize) whose unit programs judge the misses")
    ap.add_argument("--mutants", default=os.path.join("..", "shared", "tools", "mutants.py"))
    ap.add_argument("areas", nargs="+")
    args = ap.parse_args()
    if args.seed is None:
        args.seed = int(time.time())
    print("seed %d" % args.seed, flush=True)
    M = load_mutants(args.mutants)
    judges = [Judge(args.build, args.timeout, M.run)] + [Judge(b, args.timeout, M.run, args.areas) for b in args.also]
    for area in args.areas:
        sample_area(M, area, args, judges)


if __name__ == "__main__":
    main()
