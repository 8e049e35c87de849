# SPDX-License-Identifier: GPL-3.0-or-later
"""The installed program, started in its folder: a click on the home picture makes the bell heard
on a PulseAudio null sink (Qt Multimedia's Windows output through wine's PulseAudio driver), and
"เว็บไซต์" hands an https address to the desktop's browser (wine's winebrowser passes it to
xdg-open, which the harness records)."""

import winesession  # first: it makes the end-to-end harness importable
import harness  # noqa: E402


def test(session):
    winesession.set_windows_version("win10")
    session.start(winesession.installed_folder())
    main = session.wait_window("Quorlin", timeout=40)
    recorder = session.record()

    # Wine's sound output takes longer to start than PulseAudio's own client.
    _, levels = harness.ring_home_picture(main, recorder, quiet=1.0, listen=2.5)
    print(f"bell heard, loudest {max(level for _, level in levels):.0f}")

    _, opened = harness.open_web_site(session, main, timeout=20)
    print(f"handed to the browser: {opened[0][1]}")


if __name__ == "__main__":
    winesession.run(test, "windows_home_bell", sound=True)
