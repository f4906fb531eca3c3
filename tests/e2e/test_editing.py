"""Editing the list as a user does: typing into the address control, clicking, answering the
message boxes, pressing Enter and Escape, and what reaches IPList.Txt after each step."""
import os
import unittest

from harness import COMPONENTS, ProgramTest

DELETE = "Delete Selected Address(es)"
DELETE_QUESTION = "Are you sure you want to delete the selected address(es) from the list?"
CANCEL_QUESTION = "Changes made to the I.P. address list have not been saved.  Are you sure you want to cancel?"


class EditingTest(ProgramTest):
    def add(self, program, *octets):
        program.type_address(*octets)
        program.click("Add Address to List")

    def test_typed_addresses_go_in_natural_order_and_apply_saves_them(self):
        folder = self.folder(address_list=b"")
        program = self.start_ready(folder)
        self.add(program, 10, 0, 0, 10)
        self.assertSoon(program.entries, ["10.0.0.10"])
        self.add(program, 10, 0, 0, 2)
        self.assertSoon(program.entries, ["10.0.0.2", "10.0.0.10"])
        self.assertEqual(program.selected(), [0])
        self.add(program, 9, 1, 1, 1)
        self.assertSoon(program.entries, ["9.1.1.1", "10.0.0.2", "10.0.0.10"])
        self.assertEqual(program.selected(), [0])
        self.assertSoon(lambda: program.focus()["class"], "ListBox")
        self.assertTrue(program.enabled("Apply"))
        self.assertTrue(program.enabled(DELETE))
        self.assertEqual(folder.read("IPList.Txt"), b"")
        program.click("Apply")
        self.assertSoon(lambda: program.enabled("Apply"), False)
        self.assertEqual(folder.read("IPList.Txt"), b"9.1.1.1\r\n10.0.0.2\r\n10.0.0.10\r\n")
        program.close_box()
        program.wait_exit()

    def test_refusals_show_the_programs_own_messages(self):
        folder = self.folder(address_list=b"10.0.0.1\r\n")
        program = self.start_ready(folder)
        self.add(program, 0, 0, 0, 0)
        box = program.message_box()
        self.assertEqual(box["text"], "The I.P. address is all zeros.  Please specify a valid address.")
        self.assertEqual(box["kind"], "error")
        self.assertEqual(box["caption"], "Iplist")
        self.assertEqual([b["text"] for b in box["buttons"]], ["OK"])
        program.answer(box, "OK")
        self.add(program, 10, 0, 0, 1)
        box = program.message_box()
        self.assertEqual(box["text"], "That address already exists in the list.")
        program.answer(box, "OK")
        self.assertSoon(lambda: program.focus()["class"], "ListBox")  # the end of the refused Add
        self.assertEqual(program.entries(), ["10.0.0.1"])
        self.assertFalse(program.enabled("Apply"))

    def test_delete_asks_and_removes_the_selected_entries(self):
        folder = self.folder(address_list=b"1.1.1.1\r\n2.2.2.2\r\n3.3.3.3\r\n")
        program = self.start_ready(folder)
        program.select(0, 2)
        program.click(DELETE)
        box = program.message_box()
        self.assertEqual(box["text"], DELETE_QUESTION)
        self.assertEqual(box["kind"], "confirmation")
        self.assertEqual(sorted(b["text"].replace("&", "") for b in box["buttons"]), ["No", "Yes"])
        program.answer(box, "No")
        self.assertEqual(len(program.entries()), 3)
        self.assertFalse(program.enabled("Apply"))
        program.click(DELETE)
        program.answer(program.message_box(), "Yes")
        self.assertSoon(program.entries, ["2.2.2.2"])
        self.assertSoon(lambda: program.enabled("Apply"), True)
        self.assertEqual(program.selected(), [0])
        program.select(0)
        program.click(DELETE)
        program.answer(program.message_box(), "Yes")
        self.assertSoon(program.entries, [])
        self.assertSoon(lambda: program.enabled(DELETE), False)
        self.assertEqual(folder.read("IPList.Txt"), b"1.1.1.1\r\n2.2.2.2\r\n3.3.3.3\r\n")

    def test_enter_presses_ok_which_saves_and_closes(self):
        folder = self.folder(address_list=b"1.1.1.1\r\n")
        program = self.start_ready(folder)
        self.add(program, 2, 2, 2, 2)
        self.assertSoon(program.entries, ["1.1.1.1", "2.2.2.2"])
        program.click("Server I.P. Address List:")  # a label: the focus stays in the list box
        program.key("Return")
        self.assertEqual(program.wait_exit(), 0)
        self.assertEqual(folder.read("IPList.Txt"), b"1.1.1.1\r\n2.2.2.2\r\n")

    def test_escape_presses_delete_while_enabled_then_cancel(self):
        folder = self.folder(address_list=b"1.1.1.1\r\n")
        program = self.start_ready(folder)
        program.key("Escape")
        box = program.message_box()
        self.assertEqual(box["text"], DELETE_QUESTION)
        program.answer(box, "Yes")
        self.assertSoon(lambda: program.enabled(DELETE), False)
        program.key("Escape")
        box = program.message_box()
        self.assertEqual(box["text"], CANCEL_QUESTION)
        program.answer(box, "No")
        self.assertTrue(program.running())
        program.click("Cancel")
        program.answer(program.message_box(), "Yes")
        self.assertEqual(program.wait_exit(), 0)
        self.assertEqual(folder.read("IPList.Txt"), b"1.1.1.1\r\n")

    def test_the_close_box_neither_asks_nor_saves(self):
        folder = self.folder(address_list=b"1.1.1.1\r\n")
        program = self.start_ready(folder)
        self.add(program, 3, 3, 3, 3)
        self.assertSoon(program.entries, ["1.1.1.1", "3.3.3.3"])
        program.close_box()
        self.assertEqual(program.wait_exit(), 0)
        self.assertEqual(folder.read("IPList.Txt"), b"1.1.1.1\r\n")

    def test_a_list_that_could_not_be_read_is_never_saved(self):
        original = b"1.1.1.1\r\n2.2.2.2\r\n"
        folder = self.folder(address_list=original)
        self.assertEqual(self.driver("hold", folder.windows_path("IPList.Txt")), {"ok": True})
        program = self.start(folder)
        box = program.message_box(timeout=40000)  # after about 17 seconds of retries
        self.assertTrue(box["text"].startswith("The following file could not be opened with Reset: \r\n" +
                                               folder.windows_path("IPList.Txt")), box["text"])
        self.assertEqual(box["kind"], "error")
        program.answer(box, "OK")
        self.driver("release")
        self.assertSoon(lambda: program.enabled(DELETE), False)
        self.assertEqual(program.entries(), [])
        self.assertFalse(program.enabled("Apply"))
        self.add(program, 4, 4, 4, 4)
        self.assertSoon(program.entries, ["4.4.4.4"])
        self.assertFalse(program.enabled("Apply"))
        self.assertFalse(program.enabled(DELETE))
        program.click("OK")
        box = program.message_box()
        self.assertIn("so it is not saved", box["text"])
        program.answer(box, "OK")
        self.assertTrue(program.running())
        program.key("Escape")
        box = program.message_box()
        self.assertEqual(box["text"], CANCEL_QUESTION)
        program.answer(box, "Yes")
        self.assertEqual(program.wait_exit(), 0)
        self.assertEqual(folder.read("IPList.Txt"), original)

    def test_a_failed_save_keeps_every_entry_and_the_old_file(self):
        folder = self.folder(address_list=b"1.1.1.1\r\n")
        program = self.start_ready(folder)
        self.add(program, 5, 5, 5, 5)
        self.assertSoon(program.entries, ["1.1.1.1", "5.5.5.5"])
        # Another program reading the list: the list reads, but cannot be replaced while it is open.
        self.assertEqual(self.driver("hold-reading", folder.windows_path("IPList.Txt")), {"ok": True})
        program.click("Apply")
        box = program.message_box(timeout=70000)  # the replacement retries for about 40 seconds
        self.assertTrue(box["text"].startswith("Could not delete the file " + folder.windows_path("IPList.Txt") +
                                               ", and it has been verified that it does still exist.\r\n\r\n"),
                        box["text"])
        program.answer(box, "OK")
        self.driver("release")
        self.assertSoon(lambda: program.enabled("Apply"), True)
        self.assertEqual(program.entries(), ["1.1.1.1", "5.5.5.5"])
        self.assertTrue(program.enabled(DELETE))
        self.assertEqual(folder.read("IPList.Txt"), b"1.1.1.1\r\n")
        self.assertEqual(sorted(os.listdir(folder.path)), sorted({name.split(os.sep)[0] for name in COMPONENTS} | {"IPList.Txt"}))
        program.click("Apply")
        self.assertSoon(lambda: program.enabled("Apply"), False)
        self.assertEqual(folder.read("IPList.Txt"), b"1.1.1.1\r\n5.5.5.5\r\n")


if __name__ == "__main__":
    unittest.main()
