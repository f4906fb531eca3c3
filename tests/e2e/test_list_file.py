"""The files and folders a network share may hand the program as its list: a folder path near the
limit, scratch files that crashes left, a list without end, and text the window cannot show as it
stands. Each case records its message and, where one is measured, the program's peak memory in
list-file-table.txt."""
import os
import shutil
import subprocess
import time

from harness import ENV, EXE, WORK, Driver, Program, ProgramTest

TABLE = os.path.join(WORK, "list-file-table.txt")
HIDDEN_HEADER = "The following file holds text that this window cannot show as it stands:\r\n"
HIDDEN_FOOTER = "\r\n\r\nSaving the list keeps all of this as it is in the file."
CTRL_Z_LINE = "     Line %d: a Ctrl-Z character ends the text there, and what follows it is not shown."
NUL_LINE = "     Line %d: a NUL character; the list shows the line only up to it."
CODE_PAGE_LINE = "     Line %d: bytes that are no text in this system's code page; the list shows them as best it can."
HOUR = 3600


def setUpModule():
    os.makedirs(WORK, exist_ok=True)
    with open(TABLE, "w") as table:
        table.write("case | message | peak memory\n")


def record(case, message, memory=""):
    with open(TABLE, "a") as table:
        table.write("%s | %s | %s\n" % (case, message.replace("\r\n", " / ") if message else "(none)", memory))


def peak_memory_kib(exe_name):
    """The largest resident size that the Unix process running EXE_NAME has had."""
    found = subprocess.run(["pgrep", "-f", exe_name], stdout=subprocess.PIPE, text=True).stdout.split()
    peaks = []
    for pid in found:
        try:
            with open("/proc/%s/status" % pid) as status:
                peaks += [int(line.split()[1]) for line in status if line.startswith("VmHWM:")]
        except OSError:
            pass
    return max(peaks) if peaks else None


