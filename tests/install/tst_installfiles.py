# SPDX-License-Identifier: GPL-3.0-or-later
"""`cmake --install` into a plain prefix, a prefix that needs quoting in a launcher, and a staged
(DESTDIR) prefix: the right files land, nothing else does, the launcher starts the program in the
folder that holds its bell, and the launcher and software-centre metadata validate."""

import filecmp
import os
import re
import unittest
import xml.etree.ElementTree as ET
from pathlib import Path

from installsupport import (APP_ID, BELL, BUILD_DIR, CMAKE, EXPECTED_FILES, ICON_SIZES,
                            PROJECT_VERSION, SCRATCH, SOURCE_DIR, WEBSITE_URL, exec_argv,
                            files_under, fresh_dir, png_size, read_desktop_entry, run)

XML_LANG = "{http://www.w3.org/XML/1998/namespace}lang"
THAI = re.compile("[\u0e00-\u0e7f]")


class InstalledFiles(unittest.TestCase):
    # name -> (prefix the entry must name, folder the files land in)
    cases = {}

    @classmethod
    def setUpClass(cls):
        base = fresh_dir(SCRATCH / "files")
        plain = base / "plain"
        odd = base / "odd prefix (1) $x"
        stage = base / "stage"
        for prefix in (plain, odd):
            run([CMAKE, "--install", BUILD_DIR, "--prefix", prefix])
            cls.cases[prefix.name] = (prefix, prefix)
        env = dict(os.environ, DESTDIR=str(stage))
        run([CMAKE, "--install", BUILD_DIR, "--prefix", "/opt/quorlin"], env=env)
        cls.cases["staged"] = (Path("/opt/quorlin"), stage / "opt/quorlin")

    def test_installs_exactly_the_program_its_bell_launcher_icons_and_metadata(self):
        for name, (_, root) in self.cases.items():
            with self.subTest(name):
                self.assertEqual(files_under(root), EXPECTED_FILES)
                self.assertTrue(os.access(root / "bin/quorlin", os.X_OK))
                self.assertTrue(filecmp.cmp(root / "share/quorlin" / BELL,
                                            SOURCE_DIR / "assets" / BELL, shallow=False))

    def test_launcher_starts_the_installed_program_where_its_bell_is(self):
        for name, (prefix, root) in self.cases.items():
            with self.subTest(name):
                entry = read_desktop_entry(root / f"share/applications/{APP_ID}.desktop")
                self.assertEqual(exec_argv(entry["Exec"]), [str(prefix / "bin/quorlin")])
                self.assertEqual(entry["Path"], str(prefix / "share/quorlin"))
                self.assertEqual(entry["Icon"], APP_ID)
                self.assertEqual(entry.get("Terminal"), "false")

    def test_launcher_validates(self):
        for name, (_, root) in self.cases.items():
            with self.subTest(name):
                run(["desktop-file-validate", root / f"share/applications/{APP_ID}.desktop"])

    def test_launcher_names_and_describes_the_program_in_english_and_thai(self):
        _, root = self.cases["plain"]
        entry = read_desktop_entry(root / f"share/applications/{APP_ID}.desktop")
        self.assertEqual(entry["Name"], "Quorlin")
        for key in ("Name[th]", "Comment[th]"):
            self.assertRegex(entry.get(key, ""), THAI, key)
        self.assertTrue(entry.get("Comment"))
        self.assertTrue(entry.get("Categories", "").endswith(";"))

    def test_icons_have_the_size_of_their_folder(self):
        _, root = self.cases["plain"]
        for size in ICON_SIZES:
            with self.subTest(size=size):
                icon = root / f"share/icons/hicolor/{size}x{size}/apps/{APP_ID}.png"
                self.assertEqual(png_size(icon), (size, size))

    def test_metainfo_validates(self):
        _, root = self.cases["plain"]
        result = run(["appstreamcli", "validate", "--no-net",
                      root / f"share/metainfo/{APP_ID}.metainfo.xml"], check=False)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)

    def test_metainfo_describes_the_program_in_english_and_thai(self):
        _, root = self.cases["plain"]
        component = ET.parse(root / f"share/metainfo/{APP_ID}.metainfo.xml").getroot()
        self.assertEqual(component.findtext("id"), APP_ID)
        self.assertEqual(component.find("launchable[@type='desktop-id']").text,
                         f"{APP_ID}.desktop")
        for tag in ("summary", "description/p"):
            by_lang = {e.get(XML_LANG): "".join(e.itertext()) for e in component.findall(tag)}
            with self.subTest(tag):
                self.assertTrue(by_lang.get(None), f"no English {tag}")
                self.assertRegex(by_lang.get("th", ""), THAI, f"no Thai {tag}")

        image = component.findtext("screenshots/screenshot/image")
        self.assertTrue(image.startswith(WEBSITE_URL.rstrip("/") + "/"), image)
        self.assertTrue(image.startswith("https://"), image)
        self.assertEqual(component.findtext("url[@type='homepage']"), WEBSITE_URL)
        release = component.find("releases/release").get("version")
        self.assertRegex(release, "^" + re.escape(PROJECT_VERSION) + r"\.\d+$")

    def test_metainfo_screenshot_is_the_committed_one_at_its_size(self):
        # The web site serves the screenshot kept with the source under the same file name, and
        # software centres lay it out by the size the metadata gives.
        _, root = self.cases["plain"]
        component = ET.parse(root / f"share/metainfo/{APP_ID}.metainfo.xml").getroot()
        image = component.find("screenshots/screenshot/image")
        shot = SOURCE_DIR / "packaging/screenshots" / image.text.rsplit("/", 1)[1]
        self.assertEqual(png_size(shot), (int(image.get("width")), int(image.get("height"))))


if __name__ == "__main__":
    unittest.main()
