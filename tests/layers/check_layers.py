#!/usr/bin/env python3
"""Fails when a file under src/ includes a header of a layer it may not use."""
import pathlib
import re
import sys

# Folder -> folders whose headers it may include (its own included).
BELOW = {
    "common": {"common"},
    "refdata": {"common", "refdata"},
    "geo": {"common", "geo"},
    "model": {"common", "model"},
    "voacap": {"common", "refdata", "model", "engine", "voacap"},
    "engine": {"common", "refdata", "geo", "model", "engine"},
    "views": {"common", "refdata", "geo", "model", "engine", "views"},
    "app": {"common", "refdata", "geo", "model", "engine", "views", "app", "com"},
    "com": {"common", "refdata", "geo", "model", "engine", "views", "app", "com"},
    "manager": {"common", "refdata", "manager"},
}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([A-Za-z0-9_]+)/', re.M)


def main(src: pathlib.Path) -> int:
    bad = []
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
    sys.exit(main(pathlib.Path(sys.argv[1])))
