# SPDX-License-Identifier: GPL-3.0-or-later
"""On a Wayland desktop without an X server (Weston), Quorlin runs on Wayland itself: its main
window is on the screen borderless, 388 x 555, wherever the compositor places it; a click on the
home picture makes the bell heard, and Alt+F4, which this compositor leaves to the window, ends
the program with status 0."""

import harness
import weston
from harness import check
from weston import SIZE


class NativeSession(weston.WestonSession):
    mode = "native"


def test(session):
    session.start(session.workdir(with_bell=True))
    # Only the window itself covers the background: no frame, no shadow, its own size.
    shown = session.wait_shown(SIZE)
    check(weston.uses_library(session, "libqwayland"),
          "the program did not start on the Wayland platform")
    x, y = shown[:2]
    check(0 <= x and x + SIZE[0] <= weston.OUTPUT[0] and 0 <= y and y + SIZE[1] <= weston.OUTPUT[1],
          f"the main window at {shown} is not wholly on the screen")

    loudest = weston.check_bell_and_close(session, (x, y))
    print(f"main window placed by the compositor at {x}, {y}, bell loudest {loudest:.0f}")


if __name__ == "__main__":
    harness.run(test, "wayland_native", sound=True, session_class=NativeSession)
