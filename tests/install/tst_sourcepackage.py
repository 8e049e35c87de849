# SPDX-License-Identifier: GPL-3.0-or-later
"""The source tarball CPack makes (`package_source`) holds exactly the files of the checkout that
git tracks or would track (new files not ignored): the licences, the screenshot and everything
needed to build, and nothing of the history, the build folders or what .gitignore names."""

import subprocess
import tarfile
import unittest

from installsupport import BUILD_DIR, CPACK, SCRATCH, SOURCE_DIR, fresh_dir, run


def tracked_files():
    result = subprocess.run(["git", "-C", SOURCE_DIR, "ls-files", "-z", "--cached", "--others",
                             "--exclude-standard"], capture_output=True)
    if result.returncode != 0:
        return None
    return sorted({n for n in result.stdout.decode().split("\0")
                   if n and (SOURCE_DIR / n).is_file()})


class SourcePackage(unittest.TestCase):
    @unittest.skipIf(tracked_files() is None, "not a git checkout: nothing to compare with")
    def test_tarball_holds_exactly_the_tracked_files(self):
        out = fresh_dir(SCRATCH / "source")
        run([CPACK, "--config", BUILD_DIR / "CPackSourceConfig.cmake", "-B", out], timeout=300)
        tarballs = sorted(out.glob("*.tar.xz"))
        self.assertEqual(len(tarballs), 1, tarballs)
        with tarfile.open(tarballs[0]) as tar:
            names = [m.name for m in tar.getmembers() if not m.isdir()]
        top = {n.split("/", 1)[0] for n in names}
        self.assertEqual(top, {tarballs[0].name[:-len(".tar.xz")]})
        packed = sorted(n.split("/", 1)[1] for n in names)
        self.assertEqual(packed, tracked_files())
        for needed in ("LICENSE", "LICENSE.CC-BY-SA-4.0", "packaging/screenshots/quorlin-home.png"):
            self.assertIn(needed, packed)


if __name__ == "__main__":
    unittest.main()
