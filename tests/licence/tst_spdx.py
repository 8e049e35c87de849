# SPDX-License-Identifier: GPL-3.0-or-later
"""Every source file of the tree carries its SPDX-License-Identifier line; the check itself is
tried first on a small tree of its own, so that it is known to find what it looks for."""

import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import spdx  # noqa: E402

SOURCE_DIR = Path(__file__).resolve().parents[2]
LINE = "SPDX-License-Identifier: GPL-3.0-or-later"

# (path, content, whether the check takes it as carrying its line). None: not a source file.
FIXTURE = [
    ("src/good.cpp", f"// {LINE}\n#include <x>\n", True),
    ("src/good.h", f"// {LINE}\n#pragma once\n", True),
    ("src/no_line.cpp", "#include <x>\n", False),
    ("src/hash_comment.h", f"# {LINE}\n", False),
    ("src/second_line.cpp", f"// Widgets.\n// {LINE}\n", False),
    ("src/empty.h", "", False),
    ("src/no_expression.cpp", "// SPDX-License-Identifier:\n", False),
    ("CMakeLists.txt", f"# {LINE}\nproject(x)\n", True),
    ("cmake/rules.cmake", "include(x)\n", False),
    ("cmake/config.cmake.in", f"# {LINE}\nset(x @X@)\n", True),
    ("src/config.h.in", "#define X @X@\n", False),
    ("packaging/entry.desktop.in", "[Desktop Entry]\n", None),
    ("tools/gen.py", f"# {LINE}\n\"\"\"Doc.\"\"\"\n", True),
    ("tools/gen2.py", f"\"\"\"Doc.\"\"\"\n# {LINE}\n", False),
    ("run", f"#!/usr/bin/env bash\n# {LINE}\nexec true\n", True),
    ("build.sh", f"#!/bin/sh\nset -e\n# {LINE}\n", False),
    ("tool", "#!/usr/bin/python3\nprint()\n", False),
    ("either.sh", "# SPDX-License-Identifier: GPL-3.0-or-later OR CC-BY-SA-4.0\n", True),
    ("notes.txt", "plain text\n", None),
    ("data", "no shebang\n", None),
    ("picture.png", "\x89PNG", None),
    ("build/generated.cpp", "int x;\n", None),
    ("build-asan/generated.cpp", "int x;\n", None),
]

EXPECTED_MISSING = sorted(Path(p) for p, _, ok in FIXTURE if ok is False)


def write_fixture(root):
    for path, content, _ in FIXTURE:
        (root / path).parent.mkdir(parents=True, exist_ok=True)
        (root / path).write_text(content, encoding="utf-8")


class SpdxCheck(unittest.TestCase):
    def test_check_names_exactly_the_source_files_without_their_line(self):
        with tempfile.TemporaryDirectory() as tmp:
            root = Path(tmp)
            write_fixture(root)
            self.assertEqual(sorted(spdx.missing(root)), EXPECTED_MISSING)

    def test_git_checkout_checks_tracked_and_new_files_not_ignored_ones(self):
        with tempfile.TemporaryDirectory() as tmp:
            root = Path(tmp)
            write_fixture(root)
            git = ["git", "-C", tmp, "-c", "user.name=t", "-c", "user.email=t@t"]
            subprocess.run(git + ["init", "-q"], check=True)
            (root / ".gitignore").write_text("/build/\n/build-*/\n/ignored/\n")
            (root / "ignored").mkdir()
            (root / "ignored/scratch.cpp").write_text("int x;\n")
            subprocess.run(git + ["add", "src", "CMakeLists.txt"], check=True)
            self.assertEqual(sorted(spdx.missing(root)), EXPECTED_MISSING)

    def test_add_gives_each_file_its_line_after_any_shebang(self):
        with tempfile.TemporaryDirectory() as tmp:
            root = Path(tmp)
            write_fixture(root)
            self.assertEqual(spdx.main(["--add", tmp]), 0)
            self.assertEqual(spdx.missing(root), [])
            self.assertEqual((root / "build.sh").read_text(),
                             f"#!/bin/sh\n# {LINE}\nset -e\n# {LINE}\n")
            self.assertEqual((root / "src/no_line.cpp").read_text(), f"// {LINE}\n#include <x>\n")
            self.assertEqual((root / "notes.txt").read_text(), "plain text\n")

    def test_every_source_file_of_this_tree_has_its_line(self):
        without = spdx.missing(SOURCE_DIR)
        self.assertEqual(without, [], "source files without an SPDX-License-Identifier line at "
                         "the top (tests/licence/spdx.py --add gives them one):\n"
                         + "\n".join(map(str, without)))


if __name__ == "__main__":
    unittest.main()
