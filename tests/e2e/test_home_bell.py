# SPDX-License-Identifier: GPL-3.0-or-later
"""A click on the home picture makes the bell heard, and a press on "เว็บไซต์" silences it at once
while it hands the web site's address to the desktop; recorded from a PulseAudio null sink."""

import time

import harness
from harness import AUDIBLE, SILENCE, check

STOP_WITHIN = 0.3
# A spot on the home picture away from the three buttons.
PICTURE_SPOT = (60, harness.PAGE_TOP + 100)


def first_time(levels, predicate):
    return next((t for t, level in levels if predicate(level)), None)


def test(session):
    session.start(session.workdir(with_bell=True))
    main = session.wait_window("Quorlin")
    recorder = session.record()

    quiet_from = time.monotonic()
    time.sleep(0.5)
    clicked = time.monotonic()
    main.click(*PICTURE_SPOT)
    time.sleep(1.5)

    before = recorder.rms(quiet_from, clicked)
    check(before < SILENCE, f"the sink was not silent before the click (level {before:.0f})")
    levels = recorder.levels(clicked, clicked + 1.5)
    loudest = max(level for _, level in levels)
    check(loudest > AUDIBLE,
          f"no bell after the click on the home picture (loudest {loudest:.0f})")
    heard = first_time(levels, lambda level: level > AUDIBLE)
    print(f"bell heard {1000 * (heard - clicked):.0f} ms after the click, loudest {loudest:.0f}")

    pressed = time.monotonic()
    main.click(*harness.slot_centre("middle"))
    opened = harness.wait_until(session.opened_addresses, 5, "the web site address to be opened")
    check(len(opened) == 1 and opened[0][1].startswith("https://"),
          f"the web button opened {[a for _, a in opened]}, not one web address")
    ringing = recorder.rms(pressed - 0.2, pressed)
    check(ringing > AUDIBLE,
          f"the bell had already faded before the web button was pressed (level {ringing:.0f})")
    # The handler stops the bell before it hands the address over. Silence is due 300 ms after
    # the press, or soon after the handler ran if a busy machine was slow to deliver the press.
    quiet_from = max(pressed + STOP_WITHIN, opened[0][0] + 0.1)
    after = recorder.levels(pressed, quiet_from + 0.6)
    late = [(round(t - pressed, 2), round(level)) for t, level in after
            if t >= quiet_from and level >= SILENCE]
    check(not late, f"sound after the web button was pressed (s after the press, level): {late}")
    silent_at = first_time(after, lambda level: level < SILENCE)
    print(f"silent {1000 * (silent_at + 0.05 - pressed):.0f} ms after the press")


if __name__ == "__main__":
    harness.run(test, "home_bell", sound=True)
