# SPDX-License-Identifier: GPL-3.0-or-later
"""Builds the Debian package from this build tree with CPack, inspects it with dpkg-deb, and
unpacks it with dpkg -x into a scratch root that the launcher test starts the program from."""

import re
import subprocess
import unittest

from installsupport import (APP_ID, BELL, BUILD_DIR, CPACK, PACKAGE_DIR, PACKAGE_FILES,
                            PACKAGE_ROOT, PROJECT_VERSION, SCRATCH, SOURCE_DIR, depends_clauses,
                            exec_argv, files_under, fresh_dir, read_desktop_entry, run)

# What the program needs at run time, linked or not: Qt, its platform plugins, Thai line
# breaking, the sound decoder, the sound-server client and fonts with Thai glyphs.
REQUIRED = ("libqt6widgets6", "libqt6gui6", "libqt6core6", "libqt6multimedia6", "qt6-qpa-plugins",
            "libthai0", "libsndfile1", "libpulse0", "fonts-noto-core", "fonts-noto-ui-core")


class DebianPackage(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        fresh_dir(PACKAGE_DIR)
        # CPack installs the already built tree; it does not compile anything again.
        run([CPACK, "--config", BUILD_DIR / "CPackConfig.cmake", "-B", PACKAGE_DIR], timeout=600)
        debs = sorted(PACKAGE_DIR.glob("*.deb"))
        assert len(debs) == 1, f"expected one package, found {debs}"
        cls.deb = debs[0]
        cls.info = run(["dpkg-deb", "-I", cls.deb]).stdout
        cls.listing = run(["dpkg-deb", "-c", cls.deb]).stdout.splitlines()
        cls.fields = {}
        for name in ("Package", "Version", "Architecture", "Maintainer", "Section",
                     "Description", "Depends"):
            cls.fields[name] = run(["dpkg-deb", "-f", cls.deb, name]).stdout.rstrip("\n")
        run(["dpkg", "-x", cls.deb, PACKAGE_ROOT])

    def test_control_fields(self):
        f = self.fields
        self.assertEqual(f["Package"], "quorlin")
        self.assertRegex(f["Version"], "^" + re.escape(PROJECT_VERSION) + r"\.\d+(-\d+)?$")
        self.assertEqual(f["Architecture"], run(["dpkg", "--print-architecture"]).stdout.strip())
        self.assertRegex(f["Maintainer"], r"^\S.* <[^@\s>]+@[^@\s>]+\.[a-z]+>$")
        self.assertTrue(f["Section"])
        summary, _, extended = f["Description"].partition("\n")
        self.assertTrue(summary.strip() and extended.strip(), f["Description"])
        for line in extended.splitlines():
            self.assertLessEqual(len(line), 80, line)
        self.assertIn("Depends:", self.info)

    def test_depends_names_what_the_program_needs(self):
        named = {pkg for clause in depends_clauses(self.fields["Depends"]) for pkg, _ in clause}
        for pkg in REQUIRED:
            with self.subTest(pkg):
                self.assertIn(pkg, named)

    def test_depends_covers_every_library_the_program_links(self):
        # dpkg-shlibdeps maps the unpacked program's libraries to the packages that ship them.
        work = fresh_dir(SCRATCH / "shlibdeps")
        (work / "debian").mkdir()
        (work / "debian/control").write_text("Source: quorlin\n\nPackage: quorlin\n"
                                              "Architecture: any\n")
        out = run(["dpkg-shlibdeps", "-O", PACKAGE_ROOT / "usr/bin/quorlin"], cwd=work).stdout
        needed = re.fullmatch(r"shlibs:Depends=(.*)\n?", out).group(1)
        named = {pkg for clause in depends_clauses(self.fields["Depends"]) for pkg, _ in clause}
        for clause in depends_clauses(needed):
            with self.subTest(clause[0][0]):
                self.assertTrue(any(pkg in named for pkg, _ in clause), clause)

    def test_depends_can_be_met_on_this_system(self):
        # The packages the build and run set-up installs satisfy every clause, so each name
        # exists and no version is asked for that Debian does not have.
        for clause in depends_clauses(self.fields["Depends"]):
            with self.subTest(clause[0][0]):
                self.assertTrue(any(self.installed_satisfies(pkg, rel) for pkg, rel in clause),
                                f"no installed package satisfies {clause}")

    @staticmethod
    def installed_satisfies(pkg, relation):
        query = subprocess.run(["dpkg-query", "-W", "-f=${Status}|${Version}\n", pkg],
                               capture_output=True, text=True)
        installed = [line.split("|")[1] for line in query.stdout.splitlines()
                     if line.startswith("install ok installed")]
        if not installed:
            return False
        if relation is None:
            return True
        op = {"<<": "lt", "<=": "le", "=": "eq", ">=": "ge", ">>": "gt"}[relation[0]]
        return subprocess.run(["dpkg", "--compare-versions", installed[0], op,
                               relation[1]]).returncode == 0

    def test_contents_are_the_install_under_usr_owned_by_root(self):
        files, modes = [], {}
        for line in self.listing:
            perms, owner, _size, _date, _time, path = line.split(None, 5)
            self.assertEqual(owner, "root/root", line)
            self.assertTrue(path.startswith("./usr/"), line)
            if not perms.startswith("d"):
                files.append(path[len("./usr/"):])
                modes[files[-1]] = perms
        self.assertEqual(sorted(files), PACKAGE_FILES)
        self.assertEqual(files_under(PACKAGE_ROOT / "usr"), PACKAGE_FILES)
        for path, perms in modes.items():
            with self.subTest(path):
                self.assertEqual(perms, "-rwxr-xr-x" if path == "bin/quorlin" else "-rw-r--r--")

    def test_no_build_paths_in_the_package(self):
        build_paths = {str(p).encode() for p in (BUILD_DIR.resolve(), SOURCE_DIR.resolve(),
                                                 SCRATCH.resolve())}
        for path in [p for p in PACKAGE_ROOT.rglob("*") if p.is_file()]:
            data = path.read_bytes()
            for bad in build_paths:
                with self.subTest(file=str(path.relative_to(PACKAGE_ROOT)), path=bad):
                    self.assertNotIn(bad, data)
        for bad in build_paths:
            self.assertNotIn(bad.decode(), self.info)
            self.assertNotIn(bad.decode(), "\n".join(self.listing))

    def test_metainfo_finds_its_launcher_in_the_unpacked_tree(self):
        result = run(["appstreamcli", "validate-tree", "--no-net", PACKAGE_ROOT], check=False)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)

    def test_launcher_names_the_packaged_program_and_its_bell_folder(self):
        entry = read_desktop_entry(PACKAGE_ROOT / f"usr/share/applications/{APP_ID}.desktop")
        self.assertEqual(exec_argv(entry["Exec"]), ["/usr/bin/quorlin"])
        self.assertEqual(entry["Path"], "/usr/share/quorlin")
        self.assertTrue((PACKAGE_ROOT / "usr/share/quorlin" / BELL).is_file())
        self.assertTrue((PACKAGE_ROOT / f"usr/share/icons/hicolor/48x48/apps/{entry['Icon']}.png")
                        .is_file())


if __name__ == "__main__":
    unittest.main()