class ListFileTest(ProgramTest):
    def driver_in(self, locale):
        """A driver started in LOCALE: Wine gives a program the code page of the locale its
        parent started in, whatever the environment it is handed."""
        driver = Driver(env=dict(ENV, LANG=locale, LC_ALL=locale))
        self.addCleanup(driver.close)
        return driver

    def save(self, program, folder, octets):
        program.add(*octets)
        program.click("Apply")
        self.assertSoon(lambda: program.enabled("Apply"), False)
        self.assertTrue(program.no_message_box(500))
        return folder.read("IPList.Txt")

    def test_a_folder_path_near_the_limit(self):
        for length in (240, 248):
            with self.subTest(length=length):
                name = "K" * (length - len("D:\\"))
                folder = self.folder(folder=name, address_list=b"1.1.1.1\r\n")
                self.assertEqual(len(folder.windows_path()), length)
                program = self.start_ready(folder)
                self.assertEqual(self.save(program, folder, (2, 2, 2, 2)), b"1.1.1.1\r\n2.2.2.2\r\n")
                self.assertEqual([n for n in os.listdir(folder.path) if n.endswith(".Tmp")], [])
                record("folder path of %d characters" % length, "")
                program.close_box()
                program.wait_exit()

    def test_scratch_files_that_crashes_left(self):
        folder = self.folder(address_list=b"1.1.1.1\r\n")
        files = {  # name: (age in hours, kept)
            "IPList.Txt.9123456.Tmp": (2, False), "IPList.Txt.9123456-2.Tmp": (26, False), "IP0A1B2C.Tmp": (2, False),
            "IPList.Txt.9223456.Tmp": (0, True), "Notes.Tmp": (2, True),
        }
        for name, (hours, _) in files.items():
            folder.write(name, b"x" * 1000)
            then = time.time() - hours * HOUR
            os.utime(folder.file(name), (then, then))
        program = self.start_ready(folder)
        self.save(program, folder, (2, 2, 2, 2))
        self.assertEqual({name: folder.exists(name) for name in files}, {name: kept for name, (_, kept) in files.items()})
        record("scratch files, 2 and 26 hours old and fresh", "")

    def test_a_list_without_end(self):
        folder = self.folder()
        os.symlink("/dev/zero", folder.file("IPList.Txt"))
        exe = os.path.join(WORK, "IPList-endless.exe")
        shutil.copyfile(EXE, exe)
        program = self.start(folder, exe=exe)
        box = program.message_box(timeout=60000)
        peak = peak_memory_kib("IPList-endless.exe")
        path = folder.windows_path("IPList.Txt")
        self.assertEqual(box["text"], "The following file is too large to be a server address list:\r\n" + path +
                         "\r\n\r\nIt holds more than 4 MB or more than 200000 lines, the most this program reads.  It "
                         "was not changed, and the list cannot be saved until the file is smaller.")
        self.assertEqual(box["kind"], "error")
        self.assertIsNotNone(peak)
        self.assertLess(peak, 512 * 1024)
        record("IPList.Txt a link to /dev/zero", box["text"], "%.1f MB" % (peak / 1024))
        program.answer(box, "OK")
        program.add(2, 2, 2, 2)
        program.click("OK")
        refused = program.message_box()
        self.assertIn("so it is not saved", refused["text"])
        program.answer(refused, "OK")
        self.assertEqual(os.readlink(folder.file("IPList.Txt")), "/dev/zero")

    def test_text_the_window_cannot_show_as_it_stands(self):
        rows = [
            # case, code page's locale, the file, what the window lists, the message's line, after Add 3.3.3.3
            ("a Ctrl-Z ends the list", None, b"1.1.1.1\r\n2.2.2.2\r\n\x1a9.9.9.9\r\n", ["1.1.1.1", "2.2.2.2"],
             CTRL_Z_LINE % 3, b"1.1.1.1\r\n2.2.2.2\r\n3.3.3.3\r\n\x1a9.9.9.9\r\n"),
            ("a NUL inside a line", None, b"1.1.1.1\r\n2.2\x00.2.2\r\n", ["1.1.1.1", "2.2"], NUL_LINE % 2,
             b"1.1.1.1\r\n2.2\x00.2.2\r\n3.3.3.3\r\n"),
            ("bytes that are no text in code page 932", "ja_JP.UTF-8", b"1.1.1.1\r\n\x81\r\n", None,
             CODE_PAGE_LINE % 2, b"1.1.1.1\r\n\x81\r\n3.3.3.3\r\n"),
            ("bytes that are no text in code page 65001", "hi_IN.UTF-8", b"1.1.1.1\r\n\xff\xfe\r\n", None,
             CODE_PAGE_LINE % 2, b"1.1.1.1\r\n\xff\xfe\r\n3.3.3.3\r\n"),
            ("lines that end in CR alone", None, b"1.1.1.1\r2.2.2.2\r", ["1.1.1.1", "2.2.2.2"], None,
             b"1.1.1.1\r\n2.2.2.2\r\n3.3.3.3\r\n"),
        ]
        for case, locale, data, listed, line, saved in rows:
            with self.subTest(case):
                folder = self.folder(address_list=data)
                program = Program(folder, self.driver_in(locale)) if locale else self.start(folder)
                message = None
                if line:
                    box = program.message_box(timeout=20000)
                    message = box["text"]
                    self.assertEqual(message, HIDDEN_HEADER + folder.windows_path("IPList.Txt") + "\r\n" + line +
                                     HIDDEN_FOOTER)
                    self.assertEqual(box["kind"], "information")
                    program.answer(box, "OK")
                else:
                    self.assertTrue(program.no_message_box(3000))
                program.wait_until_ready()
                entries = program.entries()
                self.assertEqual(len(entries), 2)
                if listed:
                    self.assertEqual(entries, listed)
                self.assertEqual(self.save(program, folder, (3, 3, 3, 3)), saved)
                record(case, message)
                program.close_box()
                program.wait_exit()
