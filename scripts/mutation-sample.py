#!/usr/bin/env python3
"""The mutation sample of the tests, area by area, fast.

Plants the same faults as the shared mutants.py (its own sites and sampler, so the same seed
gives the same faults), but judges each one by rebuilding only the unit-test programs and
running them directly, the area's own programs first, stopping at the first that fails:
seconds a fault instead of minutes of ctest. The end-to-end and fuzz tests are not run, so
the shares it prints are if anything low.

usage: scripts/mutation-sample.py [--build build] [--seed 7] [--count 40]
                                  [--mutants ../shared/tools/mutants.py] AREA...
  AREA   a folder of sources, e.g. game/puzzle or framework/widget (its *.cpp files)

Run from the top of a checkout whose build folder is configured and built; every file is
restored after each try and on any exit.
"""
import argparse
import glob
import importlib.util
import os
import random
import subprocess
import sys
import time

PROGRAMS = ["puzzle_tests", "shell_tests", "gamescreen_tests", "gamedialog_tests", "identifier_tests",
            "graphics_tests", "widget_tests", "app_tests", "settings_tests", "resource_tests",
            "image_tests", "audio_tests", "audio_wave_tests", "pak_tool_tests", "levelgen_tests",
            "artgen_tests", "audio_data_tests", "demogen_tests"]
# The programs most likely to catch a fault of each area run first.
FIRST = {
    "game/puzzle": ["puzzle_tests", "gamescreen_tests", "shell_tests"],
    "game/shell": ["shell_tests", "gamescreen_tests", "gamedialog_tests"],
    "framework/graphics": ["graphics_tests", "widget_tests", "image_tests"],
    "framework/widget": ["widget_tests", "app_tests", "gamedialog_tests"],
    "framework/archive": ["resource_tests", "pak_tool_tests", "image_tests"],
    "framework/resource": ["resource_tests", "image_tests", "pak_tool_tests"],
    "framework/app": ["app_tests", "settings_tests", "audio_tests"],
}


def load_mutants(path):
    found = importlib.util.spec_from_file_location("mutants", path)
    module = importlib.util.module_from_spec(found)
    found.loader.exec_module(module)
    return module


def find_programs(build, names):
    found = {}
    for root, _, files in os.walk(os.path.join(build, "tests")):
        for name in names:
            if name in files:
                found[name] = os.path.join(root, name)
    missing = [n for n in names if n not in found]
    if missing:
        sys.exit("not built: " + ", ".join(missing))
    return found


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


def sample_area(M, area, args, paths, env):
    rng = random.Random(args.seed)
    pool = []
    for path in sorted(set(glob.glob(os.path.join(area, "*.cpp")))):
        text = open(path).read()
        M.originals[path] = text
        pool += [(path,) + site for site in M.sites(path, text)]
    chosen = rng.sample(pool, min(args.count, len(pool)))
    first = FIRST.get(area.rstrip("/"), [])
    programs = first + [p for p in PROGRAMS if p not in first]
    build = ["cmake", "--build", args.build, "-j2", "--target"] + programs
    caught, missed, stillborn = 0, [], 0
    for n, (path, i, a, b, new, what) in enumerate(chosen, 1):
        lines = M.originals[path].split("\n")
        lines[i] = lines[i][:a] + new + lines[i][b:]
        with open(path, "w") as f:
            f.write("\n".join(lines))
        start = time.time()
        where = "%s:%d  %s" % (path, i + 1, what)
        if M.run(build, 900) != 0:
            stillborn += 1
            verdict = "does not build"
        else:
            by = first_failure(programs, paths, env, args.timeout)
            if by:
                caught += 1
                verdict, where = "caught", where + "  by " + by
            else:
                missed.append(where + "   | " + M.originals[path].split("\n")[i].strip())
                verdict = "MISSED"
        with open(path, "w") as f:
            f.write(M.originals[path])
        print("%3d/%d %-15s %s (%.0f s)" % (n, len(chosen), verdict, where, time.time() - start), flush=True)
    M.run(build, 1800)
    tried = caught + len(missed)
    print("\n%s: caught %d of %d faults that build (%.0f%%); %d did not build" %
          (area, caught, tried, 100.0 * caught / max(tried, 1), stillborn))
    for m in missed:
        print("  " + m)
    print(flush=True)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--build", default="build")
    ap.add_argument("--seed", type=int, default=7)
    ap.add_argument("--count", type=int, default=40)
    ap.add_argument("--timeout", type=int, default=180)
    ap.add_argument("--mutants", default=os.path.join("..", "shared", "tools", "mutants.py"))
    ap.add_argument("areas", nargs="+")
    args = ap.parse_args()
    M = load_mutants(args.mutants)
    build = os.path.abspath(args.build)
    paths = find_programs(build, PROGRAMS)
    home = os.path.join(build, "mutation-home")
    os.makedirs(home, exist_ok=True)
    # The unit tests' own environment: a private home, no screen, no sound card.
    env = dict(os.environ, XDG_DATA_HOME=home + "/data", XDG_CONFIG_HOME=home + "/config", HOME=home,
               SDL_VIDEODRIVER="dummy", SDL_AUDIODRIVER="dummy", ALSOFT_DRIVERS="null",
               LINTWICK_DATA_DIR=os.path.join(build, "data"))
    if first_failure(PROGRAMS, paths, env, args.timeout):
        sys.exit("the unchanged tree must pass the unit tests first")
    for area in args.areas:
        sample_area(M, area, args, paths, env)


if __name__ == "__main__":
    main()
