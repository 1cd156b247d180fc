#!/usr/bin/env python3
"""The parts of kill_while_saving.sh that read files and traces.

  home <levels folder> <home> <dead pid>
      the home every run starts from: a saved game whose last level has every
      link joined and whose final transition has begun, a score table of six
      entries, and beside each save file a temporary that a killed write of
      the process <dead pid> left; no settings yet (a first start)
  plan <clean trace prefix> <home> <seed> <tries> <state file> <kills file>
      reads the clean traced run (strace -ff -xx): which file each save
      writes, its steps and the versions it renames into place; picks the
      kills (a file, then one step of that file's saves) and writes
      "<syscall> <n>" per kill: the n-th call of that syscall in the main
      thread, where the injected SIGKILL lands
  check <state file> <try> <kill trace> <home> <left folder>
      whether the kill landed on the planned step and every save file is the
      old version or one the clean run wrote, whole; moves the temporaries the
      kill left to the same place under <left folder>
  final <state file> <home>
      after a whole run: no temporary left, every file the last version
  summary <state file>
      the figures
"""

import json
import os
import random
import re
import struct
import sys
from collections import Counter

SAVE_FILES = {
    "settings.reg": "config/TamoGames/Lintwick/settings.reg",
    "score.dat": "data/Tamo Games/Lintwick/save/score.dat",
    "game.dat": "data/Tamo Games/Lintwick/save/game.dat",
    "progress.dat": "data/Tamo Games/Lintwick/save/progress.dat",
}
LAST_LEVEL = 99
NODE_RECORD = 16
SOLUTION_RECORD = 100
LINKS = 7
GAME_DONE = 2  # the transition that ends the game
PHASES = ["removing stale temporaries", "creating the temporary", "filling the temporary", "renaming",
          "syncing the folder"]

LINE = re.compile(r"^(\w+)\((.*)\) += (.*)$")
STRING = re.compile(r'"((?:\\x[0-9a-f]{2})*)"')
TEMPORARY = re.compile(r"\.\d+\.\d+\.tmp$")


def fail(message):
    sys.exit("FAIL: " + message)


def save_path(home, name):
    return os.path.join(home, SAVE_FILES[name])


def read_or_none(path):
    try:
        with open(path, "rb") as f:
            return f.read()
    except FileNotFoundError:
        return None


# ---------------------------------------------------------------- the home


def saved_game_at_the_end(levels):
    """Level 100 with every link joined along its stored solution, saved
    just before the transition that ends the game: continued, the level is
    solved again (which writes the progress file) and the game ends."""
    with open(os.path.join(levels, "level_n.dat"), "rb") as f:
        nodes = f.read()[LAST_LEVEL * NODE_RECORD :][:NODE_RECORD]
    with open(os.path.join(levels, "level_l.dat"), "rb") as f:
        paths = f.read()[LAST_LEVEL * SOLUTION_RECORD :][:SOLUTION_RECORD]
    points = 4000
    game = struct.pack("<BBBiHhhhBh", LAST_LEVEL, 0, 3, 250000, points, 1, 0, 0, GAME_DONE, points)
    at = 0
    for link in range(LINKS):
        if link >= nodes[0] // 2:
            game += bytes([0, 0])
            continue
        path = paths[at + 1 : at + 1 + paths[at]]
        at += 1 + paths[at]
        codes = bytes([nodes[1 + 2 * link], nodes[2 + 2 * link]]) + path
        game += bytes([1, len(codes)]) + codes
    return game


def make_home(levels, home, dead_pid):
    scores = b"".join(struct.pack("<iH", 6000 - 1000 * i, 4) + b"Tamo" for i in range(6))
    files = {"game.dat": saved_game_at_the_end(levels), "score.dat": scores}
    for name, bytes_ in files.items():
        os.makedirs(os.path.dirname(save_path(home, name)), exist_ok=True)
        with open(save_path(home, name), "wb") as f:
            f.write(bytes_)
    os.makedirs(os.path.dirname(save_path(home, "settings.reg")), exist_ok=True)
    for name in SAVE_FILES:
        with open(f"{save_path(home, name)}.{dead_pid}.0.tmp", "wb") as f:
            f.write(files.get(name, b"; cut off")[:5])


