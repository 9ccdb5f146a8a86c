#!/usr/bin/env python3
"""Refuses an include that points up the game's layers.

Every folder of src/ is a layer or sits beside them; a file may include headers of its own
folder and of the folders listed for it below, nothing else of src/. Includes of system and
library headers (<...>, or "..." paths that name no folder of src/) are not checked.

Usage: check_includes.py SRC_DIR   (exit status 1 and one line per upward include)
"""
import pathlib
import re
import sys

GAME = ["platform", "core", "resources", "sound", "visuals", "text", "scenario", "flow"]

# What each folder may include besides itself, bottom up.
ALLOWED = {
    "platform": [],
    "core": ["platform"],
    "resources": ["platform", "core"],
    "sound": ["platform", "core", "resources"],
    "visuals": ["platform", "core", "resources"],
    "text": ["platform", "core", "resources", "visuals"],
    "scenario": ["platform", "core", "resources", "sound", "visuals", "text"],
    "flow": ["platform", "core", "resources", "sound", "visuals", "text", "scenario"],
    # The shell starts the program and wires the layers together.
    "shell": GAME,
    # The encoders and builders of the tools know the data formats and the code tables.
    "authoring": ["platform", "core", "resources"],
    # The in-process harness starts the whole game for tests, fuzzers, benchmarks and tools.
    "harness": GAME + ["shell"],
    # The program entries start the game on a backend: above everything.
    "programs": GAME + ["shell"],
}


INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)


def upward_includes(src: pathlib.Path):
    folders = {p.name for p in src.iterdir() if p.is_dir()}
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp") or not path.is_file():
            continue
        rel = path.relative_to(src).as_posix()
        layer = rel.split("/", 1)[0]
        if "/" not in rel:
            continue
        allowed = set(ALLOWED.get(layer, [])) | {layer}
        text = path.read_text(encoding="utf-8", errors="replace")
        for match in INCLUDE.finditer(text):
            target = match.group(1).split("/", 1)[0]
            if "/" not in match.group(1) or target not in folders:
                continue
            if target not in allowed:
                line = text.count("\n", 0, match.start()) + 1
                yield f"src/{rel}:{line}: {layer} may not include {match.group(1)}"


def main() -> int:
    if len(sys.argv) != 2:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    src = pathlib.Path(sys.argv[1])
    unknown = sorted(p.name for p in src.iterdir() if p.is_dir() and p.name not in ALLOWED)
    if unknown:
        print(f"folders of src/ with no place in the layers: {', '.join(unknown)}")
        return 1
    faults = list(upward_includes(src))
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
