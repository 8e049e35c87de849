# SPDX-License-Identifier: GPL-3.0-or-later
"""The sound server dies while the bell sounds: the program neither crashes, nor hangs, nor shows
an error box. Its windows keep answering (tabs switch, a topic is drawn through its ritual and
its window closes) while the server is away and after a new one has taken its place, and Alt+F4
ends it with status 0.

Whether a later bell is heard depends on Qt Multimedia, which tries once to reconnect, about
3 s after losing the server: a server back by then is used again, one that comes later is not
(every bell stays silent for the rest of the run). Both cases are run, a server back at once and
one back after 4.5 s, and what was heard is printed."""

import time

import harness
from harness import AUDIBLE, SILENCE, Failure, check

# A spot on the home picture away from the three buttons.
PICTURE_SPOT = (60, harness.PAGE_TOP + 100)
# Comfortably past Qt Multimedia's one reconnect attempt after losing the server.
PAST_RECONNECT = 4.5


def check_alive(session, when):
    """The program runs and shows no error box."""
    if session.proc.poll() is not None:
        raise Failure(f"the program ended with status {session.proc.returncode} {when}")
    boxes = [w.name() for w in session.windows() if w.name() in ("Error", "Application Error")]
    check(not boxes, f"an error box {boxes} appeared {when}")


def select_tab(session, tab, when):
    main = session.wait_accessible_window("Quorlin", timeout=5)
    session.press(main, tab, role="page tab")
    harness.wait_until(lambda: session.selected_tab(main) == tab, 5,
                       f"the tab {tab!r} to be selected {when}")
    return main


def use_windows(session, when):
    select_tab(session, "ไพ่ชีวิต", when)
    main = select_tab(session, "หัวข้อบันทึก", when)
    result = session.draw(main, "หัวข้อบันทึก", "หัวข้อบันทึก", "จับหัวข้อบันทึก", "หัวข้อบันทึก")
    labels = result.texts("label")
    check(len(labels) == 1 and labels[0].startswith('"'),
          f"the topic window shows {labels} {when}")
    session.press(result, "ย้อนกลับ")
    session.wait_screen(["Quorlin"])


def check_responsive(session, when):
    """Tabs switch, and a topic drawn through its ritual (which starts and stops the topic
    window's bell, and stops and rewinds the main window's) shows in its window, which closes."""
    check_alive(session, when)
    try:
        use_windows(session, when)
    except TimeoutError:
        raise Failure(f"the program stopped answering the accessibility bus {when}: it hangs "
                      "(the program output and a screenshot are kept)") from None
    check_alive(session, when)


def ring_home_bell(session, main_window, when):
    """Clicks the home picture; returns the moment of the click."""
    select_tab(session, "หน้าแรก", when)
    clicked = time.monotonic()
    main_window.click(*PICTURE_SPOT)
    return clicked


def kill_while_ringing(session, recorder, clicked):
    """Waits until the bell rung at `clicked` is heard, then kills the sound server."""
    harness.wait_until(lambda: recorder.loudest(clicked, time.monotonic() - 0.1) > AUDIBLE, 3,
                       "the bell from the home picture")
    ringing = recorder.rms(time.monotonic() - 0.3, time.monotonic() - 0.1)
    check(ringing > AUDIBLE,
          f"the bell had faded before the sound server was killed (level {ringing:.0f})")
    session.kill_sound()
    recorder.stop()
    return time.monotonic()


def describe(level):
    return "heard" if level > AUDIBLE else "silent" if level < SILENCE else "faint"


def later_bells(session, main_window, when):
    """Rings the topic window's bell and the home picture's on the current server; returns
    their loudest levels."""
    recorder = session.record()
    drawn = time.monotonic()
    check_responsive(session, when)
    topic = recorder.loudest(drawn, time.monotonic())
    # The topic button has rewound the home picture's bell: the click rings it from the start.
    clicked = ring_home_bell(session, main_window, when)
    time.sleep(1.5)
    home = recorder.loudest(clicked, clicked + 1.5)
    check_alive(session, when)
    print(f"{when}: topic bell {describe(topic)} (loudest {topic:.0f}), home bell "
          f"{describe(home)} (loudest {home:.0f})")
    return recorder, clicked, home


def test(session):
    session.start(session.workdir(with_bell=True))
    main_window = session.wait_window("Quorlin")
    session.wait_accessible_window("Quorlin")

    # A new server at once: the program is used while it comes, and rings on it afterwards.
    killed = kill_while_ringing(session, session.record(),
                                ring_home_bell(session, main_window, "at start"))
    session.start_sound()
    check_responsive(session, "while a new sound server was starting")
    time.sleep(max(0.0, killed + PAST_RECONNECT - time.monotonic()))
    recorder, clicked, home = later_bells(session, main_window,
                                          "with a sound server back at once")

    # The server killed again, while the home bell sounds if it is heard, and away for longer
    # than the reconnect attempt: every bell player is used without a server.
    if home > AUDIBLE:
        killed = kill_while_ringing(session, recorder, clicked)
    else:
        session.kill_sound()
        recorder.stop()
        killed = time.monotonic()
    check_responsive(session, "after the sound server was killed")
    ring_home_bell(session, main_window, "after the sound server was killed")
    time.sleep(max(0.5, killed + PAST_RECONNECT - time.monotonic()))
    check_alive(session, "after the home picture was clicked without a sound server")
    session.start_sound()
    later_bells(session, main_window, "with a sound server back only after the reconnect attempt")

    main_window.key("alt+F4")
    status = session.wait_exit(10)
    check(status == 0, f"the program ended with status {status}")


if __name__ == "__main__":
    harness.run(test, "sound_server_killed", sound=True, accessibility=True)
