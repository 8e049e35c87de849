#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Checks that every source file of the tree (C++, CMake, shell, Python) starts with its
SPDX-License-Identifier line, after the shebang if it has one, and names those that do not.

    spdx.py [SOURCE_DIR]          check; exit status 1 and one line per file missing its line
    spdx.py --add [SOURCE_DIR]    give each such file the project's line for code

The files are those git tracks or would track (untracked ones not ignored), so that a new file
is named before it is committed; outside a git checkout (an unpacked source tarball), every file
but the build folders."""

import os
import re
import subprocess
import sys
from pathlib import Path

CODE_LICENCE = "GPL-3.0-or-later"
CPP_SUFFIXES = {".cpp", ".cc", ".cxx", ".h", ".hpp"}
HASH_SUFFIXES = {".cmake", ".py", ".sh"}
SKIPPED_DIRS = {".git", ".cache", "__pycache__"}
# An SPDX licence expression: identifiers joined by AND, OR or WITH, with brackets.
SPDX_LINE = re.compile(r"SPDX-License-Identifier: [A-Za-z0-9.+()-]+( (AND|OR|WITH) [A-Za-z0-9.+()-]+)*")


def comment_marker(path):
    """The line-comment marker of a source file, or None for a file that is not source."""
    # A template a source file is configured from counts as that source file.
    name = path.name[:-3] if path.name.endswith(".in") else path.name
    suffix = Path(name).suffix
    if suffix in CPP_SUFFIXES:
        return "//"
    if name == "CMakeLists.txt" or suffix in HASH_SUFFIXES:
        return "#"
    if suffix == "":
        try:
            with open(path, "rb") as f:
                first = f.readline(200)
        except OSError:
            return None
        if re.match(rb"#!\s*\S*(/env\s+)?\S*(sh|bash|python3?)\b", first):
            return "#"
    return None


def source_files(root):
    """Paths, relative to root, of the files to check."""
    if (root / ".git").exists():
        try:
            out = subprocess.run(["git", "-C", str(root), "ls-files", "-z", "--cached", "--others",
                                  "--exclude-standard"], capture_output=True, check=True).stdout
            names = sorted({n for n in out.decode().split("\0") if n})
            return [Path(n) for n in names if (root / n).is_file()]
        except (OSError, subprocess.CalledProcessError):
            pass
    files = []
    for folder, dirs, names in os.walk(root):
        dirs[:] = [d for d in dirs if d not in SKIPPED_DIRS and d != "build"
                   and not d.startswith("build-")]
        files += [Path(folder, n).relative_to(root) for n in names]
    return sorted(files)


def has_spdx_line(text, marker):
    lines = text.splitlines()
    if lines and lines[0].startswith("#!"):
        lines = lines[1:]
    if not lines or not lines[0].startswith(marker):
        return False
    return SPDX_LINE.fullmatch(lines[0][len(marker):].strip()) is not None


def missing(root):
    """The source files under root without their SPDX line, relative to root."""
    result = []
    for rel in source_files(root):
        marker = comment_marker(root / rel)
        if marker is None:
            continue
        text = (root / rel).read_text(encoding="utf-8", errors="replace")
        if not has_spdx_line(text, marker):
            result.append(rel)
    return result


def add_line(path):
    marker = comment_marker(path)
    text = path.read_text(encoding="utf-8")
    line = f"{marker} SPDX-License-Identifier: {CODE_LICENCE}\n"
    if text.startswith("#!"):
        shebang, _, rest = text.partition("\n")
        text = f"{shebang}\n{line}{rest}"
    else:
        text = line + text
    path.write_text(text, encoding="utf-8")


def main(argv):
    add = "--add" in argv
    args = [a for a in argv if a != "--add"]
    root = Path(args[0] if args else Path(__file__).resolve().parents[2])
    files = missing(root)
    if add:
        for rel in files:
            add_line(root / rel)
            print(f"added to {rel}")
        return 0
    for rel in files:
        print(f"{rel}: no SPDX-License-Identifier line at the top")
    return 1 if files else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
