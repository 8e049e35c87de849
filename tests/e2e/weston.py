# SPDX-License-Identifier: GPL-3.0-or-later
"""A Wayland desktop for the end-to-end tests: Weston, the reference compositor, drawing into a
window of its own on Xvfb. Clicks and keys are typed into that window, and Weston hands them on
to the program as it would a person's; its screenshots show where it put the program's windows.

Two kinds of session:
- "xwayland": Weston offers Xwayland besides its Wayland socket, as Wayland desktops do, and
  the program is expected to take the X display; the X tools look at it there.
- "native": no X display for the program, which then runs on Wayland itself.

The desktop's background is magenta with no panel, so the program's windows are the only other
pixels on the screenshots.
"""

import os
import re
import shutil
import subprocess
import time

import harness
from harness import check, wait_until

OUTPUT = (1280, 1024)


class WestonSession(harness.Session):
    """A harness session whose desktop is Weston; mode is "xwayland" or "native"."""

    mode = None

    def __init__(self, program, name):
        super().__init__(program, name)
        self.weston = None
        self.socket = "wayland-quorlin"
        self.outer_display = None  # Xvfb, where Weston's window is
        self.output_origin = (0, 0)  # where Weston's output lies on it
        self._starting_program = False

    def env(self):
        env = super().env()
        env.pop("QT_QPA_PLATFORM", None)  # the program chooses, as it would on a desktop
        env["WAYLAND_DISPLAY"] = self.socket
        env["XDG_SESSION_TYPE"] = "wayland"
        if self._starting_program and self.mode == "native":
            env.pop("DISPLAY", None)  # Xvfb is Weston's, not the program's
        return env

    def start(self, cwd, wrapper=(), env=None):
        self._starting_program = True
        try:
            return super().start(cwd, wrapper, env)
        finally:
            self._starting_program = False

    def start_desktop(self):
        check(shutil.which("weston"), "the Wayland tests need weston (Debian package weston)")
        # Xvfb alone, no window manager: Weston's window is its only client.
        self.start_x_server(OUTPUT[0] + 100, OUTPUT[1] + 100)
        self.outer_display = self.display
        with open(self.path("weston.ini"), "w") as f:
            f.write("[core]\nidle-time=0\n[shell]\nbackground-color=0xffff00ff\n"
                    "panel-position=none\nlocking=false\n")
        argv = ["weston", "--config=" + self.path("weston.ini"), "--socket=" + self.socket,
                "--backend=x11-backend.so", "--use-pixman",
                f"--width={OUTPUT[0]}", f"--height={OUTPUT[1]}",
                "--debug",  # lets weston-screenshooter take the screen
                "--log=" + self.path("weston.log")]
        if self.mode == "xwayland":
            argv.append("--xwayland")
        self.weston = subprocess.Popen(argv, env=self.env(), stdout=subprocess.DEVNULL,
                                       stderr=subprocess.DEVNULL, start_new_session=True)
        self.wm = self.weston  # ended with the session
        wait_until(lambda: os.path.exists(self.path("xdg", self.socket)), 15,
                   "Weston's Wayland socket")
        out = wait_until(lambda: self.x_tool(["xdotool", "search", "--class",
                                              "^Weston Compositor$"], check_rc=False), 15,
                         "Weston's window on Xvfb")
        info = harness.Window(self, out.split()[0]).info()
        self.output_origin = (info["x"], info["y"])
        check((info["width"], info["height"]) == OUTPUT,
              f"Weston's output window is {info['width']} x {info['height']}")
        if self.mode == "xwayland":
            # Weston starts Xwayland on the first X client and says which display it took;
            # from here on the X tools and the program look at that one.
            number = wait_until(lambda: re.search(r"xserver listening on display :(\d+)",
                                                  self.weston_log()), 15,
                                "Weston to offer an X display").group(1)
            self.display = f":{number}"
            # As on a desktop that has been up for a while: Xwayland running (the first X
            # client starts it) and Weston managing its windows, before the program starts.
            wait_until(lambda: "window id" in self.x_tool(
                ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], check_rc=False), 15,
                "Weston to manage Xwayland's windows")

    def weston_log(self):
        try:
            with open(self.path("weston.log"), errors="replace") as f:
                return f.read()
        except FileNotFoundError:
            return ""

    # The screen as the compositor shows it

    def screen(self):
        """(width, height, rgb bytes) of Weston's output, as the compositor composed it."""
        folder = self.path("shots")
        os.makedirs(folder, exist_ok=True)
        for old in os.listdir(folder):
            os.remove(os.path.join(folder, old))
        subprocess.run(["weston-screenshooter"], cwd=folder, env=self.env(),
                       capture_output=True, timeout=10, check=True)
        shots = os.listdir(folder)
        check(len(shots) == 1, f"weston-screenshooter left {shots}")
        raw = subprocess.run(["convert", os.path.join(folder, shots[0]), "-depth", "8", "rgb:-"],
                             capture_output=True, timeout=20, check=True).stdout
        check(len(raw) == OUTPUT[0] * OUTPUT[1] * 3, "the screenshot is not of the whole output")
        return OUTPUT[0], OUTPUT[1], raw

    def shown_windows_rect(self, least=100):
        """The bounding box (x, y, w, h) of the windows on the screen: of the rows and columns
        with at least `least` pixels that are not the background (the pointer has fewer).
        The background is magenta; the shadow Weston casts around X windows darkens it without
        giving it any green, so a pixel without green counts as background (a window pixel of
        that kind is rare, and a few do not move the box)."""
        width, height, raw = self.screen()
        rows = []
        columns = [0] * width
        for y in range(height):
            green = raw[y * width * 3 + 1:(y + 1) * width * 3:3]
            if len(green) - green.count(0) < least:
                continue
            rows.append(y)
            for x, value in enumerate(green):
                if value:
                    columns[x] += 1
        xs = [x for x, n in enumerate(columns) if n >= least]
        if not rows or not xs:
            return None
        return (xs[0], rows[0], xs[-1] - xs[0] + 1, rows[-1] - rows[0] + 1)

    def wait_shown(self, size, timeout=15):
        """Waits until the screen shows one window of this size, and returns its rectangle."""
        last = [None]

        def find():
            if self.proc.poll() is not None:
                raise harness.Failure(f"the program ended with status {self.proc.returncode}")
            last[0] = self.shown_windows_rect()
            return last[0] if last[0] and last[0][2:] == size else None
        try:
            return wait_until(find, timeout, f"a {size[0]} x {size[1]} window", interval=0.3)
        except harness.Failure:
            raise harness.Failure(f"the screen shows {last[0]} (x, y, w, h), not one "
                                  f"{size[0]} x {size[1]} window") from None

    # Input, typed into Weston's window, which hands it on

    def input_tool(self, argv):
        env = self.env()
        env["DISPLAY"] = self.outer_display
        result = subprocess.run(argv, env=env, capture_output=True, timeout=10)
        check(result.returncode == 0,
              f"{' '.join(argv)} failed: {result.stderr.decode(errors='replace')}")

    def click_screen(self, x, y):
        """A left click at (x, y) on Weston's output. The pointer gets there first, as a
        person's does, entering Weston's window from outside: Weston sometimes misses motion
        into its window on Xvfb, and a press it then gives nowhere is lost. With Xwayland,
        where the program's X display tells where the pointer is, the click waits until it is
        there."""
        ox, oy = self.output_origin

        def arrived():
            # Out of Weston's window and back in, so that it is told the pointer entered.
            self.input_tool(["xdotool", "mousemove", str(ox + OUTPUT[0] + 50),
                             str(oy + OUTPUT[1] + 50)])
            time.sleep(0.1)
            self.input_tool(["xdotool", "mousemove", str(ox + x + 4), str(oy + y + 4)])
            time.sleep(0.1)
            self.input_tool(["xdotool", "mousemove", str(ox + x), str(oy + y)])
            time.sleep(0.2)
            if self.mode != "xwayland":
                return True
            where = self.x_tool(["xdotool", "getmouselocation"], check_rc=False)
            return f"x:{x} y:{y} " in where

        wait_until(arrived, 5, f"the pointer to reach {x}, {y} on Weston's screen", interval=0)
        self.input_tool(["xdotool", "click", "1"])

    def key(self, keys):
        """A key combination, to the window Weston has given the keyboard."""
        self.input_tool(["xdotool", "key", "--clearmodifiers", keys])


# What both kinds of session check

SIZE = (388, 555)
# A spot on the home picture away from the three buttons, in the main window.
PICTURE_SPOT = (60, harness.PAGE_TOP + 100)


def uses_library(session, name):
    """Whether the program has loaded a library whose file name holds `name`."""
    with open(f"/proc/{session.pid}/maps") as f:
        return name in f.read()


def check_bell_and_close(session, window_origin):
    """A click on the home picture makes the bell heard; Alt+F4 then ends the program with
    status 0. Returns the bell's loudest level."""
    recorder = session.record()
    clicked = time.monotonic()
    session.click_screen(window_origin[0] + PICTURE_SPOT[0], window_origin[1] + PICTURE_SPOT[1])
    time.sleep(1.5)
    loudest = max(level for _, level in recorder.levels(clicked, clicked + 1.5))
    check(loudest > harness.AUDIBLE,
          f"no bell after the click on the home picture (loudest {loudest:.0f})")
    session.key("alt+F4")
    status = session.wait_exit(10)
    check(status == 0, f"Alt+F4 ended the program with status {status}, not 0")
    return loudest
