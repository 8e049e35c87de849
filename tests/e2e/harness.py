# SPDX-License-Identifier: GPL-3.0-or-later
"""Drives Quorlin as a person would, on a real X server.

Each test gets its own Xvfb display with openbox on it (the window manager keeps the windows
borderless and centred and turns Alt+F4 into a close request), optionally its own PulseAudio
server with a null sink whose monitor is recorded, and the program started from a working
directory of the test's choosing. Everything runs under one temporary folder and is torn down
when the test ends, however it ends; on a failure a screenshot and the program's output are kept
in e2e-failures/ under the current directory.

Standard library only, plus Xvfb, openbox, xdotool, x11-utils, imagemagick, pulseaudio(-utils),
dbus-daemon and at-spi2-core (texts on screen are read through the accessibility bus).
"""

import array
import ctypes
import math
import os
import random
import re
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time
import traceback
import wave

import atspi

BELL_FILE = "80578_634166-lq.wav"

# Main window layout, in window coordinates: a 48-high header, then a 49-high tab strip, then
# the page. Buttons are 108 x 48 with their left edge at 140 on the page.
HEADER_HEIGHT = 48
TAB_STRIP_HEIGHT = 49
PAGE_TOP = HEADER_HEIGHT + TAB_STRIP_HEIGHT
BUTTON_LEFT, BUTTON_WIDTH, BUTTON_HEIGHT = 140, 108, 48
SLOT_TOPS = {"upper": 210, "middle": 265, "lower": 320}
MAIN_WINDOW_SIZE = (388, 555)
# A spot on the home picture away from the three buttons.
HOME_PICTURE_SPOT = (60, PAGE_TOP + 100)

# Sound levels are RMS of 16-bit samples over 50 ms windows. Nothing playing gives exact zeros
# on a null sink; the bell's first seconds are in the thousands.
SILENCE = 30
# How much earlier than it was played the recorder may place a sound, at most.
RECORDER_EARLY = 0.05
AUDIBLE = 1000

# Longest a single test may take before it is stopped, cleaned up and failed.
TEST_DEADLINE = 55


