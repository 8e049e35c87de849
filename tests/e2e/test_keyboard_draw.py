# SPDX-License-Identifier: GPL-3.0-or-later
"""A whole angel card drawn with the keyboard alone, keys typed through the X server: from the
main window as it opens, Ctrl+Tab and Ctrl+Page_Down reach the card page, Space opens the angel
ritual and presses its draw button twice, the result window rings the bell, and Tab, Return on
"ย้อนกลับ" lead back to the main window, still on the card page; Ctrl+Shift+Tab then reaches the
topic page and Alt+F4 ends the program with status 0."""

import time

import harness
from harness import AUDIBLE, check

def typed(session, window, keys):
    window.key(keys)
    time.sleep(0.2)


def test(session):
    session.start(session.workdir(with_bell=True))
    main = session.wait_window("Quorlin")
    typed(session, main, "ctrl+Tab")
    typed(session, main, "ctrl+Page_Down")
    typed(session, main, "space")
    ritual = session.wait_screen(["Quorlin", "Form5"])
    ritual = next(w for w in ritual if w.name() == "Form5")
    typed(session, ritual, "space")
    check(len(session.windows()) == 2, "the first press of the draw button left the ritual")

    recorder = session.record()
    pressed = time.monotonic()
    typed(session, ritual, "space")
    shown = session.wait_screen(["Quorlin", "ไพ่นางฟ้า"])
    result = next(w for w in shown if w.name() == "ไพ่นางฟ้า")
    time.sleep(1.0)
    loudest = recorder.loudest(pressed, pressed + 1.0)
    check(loudest > AUDIBLE, f"no bell with the drawn card (loudest {loudest:.0f})")

    typed(session, result, "Tab")
    typed(session, result, "Return")  # "ย้อนกลับ"
    session.wait_screen(["Quorlin"])
    # Still the card page: Ctrl+Shift+Tab goes one page back, to the topics, whose button
    # "หัวข้อบันทึก" now has the focus and opens the topic ritual.
    typed(session, main, "ctrl+shift+Tab")
    typed(session, main, "space")
    session.wait_screen(["Quorlin", "หัวข้อบันทึก"])

    main.key("alt+F4")
    status = session.wait_exit(10)
    check(status == 0, f"Alt+F4 ended the program with status {status}, not 0")
    print(f"angel card drawn from the keyboard, bell loudest {loudest:.0f}")


if __name__ == "__main__":
    harness.run(test, "keyboard_draw", sound=True)
