# SPDX-License-Identifier: GPL-3.0-or-later
"""How soon a person hears the bell after the ritual's second press.

Drives the program as a person does, on a real X server (Xvfb with openbox) with its own
PulseAudio server whose null sink's monitor is recorded: opens each ritual from the main window,
presses its draw button twice, and times the second press to the first audible sample of the
result window's bell. Beside the draws, a click on the home picture rings the main window's bell,
open since start-up: the same chain from the press to the sound without a window being made,
the floor of this measurement, taken in the same runs between the draws.

The presses are made through the X server's XTest extension (what xdotool uses), at the centre
of each button, the moment of the press taken as the events are sent: starting an xdotool
process for every press would add its own few milliseconds, different each time, to what is
measured.

    /usr/bin/python3 heard.py <quorlin> [program runs] [draws of each kind per run]

Prints the median and the worst of each row, its ratio to the floor and what it takes over the
floor, and SUMMARY lines for bench/run's table.

The times are placed by the recorder, which maps the monitor's samples to the clock by when
they arrive; a null sink renders a little ahead of its clock, so a sound can be placed a few
milliseconds before the moment it was written. Sound is looked for from a little before the
press, and such a time comes out negative rather than cut off at zero. The floor and the draws
share that offset: a draw's time over the floor is what the window costs. A floor under 2 ms
is within that offset and leaves the ratio without meaning, and the rows are then not judged
by it.
"""

import ctypes
import os
import statistics
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tests", "e2e"))

import harness  # noqa: E402
from harness import check, wait_until  # noqa: E402

# Window coordinates, from the windows' declared data: the main window's tab strip is 49 high
# under the 48-high header, four equal tabs on 388; its buttons are centred in their slots; the
# ritual and result windows' buttons are centred in their margins below the label docked at
# the top (250 pixels with its margin).
TABS = {"home": (48, 72), "topic": (145, 72), "cards": (242, 72)}
HOME_PICTURE = (60, harness.PAGE_TOP + 100)
DRAW_BUTTON = (194, 378)
BACK_BUTTON = (194, 440)

# (row name, main tab, main button slot, ritual title, result title)
DRAWS = [
    ("Topic (TForm3 -> TForm6)", "topic", "upper", "หัวข้อบันทึก", "หัวข้อบันทึก"),
    ("Angel (TForm5 -> TForm7)", "cards", "upper", "Form5", "ไพ่นางฟ้า"),
    ("Obstacle (TForm4 -> TForm8)", "cards", "middle", "ไพ่อุปสรรค", "ไพ่อุปสรรค"),
]
FLOOR = "Home picture click (bell open)"

# A null sink gives exact zeros when nothing plays; the bell's first samples are well above this.
AUDIBLE_SAMPLE = 8
# How long after a press the bell is looked for, and from how long before it (see above).
LISTEN = 1.0
EARLY = 0.1
# Targets, against the floor's median.
MEDIAN_TARGET = 1.3
WORST_TARGET = 2.0
# Below this floor (ms) the ratios mean nothing.
RESOLUTION = 2.0


class Pointer:
    """Clicks through the X server's XTest extension."""

    def __init__(self, display):
        self.x11 = ctypes.CDLL("libX11.so.6")
        self.xtst = ctypes.CDLL("libXtst.so.6")
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        self.x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.xtst.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int,
                                                   ctypes.c_int, ctypes.c_ulong]
        self.xtst.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int,
                                                   ctypes.c_ulong]
        self.display = self.x11.XOpenDisplay(display.encode())
        check(self.display, f"cannot open the display {display}")

    def close(self):
        self.x11.XCloseDisplay(self.display)

    def click(self, window, point):
        """Moves to a point of a window, rests there a moment as a hand does, then presses and
        releases the left button; returns the monotonic time the press was sent."""
        info = window.info()
        self.xtst.XTestFakeMotionEvent(self.display, -1, info["x"] + point[0],
                                       info["y"] + point[1], 0)
        self.x11.XSync(self.display, 0)
        time.sleep(0.05)
        pressed = time.monotonic()
        self.xtst.XTestFakeButtonEvent(self.display, 1, 1, 0)
        self.xtst.XTestFakeButtonEvent(self.display, 1, 0, 0)
        self.x11.XSync(self.display, 0)
        return pressed


def first_sound(recorder, after, within=LISTEN, early=0.0):
    """Milliseconds from `after` to the first audible recorded sample, looked for from `early`
    seconds before it, or None."""
    recorder.wait_recorded(after + within)
    with recorder.lock:
        start = max(0, recorder.frame_at(after - early))
        end = min(len(recorder.samples), recorder.frame_at(after + within))
        for i in range(start, end):
            if abs(recorder.samples[i]) > AUDIBLE_SAMPLE:
                return 1000 * (recorder.origin + i / recorder.RATE - after)
    return None


def wait_quiet(recorder, quiet=0.3, timeout=10):
    """Waits until the sink has been silent for `quiet` seconds."""
    def silent():
        now = time.monotonic()
        recorder.wait_recorded(now)
        return first_sound(recorder, now - quiet, quiet) is None
    wait_until(silent, timeout, "the sink to fall silent", interval=0.1)


def shown(session, title, other_than=()):
    """The program's visible window with this title that is none of other_than, or None."""
    for w in session.windows():
        if w.id not in other_than and w.name() == title:
            return w
    return None


