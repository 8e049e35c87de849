# SPDX-License-Identifier: GPL-3.0-or-later
"""Started from its Start-menu shortcut (from a folder without the bell, so that only the
shortcut's working folder can give it its bell), the installed program shows its main window
alone, borderless, 388 x 555 at the desktop's centre; its tool bar is in the "Windows 8 Desktop"
colour with wine telling Windows 10, in the "Windows 7" colour with wine telling Windows 7; and
"ออก" ends it with status 0."""

import glob
import os

import winesession  # first: it makes the end-to-end harness importable
import harness  # noqa: E402
from harness import check  # noqa: E402

# (wine's Windows version, the tool bar colour of the look it must get)
LOOKS = [("win10", "#F0F0F0"), ("win7", "#F4F4F4")]


def windows_path(path):
    relative = os.path.relpath(path, os.path.join(winesession.prefix(), "drive_c"))
    return "C:\\" + relative.replace("/", "\\")


def pixel(session, x, y):
    out = session.x_tool(["import", "-window", "root", "-crop", f"1x1+{x}+{y}", "txt:-"],
                         timeout=20)
    return out.split()[-2] if "#" in out else out


def drawn_pixel(session, x, y, what):
    """The pixel at x, y once the window there has drawn its first frame: a window is mapped
    before that, and black until then."""
    def drawn():
        seen = pixel(session, x, y)
        return seen if seen.strip("#0") else None
    return harness.wait_until(drawn, 10, what)


def run_once(session, version, colour):
    winesession.set_windows_version(version)
    if version == "win10":
        shortcut = glob.glob(os.path.join(winesession.prefix(), "drive_c", "**", "Start Menu",
                                          "Programs", "Quorlin", "Quorlin.lnk"), recursive=True)
        check(len(shortcut) == 1, f"Start-menu shortcuts: {shortcut}")
        session.start(session.workdir(with_bell=False), via=["start", windows_path(shortcut[0])])
    else:
        session.start(winesession.installed_folder())
    main = session.wait_window("Quorlin", timeout=40)
    # Wine's borderless windows may carry no frame extents at all.
    x, y = harness.check_main_window_alone(session, main, unframed=(None, (0, 0, 0, 0)),
                                           context=f" ({version})")

    seen = drawn_pixel(session, x + 5, y + 5, f"the main window's first frame ({version})")
    check(seen.upper().startswith(colour),
          f"the tool bar is {seen} with wine telling {version}, not {colour}")
    print(f"{version}: main window at {x}, {y}, tool bar {seen}")

    main.click(*harness.slot_centre("lower"))
    status = session.wait_exit(20)
    check(status in (0, None), f'"ออก" ended the program with status {status}, not 0 ({version})')


def test(session):
    for version, colour in LOOKS:
        run_once(session, version, colour)


if __name__ == "__main__":
    winesession.run(test, "windows_start_and_looks")
