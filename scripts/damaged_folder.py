#!/usr/bin/env python3
"""Runs the game on damaged copies of its working folder and counts the silent runs.

For every file of the working folder (the game binary aside), once deleted and once
cut to half its size, the game runs headless in a copy of the folder:
  - play: "Gold.vt" starts in play on the first level, for --frames frames;
  - front end: only when play said nothing, the shipped "Gold.vt" from the intro on,
    for --menu-frames frames, so files only the intro and menu read are tried too.
A run is silent when the game wrote nothing at all on stderr. The table lists every
case; the summary counts the silent ones.

    scripts/damaged_folder.py build-release/game --jobs 8 --out /tmp/damaged.tsv

Each run takes the frames' real time (about 15 s), so the whole set takes a while; it
is not part of the test suite.
"""
import argparse
import concurrent.futures
import hashlib
import os
import shutil
import subprocess
import sys
import tempfile

BINARY = "vantrel"
GAME_LIST = "Gold.vt"
PLAY_STATE = "8"  # the game list's start state for play
TIMEOUT_SECONDS = 180


def files_of(folder):
    found = []
    for root, _, names in os.walk(folder):
        for name in names:
            path = os.path.relpath(os.path.join(root, name), folder)
            if path != BINARY:
                found.append(path)
    return sorted(found)


def play_game_list(text):
    """The game list with its start state set to play; the rest kept as it is."""
    tokens = text.split(None, 1)
    if not tokens:
        return text
    return PLAY_STATE + (" " + tokens[1] if len(tokens) > 1 else "\n")


def replace_file(path, data):
    # The copy is linked to the pristine folder: unlink first, never write through.
    if os.path.lexists(path):
        os.unlink(path)
    with open(path, "wb") as out:
        out.write(data)


def make_folder(pristine, work, damaged, damage, play):
    shutil.copytree(pristine, work, copy_function=os.link, symlinks=True)
    game_list = os.path.join(work, GAME_LIST)
    if play and os.path.exists(game_list):
        with open(os.path.join(pristine, GAME_LIST), encoding="latin-1") as f:
            replace_file(game_list, play_game_list(f.read()).encode("latin-1"))
    target = os.path.join(work, damaged)
    if damage == "deleted":
        os.unlink(target)
    else:
        with open(target, "rb") as f:
            data = f.read()
        replace_file(target, data[: len(data) // 2])


def run_game(work, frames):
    home = os.path.join(work, ".home")
    os.makedirs(home, exist_ok=True)
    env = dict(os.environ)
    env.update(
        SDL_VIDEODRIVER="dummy",
        SDL_AUDIODRIVER="dummy",
        VANTREL_MAX_FRAMES=str(frames),
        VANTREL_SEED="1",
        HOME=home,
        XDG_CONFIG_HOME=home,
    )
    for name in ("VANTREL_CAPTURE_DIR", "VANTREL_CAPTURE_FRAMES", "VANTREL_RECORD"):
        env.pop(name, None)
    try:
        done = subprocess.run(
            [os.path.join(work, BINARY)],
            cwd=work,
            env=env,
            stdout=subprocess.DEVNULL,
            stderr=subprocess.PIPE,
            timeout=TIMEOUT_SECONDS,
        )
        return done.returncode, done.stderr.decode("utf-8", "replace")
    except subprocess.TimeoutExpired as expired:
        text = (expired.stderr or b"").decode("utf-8", "replace")
        return "timeout", text


def one_case(pristine, scratch, damaged, damage, frames, menu_frames):
    tag = damaged.replace("/", "_") + "." + damage
    result = None
    for phase, play, count in (("play", True, frames), ("front end", False, menu_frames)):
        work = os.path.join(scratch, tag + (".play" if play else ".menu"))
        make_folder(pristine, work, damaged, damage, play)
        code, error = run_game(work, count)
        shutil.rmtree(work, ignore_errors=True)
        first = next((line for line in error.splitlines() if line.strip()), "")
        result = (damaged, damage, phase, code, first)
        if first:
            break
    return result


def digest(folder):
    h = hashlib.sha256()
    for path in files_of(folder) + [BINARY]:
        h.update(path.encode())
        with open(os.path.join(folder, path), "rb") as f:
            h.update(f.read())
    return h.hexdigest()


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("game", help="the working folder (holds the vantrel binary)")
    parser.add_argument("--jobs", type=int, default=6)
    parser.add_argument("--frames", type=int, default=600)
    parser.add_argument("--menu-frames", type=int, default=900)
    parser.add_argument("--out", help="write the table (tab-separated) here")
    parser.add_argument("--only", nargs="*", help="only these files (relative paths)")
    args = parser.parse_args()

    scratch = tempfile.mkdtemp(prefix="vantrel-damaged-")
    pristine = os.path.join(scratch, "pristine")
    # A private copy: the runs link to it, and nothing they do reaches the build.
    shutil.copytree(args.game, pristine, symlinks=True)
    before = digest(pristine)
    names = args.only or files_of(pristine)
    cases = [(name, damage) for name in names for damage in ("deleted", "cut in half")]

    # The intact folder must run silently, or no count below means anything.
    intact = os.path.join(scratch, "intact")
    shutil.copytree(pristine, intact, copy_function=os.link, symlinks=True)
    code, error = run_game(intact, args.frames)
    shutil.rmtree(intact, ignore_errors=True)
    if error.strip() or code != 0:
        print("the intact folder is not silent:\n" + error, file=sys.stderr)
        return 2

    rows = []
    with concurrent.futures.ThreadPoolExecutor(args.jobs) as pool:
        futures = [
            pool.submit(one_case, pristine, scratch, name, damage, args.frames, args.menu_frames)
            for name, damage in cases
        ]
        for n, future in enumerate(concurrent.futures.as_completed(futures), 1):
            rows.append(future.result())
            if n % 50 == 0:
                print(f"{n}/{len(cases)} runs", file=sys.stderr, flush=True)
    rows.sort()
    if digest(pristine) != before:
        print("a run changed the pristine folder; the counts are unsound", file=sys.stderr)
        return 2
    shutil.rmtree(scratch, ignore_errors=True)

    lines = ["file\tdamage\tphase\texit\tfirst message"]
    lines += ["\t".join(str(v) for v in row) for row in rows]
    if args.out:
        with open(args.out, "w", encoding="utf-8") as out:
            out.write("\n".join(lines) + "\n")
    silent = [row for row in rows if not row[4]]
    print(f"{len(silent)} of {len(rows)} runs ended with no message at all")
    for name, damage, _, code, _ in silent:
        print(f"  silent: {name} ({damage}, exit {code})")
    return 0


if __name__ == "__main__":
    sys.exit(main())
