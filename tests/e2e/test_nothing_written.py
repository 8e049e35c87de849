# SPDX-License-Identifier: GPL-3.0-or-later
"""Nothing written, nothing reached: a whole session through every window and every flow.

The program runs under strace from a fresh working directory holding only the bell file, with a
fresh, empty home and runtime folder of its own (the desktop's daemons write into the
session's). Afterwards:
- its home, its runtime folder and its working directory hold what they held before, but for the
  files a system library writes on its own (ALLOWED_WRITES);
- /tmp holds what it held before, as far as the program is concerned: /tmp is shared with every
  process on the machine, so a change there is counted when the program's trace names it;
- the trace shows the program's own process and threads creating, opening for writing, renaming
  or removing no file anywhere outside ALLOWED_WRITES;
- the trace shows them making no socket but local ones and connecting to nothing but local
  sockets (what a program it started, such as xdg-open, does is its own business);
- each of the four web buttons handed one absolute https address to xdg-open, and xdg-open is
  the only program it started.
"""

import os
import re
import shutil
import stat
import time
import urllib.parse

import harness
from harness import check

# A spot on the home picture away from the three buttons.
HOME_PICTURE = (60, harness.PAGE_TOP + 100)
# A spot on the topic guidance window's first picture, above its text box.
GUIDE_PICTURE = (196, harness.PAGE_TOP + 100)

MAIN_TABS = ["หัวข้อบันทึก", "ไพ่ชีวิต", "เกี่ยวกับเรา", "หน้าแรก"]
ABOUT_PAGES = ["การเขียนบำบัด", "โครงการ", "ร่วมสนับสนุน", "โปรแกรม"]
TOPIC_GUIDE_PAGES = ["กุญแจพื้นฐาน", "ไม่หยุดปากกา", "การทบทวน", "เมนู"]
CARD_GUIDE_PAGES = ["การบันทึก", "เมนู"]
VIDEO_BUTTON = "ตัวอย่าง-วิดีโอลิงค์"

# Files a system library writes on its own, relative to the program's home, with the reason.
_PULSE_COOKIE = ("libpulse: a client that finds no cookie when it connects to the sound server "
                 "makes one (pa_client_conf_load_cookie -> pa_authkey_load), with its folders")
ALLOWED_WRITES = {
    ".config": _PULSE_COOKIE,
    ".config/pulse": _PULSE_COOKIE,
    ".config/pulse/cookie": _PULSE_COOKIE,
}


# Snapshots

def snapshot(root, skip=()):
    """(size, mtime, inode, kind) of everything below root, by path; folders in skip and their
    contents are left out, and so are entries that vanish while the walk runs."""
    entries = {}
    for folder, subfolders, files in os.walk(root):
        subfolders[:] = [d for d in subfolders if os.path.join(folder, d) not in skip]
        for name in subfolders + files:
            path = os.path.join(folder, name)
            try:
                st = os.lstat(path)
            except FileNotFoundError:
                continue
            if stat.S_ISDIR(st.st_mode):
                # A folder's own times change with what is in it; its entries tell what changed.
                entries[path] = (None, None, st.st_ino, "folder")
            else:
                entries[path] = (st.st_size, st.st_mtime_ns, st.st_ino, "file")
    return entries


def differences(before, after):
    """(path, what happened) for every path created, removed or changed."""
    out = []
    for path in sorted(set(before) | set(after)):
        old, new = before.get(path), after.get(path)
        if old == new:
            continue
        if old is None:
            out.append((path, f"created ({new[3]}, {new[0]} bytes)" if new[0] is not None
                        else f"created ({new[3]})"))
        elif new is None:
            out.append((path, "removed"))
        else:
            out.append((path, f"changed (size {old[0]} -> {new[0]}, mtime {old[1]} -> {new[1]}, "
                              f"inode {old[2]} -> {new[2]})"))
    return out


# The trace

