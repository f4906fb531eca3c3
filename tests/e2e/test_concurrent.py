"""Several editors of one list: another program changing IPList.Txt while the window is open, two
windows on one folder, and two workstations (Wine prefixes with servers of their own) on one share.
Each case records the file before and after in concurrent-table.txt."""
import os
import shutil

from harness import EXE, WORK, Program, ProgramTest, SecondWorkstation, map_drive

TABLE = os.path.join(WORK, "concurrent-table.txt")
QUESTION = ("Another program or workstation has changed the following file since this window read it:\r\n{path}"
            "\r\n\r\nDo you want to keep both sides' changes?\r\n\r\n"
            "Yes: this window's additions and deletions are made to the list as the file now holds it.\r\n"
            "No: this window's list replaces the file.\r\nCancel: nothing is saved.")


def setUpModule():
    os.makedirs(WORK, exist_ok=True)
    with open(TABLE, "w") as table:
        table.write("case | the file as the window read it -> as the other side left it -> after the save\n")


def record(case, read, theirs, after):
    show = lambda data: data.decode("latin-1").replace("\r\n", " ").strip() or "(empty)"
    with open(TABLE, "a") as table:
        table.write("%s | %s -> %s -> %s\n" % (case, show(read), show(theirs), show(after)))


class ConcurrentEditTest(ProgramTest):
    def expect_question(self, program, folder):
        box = program.message_box()
        self.assertEqual(box["text"], QUESTION.format(path=folder.windows_path("IPList.Txt")))
        self.assertEqual(box["kind"], "confirmation")
        self.assertEqual([b["text"].replace("&", "") for b in box["buttons"]], ["Yes", "No", "Cancel"])
        return box

    def apply_and_keep_both(self, program, folder):
        program.click("Apply")
        self.expect_question(program, folder)
        program.key("Return")  # Yes is the default button
        self.assertSoon(lambda: program.enabled("Apply"), False)

    def test_another_program_changes_the_list_while_the_window_is_open(self):
        rows = [
            # the file as read, as the other program leaves it, what the window adds, the merged list
            ("another program adds", b"10.0.0.1\r\n10.0.0.5\r\n", b"10.0.0.1\r\n10.0.0.5\r\n10.0.0.9\r\n", (10, 0, 0, 3),
             b"10.0.0.1\r\n10.0.0.3\r\n10.0.0.5\r\n10.0.0.9\r\n"),
            ("another program deletes", b"10.0.0.1\r\n10.0.0.5\r\n", b"10.0.0.5\r\n", (10, 0, 0, 7),
             b"10.0.0.5\r\n10.0.0.7\r\n"),
        ]
        for case, read, theirs, octets, merged in rows:
            with self.subTest(case):
                folder = self.folder(address_list=read)
                program = self.start_ready(folder)
                folder.write("IPList.Txt", theirs)
                program.add(*octets)
                self.apply_and_keep_both(program, folder)
                self.assertEqual(folder.read("IPList.Txt"), merged)
                self.assertEqual(program.entries(), merged.decode().split())
                self.assertEqual(program.selected(), [0])
                record(case, read, theirs, folder.read("IPList.Txt"))
                program.click("Apply")  # nothing to save: Apply is off, and the file stays as saved
                program.close_box()
                program.wait_exit()
                self.assertEqual(folder.read("IPList.Txt"), merged)

    def test_cancel_writes_nothing_and_keeps_the_windows_list(self):
        read, theirs = b"10.0.0.1\r\n", b"10.0.0.1\r\n10.0.0.9\r\n"
        folder = self.folder(address_list=read)
        program = self.start_ready(folder)
        folder.write("IPList.Txt", theirs)
        program.add(10, 0, 0, 3)
        program.click("Apply")
        program.answer(self.expect_question(program, folder), "Cancel")
        self.assertSoon(lambda: program.enabled("Apply"), True)
        self.assertEqual(program.entries(), ["10.0.0.1", "10.0.0.3"])
        self.assertEqual(folder.read("IPList.Txt"), theirs)
        record("answered Cancel", read, theirs, folder.read("IPList.Txt"))
        # No replaces the file with the window's list.
        program.click("Apply")
        program.answer(self.expect_question(program, folder), "No")
        self.assertSoon(lambda: program.enabled("Apply"), False)
        self.assertEqual(folder.read("IPList.Txt"), b"10.0.0.1\r\n10.0.0.3\r\n")
        record("then answered No", read, theirs, folder.read("IPList.Txt"))

    def test_two_windows_on_one_folder(self):
        read = b"1.1.1.1\r\n"
        folder = self.folder(address_list=read)
        second_exe = os.path.join(WORK, "IPList-second.exe")
        shutil.copyfile(EXE, second_exe)
        first = self.start_ready(folder)
        second = self.start(folder, exe=second_exe)
        second.wait_until_ready()
        first.move(0, 0)  # one above the other, as a user would set them
        second.move(0, 560)
        first.add(2, 2, 2, 2)
        second.add(3, 3, 3, 3)
        first.click("Apply")  # the file is as this window read it: no question
        self.assertSoon(lambda: first.enabled("Apply"), False)
        self.assertTrue(first.no_message_box())
        theirs = folder.read("IPList.Txt")
        self.assertEqual(theirs, b"1.1.1.1\r\n2.2.2.2\r\n")
        self.apply_and_keep_both(second, folder)
        self.assertEqual(folder.read("IPList.Txt"), b"1.1.1.1\r\n2.2.2.2\r\n3.3.3.3\r\n")
        record("two windows on one folder", read, theirs, folder.read("IPList.Txt"))
        # The first window's next save finds the second's and asks in its turn.
        first.select(0)
        first.click("Delete Selected Address(es)")
        first.answer(first.message_box(), "Yes")
        self.apply_and_keep_both(first, folder)
        self.assertEqual(folder.read("IPList.Txt"), b"2.2.2.2\r\n3.3.3.3\r\n")

    def test_two_workstations_on_one_share(self):
        workstation = SecondWorkstation()
        self.addCleanup(workstation.stop)
        read = b"1.1.1.1\r\n2.2.2.2\r\n"
        folder = self.folder(address_list=read)
        map_drive(folder.drive, folder.root, workstation.prefix)
        other_driver = workstation.driver()
        self.addCleanup(other_driver.close)
        here = self.start_ready(folder)
        there = Program(folder, other_driver)
        there.wait_until_ready()
        there.select(0)
        there.click("Delete Selected Address(es)")
        there.answer(there.message_box(), "Yes")
        there.add(4, 4, 4, 4)
        there.click("OK")
        self.assertEqual(there.wait_exit(), 0)
        theirs = folder.read("IPList.Txt")
        self.assertEqual(theirs, b"2.2.2.2\r\n4.4.4.4\r\n")
        here.add(3, 3, 3, 3)
        self.apply_and_keep_both(here, folder)
        self.assertEqual(folder.read("IPList.Txt"), b"2.2.2.2\r\n3.3.3.3\r\n4.4.4.4\r\n")
        record("two workstations on one share", read, theirs, folder.read("IPList.Txt"))
