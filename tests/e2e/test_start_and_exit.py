# SPDX-License-Identifier: GPL-3.0-or-later
"""Started where the bell file is, Quorlin shows its main window alone, borderless, 388 x 555 at
the centre of the desktop, its name across the header and its home page with the three buttons
in their slots; "ออก" ends it with status 0, and in a second run so does the system's close
command (Alt+F4)."""

import harness
from harness import check

# The home page's buttons, top to bottom, with the page offset of their slots.
HOME_BUTTONS = [("เฟสบุ๊ค", "upper"), ("เว็บไซต์", "middle"), ("ออก", "lower")]


def start_main_window(session):
    session.start(session.workdir(with_bell=True))
    main = session.wait_window("Quorlin")
    # openbox always sets the frame extents: all 0 for a window without a frame.
    return main, harness.check_main_window_alone(session, main)


def check_home_page(session, origin):
    window = session.wait_accessible_window("Quorlin")
    # The program's name is centred across the whole 388 x 48 header, not cut off.
    header = window.find("label", "Quorlin (Quorlin) 2.0")
    check(len(header) == 1, "the header does not show the program's name")
    bar = (origin[0], origin[1], 388, harness.HEADER_HEIGHT)
    check(tuple(header[0].extents()) == bar,
          f"the header's name is laid out at {header[0].extents()}, not across the bar {bar}")
    for text, slot in HOME_BUTTONS:
        found = window.find("push button", text)
        check(len(found) == 1, f"the home page shows {len(found)} buttons {text!r}")
        x, y, w, h = found[0].extents()
        expected = (origin[0] + harness.BUTTON_LEFT,
                    origin[1] + harness.PAGE_TOP + harness.SLOT_TOPS[slot],
                    harness.BUTTON_WIDTH, harness.BUTTON_HEIGHT)
        check((x, y, w, h) == expected,
              f"{text!r} is at {(x, y, w, h)}, not in the {slot} slot {expected}")


def test(session):
    main, origin = start_main_window(session)
    check_home_page(session, origin)
    main.click(*harness.slot_centre("lower"))
    status = session.wait_exit(10)
    check(status == 0, f'"ออก" ended the program with status {status}, not 0')

    main, _ = start_main_window(session)
    main.key("alt+F4")
    status = session.wait_exit(10)
    check(status == 0, f"Alt+F4 ended the program with status {status}, not 0")


if __name__ == "__main__":
    harness.run(test, "start_and_exit", accessibility=True)