class Failure(AssertionError):
    """A check that did not hold."""


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_until(predicate, timeout, what, interval=0.05):
    """Polls predicate until it returns something truthy, and returns that."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure(f"timed out after {timeout:g} s waiting for {what}")
        time.sleep(interval)


def slot_centre(slot):
    """Window coordinates of the centre of a main-window button slot."""
    return (BUTTON_LEFT + BUTTON_WIDTH // 2, PAGE_TOP + SLOT_TOPS[slot] + BUTTON_HEIGHT // 2)


def check_main_window_alone(session, main, unframed=((0, 0, 0, 0),), context=""):
    """The main window just started: alone on screen, 388 x 555 at the desktop's centre (halves
    rounded to even), and without a frame (its frame extents one of `unframed`). Returns its
    top-left corner."""
    shown = [w.name() for w in session.windows()]
    check(shown == ["Quorlin"], f"windows on screen at start-up{context}: {shown}")
    info = main.info()
    root_w, root_h = session.root_size()
    width, height = MAIN_WINDOW_SIZE
    centre = (round((root_w - width) / 2), round((root_h - height) / 2))
    check((info["width"], info["height"]) == MAIN_WINDOW_SIZE,
          f"the main window is {info['width']} x {info['height']}, not {width} x {height}")
    check((info["x"], info["y"]) == centre,
          f"the main window is at {info['x']}, {info['y']}, not at the desktop centre {centre}")
    extents = main.frame_extents()
    check(extents in unframed, f"the main window has a frame{context}: {extents}")
    return info["x"], info["y"]


def ring_home_picture(main, recorder, quiet, listen):
    """Records `quiet` seconds of silence, clicks the home picture and listens `listen` seconds:
    the sink must be silent before the click and the bell heard after it. Returns the time of
    the click and the sound levels after it."""
    quiet_from = time.monotonic()
    time.sleep(quiet)
    clicked = time.monotonic()
    main.click(*HOME_PICTURE_SPOT)
    time.sleep(listen)
    # Up to a little before the click: the recorder places a sound a few milliseconds early, and
    # the bell now starts within milliseconds of the click.
    before = recorder.rms(quiet_from, clicked - RECORDER_EARLY)
    check(before < SILENCE, f"the sink was not silent before the click (level {before:.0f})")
    levels = recorder.levels(clicked, clicked + listen)
    loudest = max(level for _, level in levels)
    check(loudest > AUDIBLE, f"no bell after the click on the home picture (loudest {loudest:.0f})")
    return clicked, levels


def open_web_site(session, main, timeout):
    """Presses "เว็บไซต์" on the home page: one https address must reach the desktop. Returns the
    time of the press and the addresses opened, each with the time it was."""
    pressed = time.monotonic()
    main.click(*slot_centre("middle"))
    opened = wait_until(session.opened_addresses, timeout, "the web site address to be opened")
    check(len(opened) == 1 and opened[0][1].startswith("https://"),
          f"the web button opened {[a for _, a in opened]}, not one web address")
    return pressed, opened


def _alive(pid):
    """Whether a process runs; reaps it if it is a child of ours that has ended."""
    try:
        done, _ = os.waitpid(pid, os.WNOHANG)
        return done != pid
    except ChildProcessError:
        pass
    try:
        os.kill(pid, 0)
        return True
    except ProcessLookupError:
        return False
    except PermissionError:
        return True


def _stop_pid(pid, grace=5.0):
    """Ends a process that is not a Popen of ours (a daemon), politely, then firmly."""
    try:
        os.kill(pid, signal.SIGTERM)
    except ProcessLookupError:
        return
    deadline = time.monotonic() + grace
    while _alive(pid) and time.monotonic() < deadline:
        time.sleep(0.05)
    if _alive(pid):
        try:
            os.kill(pid, signal.SIGKILL)
        except ProcessLookupError:
            return
        while _alive(pid) and time.monotonic() < deadline + 2:
            time.sleep(0.05)


def _become_subreaper():
    """Daemons started by a test (the sound server, bus services) detach from their parents;
    as a subreaper this process inherits them instead of init, so it can reap them."""
    libc = ctypes.CDLL(None, use_errno=True)
    pr_set_child_subreaper = 36
    libc.prctl(pr_set_child_subreaper, 1, 0, 0, 0)


def _stop_process(proc, grace=2.0):
    """Ends a child and its process group, politely, then firmly; returns its exit status.
    Whatever of the group outlives it is found by the session's sweep."""
    if proc is None or proc.poll() is not None:
        return None if proc is None else proc.returncode
    try:
        os.killpg(proc.pid, signal.SIGTERM)
    except ProcessLookupError:
        pass
    try:
        proc.wait(timeout=grace)
    except subprocess.TimeoutExpired:
        try:
            os.killpg(proc.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        proc.wait(timeout=5)
    return proc.returncode


class Window:
    """A top-level X window of the program under test."""

    def __init__(self, session, wid):
        self.session = session
        self.id = int(wid)

    def __repr__(self):
        return f"Window(0x{self.id:x} {self.name()!r})"

    def name(self):
        out = self.session.x_tool(["xdotool", "getwindowname", str(self.id)], check_rc=False)
        return out[:-1] if out.endswith("\n") else out

    def info(self):
        """Absolute position, size and map state, from xwininfo."""
        out = self.session.x_tool(["xwininfo", "-id", str(self.id)])
        fields = {}
        for key, pattern in (("x", r"Absolute upper-left X:\s+(-?\d+)"),
                             ("y", r"Absolute upper-left Y:\s+(-?\d+)"),
                             ("width", r"Width:\s+(\d+)"), ("height", r"Height:\s+(\d+)")):
            fields[key] = int(re.search(pattern, out).group(1))
        fields["map_state"] = re.search(r"Map State:\s+(\w+)", out).group(1)
        return fields

    def viewable(self):
        try:
            return self.info()["map_state"] == "IsViewable"
        except (Failure, AttributeError):
            return False

    def frame_extents(self):
        """The window manager's frame widths (left, right, top, bottom), or None if not set."""
        out = self.session.x_tool(["xprop", "-id", str(self.id), "_NET_FRAME_EXTENTS"],
                                  check_rc=False)
        m = re.search(r"=\s*(\d+),\s*(\d+),\s*(\d+),\s*(\d+)", out)
        return tuple(int(v) for v in m.groups()) if m else None

    def activate(self):
        self.session.x_tool(["xdotool", "windowactivate", "--sync", str(self.id)])

    def click(self, x, y):
        """A left click at (x, y) relative to the window's top-left corner."""
        self.session.x_tool(["xdotool", "mousemove", "--window", str(self.id),
                             str(x), str(y), "click", "1"])

    def key(self, keys):
        """Activates the window, then types a key combination through the X server."""
        self.activate()
        self.session.x_tool(["xdotool", "key", "--clearmodifiers", keys])


class Recorder:
    """Records the null sink's monitor as 16-bit mono and maps monotonic time to samples."""

    RATE = 44100

    def __init__(self, session):
        self.session = session
        self.samples = array.array("h")
        self.origin = None  # monotonic time of sample 0
        self.lock = threading.Lock()
        env = session.env()
        # A short latency makes parecord hand samples over as they come, not in big blocks.
        self.proc = subprocess.Popen(
            ["parecord", "--raw", "--device=nullsink.monitor", "--format=s16le",
             f"--rate={self.RATE}", "--channels=1", "--latency-msec=10"],
            stdout=subprocess.PIPE, stderr=open(session.path("parecord.log"), "wb"), env=env,
            start_new_session=True)
        self.thread = threading.Thread(target=self._read, daemon=True)
        self.thread.start()
        # parecord delivers nothing for about a second after it starts.
        wait_until(lambda: len(self.samples) > self.RATE // 5, 10, "the recorder's first samples")
        time.sleep(0.2)

    def _read(self):
        pending = b""
        fd = self.proc.stdout.fileno()
        while True:
            block = os.read(fd, 8192)
            if not block:
                break
            arrived = time.monotonic()
            pending += block
            whole = len(pending) // 2 * 2
            with self.lock:
                self.samples.frombytes(pending[:whole])
                # The earliest origin seen is the best estimate: data is never early.
                origin = arrived - len(self.samples) / self.RATE
                if self.origin is None or origin < self.origin:
                    self.origin = origin
            pending = pending[whole:]

    def stop(self):
        _stop_process(self.proc)
        self.thread.join(timeout=2)

    def frame_at(self, t):
        return int((t - self.origin) * self.RATE)

    def wait_recorded(self, t, timeout=5):
        wait_until(lambda: len(self.samples) > self.frame_at(t), timeout,
                   "the recording to reach the moment asked for")

    def rms(self, start, end):
        """Root-mean-square level (0..32768) of what was recorded between two monotonic times."""
        self.wait_recorded(end)
        with self.lock:
            a, b = max(0, self.frame_at(start)), max(0, self.frame_at(end))
            chunk = self.samples[a:b]
        if not chunk:
            return 0.0
        return math.sqrt(sum(v * v for v in chunk) / len(chunk))

    def loudest(self, start, end, step=0.05):
        return max((level for _, level in self.levels(start, end, step)), default=0.0)

    def levels(self, start, end, step=0.05):
        """RMS levels of consecutive windows of `step` seconds between start and end."""
        out = []
        t = start
        while t + step <= end + 1e-9:
            out.append((t, self.rms(t, t + step)))
            t += step
        return out

    def save(self, path):
        with self.lock:
            data = self.samples.tobytes()
        with wave.open(path, "wb") as w:
            w.setnchannels(1)
            w.setsampwidth(2)
            w.setframerate(self.RATE)
            w.writeframes(data)


class Session:
    """One test's private desktop, sound server and program run."""

    def __init__(self, program, name):
        self.program = os.path.abspath(program)
        self.name = name
        self.tmp = tempfile.mkdtemp(prefix=f"quorlin-e2e-{name}-")
        for sub in ("home", "xdg", "pulse", "bin"):
            os.makedirs(self.path(sub), mode=0o700)
        self.display = None
        self.xvfb = None
        self.wm = None
        self.pulse_pid = None
        self.session_bus = None
        self.bus_daemon = None
        self.a11y = None
        self.proc = None
        self.pid = None  # the program's own process, which a wrapper may have started
        self.recorders = []
        self.stdout_path = None
        self._write_stubs()

    # Paths and environment

    def path(self, *parts):
        return os.path.join(self.tmp, *parts)

    def _write_stubs(self):
        # A web button hands its address to xdg-open; this one records it instead of starting a
        # browser.
        stub = self.path("bin", "xdg-open")
        with open(stub, "w") as f:
            f.write('#!/bin/sh\nprintf "%s %s\\n" "$(date +%s.%N)" "$*" >> '
                    '"$(dirname "$0")/../opened.txt"\n')
        os.chmod(stub, 0o755)
        with open(self.path("pulse-client.conf"), "w") as f:
            f.write("autospawn = no\n")

    def env(self):
        env = {k: v for k, v in os.environ.items()
               if not k.startswith(("QT_", "PULSE_", "XDG_", "WAYLAND_", "DBUS_"))}
        env.update({
            "HOME": self.path("home"),
            "XDG_RUNTIME_DIR": self.path("xdg"),
            "PULSE_RUNTIME_PATH": self.path("pulse"),
            "PULSE_CLIENTCONFIG": self.path("pulse-client.conf"),
            # Without a sound server of its own the test still must not reach anyone else's.
            "PULSE_SERVER": "unix:" + self.path("pulse", "native"),
            "PATH": self.path("bin") + os.pathsep + env.get("PATH", "/usr/bin:/bin"),
            "BROWSER": "/bin/true",
            "QT_QPA_PLATFORM": "xcb",
            "LANG": "C.UTF-8",
        })
        # Only the session's own bus, or none at all.
        env["DBUS_SESSION_BUS_ADDRESS"] = self.session_bus or "unix:path=" + self.path("no-bus")
        if self.display:
            env["DISPLAY"] = self.display
        return env

    def x_tool(self, argv, check_rc=True, timeout=10):
        result = subprocess.run(argv, env=self.env(), capture_output=True, timeout=timeout)
        if check_rc and result.returncode != 0:
            raise Failure(f"{' '.join(argv)} failed: {result.stderr.decode(errors='replace')}")
        return result.stdout.decode("utf-8", errors="replace")

    # Desktop

    def start_desktop(self):
        """Starts Xvfb on a free display number, then openbox, and waits for both."""
        self.start_x_server(1280, 1024)
        self.wm = subprocess.Popen(["openbox", "--sm-disable"], env=self.env(),
                                   stdout=subprocess.DEVNULL,
                                   stderr=open(self.path("openbox.log"), "wb"),
                                   start_new_session=True)
        wait_until(lambda: "window id" in self.x_tool(
            ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], check_rc=False), 10,
            "openbox to manage the display")

    def start_x_server(self, width, height):
        """Starts Xvfb on a free display number and waits until it takes connections."""
        for _ in range(20):
            number = random.randint(200, 899)
            if os.path.exists(f"/tmp/.X{number}-lock") or os.path.exists(
                    f"/tmp/.X11-unix/X{number}"):
                continue
            read_fd, write_fd = os.pipe()
            xvfb = subprocess.Popen(
                ["Xvfb", f":{number}", "-screen", "0", f"{width}x{height}x24", "-nolisten", "tcp",
                 "-noreset", "-displayfd", str(write_fd)],
                pass_fds=(write_fd,), stdout=subprocess.DEVNULL,
                stderr=open(self.path("xvfb.log"), "wb"), start_new_session=True)
            os.close(write_fd)
            # Xvfb writes the display number once it accepts connections, or closes the pipe
            # when it gives up (for instance when another server took the number meanwhile).
            answer = b""
            deadline = time.monotonic() + 10
            while time.monotonic() < deadline and xvfb.poll() is None:
                ready, _, _ = select.select([read_fd], [], [], 0.1)
                if ready:
                    chunk = os.read(read_fd, 32)
                    if not chunk:
                        break
                    answer += chunk
                    if answer.endswith(b"\n"):
                        break
            os.close(read_fd)
            if answer.strip() == str(number).encode():
                self.xvfb = xvfb
                self.display = f":{number}"
                break
            _stop_process(xvfb)
        check(self.display, "no Xvfb display could be started")

    def root_size(self):
        out = self.x_tool(["xwininfo", "-root"])
        return (int(re.search(r"Width:\s+(\d+)", out).group(1)),
                int(re.search(r"Height:\s+(\d+)", out).group(1)))

    def check_centred(self, window, size):
        """A window of this size, placed at the desktop centre (halves rounded to even)."""
        root_w, root_h = self.root_size()
        expected = (round((root_w - size[0]) / 2), round((root_h - size[1]) / 2)) + tuple(size)
        actual = tuple(window.extents())
        check(actual == expected, f"the window {window.name!r} is at {actual}, not {expected}")

    def screenshot(self, path):
        self.x_tool(["import", "-window", "root", path], timeout=20)
        return path

    # Sound

    def start_sound(self):
        check(self.pulse_pid is None, "a sound server of this session already runs")
        env = self.env()
        result = subprocess.run(
            ["pulseaudio", "-n", "--daemonize=yes", "--exit-idle-time=-1",
             "--load=module-native-protocol-unix",
             "--load=module-null-sink sink_name=nullsink"],
            env=env, capture_output=True, timeout=20)
        check(result.returncode == 0,
              f"pulseaudio would not start: {result.stderr.decode(errors='replace')}")
        with open(self.path("pulse", "pid")) as f:
            self.pulse_pid = int(f.read().strip())
        wait_until(lambda: subprocess.run(["pactl", "info"], env=env, capture_output=True,
                                          timeout=10).stdout.find(b"Default Sink: nullsink") >= 0,
                   10, "the private sound server's null sink")

    def kill_sound(self):
        """Kills the sound server outright, as a crash would, and waits until it is gone; a
        later start_sound starts a new one in its place."""
        check(self.pulse_pid, "no sound server runs")
        os.kill(self.pulse_pid, signal.SIGKILL)
        wait_until(lambda: not _alive(self.pulse_pid), 5, "the sound server to end")
        self.pulse_pid = None

    def record(self):
        recorder = Recorder(self)
        self.recorders.append(recorder)
        return recorder

    # Accessibility

    def start_accessibility(self):
        """A private session bus with the accessibility bus behind it, switched on."""
        check(shutil.which("dbus-daemon") and os.path.exists("/usr/libexec/at-spi-bus-launcher"),
              "reading the screen needs dbus-daemon and at-spi2-core (Debian packages "
              "dbus-daemon, at-spi2-core)")
        address = "unix:path=" + self.path("session-bus")
        self.bus_daemon = subprocess.Popen(
            ["dbus-daemon", "--session", "--address=" + address, "--nofork", "--print-address=1"],
            env=self.env(), stdout=subprocess.PIPE, stderr=open(self.path("dbus.log"), "wb"),
            start_new_session=True)
        ready, _, _ = select.select([self.bus_daemon.stdout], [], [], 10)
        check(ready and self.bus_daemon.stdout.readline().strip(),
              "the session bus did not start")
        self.session_bus = address
        self.a11y = atspi.Accessibility(address)

    def accessible_windows(self):
        """The program's windows on screen, as the accessibility bus describes them."""
        check(self.a11y, "the session was started without accessibility")
        return self.a11y.windows()

    def wait_accessible_window(self, name, timeout=15):
        def find():
            if self.proc.poll() is not None:
                raise Failure(f"the program ended with status {self.proc.returncode} while "
                              f"waiting for the window {name!r}")
            for w in self.accessible_windows():
                if w.name == name:
                    return w
            return None
        found = atspi.wait_for(find, timeout)
        check(found, f"timed out after {timeout} s waiting for the accessible window {name!r}")
        return found

    def press(self, window, name, role="push button"):
        """Clicks the one showing control of this role and name in an accessible window."""
        found = window.find(role, name)
        check(len(found) == 1,
              f"{len(found)} showing {role}s named {name!r} in the window {window.name!r}")
        x, y = found[0].centre()
        self.x_tool(["xdotool", "mousemove", str(x), str(y), "click", "1"])

    def selected_tab(self, window):
        """The caption of the selected tab of the window's first showing tab strip (a strip is
        named after its selected tab, which is what a screen reader announces)."""
        strips = [n.name for n in window.walk() if n.role == "page tab list"]
        check(strips, f"no tab strip in {window.name!r}")
        return strips[0]

    def wait_screen(self, names, timeout=10):
        """Waits until exactly these windows (by title) are on screen; returns them."""
        def matches():
            shown = self.windows()
            return shown if sorted(w.name() for w in shown) == sorted(names) else None
        try:
            return wait_until(matches, timeout, f"the windows {names}")
        except Failure:
            shown = [w.name() for w in self.windows()]
            raise Failure(f"on screen: {shown}, expected {names}") from None

    def wait_accessible(self, name, button, timeout=10):
        """The showing window with this title that offers a button with this caption."""
        def find():
            for w in self.accessible_windows():
                if w.name == name and w.find("push button", button):
                    return w
            return None
        found = atspi.wait_for(find, timeout)
        check(found, f"no window {name!r} with a button {button!r} within {timeout} s")
        return found

    def draw(self, opener_window, opener, ritual_title, draw_button, result_title):
        """Goes through a ritual as a person would: opens it with a button of opener_window,
        presses its draw button once (which only turns the prompt into the breathing
        instruction) and again, and returns the result window, which offers "คำแนะนำ"."""
        self.press(opener_window, opener)
        self.wait_screen(["Quorlin", ritual_title])
        ritual = self.wait_accessible(ritual_title, draw_button)
        prompt = ritual.texts("label")
        self.press(ritual, draw_button)
        wait_until(lambda: (t := ritual.texts("label")) != prompt and t, 5,
                   f"the breathing instruction of {ritual_title!r}")
        self.press(ritual, draw_button)
        result = self.wait_accessible(result_title, "คำแนะนำ")
        self.wait_screen(["Quorlin", result_title])
        return result

    # The program

    def workdir(self, with_bell):
        """A fresh working directory, with or without the bell file in it."""
        d = self.path("work-bell" if with_bell else "work-nobell")
        os.makedirs(d, exist_ok=True)
        if with_bell:
            source = os.path.join(os.path.dirname(self.program), BELL_FILE)
            check(os.path.isfile(source), f"no bell file beside the program: {source}")
            shutil.copy(source, d)
        return d

    def start(self, cwd, wrapper=(), env=None):
        """Starts the program in cwd, under a wrapper command (such as a tracer) if one is
        given, with env's variables set over the session's; the wrapper must run the program as
        its child and end with its exit status."""
        check(self.proc is None or self.proc.poll() is not None, "the program is still running")
        self.stdout_path = self.path(f"program-{int(time.monotonic() * 1000)}.log")
        self.proc = subprocess.Popen(list(wrapper) + [self.program], cwd=cwd,
                                     env={**self.env(), **(env or {})},
                                     stdin=subprocess.DEVNULL,
                                     stdout=open(self.stdout_path, "wb"),
                                     stderr=subprocess.STDOUT, start_new_session=True)
        self.pid = self.proc.pid
        if wrapper:
            self.pid = wait_until(self._wrapped_program, 10, "the wrapped program to start")
        return self.proc

    def _wrapped_program(self):
        """The pid of the wrapper's child once it runs the program, else None."""
        if self.proc.poll() is not None:
            raise Failure(f"the wrapper ended with status {self.proc.returncode}")
        program = os.path.realpath(self.program)
        for entry in os.listdir("/proc"):
            if not entry.isdigit():
                continue
            try:
                with open(f"/proc/{entry}/stat") as f:
                    ppid = int(f.read().rpartition(")")[2].split()[1])
                if ppid == self.proc.pid and os.readlink(f"/proc/{entry}/exe") == program:
                    return int(entry)
            except (OSError, ValueError, IndexError):
                continue
        return None

    def windows(self, only_visible=True):
        """The program's top-level windows that the desktop shows."""
        argv = ["xdotool", "search"]
        if only_visible:
            argv.append("--onlyvisible")
        argv += ["--pid", str(self.pid)]
        out = self.x_tool(argv, check_rc=False)
        wins = [Window(self, w) for w in out.split()]
        return [w for w in wins if w.viewable()] if only_visible else wins

    def wait_window(self, name, timeout=15):
        """Waits until a viewable window of the program with exactly this title appears."""
        def find():
            if self.proc.poll() is not None:
                raise Failure(f"the program ended with status {self.proc.returncode} while "
                              f"waiting for the window {name!r}")
            for w in self.windows():
                if w.name() == name:
                    return w
            return None
        return wait_until(find, timeout, f"the window {name!r}")

    def wait_exit(self, timeout=10):
        try:
            return self.proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise Failure(f"the program did not end within {timeout} s") from None

    def program_output(self):
        if self.stdout_path and os.path.exists(self.stdout_path):
            with open(self.stdout_path, "rb") as f:
                return f.read().decode("utf-8", errors="replace")
        return ""

    def opened_addresses(self):
        """(monotonic time, address) for every address handed to xdg-open so far."""
        offset = time.time() - time.monotonic()
        try:
            with open(self.path("opened.txt")) as f:
                lines = f.read().splitlines()
        except FileNotFoundError:
            return []
        out = []
        for line in lines:
            stamp, _, address = line.partition(" ")
            out.append((float(stamp) - offset, address))
        return out

    # Teardown

    def close(self):
        for recorder in self.recorders:
            recorder.stop()
        if self.a11y:
            self.a11y.close()
        _stop_process(self.proc)
        _stop_process(self.wm)
        _stop_process(self.xvfb)
        if self.pulse_pid:
            _stop_pid(self.pulse_pid)
        _stop_process(self.bus_daemon)
        self._sweep()
        shutil.rmtree(self.tmp, ignore_errors=True)

    def _sweep(self):
        """Ends whatever this session started that is still running: every such process carries
        the session's folder in its environment. Daemons that detached were handed to this
        process (it is a child subreaper) and are reaped here."""
        marker = self.tmp.encode()
        deadline = time.monotonic() + 1.0
        while True:
            left = []
            for entry in os.listdir("/proc"):
                if not entry.isdigit() or int(entry) == os.getpid():
                    continue
                try:
                    with open(f"/proc/{entry}/environ", "rb") as f:
                        if marker in f.read():
                            left.append(int(entry))
                except OSError:
                    continue
            left = [pid for pid in left if _alive(pid)]
            if not left:
                break
            if time.monotonic() > deadline:
                for pid in left:
                    _stop_pid(pid, grace=0.5)
                break
            time.sleep(0.05)
        while True:
            try:
                pid, _ = os.waitpid(-1, os.WNOHANG)
            except ChildProcessError:
                break
            if pid == 0:
                break

    def keep_evidence(self, label, why):
        """Saves why the test failed, a screenshot, the program's output and any recording."""
        folder = os.path.join(os.getcwd(), "e2e-failures")
        os.makedirs(folder, exist_ok=True)
        stem = os.path.join(folder, f"{self.name}-{label}")
        with open(stem + ".txt", "w") as f:
            f.write(why)
        saved = [stem + ".txt"]
        if self.display and self.xvfb and self.xvfb.poll() is None:
            try:
                saved.append(self.screenshot(stem + ".png"))
            except Exception as error:  # evidence is best effort
                print(f"screenshot failed: {error}", file=sys.stderr)
        with open(stem + ".log", "w") as f:
            f.write(self.program_output())
        saved.append(stem + ".log")
        for i, recorder in enumerate(self.recorders):
            try:
                recorder.save(f"{stem}-sound{i}.wav")
                saved.append(f"{stem}-sound{i}.wav")
            except Exception:
                pass
        return saved


class _Deadline(Exception):
    pass


def _on_alarm(signum, frame):
    raise _Deadline(f"the test did not finish within {TEST_DEADLINE} s")


def _on_term(signum, frame):
    raise _Deadline("the test was stopped from outside")


def run(test, name, sound=False, accessibility=False, session_class=None):
    """Runs test(session) in a fresh session (a Session, or session_class's); exits 0 on
    success, 1 on failure."""
    check(len(sys.argv) == 2, f"usage: {sys.argv[0]} <path to quorlin>")
    started = time.monotonic()
    _become_subreaper()
    session = (session_class or Session)(sys.argv[1], name)
    signal.signal(signal.SIGALRM, _on_alarm)
    signal.signal(signal.SIGTERM, _on_term)
    signal.alarm(TEST_DEADLINE)
    status = 0
    try:
        session.start_desktop()
        if sound:
            session.start_sound()
        if accessibility:
            session.start_accessibility()
        test(session)
        print(f"PASS {name} in {time.monotonic() - started:.1f} s")
    except BaseException:
        status = 1
        why = traceback.format_exc()
        print(why, file=sys.stderr)
        try:
            saved = session.keep_evidence("failure", why)
            print("evidence: " + ", ".join(saved), file=sys.stderr)
        except BaseException as evidence_error:
            print(f"could not keep evidence: {evidence_error}", file=sys.stderr)
        output = session.program_output()
        if output:
            print("--- program output ---\n" + output, file=sys.stderr)
        print(f"FAIL {name} after {time.monotonic() - started:.1f} s", file=sys.stderr)
    finally:
        signal.alarm(0)
        session.close()
    sys.exit(status)
