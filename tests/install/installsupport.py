# SPDX-License-Identifier: GPL-3.0-or-later
"""Shared helpers for the install, package and launcher tests: the settings CTest passes in,
running tools with a time limit, and reading desktop entries, PNG headers and Depends lines."""

import os
import re
import shutil
import struct
import subprocess
from pathlib import Path

BUILD_DIR = Path(os.environ["QUORLIN_BUILD_DIR"])
SOURCE_DIR = Path(os.environ["QUORLIN_SOURCE_DIR"])
SCRATCH = Path(os.environ["QUORLIN_SCRATCH"])
APP_ID = os.environ["QUORLIN_APP_ID"]
PROJECT_VERSION = os.environ["QUORLIN_PROJECT_VERSION"]
WEBSITE_URL = os.environ["QUORLIN_WEBSITE_URL"]
CMAKE = os.environ["QUORLIN_CMAKE"]
CPACK = os.environ["QUORLIN_CPACK"]

BELL = "80578_634166-lq.wav"
ICON_SIZES = (16, 32, 48, 64, 128, 256)

# Every file an install puts under its prefix, and nothing else: no tests, tools or benchmarks.
MODULE = "lib/quorlin/modules/quorlin-audio.so"
MANUAL_PAGE = "share/man/man1/quorlin.1.gz"
EXPECTED_FILES = sorted(
    ["bin/quorlin", MODULE, f"share/quorlin/{BELL}", MANUAL_PAGE,
     f"share/applications/{APP_ID}.desktop",
     f"share/metainfo/{APP_ID}.metainfo.xml"]
    + [f"share/icons/hicolor/{s}x{s}/apps/{APP_ID}.png" for s in ICON_SIZES])
# The Debian package has these as well: its changelog, its copyright file and its lintian
# overrides.
DEBIAN_ONLY_FILES = ["share/doc/quorlin/changelog.Debian.gz", "share/doc/quorlin/copyright",
               "share/lintian/overrides/quorlin"]
PACKAGE_FILES = sorted(EXPECTED_FILES + DEBIAN_ONLY_FILES)

# Where the unpacked package lives; the package test makes it, the launcher test uses it.
PACKAGE_DIR = SCRATCH / "package"
PACKAGE_ROOT = PACKAGE_DIR / "root"


def run(cmd, timeout=120, check=True, **kwargs):
    """Runs a command with a time limit and returns its completed process, output as text."""
    result = subprocess.run([str(c) for c in cmd], capture_output=True, text=True,
                            timeout=timeout, **kwargs)
    if check and result.returncode != 0:
        raise AssertionError(f"{' '.join(map(str, cmd))} exited with {result.returncode}:\n"
                             f"{result.stdout}{result.stderr}")
    return result


def fresh_dir(path):
    if path.exists():
        shutil.rmtree(path)
    path.mkdir(parents=True)
    return path


def files_under(root):
    return sorted(str(p.relative_to(root)) for p in root.rglob("*") if not p.is_dir())


def unescape_string(value):
    """Undoes the escapes of a desktop entry string value (\\s \\n \\t \\r \\\\)."""
    escapes = {"s": " ", "n": "\n", "t": "\t", "r": "\r", "\\": "\\"}
    return re.sub(r"\\(.)", lambda m: escapes.get(m.group(1), "\\" + m.group(1)), value)


def read_desktop_entry(path):
    """The [Desktop Entry] group of a desktop file as raw key -> value."""
    entry, group = {}, None
    for line in Path(path).read_text(encoding="utf-8").splitlines():
        if not line or line.startswith("#"):
            continue
        if line.startswith("["):
            group = line.strip("[]")
        elif group == "Desktop Entry":
            key, _, value = line.partition("=")
            entry[key.strip()] = value.strip()
    return entry


def exec_argv(value):
    """The command line of an Exec key, the way a launcher reads it: string escapes first, then
    double-quoted arguments with their backslash escapes, "%%" as "%" and field codes dropped."""
    text, argv, i = unescape_string(value), [], 0
    while i < len(text):
        if text[i] == " ":
            i += 1
            continue
        arg, has_field_code = "", False
        if text[i] == '"':
            i += 1
            while i < len(text) and text[i] != '"':
                if text[i] == "\\" and i + 1 < len(text) and text[i + 1] in '"`$\\':
                    i += 1
                arg += text[i]
                i += 1
            if i >= len(text):
                raise ValueError(f"unterminated quote in Exec={value}")
            i += 1
        else:
            while i < len(text) and text[i] != " ":
                if text[i] in "\"'\\><~|&;$*?#()`\t\n":
                    raise ValueError(f"reserved character {text[i]!r} unquoted in Exec={value}")
                arg += text[i]
                i += 1
        out, j = "", 0
        while j < len(arg):
            if arg[j] == "%" and j + 1 < len(arg):
                if arg[j + 1] == "%":
                    out += "%"
                else:
                    has_field_code = True
                j += 2
            else:
                out += arg[j]
                j += 1
        if out or not has_field_code:
            argv.append(out)
    return argv


def png_size(path):
    data = Path(path).read_bytes()[:24]
    if data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
        raise AssertionError(f"{path} is not a PNG file")
    return struct.unpack(">II", data[16:24])


def depends_clauses(depends):
    """A Depends field as a list of clauses, each a list of (package, version relation) pairs."""
    clauses = []
    for clause in filter(None, (c.strip() for c in depends.split(","))):
        alternatives = []
        for alt in clause.split("|"):
            m = re.fullmatch(r"\s*([a-z0-9][a-z0-9+.-]+)(?::[a-z0-9-]+)?\s*(?:\(([<>=]+)\s*([^)]+)\))?\s*",
                             alt)
            if not m:
                raise AssertionError(f"malformed Depends clause {clause!r}")
            alternatives.append((m.group(1), (m.group(2), m.group(3).strip()) if m.group(2) else None))
        clauses.append(alternatives)
    return clauses