# ---------------------------------------------------------------- traces


def parse_trace(path):
    """The syscalls of one thread as (name, strings, result, fd); strings
    decoded from strace's -xx form, result None for a call killed on entry."""
    calls = []
    with open(path, encoding="ascii", errors="replace") as f:
        for text in f:
            match = LINE.match(text.rstrip("\n"))
            if not match:
                continue
            name, args, result = match.groups()
            strings = [bytes.fromhex(s.replace("\\x", "")) for s in STRING.findall(args)]
            calls.append((name, strings, None if result == "?" else result, args.split(",", 1)[0]))
    return calls


def shape(call):
    """What a call is, apart from process ids and descriptor numbers."""
    name, strings, _, _ = call
    return [name] + [TEMPORARY.sub(".PID.N.tmp", s.decode("latin-1")) for s in strings if name != "write"]


def landmark(calls):
    """The last call and the last one that names a file: where a trace ends."""
    named = next((call for call in reversed(calls[:-1]) if call[1] and call[0] != "write"), None)
    return [shape(calls[-1]), named and shape(named)]


def file_of(path):
    for name, tail in SAVE_FILES.items():
        if TEMPORARY.sub("", path).endswith(tail):
            return name
    return None


def main_thread_trace(prefix):
    folder, stem = os.path.split(prefix)
    threads = [os.path.join(folder, n) for n in os.listdir(folder) if n.startswith(stem + ".")]
    main = [t for t in threads if any(c[0] == "execve" for c in parse_trace(t))]
    if len(main) != 1:
        fail("cannot tell the main thread in the clean trace")
    for other in set(threads) - set(main):
        if any(c[0] in ("rename", "unlink") or any(b".tmp" in s for s in c[1]) for c in parse_trace(other)):
            fail(f"a save on another thread than the main one ({other})")
    return parse_trace(main[0])


def saves_of(calls):
    """Each save as (file, its calls' indexes, version renamed into place):
    from the listing of the folder for stale temporaries to the sync of the
    folder after the rename."""
    saves = []
    for i, call in enumerate(calls):
        if call[0] == "openat" and call[1] and TEMPORARY.search(call[1][0].decode("latin-1")) and call[2][0] != "-":
            name = file_of(call[1][0].decode("latin-1"))
            folder = os.path.dirname(call[1][0])
            start = max(j for j in range(i) if calls[j][0] == "openat" and calls[j][1] == [folder])
            fd = call[2].split()[0]
            closed = next(j for j in range(i, len(calls)) if calls[j][0] == "close" and calls[j][3] == fd)
            data = b"".join(c[1][0] for c in calls[i:closed] if c[0] == "write" and c[3] == fd)
            end = max(closed, next(j for j in range(i, len(calls)) if calls[j][0] == "rename"))
            if calls[end + 1][1] == [folder] and calls[end + 2][0] == "fsync" and calls[end + 3][0] == "close":
                end += 3
            saves.append((name, list(range(start, end + 1)), data))
    return saves


def plan(prefix, home, seed, tries, state_file, kills_file):
    calls = main_thread_trace(prefix)
    saves = saves_of(calls)
    ordinals, seen = [], Counter()
    for call in calls:
        seen[call[0]] += 1
        ordinals.append(seen[call[0]])
    steps = {name: [] for name in SAVE_FILES}
    old = {name: read_or_none(save_path(home, name)) for name in SAVE_FILES}
    versions = {name: [old[name].hex() if old[name] is not None else None] for name in SAVE_FILES}
    for number, (name, indexes, data) in enumerate(saves):
        versions[name].append(data.hex())
        phase = 0
        for i in indexes:
            if calls[i][0] == "rename" or (phase == 0 and calls[i][0] == "openat" and ".PID." in shape(calls[i])[-1]):
                phase += 1
            steps[name].append({"file": name, "syscall": calls[i][0], "n": ordinals[i], "save": number,
                                "step": f"{PHASES[phase]}: {calls[i][0]}", "shape": landmark(calls[: i + 1])})
            if calls[i][0] == "rename" or phase == 1:
                phase += 1
    for name in SAVE_FILES:
        if not steps[name]:
            fail(f"the clean run never saved {name}")
    rng = random.Random(seed)
    kills = []
    for _ in range(tries):
        kills.append(rng.choice(steps[rng.choice(sorted(SAVE_FILES))]))
    with open(state_file, "w") as f:
        json.dump({"versions": versions, "kills": kills, "results": [], "stale": temporaries(home)}, f)
    print("the clean run saved " + ", ".join(
        f"{name} {len(v) - 1} times ({len(steps[name])} steps)" for name, v in versions.items()))
    with open(kills_file, "w") as f:
        f.writelines(f"{kill['syscall']} {kill['n']}\n" for kill in kills)