def ring_floor(session, pointer, main, recorder):
    pointer.click(main, TABS["home"])
    time.sleep(0.3)
    wait_quiet(recorder)
    pressed = pointer.click(main, HOME_PICTURE)
    return first_sound(recorder, pressed, early=EARLY)


def draw(session, pointer, main, recorder, kind):
    _, tab, slot, ritual_title, result_title = kind
    pointer.click(main, TABS[tab])
    time.sleep(0.3)
    pointer.click(main, harness.slot_centre(slot))  # also stops the main window's bell
    ritual = wait_until(lambda: shown(session, ritual_title), 10, f"the window {ritual_title}")
    time.sleep(0.3)
    pointer.click(ritual, DRAW_BUTTON)
    time.sleep(0.7)
    wait_quiet(recorder)
    pressed = pointer.click(ritual, DRAW_BUTTON)
    result = wait_until(lambda: shown(session, result_title, (ritual.id,)), 10,
                        f"the window {result_title}")
    heard = first_sound(recorder, pressed, early=EARLY)
    pointer.click(result, BACK_BUTTON)  # stops the bell
    wait_until(lambda: [w.name() for w in session.windows()] == ["Quorlin"], 10,
               "the main window alone")
    return heard


def one_run(program, run_index, draws_per_kind, results):
    session = harness.Session(program, f"heard{run_index}")
    pointer = None
    try:
        session.start_desktop()
        session.start_sound()
        # The bell is linked, not copied: a file written moments before would look to the
        # program like one still changing, which an installed bell never is.
        work = session.path("work")
        os.makedirs(work)
        os.symlink(os.path.join(os.path.dirname(session.program), harness.BELL_FILE),
                   os.path.join(work, harness.BELL_FILE))
        session.start(work)
        main = session.wait_window("Quorlin")
        recorder = session.record()
        pointer = Pointer(session.display)
        time.sleep(1.0)  # a person's first click comes a moment after the window is seen

        # Each run begins with another kind, so that every kind is sometimes the first draw.
        kinds = DRAWS[run_index % 3:] + DRAWS[:run_index % 3]
        for round_index in range(draws_per_kind):
            for kind in kinds:
                floor = ring_floor(session, pointer, main, recorder)
                results[(FLOOR, round_index == 0 and kind is kinds[0])].append(floor)
                heard = draw(session, pointer, main, recorder, kind)
                results[(kind[0], round_index == 0)].append(heard)
        session.proc.terminate()
    finally:
        if pointer:
            pointer.close()
        session.close()


def main():
    check(len(sys.argv) >= 2, f"usage: {sys.argv[0]} <quorlin> [runs] [draws per kind]")
    program = sys.argv[1]
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 8
    per_kind = int(sys.argv[3]) if len(sys.argv) > 3 else 4
    harness._become_subreaper()
    results = {(name, first): [] for name in [k[0] for k in DRAWS] + [FLOOR]
               for first in (True, False)}
    for run_index in range(runs):
        one_run(program, run_index, per_kind, results)
        print(f"run {run_index + 1} of {runs} done", file=sys.stderr, flush=True)

    def figures(values):
        heard = [v for v in values if v is not None]
        missed = len(values) - len(heard)
        if not heard:
            return None, None, missed
        return statistics.median(heard), max(heard), missed

    floor, _, _ = figures(results[(FLOOR, True)] + results[(FLOOR, False)])
    print(f"Press to the first audible sample, {runs} program runs, {per_kind} draws of each "
          f"kind per run (floor: median of every home picture click, {floor:.1f} ms)")
    judged = floor >= RESOLUTION
    if not judged:
        print(f"The floor is under {RESOLUTION:.0f} ms, within the recorder's early placing of "
              "samples, where a ratio means nothing: the rows are not judged.")
    print(f"{'':46} {'median':>8} {'worst':>8} {'samples':>8} {'x floor':>8} {'worst x':>8} "
          f"{'+ floor':>8} {'worst +':>8}")

    def ratio(value):
        return f"{value / floor:7.2f}x" if judged else f"{'-':>8}"

    all_met = True
    summaries = []
    for name in [k[0] for k in DRAWS] + [FLOOR]:
        for first in (True, False):
            values = results[(name, first)]
            median, worst, missed = figures(values)
            label = f"{name}, {'first of the run' if first else 'later'}"
            if median is None:
                print(f"{label:46} no bell heard")
                all_met = all_met and name == FLOOR
                continue
            note = f"  ({missed} without sound)" if missed else ""
            print(f"{label:46} {median:6.1f}ms {worst:6.1f}ms {len(values):8d} "
                  f"{ratio(median)} {ratio(worst)} {median - floor:+6.1f}ms "
                  f"{worst - floor:+6.1f}ms{note}")
            if name != FLOOR:
                met = (not missed and median <= MEDIAN_TARGET * floor
                       and worst <= WORST_TARGET * floor)
                all_met = all_met and met
                short = name.split(" ")[0]
                ratios = (f"{median / floor:.2f}/{worst / floor:.2f}" if judged
                          else f"{median - floor:+.1f}/{worst - floor:+.1f} ms")
                verdict = ("met" if met else "NOT MET") if judged else "floor < 2 ms, not judged"
                summaries.append(f"SUMMARY|Heard, {short} {'first' if first else 'later'}|"
                                 f"{median:.1f} ms|{floor:.1f} ms|{ratios}|"
                                 f"1.3 x/2 x worst|{verdict}")
    print("\n".join(summaries), flush=True)
    return 0 if all_met else 3


if __name__ == "__main__":
    sys.exit(main())
