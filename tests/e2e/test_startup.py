"""The real program starts, shows its window, hands a second start over, and ends with 0."""
import os
import shutil
import subprocess
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

    def test_modules_of_system_names_beside_it_are_not_taken(self):
        # The dialog and shell modules come from the system folder when first used, never
        # from the program's folder. (Wine takes its own copies in either case: the imports
        # show the difference.)
        imports = subprocess.run([os.environ["PARLEVO_OBJDUMP"], "-p", os.environ["PARLEVO_EXE"]],
                                 capture_output=True, text=True, check=True).stdout.lower()
        self.assertNotIn("dll name: comdlg32", imports)
        self.assertNotIn("dll name: shell32", imports)
        p = self.make("[Module]\nFilename=Lumivex.dll\n")
        foreign = os.path.join(os.path.dirname(os.environ["PARLEVO_DROPFILE"]), "drophook.dll")
        for name in ("comdlg32.dll", "shell32.dll"):
            shutil.copy(foreign, p.path(name))
        proc = p.start()
        win = p.wait_window()
        p.wait_title(win, "Lumivex Parlevo - [New]")
        for keys, title in (("ctrl+o", "Open"), ("ctrl+f", "Find")):
            p.key(win, keys)
            dialog = p.wait_titled(title)
            p.key(dialog, "Escape")
            p.wait_gone(dialog)
        p.close(win)
        self.assertEqual(p.wait_exit(proc), 0)


if __name__ == "__main__":
    unittest.main(verbosity=2)
