# SPDX-License-Identifier: GPL-3.0-or-later
"""Thai is broken at word boundaries with what the installer put in place: a probe built with the
program's Qt, run in the installed folder as the program runs, finds the word boundaries of a
Thai sentence through the installed thai.dll and its dictionary. Without them a Thai paragraph
has no break opportunity at all and wraps only where the line is full."""

import os
import shutil
import subprocess
import sys

import winesession
from harness import check

EXPECTED = "ภาษา|ไทย|เป็น|ภาษา|ที่|สวย|งาม"


def main():
    probe = os.path.abspath(sys.argv[1])
    folder = winesession.installed_folder()
    copy = os.path.join(folder, os.path.basename(probe))
    shutil.copy(probe, copy)
    try:
        env = winesession.wine_env()
        env.pop("LIBTHAI_DICTDIR", None)
        result = subprocess.run([winesession.WINE64, copy], cwd=folder, env=env, capture_output=True,
                                timeout=120, stdin=subprocess.DEVNULL)
    finally:
        os.remove(copy)
        subprocess.run(["wineserver", "-k"], env=winesession.wine_env(), timeout=30)
    words = result.stdout.decode("utf-8", errors="replace").strip()
    check(result.returncode == 0, f"the probe failed ({result.returncode}): {result.stderr!r}")
    check(words == EXPECTED, f"Thai words found: {words!r}, not {EXPECTED!r}")
    print(words)


if __name__ == "__main__":
    winesession.run_plain(main)
