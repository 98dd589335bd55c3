"""Files that used to lose translations on the next ordinary Ctrl+S: each is opened, its notice
answered, saved with Ctrl+S, and the bytes on disk are checked."""
import os
import time
import unittest

from parlevo_e2e import ParlevoTestCase, to_windows_path

MODULE_INI = "[Module]\nFilename=Lumivex.dll\n[Option]\nAskToOverwrite=0\n"
OLD_TIME = 946684800  # 2000-01-01: a save gives the file a later time

# name, bytes opened, notices shown on opening, bytes on disk after Ctrl+S
CASES = [
    ("utf8.lng", b"\xef\xbb\xbf; Language: Deutsch\r\n\r\n3=\"Gr\xc3\xbc\xc3\x9fe\"\r\n", 1,
     b"; Language: Deutsch\r\n\r\n3=\"Gr\xfc\xdfe\"\r\n"),
    ("kept.lng", b"64000=\"neu\"\r\n7=\"alt\"\r\n3=\"Bereit\"\r\n", 1,
     b"3=\"Bereit\"\r\n7=\"alt\"\r\n64000=\"neu\"\r\n"),
    ("wide.lng", b"4294967299=\"weg\"\r\n3=\"Bereit\"\r\n", 0, b"3=\"Bereit\"\r\n"),
    ("header.lng", b"; Author: Anna\r\n\r\n", 0, b"; Author: Anna\r\n\r\n"),
]


def wait_until(condition, timeout=15.0):
    end = time.time() + timeout
    while time.time() < end:
        if condition():
            return True
        time.sleep(0.05)
    return False


def saved_since(path, when):
    # Under Wine the replace of the file is two renames: between them the name is briefly
    # missing, which is "not saved yet" here.
    try:
        return os.path.getmtime(path) > when
    except FileNotFoundError:
        return False


class OpenSave(ParlevoTestCase):
    def test_ctrl_s_after_opening_keeps_what_the_file_held(self):
        for name, before, notices, after in CASES:
            with self.subTest(name):
                p = self.make(MODULE_INI)
                path = p.path(name)
                with open(path, "wb") as f:
                    f.write(before)
                os.utime(path, (OLD_TIME, OLD_TIME))
                proc = p.start(to_windows_path(path))
                seen = []
                for _ in range(notices):
                    box = p.wait_titled("Parlevo", timeout=60, exclude=seen)
                    seen.append(box)
                    p.key(box, "Return")
                    p.wait_gone(box)
                win = p.wait_titled("Lumivex Parlevo - [%s]" % name, timeout=60)
                p.key(win, "ctrl+s")
                self.assertTrue(wait_until(lambda: saved_since(path, OLD_TIME)), name)
                with open(path, "rb") as f:
                    self.assertEqual(f.read(), after)
                p.close(win)
                self.assertEqual(p.wait_exit(proc), 0)


if __name__ == "__main__":
    unittest.main()
