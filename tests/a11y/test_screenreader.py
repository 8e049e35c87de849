# SPDX-License-Identifier: GPL-3.0-or-later
"""Quorlin used as a screen-reader user uses it: everything is found, read and pressed through
the accessibility bus (AT-SPI, with Debian's pyatspi), never with the mouse or by position.

Run under dbus-run-session: that private session bus is the one the program and this client
share, and the accessibility bus is started on it on demand. The desktop (Xvfb with openbox) and
the program's run come from the end-to-end harness.

The run: the main window and its home page; a web button pressed through its action; the topic
tab and button; the ritual's two presses, reading the breathing instruction; the result window
with the framed topic, also given as the window's description; Back. Then the bell file is taken
away and a result window asked for again: the "Error" box comes up as an alert with its text and
its "OK" button, which is pressed through its action; the ritual window is still there. Last, the
system's close command ends the program with status 0.
"""

import os
import signal
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "e2e"))

import harness  # noqa: E402
from harness import Failure, check  # noqa: E402

if "DBUS_SESSION_BUS_ADDRESS" not in os.environ:
    sys.exit("run this test under dbus-run-session")

import pyatspi  # noqa: E402  (connects to the session bus of dbus-run-session)

TOPICS = os.path.join(HERE, "..", "..", "assets", "decks", "topics.txt")
INSTRUCTION = "อยู่กับตัวเองสักครู่หนึ่ง ก่อนกดปุ่มเดิมอีกครั้ง"
BOWL = "ขันทิเบตสีเข้มบนโต๊ะกลมสีดำ มีไพ่ใบเล็กวางกระจายอยู่รอบๆ"
RINGS_BELL = "กดที่ภาพเพื่อฟังเสียงระฆัง"

harness.TEST_DEADLINE = 100  # the accessibility bus answers slowly on a busy machine


