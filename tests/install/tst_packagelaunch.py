# SPDX-License-Identifier: GPL-3.0-or-later
"""Starts the program unpacked from the Debian package the way a menu would: its desktop entry's
command, in the entry's working folder (both moved into the scratch root), on a fresh X server
with a window manager. The main window must appear, load the package's sound output, and close
cleanly with Alt+F4. Started in
the home folder instead, as a launcher without Path would, it cannot find its bell and stops."""

import os
import signal
import subprocess
import time
import unittest

from installsupport import (APP_ID, MODULE, PACKAGE_ROOT, SCRATCH, exec_argv, fresh_dir,
                            read_desktop_entry)

WAIT = 60  # seconds for a window to appear or the program to end; a loaded machine is slow


class X11Session:
    """Xvfb on a free display with openbox on it; stopped when the test ends."""

    def __init__(self, home):
        read_fd, write_fd = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1024x768x24", "-nolisten",
             "tcp", "-noreset"], pass_fds=[write_fd], stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL)
        os.close(write_fd)
        with os.fdopen(read_fd) as pipe:
            number = pipe.readline().strip()
        if not number:
            self.xvfb.kill()
            raise AssertionError("Xvfb did not start")
        self.env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "HOME": str(home),
                    "LANG": "C.UTF-8", "DISPLAY": ":" + number,
                    "XDG_RUNTIME_DIR": str(fresh_dir(home / "runtime"))}
        os.chmod(self.env["XDG_RUNTIME_DIR"], 0o700)
        self.openbox = subprocess.Popen(["openbox"], env=self.env, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        self.wait_for(lambda: "window id #" in self.tool("xprop", "-root",
                                                         "_NET_SUPPORTING_WM_CHECK"),
                      "openbox to manage the display")

    def tool(self, *cmd):
        return subprocess.run(cmd, env=self.env, capture_output=True, text=True,
                              timeout=20).stdout

    def windows(self, name):
        return self.tool("xdotool", "search", "--onlyvisible", "--name", f"^{name}$").split()

    def wait_for(self, condition, what):
        deadline = time.monotonic() + WAIT
        while time.monotonic() < deadline:
            result = condition()
            if result:
                return result
            time.sleep(0.2)
        raise AssertionError(f"timed out waiting for {what}")

    def press(self, window, keys):
        self.tool("xdotool", "windowactivate", "--sync", window)
        self.tool("xdotool", "key", "--clearmodifiers", keys)

    def close(self):
        for process in (self.openbox, self.xvfb):
            process.terminate()
            try:
                process.wait(10)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()


class PackagedLauncher(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        entry = read_desktop_entry(PACKAGE_ROOT / f"usr/share/applications/{APP_ID}.desktop")
        argv = exec_argv(entry["Exec"])
        cls.command = [str(PACKAGE_ROOT) + argv[0]] + argv[1:]
        cls.workdir = PACKAGE_ROOT / entry["Path"].lstrip("/")
        cls.wm_class = entry["StartupWMClass"]
        cls.home = fresh_dir(SCRATCH / "launch-home")
        cls.x11 = X11Session(cls.home)

    @classmethod
    def tearDownClass(cls):
        cls.x11.close()

    def start(self, cwd):
        program = subprocess.Popen(self.command, cwd=cwd, env=self.x11.env,
                                   stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        self.addCleanup(self.stop, program)
        return program

    @staticmethod
    def stop(program):
        if program.poll() is None:
            program.send_signal(signal.SIGKILL)
        program.communicate(timeout=WAIT)

    def assert_running(self, program):
        if program.poll() is not None:
            self.fail(f"the program ended with {program.returncode}: {program.communicate()[0]}")

    def ended_with(self, program):
        try:
            output, _ = program.communicate(timeout=WAIT)
        except subprocess.TimeoutExpired:
            self.fail("the program did not end")
        return program.returncode, output

    def test_starts_from_its_launcher_and_closes_with_alt_f4(self):
        program = self.start(self.workdir)
        window = self.x11.wait_for(lambda: self.x11.windows("Quorlin") or program.poll() is not None,
                                   "the main window")
        self.assert_running(program)
        window = window[0]
        self.assertIn(str(program.pid), self.x11.tool("xprop", "-id", window, "_NET_WM_PID"))
        # Docks and task bars match the window to its launcher by this class.
        self.assertIn(f'"{self.wm_class}"', self.x11.tool("xprop", "-id", window, "WM_CLASS"))
        self.assertEqual(self.x11.windows("Application Error"), [])
        # Once started, it loads its sound output: the module from its own package, found from
        # the program's folder.
        module = str(PACKAGE_ROOT / "usr" / MODULE)
        maps = f"/proc/{program.pid}/maps"
        self.x11.wait_for(lambda: module in open(maps).read() or program.poll() is not None,
                          "the sound output module to be loaded")
        self.assert_running(program)

        self.x11.press(window, "alt+F4")
        status, output = self.ended_with(program)
        self.assertEqual(status, 0, output)

    def test_started_away_from_its_bell_it_reports_the_error_and_ends(self):
        program = self.start(self.home)
        box = self.x11.wait_for(lambda: self.x11.windows("Application Error")
                                or program.poll() is not None, "the error box")
        self.assert_running(program)
        self.assertEqual(self.x11.windows("Quorlin"), [])

        self.x11.press(box[0], "Return")
        status, output = self.ended_with(program)
        self.assertEqual(status, 1, output)


if __name__ == "__main__":
    unittest.main()
