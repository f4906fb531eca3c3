"""What the window shows is what it does, and it keeps answering: Add takes the address the control
shows, a save leaves another workstation's scratch files alone whatever its clock says, and while
a save waits for a list that another program holds, the window answers, and its title says what it
waits for. Each case records what it saw in answering-table.txt."""
import os
import subprocess
import time
import unittest

from harness import ENV, WORK, ProgramTest, xdotool, centre

TABLE = os.path.join(WORK, "answering-table.txt")


def setUpModule():
    os.makedirs(WORK, exist_ok=True)
    with open(TABLE, "w") as table:
        table.write("case | what the user did | what the program did\n")


def record(case, done, seen):
    with open(TABLE, "a") as table:
        table.write("%s | %s | %s\n" % (case, done, seen))


class AnsweringTest(ProgramTest):
    def empty_fields(self, program, *indices):
        ip = program.control(cls="SysIPAddress32")
        fields = sorted(self.driver("children", ip["hwnd"])["children"], key=lambda c: c["rect"][0])
        for index in indices:
            xdotool("mousemove", *centre(fields[index]["rect"]), "click", "1")
            xdotool("key", "End", "shift+Home", "BackSpace")

    def test_add_takes_the_address_the_control_shows(self):
        rows = [
            # typed, the fields then emptied, what the control shows, what Add puts in the list
            ((10, 0, 7, 5), [3], "10.0.7._", "10.0.7.0"),
            ((10, 0, 7, 5), [0, 1, 2, 3], "_._._._", "the all-zeros message"),
        ]
        for typed, emptied, shown, expected in rows:
            with self.subTest(shown):
                folder = self.folder(address_list=b"")
                program = self.start_ready(folder)
                program.type_address(*typed)
                self.empty_fields(program, *emptied)
                program.click("Add Address to List")
                if expected.startswith("10."):
                    self.assertSoon(program.entries, [expected])
                    seen = "listed " + expected
                else:
                    box = program.message_box()
                    self.assertEqual(box["text"], "The I.P. address is all zeros.  Please specify a valid address.")
                    program.answer(box, "OK")
                    self.assertEqual(program.entries(), [])
                    seen = "refused it: " + box["text"]
                record("Add", "typed %s, emptied to %s" % (".".join(map(str, typed)), shown), seen)
                program.close_box()
                program.wait_exit()

    def test_scratch_files_dated_ahead_survive_a_save(self):
        folder = self.folder(address_list=b"10.0.0.1\r\n")
        now = time.time()
        dated = {"IPList.Txt.101010.Tmp": now + 120, "IPList.Txt.202020.Tmp": now + 7200,
                 "IPList.Txt.303030.Tmp": now - 2 * 3600}
        for name, stamp in dated.items():
            folder.write(name, b"another workstation's new list\r\n")
            os.utime(folder.file(name), (stamp, stamp))
        program = self.start_ready(folder)
        program.add(10, 0, 0, 2)
        program.click("Apply")
        self.assertSoon(lambda: program.enabled("Apply"), False)
        self.assertEqual(folder.read("IPList.Txt"), b"10.0.0.1\r\n10.0.0.2\r\n")
        for name, stamp in dated.items():
            self.assertEqual(folder.exists(name), stamp > now, name)
        record("scratch files", "saved with scratch files dated 2 min and 2 h ahead, and 2 h ago",
               "kept: " + ", ".join(sorted(n for n in dated if folder.exists(n))))

    def test_the_window_answers_and_says_what_it_waits_for_while_another_program_holds_the_list(self):
        folder = self.folder(address_list=b"10.0.0.1\r\n")
        program = self.start_ready(folder)
        title = program.answers()["caption"]
        program.add(10, 0, 0, 2)
        self.assertEqual(self.driver("hold", folder.windows_path("IPList.Txt")), {"ok": True})
        program.click("Apply")
        waiting = "%s - waiting for IPList.Txt, which another program holds: " % title
        held_since = time.time()
        seen, shot = [], os.path.join(WORK, "waiting-title.png")
        while time.time() - held_since < 8:
            answer = program.answers()
            self.assertTrue(answer["answers"], "the window answered no message within a second")
            seen.append(answer["caption"])
            if answer["caption"].startswith(waiting) and not os.path.exists(shot):
                subprocess.run(["import", "-window", "root", shot], env=ENV, check=False)
            time.sleep(0.2)
        self.driver("release")
        self.assertSoon(program.ready, True, timeout=10)  # out of the busy state, Apply off: saved
        self.assertEqual(folder.read("IPList.Txt"), b"10.0.0.1\r\n10.0.0.2\r\n")
        self.assertSoon(lambda: program.answers()["caption"], title)
        waits = [caption for caption in seen if caption.startswith(waiting)]
        self.assertTrue(waits, seen)
        self.assertGreaterEqual(int(waits[-1][len(waiting):].split()[0]), 5, waits[-1])
        record("held for 8 s during Apply", "another program held IPList.Txt, then let it go",
               "answered every message within 1 s; title %r; saved once free" % waits[-1])


if __name__ == "__main__":
    unittest.main()
