"""The start-up checks of the installation, one scenario a path, each reading every message box's
text and kind from outside the program."""
import os
import stat
import unittest

from harness import COMPONENTS, POSED_EXE, ProgramTest, UnprivilegedProgramTest

SHUT_DOWN = "The program will now be shut down."
COMPONENTS_MESSAGE = ("One or more of Tessaline's components cannot be located or is outdated.  The program cannot run in "
              "this state.")
LOCATION = "Tessaline must be located in an X:\\Folder directory"
LIST = b"10.0.0.1\r\n10.0.0.2\r\n"


class ValidationTest(ProgramTest):
    def expect_refusal(self, program, starts_with, contains=()):
        box = program.message_box()
        self.assertTrue(box["text"].startswith(starts_with), box["text"])
        for text in contains:
            self.assertIn(text, box["text"])
        self.assertEqual(box["kind"], "error")
        program.answer(box, "OK")
        notice = program.message_box()
        self.assertEqual(notice["text"], SHUT_DOWN)
        self.assertEqual(notice["kind"], "information")
        program.answer(notice, "OK")
        self.assertEqual(program.wait_exit(), 0)
        return box["text"]

    def test_a_healthy_installation_shows_no_box_and_loads_the_list(self):
        program = self.start_ready(self.folder(address_list=LIST))
        self.assertTrue(program.no_message_box())
        self.assertEqual(program.entries(), ["10.0.0.1", "10.0.0.2"])

    def test_a_root_directory_is_refused_with_the_root_paragraph(self):
        folder = self.folder(folder="", address_list=LIST)
        text = self.expect_refusal(self.start(folder), LOCATION,
                                   ["running from the following location: \r\nD:\\\r\n\r\nThe system appears to be running "
                                    "in a root directory"])
        self.assertNotIn("UNC paths", text)
        self.assertEqual(folder.read("IPList.Txt"), LIST)

    def test_a_folder_name_outside_letters_and_digits_is_refused(self):
        folder = self.folder(folder="_KWO")
        text = self.expect_refusal(self.start(folder), LOCATION, ["following location: \r\nD:\\_KWO\r\n\r\nPlease refer"])
        self.assertNotIn("root directory", text)

    def test_a_drive_a_folder_is_refused(self):
        self.expect_refusal(self.start(self.folder(drive="A")), LOCATION, ["A:\\KWO\r\n\r\nPlease refer"])

    def test_each_missing_component_is_refused(self):
        for component in COMPONENTS:
            with self.subTest(component=component):
                folder = self.folder()
                os.remove(folder.file(component))
                self.assertEqual(self.expect_refusal(self.start(folder), COMPONENTS_MESSAGE)[:len(COMPONENTS_MESSAGE)],
                                 COMPONENTS_MESSAGE)

    def test_a_component_that_is_a_folder_is_refused(self):
        folder = self.folder()
        os.remove(folder.file("ZVQ"))
        os.mkdir(folder.file("ZVQ"))
        self.expect_refusal(self.start(folder), COMPONENTS_MESSAGE)

    def test_only_release_level_131_passes(self):
        for level in ("130\r\n", "132\r\n"):
            with self.subTest(level=level):
                self.expect_refusal(self.start(self.folder(release=level)), COMPONENTS_MESSAGE)
        program = self.start_ready(self.folder(release="$83\r\n", address_list=LIST))
        self.assertEqual(program.entries(), ["10.0.0.1", "10.0.0.2"])

    def test_a_malformed_release_level_is_reported_and_nothing_can_save(self):
        folder = self.folder(release="abc\r\n", address_list=LIST)
        program = self.start(folder)
        box = program.message_box()
        self.assertEqual(box["text"], "''abc'' is not a valid integer value.")
        self.assertEqual(box["kind"], "error")
        program.answer(box, "OK")
        self.assertTrue(program.no_message_box())  # no shut-down notice: the window stays
        self.assertTrue(program.running())
        self.assertEqual(program.entries(), [])
        self.assertFalse(program.enabled("Apply"))
        self.assertFalse(program.enabled("Delete Selected Address(es)"))
        program.type_address(10, 9, 8, 7)
        program.click("Add Address to List")
        self.assertSoon(program.entries, ["10.9.8.7"])
        program.click("OK")
        refusal = program.message_box()
        self.assertIn("so it is not saved", refusal["text"])
        program.answer(refusal, "OK")
        program.close_box()
        program.wait_exit()
        self.assertEqual(folder.read("IPList.Txt"), LIST)
        os.remove(folder.file("Rev.Txt"))  # the release file was not left open

    def test_a_release_that_reports_its_own_later_version_is_refused_before_anything_else(self):
        # Wine's poses give a program without a supported-systems manifest 6.2 for every later
        # release; a system that reported its own version would report these.
        for version in ("6.4.9841.2", "10.0.19045.2"):
            with self.subTest(version=version):
                program = self.start(self.folder(folder="_NOT_EVEN_VALID"), exe=POSED_EXE,
                                     posed={"IPLIST_POSED_VERSION": version})
                self.expect_refusal(program, "Unsupported operating system detected.  Tessaline is intended to be "
                                             "used with these operating systems:\r\n      Windows 2000\r\n")

    def test_a_unc_directory_is_refused_with_the_unc_paragraph(self):
        program = self.start(self.folder(), exe=POSED_EXE,
                             posed={"IPLIST_POSED_CURRENT_DIRECTORY": "\\\\server\\share\\KWO"})
        self.expect_refusal(program, LOCATION, ["\\\\server\\share\\KWO\r\n\r\nUNC paths (paths in the form of "
                                                "\\\\server\\resource) are NOT supported."])


