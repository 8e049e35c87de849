# SPDX-License-Identifier: GPL-3.0-or-later
"""Debian's own checks on the package CPack built (the package test makes and unpacks it):
lintian finds no error and no warning but those overridden, each override with its reason, and
the AppStream metadata validates offline with nothing to say even when pedantic. Around them, what
those tools leave unchecked: the changelog records the package's version, every file pattern of
the copyright file names files of the source, and the manual page names only paths the package
holds."""

import gzip
import re
import subprocess
import unittest
from pathlib import Path

from installsupport import APP_ID, PACKAGE_DIR, PACKAGE_ROOT, SCRATCH, SOURCE_DIR, fresh_dir, run

DOC_DIR = PACKAGE_ROOT / "usr/share/doc/quorlin"
OVERRIDES = PACKAGE_ROOT / "usr/share/lintian/overrides/quorlin"
# An issue line of lintian or appstreamcli: "E: ...", "W: ...", "I: ...", "P: ...".
ISSUE = re.compile(r"^([EWIPXO]): ", re.MULTILINE)


def the_package():
    debs = sorted(PACKAGE_DIR.glob("*.deb"))
    assert len(debs) == 1, f"expected the package test's one package, found {debs}"
    return debs[0]


class DebianChecks(unittest.TestCase):
    def test_lintian_reports_no_error_or_warning_but_overridden_ones(self):
        # Root is how this runs in CI; lintian only advises against it.
        result = run(["lintian", "--fail-on", "error,warning", "--display-level", ">=warning",
                      "--no-tag-display-limit", the_package()], timeout=300, check=False)
        output = result.stdout + result.stderr
        self.assertEqual(ISSUE.findall(result.stdout), [], output)
        self.assertEqual(result.returncode, 0, output)

    def test_every_lintian_override_gives_its_reason(self):
        if not OVERRIDES.exists():
            return
        previous = ""
        for line in OVERRIDES.read_text().splitlines():
            if line.strip() and not line.startswith("#"):
                with self.subTest(line):
                    self.assertRegex(previous, r"^#\s*\S", "an override without a comment above it")
            previous = line

    def test_metainfo_is_clean_offline_even_when_pedantic(self):
        metainfo = PACKAGE_ROOT / f"usr/share/metainfo/{APP_ID}.metainfo.xml"
        result = run(["appstreamcli", "validate", "--pedantic", "--no-net", "--no-color",
                      metainfo], check=False)
        output = result.stdout + result.stderr
        self.assertEqual(result.returncode, 0, output)
        self.assertEqual(ISSUE.findall(result.stdout), [], output)

    def test_changelog_records_the_package_version(self):
        work = fresh_dir(SCRATCH / "changelog")
        changelog = work / "changelog"
        changelog.write_bytes(gzip.decompress((DOC_DIR / "changelog.Debian.gz").read_bytes()))
        version = run(["dpkg-parsechangelog", "-l", changelog, "-S", "Version"]).stdout.strip()
        self.assertEqual(version, run(["dpkg-deb", "-f", the_package(), "Version"]).stdout.strip())
        # No file name or time in the gzip header, so that each build gives the same bytes.
        header = (DOC_DIR / "changelog.Debian.gz").read_bytes()[:10]
        self.assertEqual((header[3], header[4:8]), (0, b"\0\0\0\0"))

    def test_copyright_names_the_licence_of_files_that_exist(self):
        text = (DOC_DIR / "copyright").read_text(encoding="utf-8")
        paragraphs = [p for p in re.split(r"\n\s*\n", text) if p.strip()]
        self.assertTrue(paragraphs[0].startswith(
            "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/"))
        files = [p for p in paragraphs if p.startswith("Files:")]
        licences = {re.search(r"^License: (\S+)", p, re.MULTILINE).group(1) for p in files}
        self.assertEqual(licences, {"GPL-3+", "CC-BY-SA-4.0", "CC0-1.0"})
        # Each licence named by a Files paragraph has its own License paragraph.
        for licence in licences:
            with self.subTest(licence=licence):
                self.assertTrue(any(p.startswith(f"License: {licence}\n") for p in paragraphs))
        for paragraph in files[1:]:
            patterns = re.match(r"Files:((?:.*\n)(?:\s+.*\n)*)", paragraph + "\n").group(1).split()
            for pattern in patterns:
                with self.subTest(pattern=pattern):
                    self.assertTrue(list(SOURCE_DIR.glob(pattern)), f"{pattern} names no file")

    def test_manual_page_is_formatted_without_warnings_and_names_only_packaged_paths(self):
        page = PACKAGE_ROOT / "usr/share/man/man1/quorlin.1.gz"
        result = subprocess.run(["man", "--warnings", "-E", "UTF-8", "-l", "-Tutf8", "-Z", page],
                                capture_output=True, text=True, timeout=60,
                                env={"LC_ALL": "C.UTF-8", "PATH": "/usr/bin:/bin"})
        self.assertEqual((result.returncode, result.stderr), (0, ""))
        text = gzip.decompress(page.read_bytes()).decode()
        for path in sorted(set(re.findall(r"/usr/[^\s,;()]*[^\s,;().]", text))):
            path = path.replace("\\-", "-")
            with self.subTest(path):
                self.assertTrue((PACKAGE_ROOT / path.lstrip("/")).exists(), path)


if __name__ == "__main__":
    unittest.main()
