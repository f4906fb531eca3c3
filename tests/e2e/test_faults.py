"""Real faults while the list is saved or read: a full disk, a read-only volume, a folder in place of
the list, a kill in the middle of a save, and a list the user may not examine. After each, the old
list is there byte for byte, no scratch file is left (a kill aside), the window keeps every entry
with Apply enabled, and the next save works once the fault is gone.

Root makes the faults real: a small tmpfs is a full disk, a bind mount remounted read-only a
read-only volume. Every mount is undone however the test ends. The run writes a table of what each
fault did to fault-table.txt in the work folder, and scripts/test prints it."""
import hashlib
import os
import shutil
import stat
import subprocess
import unittest

from harness import COMPONENTS, WORK, ProgramTest, UnprivilegedProgramTest

LIST = b"10.0.0.1\r\n10.0.0.2\r\n"
# What an installation folder holds before a fault: the components' top names and the list.
KNOWN = {name.split(os.sep)[0] for name in COMPONENTS} | {"IPList.Txt"}
TABLE = os.path.join(WORK, "fault-table.txt")


def setUpModule():
    os.makedirs(WORK, exist_ok=True)
    if os.path.exists(TABLE):
        os.remove(TABLE)


def digest(path):
    if os.path.isdir(path):
        return "(a folder)"
    if not os.path.lexists(path):
        return "(none)"
    with open(path, "rb") as source:
        return hashlib.sha256(source.read()).hexdigest()[:12]


def record(fault, before, after, leftovers, seen):
    with open(TABLE, "a") as table:
        table.write("%-34s %-12s -> %-12s  leftovers: %-32s  the user saw: %s\n" %
                    (fault, before, after, ", ".join(leftovers) or "none", seen))


def first_line(text):
    return text.replace("\r\n", " / ").strip()


class FaultTest(ProgramTest):
    def mount(self, *command, target):
        subprocess.run(["mount", *command], check=True)
        self.addCleanup(subprocess.run, ["umount", "-l", target], check=False, stderr=subprocess.DEVNULL)

    def leftovers(self, folder):
        return sorted(set(os.listdir(folder.path)) - KNOWN)

    def expect_kept(self, program, entries):
        """Every entry is still in the list, and Apply still offers to save them."""
        self.assertSoon(lambda: program.enabled("Apply"), True)
        self.assertEqual(program.entries(), entries)

    def expect_saved_once_the_fault_is_gone(self, program, folder, answer=None):
        """Apply saves; ANSWER answers the question of a file changed since it was read."""
        program.click("Apply")
        if answer:
            program.answer(program.message_box(), answer)
        self.assertSoon(lambda: program.enabled("Apply"), False)
        self.assertEqual(folder.read("IPList.Txt"), LIST + b"10.0.0.3\r\n")

    def test_a_full_disk(self):
        folder = self.folder(address_list=LIST, prepare_root=lambda root: self.mount(
            "-t", "tmpfs", "-o", "size=512k", "tmpfs", root, target=root))
        program = self.start_ready(folder)
        program.add(10, 0, 0, 3)
        filler = os.path.join(folder.root, "filler")
        try:
            with open(filler, "wb") as out:
                while True:
                    out.write(b"\0" * 4096)
                    out.flush()
        except OSError:
            pass  # the disk is full
        before = digest(folder.file("IPList.Txt"))
        seen = []
        for button in ("Apply", "OK"):
            program.click(button)
            box = program.message_box(timeout=60000)
            seen.append(first_line(box["text"]))
            self.assertTrue(box["text"].startswith("The following file could not be written: \r\n" +
                                                   folder.windows_path("IPList.Txt")), box["text"])
            program.answer(box, "OK")
            self.expect_kept(program, ["10.0.0.1", "10.0.0.2", "10.0.0.3"])
        self.assertTrue(program.running())
        self.assertEqual(folder.read("IPList.Txt"), LIST)
        record("full disk: Apply, then OK", before, digest(folder.file("IPList.Txt")), self.leftovers(folder), seen[0])
        self.assertEqual(self.leftovers(folder), [])
        os.remove(filler)
        self.expect_saved_once_the_fault_is_gone(program, folder)

    def test_a_read_only_volume(self):
        folder = self.folder(address_list=LIST)
        program = self.start_ready(folder)
        program.add(10, 0, 0, 3)
        self.mount("--bind", folder.root, folder.root, target=folder.root)
        subprocess.run(["mount", "-o", "remount,ro,bind", folder.root], check=True)
        before = digest(folder.file("IPList.Txt"))
        program.click("Apply")
        box = program.message_box(timeout=60000)  # the creation is retried for about 17 seconds
        self.assertTrue(box["text"].startswith("The following file could not be created: \r\n" +
                                               folder.windows_path("IPList.Txt") + "\r\n\r\n"), box["text"])
        program.answer(box, "OK")
        self.expect_kept(program, ["10.0.0.1", "10.0.0.2", "10.0.0.3"])
        self.assertEqual(folder.read("IPList.Txt"), LIST)
        record("read-only volume: Apply", before, digest(folder.file("IPList.Txt")), self.leftovers(folder),
               first_line(box["text"]))
        subprocess.run(["umount", "-l", folder.root], check=True)
        self.assertEqual(self.leftovers(folder), [])
        self.expect_saved_once_the_fault_is_gone(program, folder)

    def test_a_folder_in_place_of_the_list(self):
        folder = self.folder(address_list=LIST)
        program = self.start_ready(folder)
        program.add(10, 0, 0, 3)
        os.remove(folder.file("IPList.Txt"))
        os.mkdir(folder.file("IPList.Txt"))
        folder.write(os.path.join("IPList.Txt", "inside.txt"), b"untouched")
        program.click("Apply")
        program.answer(program.message_box(), "No")  # changed since it was read: replace it all the same
        box = program.message_box(timeout=60000)
        self.assertEqual(box["text"], "The following file could not be replaced: \r\n" + folder.windows_path("IPList.Txt") +
                         "\r\n\r\nA folder of that name stands in its place.")
        program.answer(box, "OK")
        self.expect_kept(program, ["10.0.0.1", "10.0.0.2", "10.0.0.3"])
        self.assertEqual(os.listdir(folder.file("IPList.Txt")), ["inside.txt"])
        self.assertEqual(folder.read(os.path.join("IPList.Txt", "inside.txt")), b"untouched")
        record("a folder in place of the list: Apply", "(a folder)", digest(folder.file("IPList.Txt")),
               self.leftovers(folder), first_line(box["text"]))
        self.assertEqual(self.leftovers(folder), [])
        shutil.rmtree(folder.file("IPList.Txt"))
        self.expect_saved_once_the_fault_is_gone(program, folder, answer="No")

    def test_killed_during_a_save(self):
        folder = self.folder(address_list=LIST)
        program = self.start_ready(folder)
        program.add(10, 0, 0, 3)
        before = digest(folder.file("IPList.Txt"))
        self.assertEqual(self.driver("hold-reading", folder.windows_path("IPList.Txt")), {"ok": True})
        program.click("Apply")
        # The new list is written whole; its move over the held old one is being retried.
        written = len(LIST + b"10.0.0.3\r\n")
        self.assertSoon(lambda: [os.path.getsize(folder.file(name)) for name in self.leftovers(folder)], [written])
        program.kill()
        self.driver("release")
        leftovers = self.leftovers(folder)
        record("killed during a save (list held)", before, digest(folder.file("IPList.Txt")), leftovers,
               "(the program was killed)")
        self.assertEqual(folder.read("IPList.Txt"), LIST)
        self.assertEqual(len(leftovers), 1)
        self.assertTrue(leftovers[0].startswith("IPList.Txt.") and leftovers[0].endswith(".Tmp"), leftovers)
        again = self.start_ready(folder)
        self.assertEqual(again.entries(), ["10.0.0.1", "10.0.0.2"])


