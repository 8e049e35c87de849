# SPDX-License-Identifier: GPL-3.0-or-later
"""The uninstaller, run silently, removes the program's folder and its Start-menu shortcut."""

import glob
import os
import subprocess
import time

import winesession
from harness import check


def main():
    folder = winesession.installed_folder()
    winesession.wine([os.path.join(folder, "Uninstall.exe"), "/S"], timeout=120)
    subprocess.run(["wineserver", "-w"], env=winesession.wine_env(), timeout=120)
    # NSIS's uninstaller copies itself away and removes the folder from there, after it returned.
    deadline = time.monotonic() + 30
    while os.path.exists(os.path.join(folder, "quorlin.exe")) and time.monotonic() < deadline:
        time.sleep(0.2)
    left = os.listdir(folder) if os.path.isdir(folder) else []
    check(not left, f"left in {folder} after uninstalling: {left}")
    shortcuts = glob.glob(os.path.join(winesession.prefix(), "drive_c", "**", "Start Menu",
                                       "Programs", "Quorlin", "*.lnk"), recursive=True)
    check(not shortcuts, f"shortcuts left after uninstalling: {shortcuts}")
    print(f"uninstalled: {folder} and its shortcut are gone")


if __name__ == "__main__":
    winesession.run_plain(main)
