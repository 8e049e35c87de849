# SPDX-License-Identifier: GPL-3.0-or-later
"""The installed program, started in its folder: a click on the home picture makes the bell heard
on a PulseAudio null sink (Qt Multimedia's Windows output through wine's PulseAudio driver), and
"เว็บไซต์" hands an https address to the desktop's browser (wine's winebrowser passes it to
xdg-open, which the harness records)."""

import time

import winesession  # first: it makes the end-to-end harness importable
import harness  # noqa: E402
from harness import AUDIBLE, SILENCE, check

PICTURE_SPOT = (60, harness.PAGE_TOP + 100)


def test(session):
    winesession.set_windows_version("win10")
    session.start(winesession.installed_folder())
    main = session.wait_window("Quorlin", timeout=40)
    recorder = session.record()

    quiet_from = time.monotonic()
    time.sleep(1.0)
    clicked = time.monotonic()
    main.click(*PICTURE_SPOT)
    time.sleep(2.5)
    before = recorder.rms(quiet_from, clicked)
    check(before < SILENCE, f"the sink was not silent before the click (level {before:.0f})")
    loudest = max(level for _, level in recorder.levels(clicked, clicked + 2.5))
    check(loudest > AUDIBLE, f"no bell after the click on the home picture (loudest {loudest:.0f})")
    print(f"bell heard, loudest {loudest:.0f}")

    main.click(*harness.slot_centre("middle"))
    opened = harness.wait_until(session.opened_addresses, 20, "the web site address to be opened")
    check(len(opened) == 1 and opened[0][1].startswith("https://"),
          f"the web button opened {[a for _, a in opened]}, not one web address")
    print(f"handed to the browser: {opened[0][1]}")


if __name__ == "__main__":
    winesession.run(test, "windows_home_bell", sound=True)
