# SPDX-License-Identifier: GPL-3.0-or-later
"""A click on the home picture makes the bell heard, and a press on "เว็บไซต์" silences it at once
while it hands the web site's address to the desktop; recorded from a PulseAudio null sink."""

import time

import harness
from harness import AUDIBLE, SILENCE, check

STOP_WITHIN = 0.3


def first_time(levels, predicate):
    return next((t for t, level in levels if predicate(level)), None)


def test(session):
    session.start(session.workdir(with_bell=True))
    main = session.wait_window("Quorlin")
    recorder = session.record()

    clicked, levels = harness.ring_home_picture(main, recorder, quiet=0.5, listen=1.5)
    heard = first_time(levels, lambda level: level > AUDIBLE)
    loudest = max(level for _, level in levels)
    print(f"bell heard {1000 * (heard - clicked):.0f} ms after the click, loudest {loudest:.0f}")

    pressed, opened = harness.open_web_site(session, main, timeout=5)
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
