"""A translator's document work with real keys: a template and a Save as through the File menu
and the save dialog, and the About box of the command line."""
import os
import shutil
import time
import unittest

from parlevo_e2e import ParlevoTestCase, ROOT, to_windows_path
import rcstrings

MODULE_INI = "[Module]\nFilename=Lumivex.dll\n[Option]\nAskToOverwrite=0\n"


def wait_file(path, timeout=15.0):
    end = time.time() + timeout
    while time.time() < end:
        if os.path.exists(path) and os.path.getsize(path) > 0:
            time.sleep(0.3)
            return
        time.sleep(0.1)
    raise AssertionError("%s was not written" % path)


class Documents(ParlevoTestCase):
    def save_through_menu(self, p, win, letter, target):
        """File menu, the item with this mnemonic, then the save dialog takes the path."""
        p.key(win, "alt+f")
        time.sleep(0.3)
        p.key(win, letter)
        dialog = p.wait_window(name="Save")
        time.sleep(0.5)
        xdotool_type(p, dialog, to_windows_path(target))
        wait_file(target)

    def test_template_through_the_file_menu_is_byte_exact(self):
        p = self.make(MODULE_INI)
        proc = p.start()
        win = p.wait_window()
        p.wait_title(win, "Lumivex Parlevo - [New]")
        target = p.path("template.lng")
        self.save_through_menu(p, win, "t", target)
        strings = rcstrings.read_strings(os.path.join(ROOT, "samples", "host", "lumivex.rc"))
        with open(target, "rb") as f:
            self.assertEqual(f.read(), rcstrings.template_bytes(strings))
        p.wait_title(win, "Lumivex Parlevo - [template.lng]")
        p.close(win)
        self.assertEqual(p.wait_exit(proc), 0)

    def test_save_as_gives_back_the_file_it_opened(self):
        p = self.make(MODULE_INI)
        original = p.path("de.lng")
        shutil.copy(os.path.join(ROOT, "samples", "de.lng"), original)
        proc = p.start(to_windows_path(original))
        win = p.wait_window()
        p.wait_title(win, "Lumivex Parlevo - [de.lng]")
        target = p.path("copy.lng")
        self.save_through_menu(p, win, "a", target)
        with open(original, "rb") as f, open(target, "rb") as g:
            self.assertEqual(g.read(), f.read())
        p.wait_title(win, "Lumivex Parlevo - [copy.lng]")
        p.close(win)
        self.assertEqual(p.wait_exit(proc), 0)

    def test_about_alone_shows_the_box_and_ends_without_a_window(self):
        p = self.make(MODULE_INI)
        proc = p.start("-about")
        box = p.wait_window(name="^Parlevo$")
        # No document window was opened behind it.
        titles = [p.title(w) for w in p.windows()]
        self.assertEqual(titles, ["Parlevo"])
        p.key(box, "Return")
        self.assertEqual(p.wait_exit(proc), 0)


def xdotool_type(p, window, text):
    p.type(window, text)
    p.key(window, "Return")


if __name__ == "__main__":
    unittest.main(verbosity=2)
