# SPDX-License-Identifier: GPL-3.0-or-later
"""The installer, run silently (/S) in a fresh 64-bit wine prefix, puts the program, its module,
its bell, Qt with the plugins Quorlin uses, libsndfile, thai.dll with its dictionary, mingw's
runtime and an uninstaller in Program Files\\Quorlin, and a Start-menu shortcut whose working
folder is that folder. The prefix it leaves is the one the other Windows tests use."""

import glob
import os
import shutil
import subprocess
import sys

import winesession
from harness import check

EXPECTED = ["quorlin.exe", "quorlin-audio.dll", "80578_634166-lq.wav", "Qt6Core.dll",
            "Qt6Gui.dll", "Qt6Widgets.dll", "Qt6Multimedia.dll", "Qt6Network.dll",
            "libsndfile.dll", "thai.dll", "thbrk.tri", "libstdc++-6.dll", "libgcc_s_seh-1.dll",
            "libwinpthread-1.dll", os.path.join("platforms", "qwindows.dll"),
            os.path.join("imageformats", "qjpeg.dll"), "Uninstall.exe"]


def main():
    installer = os.path.abspath(sys.argv[1])
    check(os.path.isfile(installer), f"no installer at {installer}: build it with ./package --windows")
    prefix = winesession.prefix()
    subprocess.run(["wineserver", "-k"], env=winesession.wine_env(), timeout=30)
    shutil.rmtree(prefix, ignore_errors=True)
    winesession.wine(["wineboot", "--init"], timeout=300)
    subprocess.run(["wineserver", "-w"], env=winesession.wine_env(), timeout=120)

    winesession.wine([installer, "/S"], timeout=300)
    subprocess.run(["wineserver", "-w"], env=winesession.wine_env(), timeout=120)
    folder = winesession.installed_folder()
    missing = [f for f in EXPECTED if not os.path.isfile(os.path.join(folder, f))]
    check(not missing, f"not installed in {folder}: {missing}")

    shortcuts = glob.glob(os.path.join(prefix, "drive_c", "**", "Start Menu", "Programs",
                                       "Quorlin", "Quorlin.lnk"), recursive=True)
    check(len(shortcuts) == 1, f"Start-menu shortcuts: {shortcuts}")
    with open(shortcuts[0], "rb") as f:
        link = f.read()
    # A shell link keeps its target's path in the system's code page, its working folder in
    # UTF-16.
    target = b"C:\\Program Files\\Quorlin\\quorlin.exe\x00"
    workdir = "C:\\Program Files\\Quorlin\x00".encode("utf-16-le")
    check(target in link, "the shortcut does not start C:\\Program Files\\Quorlin\\quorlin.exe")
    check(workdir in link, "the shortcut's working folder is not C:\\Program Files\\Quorlin")
    print(f"installed {len(os.listdir(folder))} entries in {folder}; shortcut {shortcuts[0]}")


if __name__ == "__main__":
    winesession.run_plain(main)
