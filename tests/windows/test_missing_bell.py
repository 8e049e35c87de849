# SPDX-License-Identifier: GPL-3.0-or-later
"""The installed program, started in a folder without the bell, shows only the "Application
Error" box, and dismissing it ends the program with status 1."""

import time

import winesession  # first: it makes the end-to-end harness importable
import harness  # noqa: E402
from harness import Failure, check


def test(session):
    winesession.set_windows_version("win10")
    session.start(session.workdir(with_bell=False))

    def box():
        if session.proc.poll() is not None:
            raise Failure(f"the program ended with status {session.proc.returncode} before "
                          "showing its error box")
        names = [w.name() for w in session.windows()]
        return names if "Application Error" in names else None

    harness.wait_until(box, 40, 'the "Application Error" box')
    time.sleep(0.5)
    shown = [w.name() for w in session.windows()]
    check(shown == ["Application Error"], f"windows on screen with the error box: {shown}")
    session.windows()[0].key("Return")
    status = session.wait_exit(20)
    check(status == 1, f"dismissing the box ended the program with status {status}, not 1")


if __name__ == "__main__":
    winesession.run(test, "windows_missing_bell")
