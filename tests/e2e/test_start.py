"""The program starting in an installation folder: the list as the file has it, the initial
button states, and closing by the close box."""
import os
import time
import unittest

from harness import ProgramTest

LIST = b"10.0.0.10\r\n10.0.0.2\r\n10.0.0.2\r\n\r\n  spaced\r\n"


class StartTest(ProgramTest):
    def test_list_shows_the_file_as_it_stands(self):
        folder = self.folder(address_list=LIST)
        program = self.start_ready(folder)
        self.assertEqual(program.entries(), ["10.0.0.10", "10.0.0.2", "10.0.0.2", "", "  spaced"])
        self.assertEqual(program.selected(), [0])
        self.assertTrue(program.enabled("Delete Selected Address(es)"))
        self.assertFalse(program.enabled("Apply"))
        self.assertTrue(program.enabled("OK"))
        stamp = os.stat(folder.file("IPList.Txt")).st_mtime_ns
        program.close_box()
        self.assertEqual(program.wait_exit(), 0)
        self.assertEqual(folder.read("IPList.Txt"), LIST)
        self.assertEqual(os.stat(folder.file("IPList.Txt")).st_mtime_ns, stamp)

    def test_without_a_list_file_the_list_is_empty_and_no_file_appears(self):
        folder = self.folder()
        program = self.start_ready(folder)
        self.assertEqual(program.entries(), [])
        self.assertFalse(program.enabled("Delete Selected Address(es)"))
        self.assertFalse(program.enabled("Apply"))
        program.post_click("OK")
        self.assertEqual(program.wait_exit(), 0)
        self.assertFalse(folder.exists("IPList.Txt"))

    def test_window_layout(self):
        program = self.start_ready(self.folder(address_list=LIST))
        window = program.window_info()
        left, top = window["rect"][0], window["rect"][1]
        expected = {  # text: (left, top, width, height) in the client area
            "Add Address to List": (177, 144, 190, 25),
            "Delete Selected Address(es)": (524, 144, 216, 25),
            "OK": (6, 336, 75, 25),
            "Cancel": (100, 336, 75, 25),
            "Apply": (199, 336, 75, 25),
        }
        client = program.control(cls="SysIPAddress32")["rect"]
        origin = (client[0] - 6, client[1] - 144)  # the address control sits at (6, 144)
        for text, (x, y, w, h) in expected.items():
            rect = program.control(text=text)["rect"]
            self.assertEqual((rect[0] - origin[0], rect[1] - origin[1], rect[2] - rect[0], rect[3] - rect[1]), (x, y, w, h), text)
        rect = program.control(cls="ListBox")["rect"]
        self.assertEqual((rect[0] - origin[0], rect[1] - origin[1], rect[2] - rect[0], rect[3] - rect[1]), (382, 144, 126, 221))
        self.assertGreaterEqual(origin[0], left)
        self.assertGreaterEqual(origin[1], top)
        # Tab goes through the controls in the order their windows stand.
        order = [(c["class"], c["text"]) for c in program.children() if c["class"] != "Static"]
        self.assertEqual(order, [("Button", "Add Address to List"), ("ListBox", ""),
                                 ("Button", "Delete Selected Address(es)"), ("Edit", order[3][1]), ("Button", "OK"),
                                 ("Button", "Cancel"), ("Button", "Apply"), ("SysIPAddress32", "0.0.0.0")])


if __name__ == "__main__":
    unittest.main()