PROCESS_CALLS = ["execve", "clone", "clone3", "fork", "vfork"]
SOCKET_CALLS = ["socket", "connect", "bind"]
# Every call that creates, opens, renames, removes or changes the times or mode of a file.
FILE_CALLS = ["open", "openat", "openat2", "creat", "mkdir", "mkdirat", "mknod", "mknodat",
              "rename", "renameat", "renameat2", "link", "linkat", "symlink", "symlinkat",
              "unlink", "unlinkat", "rmdir", "truncate", "chmod", "fchmodat", "utimensat",
              "utimes", "utime"]
_OPENS = {"open", "openat", "openat2"}
_WRITE_FLAGS = re.compile(r"\bO_(WRONLY|RDWR|CREAT|TRUNC)\b")

_LINE = re.compile(r"(\d+)\s+(.*)")
_RESUMED = re.compile(r"<\.\.\. (\w+) resumed>(.*)")
_CALL = re.compile(r"(\w+)\((.*)")
_RESULT = re.compile(r"\)\s+=\s+(-?\d+)")
# A path argument, after its folder's descriptor if it has one (strace -y shows the descriptor's
# path in angle brackets).
_PATH_ARG = re.compile(r'(?:(?:AT_FDCWD|\d+)<([^>]*)>, )?"((?:[^"\\]|\\.)*)"')


def parse_trace(path):
    """The complete system calls of an `strace -f` log in order: (pid, name, text, result).
    A call split by another process's line is joined again."""
    calls, pending = [], {}
    with open(path, errors="replace") as f:
        for raw in f:
            m = _LINE.match(raw.rstrip("\n"))
            if not m:
                continue
            pid, rest = int(m.group(1)), m.group(2)
            if rest.endswith("<unfinished ...>"):
                pending[pid] = rest[:-len("<unfinished ...>")].rstrip()
                continue
            resumed = _RESUMED.match(rest)
            if resumed:
                rest = pending.pop(pid, resumed.group(1) + "(") + resumed.group(2)
            call = _CALL.match(rest)
            if not call:
                continue  # signals and exits
            results = _RESULT.findall(rest)
            calls.append((pid, call.group(1), rest, int(results[-1]) if results else None))
    return calls


def own_calls(calls, program):
    """The calls made by the program itself: its first process and its threads, and processes it
    forked until they start another program."""
    parents = {}  # child -> (parent, index of the clone in calls)
    execs = {}  # pid -> index of its first start of another program
    root = None
    for i, (pid, name, text, result) in enumerate(calls):
        if name in ("clone", "clone3", "fork", "vfork") and result and result > 0:
            parents[result] = (pid, i)
        elif name == "execve" and result == 0:
            target = re.match(r'execve\("([^"]*)"', text)
            runs_program = target and os.path.realpath(target.group(1)) == program
            if root is None and runs_program:
                root = pid
            elif not runs_program and pid not in execs:
                execs[pid] = i

    def is_program(pid, at):
        if pid in execs and at > execs[pid]:
            return False
        if pid == root:
            return True
        if pid not in parents:
            return True  # of unknown origin: counted as the program's, to be strict
        parent, cloned = parents[pid]
        return is_program(parent, cloned)

    check(root is not None, "the trace does not show the program being started")
    return [c for i, c in enumerate(calls) if is_program(c[0], i)]


def written_paths(calls, cwd):
    """(path, call) for every file the calls created, opened for writing, renamed, removed or
    changed; failed calls change nothing and are left out."""
    out = []
    for _, name, text, result in calls:
        if name == "bind":
            named = re.search(r'sun_path="([^"]*)"', text)  # abstract names are no files
            if named and result == 0:
                out.append((os.path.join(cwd, named.group(1)), text))
            continue
        if name not in FILE_CALLS or result is None or result < 0:
            continue
        if name in _OPENS and not _WRITE_FLAGS.search(text):
            continue
        for folder, path in _PATH_ARG.findall(text):
            out.append((os.path.normpath(os.path.join(folder or cwd, path)), text))
    return out


# The flows

def visit_tabs(session, window, captions):
    """Selects each tab in turn and waits until its strip says it is selected."""
    for caption in captions:
        session.press(window, caption, role="page tab")
        harness.wait_until(
            lambda: caption in [n.name for n in window.walk() if n.role == "page tab list"],
            5, f"the tab {caption!r} of {window.name!r} to be selected")


