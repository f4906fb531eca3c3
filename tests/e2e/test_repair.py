"""The permission repair against someone who renames folders while it runs, and over a tree deeper
than any path the system can name.

The repair runs only for a folder the user cannot write, so these tests run as a Unix user that is
not root, with the product folder made read-only. Beside the tree lies OUTSIDE, a folder of mode
0700 holding files of mode 0600, all the user's own, so that the repair could change them if it
were steered there. Two attackers swap folders of the tree for links to OUTSIDE while the repair
walks it: another Windows user, who renames through Win32 in the same prefix (and so meets the
share modes of the folders the walk holds) and then puts a link at the old name (Wine lets no
Win32 program make one, so the link is made on the Unix side); and a Unix process that exchanges a
folder and a link in one step (renameat2 with RENAME_EXCHANGE), which no share mode stops. Each run
checks that OUTSIDE kept its modes and that the repair did change the tree, so that the check can
fail."""
import ctypes
import os
import random
import stat
import threading
import time
import unittest

from harness import Driver, UnprivilegedProgramTest, wait_until

LIST = b"10.0.0.1\r\n"
RUNS = 4
TREE_FILES = ["file%d.dat" % n for n in range(12)]
OUTSIDE_FILES = ["secret.txt"] + TREE_FILES
RENAME_EXCHANGE = 2
AT_FDCWD = -100
LIBC = ctypes.CDLL(None, use_errno=True)
SYS_RENAMEAT2 = 316  # x86_64


def exchange(a, b):
    """Swaps two names in one step; False when the system refused."""
    return LIBC.syscall(SYS_RENAMEAT2, AT_FDCWD, a.encode(), AT_FDCWD, b.encode(), RENAME_EXCHANGE) == 0


def mode(path):
    return stat.S_IMODE(os.lstat(path).st_mode)


class Attack(threading.Thread):
    """Swaps folders of the tree for links to OUTSIDE until told to stop, counting what it did."""

    def __init__(self, folders, outside):
        super().__init__(daemon=True)
        self.folders = folders
        self.outside = outside
        self.stopping = threading.Event()
        self.swaps = 0
        self.refused = 0

    def stop(self):
        self.stopping.set()
        self.join(30)


class WindowsUserAttack(Attack):
    """Renames through Win32, as another Windows user would, then puts a link at the old name."""

    def __init__(self, folders, outside, user, windows_path):
        super().__init__(folders, outside)
        self.driver = Driver(user)
        self.windows_path = windows_path

    def run(self):
        try:
            while not self.stopping.is_set():
                folder = random.choice(self.folders)
                moved = folder + ".moved"
                reply = self.driver("rename %s\t%s" % (self.windows_path(folder), self.windows_path(moved)))
                if "ok" not in reply:
                    if reply.get("error") == 32:
                        self.refused += 1  # a folder the walk holds: a sharing violation
                    continue
                self.swaps += 1
                os.symlink(self.outside, folder)
                time.sleep(0.02)
                os.unlink(folder)
                os.rename(moved, folder)
        finally:
            self.driver.close()


class UnixExchangeAttack(Attack):
    """Exchanges a folder and a link to OUTSIDE in one step, and back, over and over."""

    def run(self):
        links = {}
        for folder in self.folders:
            links[folder] = folder + ".link"
            os.symlink(self.outside, links[folder])
        while not self.stopping.is_set():
            folder = random.choice(self.folders)
            if exchange(folder, links[folder]):
                self.swaps += 1
                time.sleep(0.0005)
                exchange(folder, links[folder])
            else:
                self.refused += 1