class UnexaminableListTest(UnprivilegedProgramTest):
    """As a user who is not root, whose list is a link into a folder that user may not enter."""

    def test_a_list_that_cannot_be_examined_at_start(self):
        folder = self.folder()
        hidden = os.path.join(folder.root, "hidden")
        os.mkdir(hidden)
        with open(os.path.join(hidden, "IPList.Txt"), "wb") as out:
            out.write(LIST)
        os.symlink(os.path.join(hidden, "IPList.Txt"), folder.file("IPList.Txt"))
        self.user.own(folder.path)
        os.chmod(hidden, 0o700)  # root's: the user may not enter
        target = os.path.join(hidden, "IPList.Txt")
        before = digest(target)
        program = self.start(folder)
        box = program.message_box(timeout=60000)  # after the open's retries, about 17 seconds
        self.assertTrue(box["text"].startswith("The following file could not be opened with Reset: \r\n" +
                                               folder.windows_path("IPList.Txt")), box["text"])
        program.answer(box, "OK")
        self.assertSoon(lambda: program.enabled("Delete Selected Address(es)"), False)
        self.assertEqual(program.entries(), [])
        program.type_address(10, 0, 0, 9)
        program.click("Add Address to List")
        self.assertSoon(program.entries, ["10.0.0.9"])
        self.assertFalse(program.enabled("Apply"))
        program.click("OK")
        refusal = program.message_box()
        self.assertIn("so it is not saved", refusal["text"])
        program.answer(refusal, "OK")
        self.assertTrue(program.running())
        program.close_box()
        program.wait_exit()
        record("a list that cannot be examined", before, digest(target), sorted(set(os.listdir(folder.path)) - KNOWN),
               first_line(box["text"]))
        self.assertTrue(os.path.islink(folder.file("IPList.Txt")))
        self.assertEqual(stat.S_IMODE(os.stat(hidden).st_mode), 0o700)
        with open(target, "rb") as source:
            self.assertEqual(source.read(), LIST)


if __name__ == "__main__":
    unittest.main()