def open_address(session, window, button):
    """Presses a web button and returns the address it handed to the desktop's opener."""
    before = len(session.opened_addresses())
    session.press(window, button)
    opened = harness.wait_until(lambda: session.opened_addresses()[before:], 5,
                                f"the address of {button!r} to reach xdg-open")
    return opened[0][1]


def leave_guide(session, guide):
    """Back from a guidance window's menu page, to the main window alone."""
    harness.wait_until(lambda: guide.find("push button", "ย้อนกลับ"), 5,
                       f"the menu page of {guide.name!r}")
    session.press(guide, "ย้อนกลับ")
    session.wait_screen(["Quorlin"])


def guide_from_tab(session, tab, title):
    """Opens a guidance window straight from its main-window tab, visits its menu, and leaves it
    through Back."""
    main = session.wait_accessible_window("Quorlin")
    visit_tabs(session, main, [tab])
    session.press(main, "คำแนะนำ")
    guide = session.wait_accessible_window(title)
    visit_tabs(session, guide, ["เมนู"])
    leave_guide(session, guide)


def whole_session(session):
    """Every window and every flow once; returns the addresses the web buttons handed over, by
    button."""
    addresses = {}
    session.wait_window("Quorlin")
    main = session.wait_accessible_window("Quorlin")
    visit_tabs(session, main, MAIN_TABS[:3])
    visit_tabs(session, main, ABOUT_PAGES)
    visit_tabs(session, main, MAIN_TABS[3:])

    # Home: the bell from the picture, then both web buttons.
    session.wait_window("Quorlin").click(*HOME_PICTURE)
    time.sleep(0.3)
    addresses["เว็บไซต์"] = open_address(session, main, "เว็บไซต์")
    addresses["เฟสบุ๊ค"] = open_address(session, main, "เฟสบุ๊ค")

    # Topic guidance straight from the topic tab, and back.
    guide_from_tab(session, "หัวข้อบันทึก", "คำแนะนำ หัวข้อบันทึก")

    # Topic ritual, result, its advice: every page of the guidance window, its bell picture and
    # its video link.
    main = session.wait_accessible_window("Quorlin")
    result = session.draw(main, "หัวข้อบันทึก", "หัวข้อบันทึก", "จับหัวข้อบันทึก", "หัวข้อบันทึก")
    session.press(result, "คำแนะนำ")
    session.wait_screen(["Quorlin", "คำแนะนำ หัวข้อบันทึก"])
    guide = session.wait_accessible_window("คำแนะนำ หัวข้อบันทึก")
    session.wait_window("คำแนะนำ หัวข้อบันทึก").click(*GUIDE_PICTURE)
    visit_tabs(session, guide, TOPIC_GUIDE_PAGES)
    addresses["ตัวอย่าง-วิดีโอลิงค์ (หัวข้อบันทึก)"] = open_address(session, guide, VIDEO_BUTTON)
    leave_guide(session, guide)

    # Card guidance straight from the card tab, and back.
    guide_from_tab(session, "ไพ่ชีวิต", "คำแนะนำ ไพ่ชีวิต")

    # Angel card, left with Back.
    main = session.wait_accessible_window("Quorlin")
    result = session.draw(main, "จับไพ่นางฟ้า", "Form5", "จับไพ่นางฟ้า", "ไพ่นางฟ้า")
    session.press(result, "ย้อนกลับ")
    session.wait_screen(["Quorlin"])

    # Obstacle card, left through its advice: every page of the card guidance window and its
    # video link.
    main = session.wait_accessible_window("Quorlin")
    result = session.draw(main, "จับไพ่อุปสรรค", "ไพ่อุปสรรค", "จับไพ่อุปสรรค", "ไพ่อุปสรรค")
    session.press(result, "คำแนะนำ")
    session.wait_screen(["Quorlin", "คำแนะนำ ไพ่ชีวิต"])
    guide = session.wait_accessible_window("คำแนะนำ ไพ่ชีวิต")
    visit_tabs(session, guide, CARD_GUIDE_PAGES)
    addresses["ตัวอย่าง-วิดีโอลิงค์ (ไพ่ชีวิต)"] = open_address(session, guide, VIDEO_BUTTON)
    leave_guide(session, guide)

    session.wait_window("Quorlin").key("alt+F4")
    status = session.wait_exit(15)
    check(status == 0, f"the program ended with status {status}")
    return addresses


