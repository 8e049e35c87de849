# SPDX-License-Identifier: GPL-3.0-or-later
"""A journal topic drawn as a person would: the topic tab, the ritual's two presses, the topic
in straight quotes with the bell heard, Advice silencing it for the guidance window, and that
window's Back returning to the main window."""

import os
import time

import harness
from harness import check

HERE = os.path.dirname(os.path.abspath(__file__))
TOPICS = os.path.join(HERE, "..", "..", "assets", "decks", "topics.txt")


def deck(path):
    with open(path, encoding="utf-8") as f:
        return [line.rstrip("\n").split("\t", 1)[1] for line in f if line.strip()]


def test(session):
    topics = deck(TOPICS)
    session.start(session.workdir(with_bell=True))
    session.wait_window("Quorlin")
    main = session.wait_accessible_window("Quorlin")
    session.press(main, "หัวข้อบันทึก", role="page tab")
    session.press(main, "หัวข้อบันทึก")

    session.wait_screen(["Quorlin", "หัวข้อบันทึก"])
    ritual = session.wait_accessible("หัวข้อบันทึก", "จับหัวข้อบันทึก")
    session.check_centred(ritual, (388, 555))
    prompt = ritual.texts("label")
    session.press(ritual, "จับหัวข้อบันทึก")
    # One press only turns the prompt into the breathing instruction.
    instruction = harness.wait_until(
        lambda: (t := ritual.texts("label")) != prompt and t, 5, "the breathing instruction")
    time.sleep(0.5)
    session.wait_screen(["Quorlin", "หัวข้อบันทึก"])
    check(ritual.find("push button", "จับหัวข้อบันทึก") and ritual.texts("label") == instruction,
          "a single press left the ritual window")

    recorder = session.record()
    pressed = time.monotonic()
    session.press(ritual, "จับหัวข้อบันทึก")
    result = session.wait_accessible("หัวข้อบันทึก", "คำแนะนำ")
    session.wait_screen(["Quorlin", "หัวข้อบันทึก"])
    session.check_centred(result, (388, 555))
    labels = result.texts("label")
    check(len(labels) == 1, f"the result window shows the texts {labels}")
    topic = labels[0]
    check(topic.startswith('"') and topic.endswith('"') and topic[1:-1] in topics,
          f"the result shows {topic!r}, not a topic of the deck in straight quotes")

    time.sleep(1.0)
    before = recorder.rms(pressed - 0.5, pressed - harness.RECORDER_EARLY)
    loudest = recorder.loudest(pressed, pressed + 1.0)
    check(before < harness.SILENCE, f"sound before the topic was drawn (level {before:.0f})")
    check(loudest > harness.AUDIBLE, f"no bell with the topic (loudest {loudest:.0f})")
    print(f"topic: {topic}, bell level {loudest:.0f}")

    session.press(result, "คำแนะนำ")
    session.wait_screen(["Quorlin", "คำแนะนำ หัวข้อบันทึก"])
    advised = time.monotonic()  # the bell was stopped before the guidance window was shown
    guide = session.wait_accessible_window("คำแนะนำ หัวข้อบันทึก")
    session.check_centred(guide, (392, 555))
    check(session.selected_tab(guide) == "เกี่ยวกับ",
          f"the guidance window opened on {session.selected_tab(guide)!r}")
    late = recorder.loudest(advised + 0.15, advised + 0.55)
    check(late < harness.SILENCE, f"the bell sounds on after Advice (level {late:.0f})")

    session.press(guide, "เมนู", role="page tab")
    harness.wait_until(lambda: guide.find("push button", "ย้อนกลับ"), 5,
                       "the guidance window's menu page")
    session.press(guide, "ย้อนกลับ")
    main_window = session.wait_screen(["Quorlin"])[0]
    main = session.wait_accessible_window("Quorlin")
    check(session.selected_tab(main) == "หัวข้อบันทึก",
          f"the main window came back on {session.selected_tab(main)!r}")

    main_window.key("alt+F4")
    status = session.wait_exit(10)
    check(status == 0, f"the program ended with status {status}")


if __name__ == "__main__":
    harness.run(test, "topic_flow", sound=True, accessibility=True)
