#!/usr/bin/env python3
"""Checks that the folders of src/ include each other in one direction only.

Each core folder may include itself and the folders listed before it; the backends may
include the core, and the COM shell anything. Prints every include that points the
other way and exits non-zero when there is one.
"""
import pathlib
import re
import sys

# Lowest first: the drawing vocabulary below the platform, the control on top.
LAYERS = ["common", "draw", "platform", "window", "imaging", "render", "caption", "control",
          "backends/soft", "backends/gdi", "activex"]
# The backends implement the core's interfaces side by side; neither uses the other.
UNRELATED = {("backends/gdi", "backends/soft")}

src = pathlib.Path(__file__).resolve().parent.parent / "src"
include = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def folder(path: str) -> str:
    parts = path.split("/")
    return "/".join(parts[:2]) if parts[0] == "backends" else parts[0]


bad = []
for file in sorted(src.rglob("*")):
    if file.suffix not in (".h", ".cpp") or not file.is_file():
        continue
    here = folder(file.relative_to(src).as_posix())
    for target in include.findall(file.read_text(encoding="utf-8")):
        there = folder(target)
        if there == here or there not in LAYERS:
            continue  # the same folder, or a generated header of the shell
        if LAYERS.index(there) > LAYERS.index(here) or (here, there) in UNRELATED:
            bad.append(f"{file.relative_to(src)}: {here} includes {target}")

for line in bad:
    print(line)
sys.exit(1 if bad else 0)
