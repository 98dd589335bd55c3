"""The real program starts, shows its window, hands a second start over, and ends with 0."""
import os
import time
import unittest

from parlevo_e2e import ParlevoTestCase, to_windows_path


class Startup(ParlevoTestCase):
    def test_starts_with_a_new_document_and_exits_with_zero(self):
        p = self.make("[Module]\nFilename=Lumivex.dll\n")
        proc = p.start()
        win = p.wait_window()
        p.wait_title(win, "Lumivex Parlevo - [New]")
        if os.environ.get("PARLEVO_SCREENSHOT"):
            p.screenshot(os.environ["PARLEVO_SCREENSHOT"])
        p.close(win)
        self.assertEqual(p.wait_exit(proc), 0)
        # No setting but the position is ever written at exit, and that one is off by default.
        with open(p.path("Parlvo.ini"), newline="") as f:
            self.assertNotIn("Position", f.read())

    def test_second_start_hands_its_file_to_the_first(self):
        p = self.make("[Module]\nFilename=Lumivex.dll\n[Option]\nOnlyOneInstance=1\n")
        first = p.start()
        win = p.wait_window()
        p.wait_title(win, "Lumivex Parlevo - [New]")
        lng = p.path("de.lng")
        open(lng, "wb").close()
        second = p.start(to_windows_path(lng))
        self.assertEqual(p.wait_exit(second), 0)
        p.wait_title(win, "Lumivex Parlevo - [de.lng]")
        self.assertEqual(len(p.windows()), 1, "the second start must not open a window")
        self.assertIsNone(first.poll())

    def test_saves_its_position_when_asked(self):
        p = self.make("[Module]\nFilename=Lumivex.dll\n[Option]\nSavePosition=1\n")
        proc = p.start()
        win = p.wait_window()
        p.close(win)
        self.assertEqual(p.wait_exit(proc), 0)
        with open(p.path("Parlvo.ini"), newline="") as f:
            self.assertIn("Position=", f.read())


if __name__ == "__main__":
    unittest.main(verbosity=2)
