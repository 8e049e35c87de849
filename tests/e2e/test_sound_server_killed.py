"""The sound server dies while the bell sounds: the program neither crashes, nor hangs, nor shows
an error box. Its windows keep answering (tabs switch, a topic is drawn through its ritual and
its window closes), a new sound server can take the old one's place, a later bell is heard there
or stays silent while the program keeps working, and Alt+F4 ends it with status 0."""

import time

import harness
from harness import AUDIBLE, SILENCE, Failure, check

# A spot on the home picture away from the three buttons.
PICTURE_SPOT = (60, harness.PAGE_TOP + 100)


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


def check_responsive(session, when):
    """Tabs switch, and a topic drawn through its ritual shows in its window, which closes."""
    check_alive(session, when)
    try:
        use_windows(session, when)
    except TimeoutError:
        raise Failure(f"the program stopped answering the accessibility bus {when}: it hangs "
                      "(the program output and a screenshot are kept)") from None
    check_alive(session, when)


def use_windows(session, when):
    select_tab(session, "ไพ่ชีวิต", when)
    main = select_tab(session, "หัวข้อบันทึก", when)
    result = session.draw(main, "หัวข้อบันทึก", "หัวข้อบันทึก", "จับหัวข้อบันทึก", "หัวข้อบันทึก")
    labels = result.texts("label")
    check(len(labels) == 1 and labels[0].startswith('"'),
          f"the topic window shows {labels} {when}")
    session.press(result, "ย้อนกลับ")
    session.wait_screen(["Quorlin"])


def describe(level):
    return "heard" if level > AUDIBLE else "silent" if level < SILENCE else "faint"


def test(session):
    session.start(session.workdir(with_bell=True))
    main_window = session.wait_window("Quorlin")
    session.wait_accessible_window("Quorlin")
    recorder = session.record()

    clicked = time.monotonic()
    main_window.click(*PICTURE_SPOT)
    harness.wait_until(lambda: recorder.loudest(clicked, time.monotonic() - 0.1) > AUDIBLE, 3,
                       "the bell from the home picture")
    ringing = recorder.rms(time.monotonic() - 0.3, time.monotonic() - 0.1)
    check(ringing > AUDIBLE,
          f"the bell had faded before the sound server was killed (level {ringing:.0f})")
    session.kill_sound()
    print(f"bell heard; sound server killed {time.monotonic() - clicked:.2f} s after the click")
    recorder.stop()

    # Time for the program's sound machinery to notice; then every bell player is used without a
    # server: the topic window's starts and stops, the home picture's is stopped, rewound and
    # rung again.
    time.sleep(1.0)
    check_responsive(session, "after the sound server was killed")
    select_tab(session, "หน้าแรก", "after the sound server was killed")
    main_window.click(*PICTURE_SPOT)
    time.sleep(0.5)
    check_alive(session, "after the home picture was clicked without a sound server")

    session.start_sound()
    recorder = session.record()
    drawn = time.monotonic()
    check_responsive(session, "after a new sound server was started")
    topic_bell = recorder.loudest(drawn, time.monotonic())
    # The topic tab's button has rewound the home picture's bell: a click rings it from the start.
    select_tab(session, "หน้าแรก", "after a new sound server was started")
    clicked = time.monotonic()
    main_window.click(*PICTURE_SPOT)
    time.sleep(1.5)
    home_bell = recorder.loudest(clicked, clicked + 1.5)
    check_alive(session, "after the bells were rung on the new sound server")
    print(f"on the new sound server: topic bell {describe(topic_bell)} (loudest "
          f"{topic_bell:.0f}), home bell {describe(home_bell)} (loudest {home_bell:.0f})")

    main_window.key("alt+F4")
    status = session.wait_exit(10)
    check(status == 0, f"the program ended with status {status}")


if __name__ == "__main__":
    harness.run(test, "sound_server_killed", sound=True, accessibility=True)
