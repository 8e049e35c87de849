# SPDX-License-Identifier: GPL-3.0-or-later
"""Both life cards drawn as a person would, in one run: an angel card through its ritual's two
presses, shown with the bell heard, left with "ย้อนกลับ" (which silences it); then an obstacle
card the same way, left through "คำแนะนำ" to the card guidance window and its "ย้อนกลับ"."""

import os
import time

import harness
from harness import check

HERE = os.path.dirname(os.path.abspath(__file__))
DECKS = os.path.join(HERE, "..", "..", "assets", "decks")


def deck(name):
    with open(os.path.join(DECKS, name), encoding="utf-8") as f:
        return [line.rstrip("\n").split("\t", 1)[1] for line in f if line.strip()]


def draw_card(session, main, opener, ritual_title, result_title, cards):
    """Opens a ritual from the card tab, presses its draw button twice and returns the result
    window with the recorder and the moment of the second press."""
    session.press(main, opener)
    session.wait_screen(["Quorlin", ritual_title])
    ritual = session.wait_accessible(ritual_title, opener)
    session.check_centred(ritual, (388, 555))
    prompt = ritual.texts("label")
    session.press(ritual, opener)
    instruction = harness.wait_until(
        lambda: (t := ritual.texts("label")) != prompt and t, 5, "the breathing instruction")
    time.sleep(0.5)
    session.wait_screen(["Quorlin", ritual_title])
    check(ritual.find("push button", opener) and ritual.texts("label") == instruction,
          f"a single press left the {ritual_title!r} ritual")

    recorder = session.record()
    pressed = time.monotonic()
    session.press(ritual, opener)
    result = session.wait_accessible(result_title, "คำแนะนำ")
    session.wait_screen(["Quorlin", result_title])
    session.check_centred(result, (388, 555))
    labels = result.texts("label")
    check(len(labels) == 1 and labels[0] in cards,
          f"the {result_title!r} window shows {labels}, not one card of its deck")

    time.sleep(1.0)
    before = recorder.rms(pressed - 0.5, pressed - harness.RECORDER_EARLY)
    loudest = recorder.loudest(pressed, pressed + 1.0)
    check(before < harness.SILENCE, f"sound before the card was drawn (level {before:.0f})")
    check(loudest > harness.AUDIBLE, f"no bell with the {result_title!r} card ({loudest:.0f})")
    print(f"{result_title}: {labels[0]}, bell level {loudest:.0f}")
    return result, recorder


def test(session):
    session.start(session.workdir(with_bell=True))
    session.wait_window("Quorlin")
    main = session.wait_accessible_window("Quorlin")
    session.press(main, "ไพ่ชีวิต", role="page tab")

    # Angel card, left with Back: the bell stops at once.
    result, recorder = draw_card(session, main, "จับไพ่นางฟ้า", "Form5", "ไพ่นางฟ้า",
                                 deck("angels.txt"))
    session.press(result, "ย้อนกลับ")
    session.wait_screen(["Quorlin"])
    back = time.monotonic()  # the bell was stopped before the window closed
    late = recorder.loudest(back + 0.15, back + 0.55)
    check(late < harness.SILENCE, f"the angel bell sounds on after Back (level {late:.0f})")
    recorder.stop()

    # Obstacle card, left through Advice and the card guidance window's Back.
    main = session.wait_accessible_window("Quorlin")
    check(session.selected_tab(main) == "ไพ่ชีวิต",
          f"the main window came back on {session.selected_tab(main)!r}")
    result, recorder = draw_card(session, main, "จับไพ่อุปสรรค", "ไพ่อุปสรรค", "ไพ่อุปสรรค",
                                 deck("obstacles.txt"))
    session.press(result, "คำแนะนำ")
    session.wait_screen(["Quorlin", "คำแนะนำ ไพ่ชีวิต"])
    advised = time.monotonic()  # the bell was stopped before the guidance window was shown
    guide = session.wait_accessible_window("คำแนะนำ ไพ่ชีวิต")
    session.check_centred(guide, (388, 555))
    check(session.selected_tab(guide) == "เกี่ยวกับ",
          f"the card guidance window opened on {session.selected_tab(guide)!r}")
    late = recorder.loudest(advised + 0.15, advised + 0.55)
    check(late < harness.SILENCE, f"the obstacle bell sounds on after Advice (level {late:.0f})")

    session.press(guide, "เมนู", role="page tab")
    harness.wait_until(lambda: guide.find("push button", "ย้อนกลับ"), 5,
                       "the card guidance window's menu page")
    session.press(guide, "ย้อนกลับ")
    main_window = session.wait_screen(["Quorlin"])[0]

    main_window.key("alt+F4")
    status = session.wait_exit(10)
    check(status == 0, f"the program ended with status {status}")


if __name__ == "__main__":
    harness.run(test, "card_flows", sound=True, accessibility=True)
