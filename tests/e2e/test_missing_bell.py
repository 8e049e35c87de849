# SPDX-License-Identifier: GPL-3.0-or-later
"""Started where the bell file is missing, Quorlin shows only the "Application Error" box with the
exact text, and dismissing it ends the program with status 1."""

import os
import re
import time

import harness
from harness import Failure, check


def test(session):
    module = os.path.basename(session.program)
    session.start(session.workdir(with_bell=False))

    # Until the box is up, nothing of the program may be on screen; then the box alone.
    def box_alone():
        if session.proc.poll() is not None:
            raise Failure(f"the program ended with status {session.proc.returncode} before "
                          "showing its error box")
        names = [w.name() for w in session.windows()]
        check(all(n == "Application Error" for n in names),
              f"windows on screen while starting without the bell: {names}")
        return names

    harness.wait_until(box_alone, 15, 'the "Application Error" box')
    time.sleep(0.3)
    shown = [w.name() for w in session.windows()]
    check(shown == ["Application Error"], f"windows on screen with the error box: {shown}")
    # The main window was never made, not even hidden.
    made = [w.name() for w in session.windows(only_visible=False)]
    check("Quorlin" not in made, f"a main window exists: {made}")

    box = session.wait_accessible_window("Application Error")
    check(box.role == "alert message", f"the box is a {box.role!r}, not an alert")
    labels = [text for text in box.texts("label") if text]
    check(len(labels) == 1, f"the box shows the texts {labels}")
    expected = re.compile(
        r"Exception EReadError in module " + re.escape(module) + r" at [0-9A-F]{8}\.\n"
        r"Error reading MediaPlayer1\.FileName: File not found\.\n\Z")
    check(expected.match(labels[0]), f"the box says {labels[0]!r}")
    buttons = box.texts("push button")
    check(buttons == ["OK"], f"the box offers the buttons {buttons}")

    session.windows()[0].key("Return")
    status = session.wait_exit(10)
    check(status == 1, f"dismissing the box ended the program with status {status}, not 1")


if __name__ == "__main__":
    harness.run(test, "missing_bell", accessibility=True)
