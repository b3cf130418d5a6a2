#!/usr/bin/env python3
"""Fails when a file under src/ includes a header of a layer it may not use.

The layers come from the table in cmake/Layers.cmake (VX_LAYER_TABLE)."""
import pathlib
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([A-Za-z0-9_]+)/', re.M)


TABLE = re.compile(r"set\(VX_LAYER_TABLE\s*(.*?)\)", re.S)
ENTRY = re.compile(r'"([A-Za-z0-9_]+):\s*([A-Za-z0-9_ ]*)"')


def read_table(layers_cmake: pathlib.Path) -> dict:
    """Folder -> folders whose headers it may include (its own included)."""
    body = TABLE.search(layers_cmake.read_text(encoding="utf-8"))
    if not body:
        raise SystemExit(f"{layers_cmake}: no VX_LAYER_TABLE")
    return {m.group(1): set(m.group(2).split()) for m in ENTRY.finditer(body.group(1))}


def main(src: pathlib.Path, layers_cmake: pathlib.Path) -> int:
    BELOW = read_table(layers_cmake)
    bad = []
    for layer, allowed in sorted(BELOW.items()):
        if layer not in allowed:
            bad.append(f"{layers_cmake}: {layer} may not include its own headers")
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".hpp", ".cpp", ".cc"):
            continue
        layer = path.relative_to(src).parts[0]
        allowed = BELOW.get(layer)
        if allowed is None:
            bad.append(f"{path}: folder {layer} has no place in the layer table")
            continue
        for m in INCLUDE.finditer(path.read_text(encoding="latin-1")):
            if m.group(1) not in allowed:
                line = path.read_text(encoding="latin-1").count("\n", 0, m.start()) + 1
                bad.append(f"{path}:{line}: {layer} includes {m.group(1)}/, which lies above or beside it")
    for b in bad:
        print(b)
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main(pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])))