# ---------------------------------------------------------------- after a kill


def temporaries(home):
    return sorted(os.path.relpath(os.path.join(d, n), home) for d, _, names in os.walk(home) for n in names
                  if TEMPORARY.search(n))


def load(state_file):
    with open(state_file) as f:
        return json.load(f)


def version_of(state, home, name):
    """Which version the file is: 0 the old one, k the k-th the clean run
    wrote; None for anything else."""
    content = read_or_none(save_path(home, name))
    known = state["versions"][name]
    content = content.hex() if content is not None else None
    return known.index(content) if content in known else None


def check(state_file, attempt, trace, home, left):
    state = load(state_file)
    kill = state["kills"][attempt]
    calls = parse_trace(trace)
    where = f"{kill['syscall']} #{kill['n']}, {kill['step']} in save {kill['save']} ({kill['file']})"
    if not calls or calls[-1][2] is not None:
        fail(f"try {attempt + 1}: the run was not killed on entering {where}")
    result = {"landed": landmark(calls) == kill["shape"], "bad": [], "left": 0}
    if not result["landed"]:
        print(f"try {attempt + 1}: the kill at {where} landed elsewhere: {calls and landmark(calls)}",
              file=sys.stderr)
    result["bad"] = [name for name in SAVE_FILES if version_of(state, home, name) is None]
    for path in temporaries(home):
        if path not in state["stale"]:
            os.makedirs(os.path.dirname(os.path.join(left, path)), exist_ok=True)
            os.rename(os.path.join(home, path), os.path.join(left, path))
            result["left"] += 1
    state["results"].append(result)
    with open(state_file, "w") as f:
        json.dump(state, f)
    found = ", ".join(f"{name} {version_of(state, home, name)}" for name in SAVE_FILES)
    print(f"try {attempt + 1}: killed at {where}; versions {found}; {result['left']} temporary left")
    if result["bad"]:
        fail(f"try {attempt + 1}, killed at {where}: not the old version nor one the clean run wrote: "
             + ", ".join(result["bad"]))


def final(state_file, home):
    state = load(state_file)
    if temporaries(home):
        fail("temporaries remain: " + ", ".join(temporaries(home)))
    for name in SAVE_FILES:
        known = state["versions"][name]
        if version_of(state, home, name) != known.index(known[-1]):
            fail(f"{name} is not the last version the clean run wrote")


def summary(state_file):
    state = load(state_file)
    inside, steps = Counter(), Counter()
    for kill, result in zip(state["kills"], state["results"]):
        if result["landed"]:
            inside[kill["file"]] += 1
            steps[kill["step"].split(":")[0]] += 1
    results = state["results"]
    print(f"{len(results)} kills, {sum(inside.values())} inside a save: "
          + ", ".join(f"{inside[name]} in {name}'s" for name in SAVE_FILES))
    print("by step: " + ", ".join(f"{count} {step}" for step, count in steps.most_common()))
    print(f"{len(SAVE_FILES) * len(results)} files checked, {sum(len(r['bad']) for r in results)} lost or damaged; "
          f"{sum(r['left'] for r in results)} temporaries left by the kills")


if __name__ == "__main__":
    command, args = sys.argv[1], sys.argv[2:]
    if command == "home":
        make_home(*args)
    elif command == "plan":
        plan(args[0], args[1], int(args[2]), int(args[3]), args[4], args[5])
    elif command == "check":
        check(args[0], int(args[1]), *args[2:])
    elif command == "final":
        final(*args)
    elif command == "summary":
        summary(*args)
    else:
        fail("unknown command " + command)
