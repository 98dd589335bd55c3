"""With no host module configured, the program says so at start-up and opens the preferences
at the Module page alone; a path entered there is saved and enables New at once."""
import os
import time
import unittest

from parlevo_e2e import ParlevoTestCase


class ModuleNotice(ParlevoTestCase):
    def test_notice_then_the_module_page_alone_then_new_works(self):
        # The module lies beside the exe, but the settings do not name it.
        p = self.make(ini=None)
        proc = p.start()
        box = p.wait_window(name="^Parlevo$")
        time.sleep(0.3)
        p.key(box, "Return")
        sheet = p.wait_window(name="Properties")
        time.sleep(0.5)
        # The Module page is the sheet's only page; its path field has the focus.
        p.type(sheet, "Lumivex.dll")
        p.key(sheet, "Return")
        # OK applies the page: the path is saved as typed.
        end = time.time() + 10
        saved = ""
        while "Filename=Lumivex.dll" not in saved and time.time() < end:
            time.sleep(0.1)
            if os.path.exists(p.path("Parlvo.ini")):
                with open(p.path("Parlvo.ini"), newline="") as f:
                    saved = f.read()
        self.assertIn("Filename=Lumivex.dll", saved)
        win = p.wait_window(name="^Lumivex Parlevo$")
        p.wait_title(win, "Lumivex Parlevo")
        # The open that found no module did not happen; New is enabled now and works.
        p.key(win, "ctrl+n")
        p.wait_title(win, "Lumivex Parlevo - [New]")
        p.close(win)
        self.assertEqual(p.wait_exit(proc), 0)


if __name__ == "__main__":
    unittest.main(verbosity=2)
