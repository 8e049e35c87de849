# SPDX-License-Identifier: GPL-3.0-or-later
"""On a Wayland desktop that offers Xwayland (Weston), Quorlin takes the X display: its main
window is on the screen borderless, 388 x 555, at the centre of the desktop, where the
compositor shows it too; a click on the home picture makes the bell heard, and Alt+F4, which
this compositor leaves to the window, ends the program with status 0."""

import harness
import weston
from harness import check
from weston import SIZE


class XwaylandSession(weston.WestonSession):
    mode = "xwayland"


def test(session):
    session.start(session.workdir(with_bell=True))
    main = session.wait_window("Quorlin")  # an X window: the program took Xwayland
    check(weston.uses_library(session, "libqxcb.so"),
          "the program did not start on the X platform")

    centre = (round((weston.OUTPUT[0] - SIZE[0]) / 2), round((weston.OUTPUT[1] - SIZE[1]) / 2))
    # Weston takes the new window into a frame of its own first, where it stands a moment at
    # the frame's offset; then it is where the program put it.
    seen = []

    def placed():
        info = main.info()
        seen.append((info["x"], info["y"], info["width"], info["height"]))
        return seen[-1] == centre + SIZE

    try:
        harness.wait_until(placed, 5, "the main window at the desktop centre")
    except harness.Failure:
        raise harness.Failure(f"the main window is at {seen[-1]} (x, y, w, h), not at the "
                              f"desktop centre {centre + SIZE}") from None
    # What the compositor shows: the window alone, unframed, where it asked to be.
    shown = session.wait_shown(SIZE)
    check(shown == centre + SIZE, f"the compositor shows the main window at {shown}, "
                                  f"not at {centre + SIZE}")

    loudest = weston.check_bell_and_close(session, centre)
    print(f"main window at {centre}, bell loudest {loudest:.0f}")


if __name__ == "__main__":
    harness.run(test, "wayland_xwayland", sound=True, session_class=XwaylandSession)
