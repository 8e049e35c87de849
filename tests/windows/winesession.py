# SPDX-License-Identifier: GPL-3.0-or-later
"""The end-to-end harness (tests/e2e/harness.py) for the Windows build: the program is the one the
installer put in the wine prefix's Program Files, started by wine64 on the session's own Xvfb
display with openbox and, where a test asks, its own PulseAudio null sink.

Every test shares one wine prefix, made and filled by test_install.py (the fixture) in
$QUORLIN_WINE_PREFIX; the tests take turns with it (CTest's resource lock), and each ends every wine
process of the prefix when it closes, so that no wine process outlives its X display.
"""

import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))

import harness  # noqa: E402
from harness import check  # noqa: E402

# Debian keeps the 64-bit loader out of PATH.
WINE64 = shutil.which("wine64") or "/usr/lib/wine/wine64"
PROGRAM_FOLDER = os.path.join("drive_c", "Program Files", "Quorlin")
PROGRAM = "quorlin.exe"


def prefix():
    path = os.environ.get("QUORLIN_WINE_PREFIX")
    check(path, "QUORLIN_WINE_PREFIX is not set")
    return path


def wine_env(extra=None):
    """wine's variables over the caller's: the shared prefix, quiet, no menu entries written and no
    offer to install wine's Mono or Gecko."""
    env = dict(os.environ)
    env.update({"WINEPREFIX": prefix(), "WINEARCH": "win64", "WINEDEBUG": "-all",
                "WINEDLLOVERRIDES": "winemenubuilder.exe=d;mscoree=d;mshtml=d"})
    env.update(extra or {})
    return env


def wine(argv, env=None, timeout=120):
    """Runs a wine64 command to its end; its output, or a failure with its output."""
    result = subprocess.run([WINE64] + argv, env=wine_env(env), capture_output=True,
                            timeout=timeout, stdin=subprocess.DEVNULL)
    output = (result.stdout + result.stderr).decode(errors="replace")
    check(result.returncode == 0, f"wine64 {' '.join(argv)} failed ({result.returncode}): {output}")
    return output


def set_windows_version(version):
    """What wine tells programs it is: win7, win8, win81 or win10. Wine reads it when a prefix's
    server starts, so whatever still runs in the prefix is ended first."""
    subprocess.run(["wineserver", "-k"], env=wine_env(), timeout=30)
    wine(["reg", "add", r"HKCU\Software\Wine", "/v", "Version", "/t", "REG_SZ", "/d", version,
          "/f"])
    subprocess.run(["wineserver", "-w"], env=wine_env(), timeout=60)


def installed_folder():
    return os.path.join(prefix(), PROGRAM_FOLDER)


class WineSession(harness.Session):
    """A harness session whose program is the installed quorlin.exe, run by wine64."""

    def __init__(self, program, name):
        super().__init__(os.path.join(installed_folder(), PROGRAM), name)

    def env(self):
        env = super().env()
        env.update(wine_env())
        # The session's own folders and sound server, as for the Linux program.
        env.update({k: v for k, v in super().env().items()
                    if k.startswith(("PULSE_", "XDG_", "DISPLAY", "HOME", "PATH"))})
        return env

    def start(self, cwd, wrapper=(), env=None, via=()):
        """Starts the installed program with wine64 in cwd, or, with via, the wine command given
        there instead (such as start /wait and a shortcut); the session knows the program by
        the windows it shows."""
        check(not wrapper, "the Windows program runs under wine alone")
        check(self.proc is None or self.proc.poll() is not None, "the program is still running")
        self.stdout_path = self.path(f"program-{int(time.monotonic() * 1000)}.log")
        argv = [WINE64] + (list(via) if via else [self.program])
        self.proc = subprocess.Popen(argv, cwd=cwd, env={**self.env(), **(env or {})},
                                     stdin=subprocess.DEVNULL,
                                     stdout=open(self.stdout_path, "wb"),
                                     stderr=subprocess.STDOUT, start_new_session=True)
        self.pid = self.proc.pid
        # A shortcut is opened by wine's start, which ends at once, the program going on alone.
        self.detached = bool(via)
        return self.proc

    def wait_window(self, name, timeout=15):
        if not getattr(self, "detached", False):
            return super().wait_window(name, timeout)
        return harness.wait_until(
            lambda: next((w for w in self.windows() if w.name() == name), None), timeout,
            f"the window {name!r}")

    def wait_exit(self, timeout=10):
        """The program's exit status; None for a program started through a shortcut, once its
        windows are gone."""
        if not getattr(self, "detached", False):
            return super().wait_exit(timeout)
        harness.wait_until(lambda: not self.windows(only_visible=False), timeout,
                           "the program's windows to go")
        return None

    def windows(self, only_visible=True):
        """The program's top-level windows: wine names their class after the program file."""
        argv = ["xdotool", "search"]
        if only_visible:
            argv.append("--onlyvisible")
        argv += ["--class", PROGRAM]
        out = self.x_tool(argv, check_rc=False)
        wins = [harness.Window(self, w) for w in out.split()]
        return [w for w in wins if w.viewable()] if only_visible else wins

    def close(self):
        # Every wine process of the prefix goes with this session's display.
        try:
            subprocess.run(["wineserver", "-k"], env=wine_env(), timeout=30)
        except (OSError, subprocess.TimeoutExpired):
            pass
        super().close()


def run(test, name, sound=False):
    harness.run(test, name, sound=sound, session_class=WineSession)


def run_plain(main):
    """Runs a test that needs no desktop of its own: exits 0 when main returns, 1 with the
    failure's message when a check fails."""
    try:
        main()
    except AssertionError as failure:
        print(f"FAIL: {failure}", file=sys.stderr)
        sys.exit(1)