def _program_env(original):
    def env(self, *args, **kwargs):
        out = original(self, *args, **kwargs)
        # The program joins the accessibility bus of this session, as it does for a user whose
        # screen reader is running.
        out["DBUS_SESSION_BUS_ADDRESS"] = os.environ["DBUS_SESSION_BUS_ADDRESS"]
        out["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        return out
    return env


harness.Session.env = _program_env(harness.Session.env)


# Reading the bus

def fresh(node):
    """Drops what the client remembers of a node, so that its name and states are read anew."""
    for clear in ("clear_cache", "clearCache"):
        if hasattr(node, clear):
            getattr(node, clear)()
            break
    return node


def showing(node):
    try:
        return fresh(node).getState().contains(pyatspi.STATE_SHOWING)
    except Exception:
        return False


def walk(node):
    """The node and every showing node below it, depth first."""
    yield node
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None and showing(child):
            yield from walk(child)


def find(window, role, name=None):
    return [n for n in walk(window)
            if n.getRoleName() == role and (name is None or n.name == name)]


def texts(window, role):
    return [n.name for n in walk(window) if n.getRoleName() == role]


def top_windows():
    out = []
    desktop = pyatspi.Registry.getDesktop(0)
    for a in range(desktop.childCount):
        app = desktop.getChildAtIndex(a)
        if app is None:
            continue
        try:
            for w in range(app.childCount):
                window = app.getChildAtIndex(w)
                if window is not None and showing(window):
                    out.append(window)
        except Exception:
            continue  # an application leaving the bus
    return out


def wait_window(session, name, button=None, role=None, timeout=15):
    """The showing top-level window with this name (offering this button, if given)."""
    def look():
        if session.proc.poll() is not None:
            raise Failure(f"the program ended with status {session.proc.returncode} while "
                          f"waiting for the window {name!r}")
        for w in top_windows():
            if w.name == name and (role is None or w.getRoleName() == role) and (
                    button is None or find(w, "push button", button)):
                return w
        return None
    return harness.wait_until(look, timeout, f"the accessible window {name!r}"
                              + (f" with a button {button!r}" if button else ""), interval=0.2)


def press(window, name, role="push button"):
    """Presses a control through its accessibility action, as a screen reader does."""
    found = find(window, role, name)
    check(len(found) == 1, f"{len(found)} showing {role}s named {name!r} in {window.name!r}")
    action = found[0].queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    check("Press" in names, f"the {role} {name!r} offers the actions {names}, not Press")
    check(action.doAction(names.index("Press")), f"pressing {name!r} failed")


def deck(path):
    with open(path, encoding="utf-8") as f:
        return [line.rstrip("\n").split("\t", 1)[1] for line in f if line.strip()]


def accessibility_services():
    """Process ids of the accessibility bus services started for this session's bus."""
    import dbus
    session = dbus.SessionBus()
    daemon = session.get_object("org.freedesktop.DBus", "/org/freedesktop/DBus")
    pids = []
    for name in ("org.a11y.Bus",):
        try:
            pids.append(int(daemon.GetConnectionUnixProcessID(
                name, dbus_interface="org.freedesktop.DBus")))
        except dbus.DBusException:
            pass
    # The launcher's own children: the accessibility bus daemon and the registry.
    for pid in list(pids):
        try:
            with open(f"/proc/{pid}/task/{pid}/children") as f:
                pids += [int(p) for p in f.read().split()]
        except OSError:
            pass
    return pids


# The run

def test(session):
    services = []
    try:
        run(session, services)
    finally:
        stop_services(services)


def run(session, services):
    topics = deck(TOPICS)
    work = session.workdir(with_bell=True)
    session.start(work)

    main = wait_window(session, "Quorlin", button="เฟสบุ๊ค")
    services += accessibility_services()
    check(main.getRoleName() == "frame", f"the main window is a {main.getRoleName()!r}")
    buttons = texts(main, "push button")
    check({"ออก", "เว็บไซต์", "เฟสบุ๊ค", BOWL} == set(buttons),
          f"the home page offers the buttons {buttons}")
    check("Quorlin (Quorlin) 2.0" in texts(main, "label"),
          f"the header reads {texts(main, 'label')}")
    tabs = texts(main, "page tab")
    check(tabs == ["หน้าแรก", "หัวข้อบันทึก", "ไพ่ชีวิต", "เกี่ยวกับเรา"],
          f"the main tabs read {tabs}")
    bowl = find(main, "push button", BOWL)
    check(len(bowl) == 1, "the home picture is not offered as a button named after the bowl")
    check(bowl[0].description == RINGS_BELL,
          f"the home picture is described as {bowl[0].description!r}")

    press(main, "เว็บไซต์")
    harness.wait_until(lambda: len(session.opened_addresses()) == 1, 5,
                       "the web site to be opened")

    # One whole draw.
    press(main, "หัวข้อบันทึก", role="page tab")
    harness.wait_until(lambda: find(main, "push button", "หัวข้อบันทึก"), 5, "the topic page")
    press(main, "หัวข้อบันทึก")
    ritual = wait_window(session, "หัวข้อบันทึก", button="จับหัวข้อบันทึก")
    prompt = texts(ritual, "label")
    check(prompt == ["หัวข้อแนะนำสำหรับการบันทึกดูแลและใคร่ครวญชีวิตสำหรับช่วงนี้"],
          f"the ritual window reads {prompt}")
    press(ritual, "จับหัวข้อบันทึก")
    harness.wait_until(lambda: texts(ritual, "label") == [INSTRUCTION], 5,
                       "the breathing instruction to be read")
    press(ritual, "จับหัวข้อบันทึก")
    result = wait_window(session, "หัวข้อบันทึก", button="คำแนะนำ")
    labels = texts(result, "label")
    check(len(labels) == 1, f"the result window reads {labels}")
    topic = labels[0]
    check(topic.startswith('"') and topic.endswith('"') and topic[1:-1] in topics,
          f"the result reads {topic!r}, not a topic of the deck in straight quotes")
    check(fresh(result).description == topic,
          f"the result window is described as {result.description!r}, not by its topic")
    print(f"drawn and read: {topic}")
    press(result, "ย้อนกลับ")
    harness.wait_until(lambda: not showing(result), 5, "the result window to close")

    # A failure reaches the user as an alert: the bell file is gone when the result is asked for.
    os.remove(os.path.join(work, harness.BELL_FILE))
    main = wait_window(session, "Quorlin", button="หัวข้อบันทึก")
    press(main, "หัวข้อบันทึก")
    ritual = wait_window(session, "หัวข้อบันทึก", button="จับหัวข้อบันทึก")
    press(ritual, "จับหัวข้อบันทึก")
    harness.wait_until(lambda: texts(ritual, "label") == [INSTRUCTION], 5,
                       "the breathing instruction")
    press(ritual, "จับหัวข้อบันทึก")
    box = wait_window(session, "Error", button="OK")
    check(box.getRoleName() == "alert", f"the error box is a {box.getRoleName()!r}, not an alert")
    said = [t for t in texts(box, "label") if t]
    check(len(said) == 1 and said[0].startswith("Error reading MediaPlayer2.FileName: "),
          f"the error box reads {said}")
    check(texts(box, "push button") == ["OK"], f"the box offers {texts(box, 'push button')}")
    print(f"alert read: {said[0]!r}")
    press(box, "OK")
    harness.wait_until(lambda: not showing(box), 5, "the error box to close")
    check(showing(ritual) and texts(ritual, "label") == [INSTRUCTION],
          "the ritual window did not stay open in its instruction after the error")

    # Leaving: Back, then the system's close command on the main window.
    press(ritual, "ย้อนกลับ")
    harness.wait_until(lambda: not showing(ritual), 5, "the ritual window to close")
    session.wait_screen(["Quorlin"])[0].key("alt+F4")
    status = session.wait_exit(10)
    check(status == 0, f"the program ended with status {status}")


def stop_services(pids):
    """Ends the accessibility bus services started for this session (they would otherwise
    outlive its bus for a while)."""
    for pid in reversed(pids):
        try:
            os.kill(pid, signal.SIGTERM)
        except ProcessLookupError:
            pass


if __name__ == "__main__":
    harness.run(test, "screenreader")