def check_sockets(calls):
    """Only local sockets made, only local sockets connected; prints what was reached."""
    sockets = [text for _, name, text, _ in calls if name == "socket"]
    connects = [text for _, name, text, _ in calls if name == "connect"]
    check(sockets and connects,
          "the trace shows the program making or connecting no socket: it cannot be complete")
    bad = [text for text in sockets if not text.startswith("socket(AF_UNIX,")]
    bad += [text for text in connects if "{sa_family=AF_UNIX," not in text]
    reached = sorted({m.group(1) for text in connects
                      if (m := re.search(r'sun_path=(@?"[^"]*")', text))})
    print("local sockets reached: " + ", ".join(reached))
    check(not bad, "the program made or connected sockets other than local ones:\n  "
          + "\n  ".join(bad))


def test(session):
    check(shutil.which("strace"), "this test needs strace (Debian package strace)")
    # The program gets a home and a runtime folder of its own, fresh and empty: the desktop's
    # daemons write into the session's.
    home = session.path("program-home")
    xdg = session.path("program-xdg")
    os.makedirs(home, mode=0o700)
    os.makedirs(xdg, mode=0o700)
    work = session.workdir(with_bell=True)
    trace = session.path("strace.log")

    def watched():
        # The session's folder holds the test's own files; the program's folders in it are
        # watched one by one.
        return {**snapshot(home), **snapshot(xdg), **snapshot(work),
                **snapshot("/tmp", skip={session.tmp})}

    before = watched()
    session.start(work, env={"HOME": home, "XDG_RUNTIME_DIR": xdg},
                  wrapper=["strace", "-f", "-qq", "-y", "-o", trace, "-e",
                           "trace=" + ",".join(PROCESS_CALLS + SOCKET_CALLS + FILE_CALLS)])
    addresses = whole_session(session)
    after = watched()

    calls = own_calls(parse_trace(trace), os.path.realpath(session.program))
    written = written_paths(calls, work)
    named = {path for path, _ in written}
    allowed = {os.path.join(home, p): why for p, why in ALLOWED_WRITES.items()}
    on_disk, by_others = [], []
    for path, what in differences(before, after):
        if path in allowed:
            print(f"allowed: {path} {what}: {allowed[path]}")
        elif not path.startswith(session.tmp + os.sep) and path not in named:
            by_others.append(f"{path}: {what}")
        else:
            on_disk.append(f"{path}: {what}")
    if by_others:
        print(f"{len(by_others)} changes in /tmp by other processes meanwhile (never named in "
              "the program's trace), such as:\n  " + "\n  ".join(by_others[:5]))
    in_trace = sorted({f"{path}: {text}" for path, text in written if path not in allowed})
    check(not on_disk and not in_trace,
          "the program wrote files.\nChanged on disk:\n  " + "\n  ".join(on_disk or ["none"])
          + "\nWritten according to its trace:\n  " + "\n  ".join(in_trace or ["none"]))

    check_sockets(calls)

    started = [re.match(r'execve\("([^"]*)"', text).group(1)
               for pid, name, text, result in calls
               if name == "execve" and result == 0 and pid != session.pid]
    stub = session.path("bin", "xdg-open")
    check(started and all(path == stub for path in started),
          f"the program started {started}, not only the desktop's opener {stub}")

    opened = [address for _, address in session.opened_addresses()]
    check(len(opened) == len(addresses) == len(started),
          f"{len(addresses)} web buttons pressed, xdg-open started {len(started)} times, "
          f"{len(opened)} addresses opened: {opened}")
    for button, address in addresses.items():
        parts = urllib.parse.urlsplit(address)
        check(parts.scheme == "https" and parts.netloc and not re.search(r"\s", address),
              f"{button!r} handed over {address!r}, not an absolute https address")
        print(f"{button}: {address}")


if __name__ == "__main__":
    harness.run(test, "nothing_written", sound=True, accessibility=True)