class UnprivilegedValidationTest(UnprivilegedProgramTest):
    """As a user who is not root, in folders that really refuse writing."""

    def test_a_folder_the_user_cannot_change_is_reported_step_by_step(self):
        folder = self.folder(address_list=LIST)
        os.chmod(folder.path, 0o555)
        try:
            program = self.start(folder)
            # Wine counts every user as an administrator, so the repair runs, and cannot change the
            # folder: it says so before the test's own report.
            repair = program.message_box(timeout=30000)
            self.assertTrue(repair["text"].startswith("The access rights of the program folder could not be repaired "
                                                      "completely.  The repair stopped at the following object:\r\n"
                                                      "D:\\KWO\r\n\r\n"), repair["text"])
            self.assertEqual(repair["kind"], "warning")
            program.answer(repair, "OK")
            box = program.message_box(timeout=30000)
            self.assertTrue(box["text"].startswith("A test-write to the following folder failed:\r\nD:\\KWO\r\n"), box["text"])
            self.assertIn("Here is a summary of the test results:\r\n"
                          "     Create new directory: Failure.\r\n"
                          "     Create new file: Failure.\r\n"
                          "     Open existing file for Read/Write access: Failure.\r\n\r\n", box["text"])
            self.assertEqual(box["kind"], "error")
            program.answer(box, "OK")
            notice = program.message_box()
            self.assertEqual(notice["text"], SHUT_DOWN)
            program.answer(notice, "OK")
            self.assertEqual(program.wait_exit(), 0)
        finally:
            os.chmod(folder.path, 0o755)

    def test_a_read_only_folder_of_the_users_own_is_repaired_without_leaving_it(self):
        folder = self.folder(address_list=LIST)
        # A link to a folder outside the tree, which the repair must neither enter nor change: the
        # target would become writable for everyone.
        outside = os.path.join(folder.root, "outside")
        os.mkdir(outside)
        with open(os.path.join(outside, "keep.txt"), "w") as keep:
            keep.write("outside the tree")
        os.symlink(outside, os.path.join(folder.path, "linked"))
        # A hard link to a file outside the tree: a second name of the same file, whose access
        # list the repair must not rewrite either.
        private = os.path.join(folder.root, "private.txt")
        with open(private, "w") as keep:
            keep.write("the user's own, outside the tree")
        os.link(private, os.path.join(folder.path, "second-name.txt"))
        self.user.own(folder.root)
        os.chmod(outside, 0o755)
        os.chmod(os.path.join(outside, "keep.txt"), 0o644)
        os.chmod(private, 0o600)
        os.chmod(folder.path, 0o555)
        program = self.start(folder)
        # What it left alone may still refuse access, so the repair says so, kind by kind.
        box = program.message_box(timeout=60000)
        self.assertTrue(box["text"].startswith("The access rights of the program folder were repaired: "), box["text"])
        self.assertTrue(box["text"].endswith(
            " given access for everyone.  1 file that also has a name elsewhere, perhaps outside the folder, was left "
            "unchanged.  1 link was left unchanged.\r\n\r\nWhat was left unchanged may still refuse access."), box["text"])
        self.assertEqual(box["kind"], "warning")
        program.answer(box, "OK")
        program.wait_until_ready(timeout=60)
        self.assertTrue(program.no_message_box())
        self.assertEqual(program.entries(), ["10.0.0.1", "10.0.0.2"])
        self.assertTrue(os.stat(folder.path).st_mode & stat.S_IWUSR)
        self.assertEqual(stat.S_IMODE(os.stat(outside).st_mode), 0o755)
        self.assertEqual(stat.S_IMODE(os.stat(os.path.join(outside, "keep.txt")).st_mode), 0o644)
        self.assertEqual(stat.S_IMODE(os.stat(private).st_mode), 0o600)


if __name__ == "__main__":
    unittest.main()
