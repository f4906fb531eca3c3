"""The forms a list takes on a real share: a symbolic link to one central list, one of two hard
names of a file, a list that everyone may write saved by another user, and the encodings Notepad
writes. After a save, the list every name and folder sees has the new address, in its own
encoding, writable by whoever could write it before. Each case records the bytes before and after
in list-forms-table.txt."""
import os
import stat
import subprocess
import unittest

from harness import WORK, ProgramTest, UnprivilegedProgramTest

TABLE = os.path.join(WORK, "list-forms-table.txt")
OLD = b"10.0.0.1\r\n"
NEW = b"10.0.0.1\r\n10.0.0.2\r\n"


def setUpModule():
    os.makedirs(WORK, exist_ok=True)
    with open(TABLE, "w") as table:
        table.write("how the list is set up | the bytes before -> after, as every name reads them | and besides\n")


def record(case, before, after, besides):
    show = lambda data: data.hex(" ") if len(data) < 48 else data[:44].hex(" ") + " ..."
    with open(TABLE, "a") as table:
        table.write("%s | %s -> %s | %s\n" % (case, show(before), show(after), besides))


def read(path):
    with open(path, "rb") as source:
        return source.read()


def write(path, data):
    with open(path, "wb") as out:
        out.write(data)


def utf16(text, big_endian):
    return (b"\xfe\xff" + text.encode("utf-16-be")) if big_endian else (b"\xff\xfe" + text.encode("utf-16-le"))


class ListFormsTest(ProgramTest):
    def add_and_apply(self, program):
        program.add(10, 0, 0, 2)
        program.click("Apply")
        self.assertSoon(program.ready, True)  # out of the busy state with Apply off: saved
        self.assertTrue(program.no_message_box(500))

    def scratch_files(self, *folders):
        return [name for folder in folders for name in os.listdir(folder) if name.endswith(".Tmp")]

    def test_a_save_lands_in_the_file_the_lists_name_leads_to_in_its_encoding(self):
        rows = [  # case, the list's bytes, what a save of one more address leaves
            ("UTF-8 with its mark", b"\xef\xbb\xbf" + OLD, b"\xef\xbb\xbf" + NEW),
            ("UTF-16 LE with its mark", utf16("10.0.0.1\r\n", False), utf16("10.0.0.1\r\n10.0.0.2\r\n", False)),
            ("UTF-16 BE with its mark", utf16("10.0.0.1\r\n", True), utf16("10.0.0.1\r\n10.0.0.2\r\n", True)),
            ("a symbolic link to a central list", OLD, NEW),
            ("one of two hard names of a file", OLD, NEW),
        ]
        for case, before, after in rows:
            with self.subTest(case):
                folder = self.folder(address_list=None)
                central = os.path.join(folder.root, "central")
                os.makedirs(central, exist_ok=True)
                shared = os.path.join(central, "IPList.Txt")
                if case.startswith("a symbolic"):
                    write(shared, before)
                    os.symlink(shared, folder.file("IPList.Txt"))
                elif case.startswith("one of two"):
                    write(shared, before)
                    os.link(shared, folder.file("IPList.Txt"))
                else:
                    write(folder.file("IPList.Txt"), before)
                    shared = folder.file("IPList.Txt")
                program = self.start_ready(folder)
                self.assertEqual(program.entries(), ["10.0.0.1"])
                program.add(10, 0, 0, 1)  # the address behind a mark is the address: refused
                box = program.message_box()
                self.assertEqual(box["text"], "That address already exists in the list.")
                program.answer(box, "OK")
                self.add_and_apply(program)
                self.assertEqual(read(folder.file("IPList.Txt")), after)
                self.assertEqual(read(shared), after)
                besides = []
                if case.startswith("a symbolic"):
                    self.assertTrue(os.path.islink(folder.file("IPList.Txt")))
                    besides.append("IPList.Txt is still a link")
                if case.startswith("one of two"):
                    self.assertEqual(os.stat(shared).st_nlink, 2)
                    self.assertTrue(os.path.samefile(shared, folder.file("IPList.Txt")))
                    besides.append("both names still one file")
                self.assertEqual(self.scratch_files(folder.path, central), [])
                record(case, before, read(shared), "; ".join(besides + ["no scratch file left"]))
                program.close_box()
                program.wait_exit()

    def test_a_kill_during_the_write_into_a_hard_named_list_loses_nothing(self):
        folder = self.folder(address_list=None)
        other = os.path.join(folder.root, "other-name")
        write(folder.file("IPList.Txt"), OLD)
        os.link(folder.file("IPList.Txt"), other)
        program = self.start_ready(folder)
        program.add(10, 0, 0, 2)
        # Another program reading the list: the write into it waits, the scratch file holding the
        # whole new list meanwhile.
        self.assertEqual(self.driver("hold-reading", folder.windows_path("IPList.Txt")), {"ok": True})
        program.click("Apply")
        self.assertSoon(lambda: [read(folder.file(name)) for name in self.scratch_files(folder.path)], [NEW])
        program.kill()
        self.driver("release")
        scratch = self.scratch_files(folder.path)
        self.assertEqual(read(other), OLD)
        self.assertEqual(read(folder.file("IPList.Txt")), OLD)
        self.assertEqual([read(folder.file(name)) for name in scratch], [NEW])
        record("one of two hard names, the program killed during the write", OLD, read(other),
               "the new list whole in %s" % scratch[0])


class SharedListTest(UnprivilegedProgramTest):
    """As a user who is not root, saving a list that root made for everyone to write."""

    def test_a_list_everyone_may_write_stays_so_whoever_saves_it(self):
        folder = self.folder(address_list=OLD)
        self.user.own(folder.path)
        os.chown(folder.file("IPList.Txt"), 0, 0)
        os.chmod(folder.file("IPList.Txt"), 0o666)
        program = self.start_ready(folder)
        program.add(10, 0, 0, 2)
        program.click("Apply")
        self.assertSoon(program.ready, True)
        self.assertEqual(read(folder.file("IPList.Txt")), NEW)
        mode = stat.S_IMODE(os.stat(folder.file("IPList.Txt")).st_mode)
        # Another user who is neither root nor the one who saved.
        writable = subprocess.run(["runuser", "-u", "nobody", "--", "test", "-w", folder.file("IPList.Txt")]).returncode == 0
        self.assertTrue(writable, "mode %o" % mode)
        self.assertEqual(mode & 0o666, 0o666)
        record("a list everyone may write (0666), saved by another user", OLD, NEW,
               "mode %o afterwards; another user may still write it" % mode)
        program.close_box()
        program.wait_exit()


if __name__ == "__main__":
    unittest.main()