class RepairRaceTest(UnprivilegedProgramTest):
    def lay_out(self, run):
        """A read-only product folder over a tree of folders, and OUTSIDE beside it."""
        folder = self.folder(address_list=LIST)
        # OUTSIDE holds files of the names the tree's folders hold, so that a walk that went on by
        # name below a folder swapped for a link would find them there.
        outside = os.path.join(folder.root, "OUTSIDE")
        os.mkdir(outside)
        for name in OUTSIDE_FILES:
            with open(os.path.join(outside, name), "w") as secret:
                secret.write("not the repair's")
        # Chains of folders with files in each, so that the walk spends a while inside each folder.
        # The folders just below the read-only product folder cannot be renamed by the user at all;
        # those below them can, unless the walk holds them.
        folders = []
        for top in range(4):
            path = os.path.join(folder.path, "data%d" % top)
            for depth in range(8):
                os.makedirs(path)
                if depth > 0:
                    folders.append(path)
                for name in TREE_FILES:
                    with open(os.path.join(path, name), "w") as data:
                        data.write("x")
                path = os.path.join(path, "level%d" % depth)
        self.user.own(folder.root)
        os.chmod(outside, 0o700)
        for name in OUTSIDE_FILES:
            os.chmod(os.path.join(outside, name), 0o600)
        os.chmod(folder.path, 0o555)
        return folder, outside, folders

    def wait_for_the_repair(self, program):
        """Waits for the end of the start-up, answering the warning of a repair that left links or
        objects other than the listed ones alone, where it shows one: whether it did."""
        warned = []

        def settled():
            if program.ready():
                return True
            if not warned and not program.no_message_box(timeout=200):
                box = program.message_box()
                self.assertTrue(box["text"].startswith("The access rights of the program folder were repaired: "), box["text"])
                self.assertIn("left unchanged.", box["text"])
                self.assertEqual(box["kind"], "warning")
                program.answer(box, "OK")
                warned.append(box["text"])
            return False

        wait_until(settled, 120, "the end of the start-up")
        return warned

    def run_attacked(self, make_attack):
        changed_outside = 0
        warnings = 0
        attacks = []
        for run in range(RUNS):
            folder, outside, folders = self.lay_out(run)
            attack = make_attack(folders, outside, folder)
            attack.start()
            program = self.start(folder)
            warned = self.wait_for_the_repair(program)
            attack.stop()
            attacks.append(attack)
            warnings += bool(warned)
            with self.subTest(run=run):
                self.assertTrue(mode(folder.path) & stat.S_IWOTH, "the repair changed nothing inside the tree")
                self.assertTrue(program.no_message_box(timeout=500))
            if mode(outside) != 0o700 or any(mode(os.path.join(outside, name)) != 0o600 for name in OUTSIDE_FILES):
                changed_outside += 1
            program.close_box()
            program.wait_exit()
        swaps = sum(a.swaps for a in attacks)
        refused = sum(a.refused for a in attacks)
        print("\n%s: %d runs, %d swaps made, %d refused, %d runs changed OUTSIDE, %d said what they left alone" %
              (type(attacks[0]).__name__, RUNS, swaps, refused, changed_outside, warnings))
        self.assertGreater(swaps, 0, "the attack never swapped a folder")
        self.assertEqual(changed_outside, 0)

    def test_another_windows_user_renaming_folders_cannot_steer_the_repair(self):
        self.run_attacked(lambda folders, outside, folder: WindowsUserAttack(
            folders, outside, self.user, lambda path: folder.windows_path(os.path.relpath(path, folder.path))))

    def test_a_unix_process_exchanging_folders_for_links_cannot_steer_the_repair(self):
        self.run_attacked(lambda folders, outside, folder: UnixExchangeAttack(folders, outside))


class RepairReachTest(UnprivilegedProgramTest):
    DEPTH = 3000

    def test_a_tree_deeper_than_any_path_is_repaired_to_its_bottom_showing_its_progress(self):
        folder = self.folder(address_list=LIST)
        # Made one level at a time through a handle, since no path reaches the bottom.
        descriptor = os.open(folder.path, os.O_RDONLY)
        for _ in range(self.DEPTH):
            os.mkdir("d", dir_fd=descriptor)
            inner = os.open("d", os.O_RDONLY, dir_fd=descriptor)
            os.close(descriptor)
            descriptor = inner
        os.chmod(descriptor, 0o700)
        self.user.own(folder.root)
        os.chmod(folder.path, 0o555)
        try:
            program = self.start(folder)
            captions = set()

            def progress_shown():
                captions.add(program.window_info().get("caption", ""))
                return any("repairing folder permissions" in caption for caption in captions)

            wait_until(progress_shown, 120, "the repair's progress in the title")
            program.wait_until_ready(timeout=600)
            self.assertTrue(program.no_message_box(timeout=500))
            self.assertEqual(program.window_info()["caption"], "Server I.P. Address List")
            self.assertEqual(program.entries(), ["10.0.0.1"])
            self.assertTrue(os.fstat(descriptor).st_mode & stat.S_IWOTH, "the bottom folder was not repaired")
        finally:
            os.close(descriptor)

    def test_a_repair_that_the_system_stops_says_where_and_why(self):
        folder = self.folder(address_list=LIST)
        locked = os.path.join(folder.path, "LOCKED")
        os.mkdir(locked)
        self.user.own(folder.root)
        os.chown(locked, 0, 0)  # root's, so that the user may not change it
        os.chmod(locked, 0o700)
        os.chmod(folder.path, 0o555)
        program = self.start(folder)
        box = program.message_box(timeout=60000)
        self.assertTrue(box["text"].startswith("The access rights of the program folder could not be repaired completely.  "
                                               "The repair stopped at the following object:\r\n" +
                                               folder.windows_path("LOCKED") + "\r\n\r\n"), box["text"])
        self.assertEqual(box["kind"], "warning")
        program.answer(box, "OK")
        # The repair reached the product folder itself, so the repeated test passes.
        program.wait_until_ready(timeout=60)
        self.assertEqual(program.entries(), ["10.0.0.1"])
        self.assertEqual(mode(locked), 0o700)


if __name__ == "__main__":
    unittest.main()
