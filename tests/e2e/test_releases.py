"""The real program on each Windows release that it tells apart, as Wine poses them (winecfg -v):
the 32-bit program in a 32-bit prefix, which can pose as the oldest releases, and the 64-bit one
in a 64-bit prefix. Each release is posed in turn and the prefix's own afterwards; what the program
did there goes to releases-table-<architecture>.txt."""
import contextlib
import os
import unittest

import test_validation
from harness import ARCH, WORK, ProgramTest, pose_windows_version, windows_version

TABLE = os.path.join(WORK, "releases-table-%s.txt" % ARCH)
LIST = b"10.0.0.1\r\n10.0.0.2\r\n"
UNSUPPORTED = ("Unsupported operating system detected.  Tessaline is intended to be used with these operating "
               "systems:\r\n      Windows 2000\r\n      Windows XP\r\n      Windows Server 2003\r\n      Windows Vista"
               "\r\n      Windows Server 2008\r\n      Windows 7\r\n      Windows Server 2012\r\n      Windows 8\r\n"
               "      Windows 8.1\r\n\r\nContact Morvath Industries if you need to run the system on a different "
               "platform.")
RUNS, REFUSED = "runs", "refused"

RELEASES = [  # winecfg's name, the prefix it is posed in, what the program does there
    ("nt40", "win32", REFUSED), ("win98", "win32", REFUSED), ("winme", "win32", REFUSED),
    ("win2k", "win32", RUNS), ("winxp", "win32", RUNS), ("win2003", "win32", RUNS),
    # Without a list of supported systems in its manifest, a program sees 8.1 and 10 as 8 (6.2).
    ("win81", "win32", RUNS), ("win10", "win32", RUNS),
    ("winxp64", "win64", RUNS), ("vista", "win64", RUNS), ("win8", "win64", RUNS), ("win10", "win64", RUNS),
]


def setUpModule():
    os.makedirs(WORK, exist_ok=True)
    with open(TABLE, "w") as table:
        table.write("release (%s prefix) | what the real program did\n" % ARCH)


@contextlib.contextmanager
def posed(version):
    before = windows_version()
    pose_windows_version(version)
    try:
        yield
    finally:
        pose_windows_version(before)


class ReleaseTest(ProgramTest):
    def refused(self, program, folder):
        box = program.message_box()
        self.assertEqual(box["text"], UNSUPPORTED)
        self.assertEqual(box["kind"], "error")
        program.answer(box, "OK")
        notice = program.message_box()
        self.assertEqual(notice["text"], test_validation.SHUT_DOWN)
        program.answer(notice, "OK")
        self.assertEqual(program.wait_exit(), 0)
        self.assertEqual(folder.read("IPList.Txt"), LIST)
        return "the unsupported-system message, the shut-down notice, closed; IPList.Txt untouched"

    def runs(self, program, folder):
        program.wait_until_ready()
        self.assertTrue(program.no_message_box())
        self.assertEqual(program.entries(), ["10.0.0.1", "10.0.0.2"])
        program.add(10, 0, 0, 3)
        program.click("Apply")
        self.assertSoon(lambda: program.enabled("Apply"), False)
        self.assertEqual(folder.read("IPList.Txt"), LIST + b"10.0.0.3\r\n")
        program.close_box()
        self.assertEqual(program.wait_exit(), 0)
        return "the window with the list, no message; Add and Apply wrote 10.0.0.3 after the list"

    def test_each_release_as_the_program_meets_it(self):
        rows = [(version, outcome) for version, arch, outcome in RELEASES if arch == ARCH]
        self.assertTrue(rows)
        for version, outcome in rows:
            with self.subTest(version), posed(version):
                folder = self.folder(address_list=LIST)
                program = self.start(folder)
                did = (self.refused if outcome == REFUSED else self.runs)(program, folder)
                with open(TABLE, "a") as table:
                    table.write("%s | %s\n" % (version, did))


@unittest.skipUnless(ARCH == "win32", "Windows 2000 is posed only in a 32-bit prefix")
class Windows2000AccessTest(test_validation.UnprivilegedValidationTest):
    """The folder access test and the repair, as a user who is not root, on Windows 2000."""

    release = "win2k"
