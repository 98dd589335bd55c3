"""Work survives a kill: twenty translations typed, the Wine process of Parlevo killed with
SIGKILL, and the next start offers them back; Yes restores every one, byte for byte."""
import os
import time
import unittest

from parlevo_e2e import ParlevoTestCase, to_windows_path

APP = "Lumivex Parlevo"
TEXTS = ["Zeile %02d: \"Text\" & mehr, 100%%!" % i for i in range(20)]


class Recovery(ParlevoTestCase):
    def start(self, *args):
        proc = self.p.start(*args)
        return proc, self.p.wait_titled("%s - [de.lng]" % APP, timeout=30.0, proc=proc)

    def answer(self, key, proc, timeout=10.0):
        box = self.p.wait_titled("Parlevo", timeout=timeout, proc=proc)
        time.sleep(0.2)  # a box takes keys once it has drawn its buttons
        self.p.key(box, key)
        self.p.wait_gone(box)

    def discard_earlier_work(self, proc):
        """Work other runs left behind is given up for good, so that only ours is offered."""
        while True:
            try:
                self.answer("n", proc, timeout=3.0)
            except AssertionError:
                return
            self.answer("y", proc)

    def translate(self, win):
        self.p.key(win, "ctrl+u")
        seen = []
        for text in TEXTS:
            box = self.p.wait_titled("Translate", exclude=seen)
            seen.append(box)
            self.p.type(box, text)
            self.p.key(box, "Return")
        # The dialog of the 21st row opens only once the 20th change is done.
        box = self.p.wait_titled("Translate", exclude=seen)
        self.p.key(box, "Escape")
        self.p.wait_gone(box)

    def test_a_kill_loses_no_translation(self):
        self.p = self.make("[Module]\nFilename=Lumivex.dll\n[Option]\nAskToOverwrite=0\nAskToFillRepeated=0\n")
        lng = self.p.path("de.lng")
        open(lng, "wb").close()
        proc, win = self.start(to_windows_path(lng))
        self.discard_earlier_work(proc)
        self.translate(win)
        self.p.wait_title(win, "%s - [de.lng*]" % APP)
        proc.kill()  # SIGKILL of the Wine process itself: no code of the program runs
        proc.wait()

        proc = self.p.start()
        self.answer("y", proc, timeout=30.0)
        win = self.p.wait_titled("%s - [de.lng*]" % APP, proc=proc)
        self.p.key(win, "ctrl+s")
        self.p.wait_title(win, "%s - [de.lng]" % APP)
        with open(lng, "rb") as f:
            lines = f.read().split(b"\r\n")
        self.assertEqual(lines[-1], b"")
        texts = [line.split(b"=", 1)[1] for line in lines[:-1]]
        expected = [('"%s"' % t.replace('"', '\\"')).encode("cp1252") for t in TEXTS]
        self.assertEqual(texts, expected)
        self.p.close(win)
        self.assertEqual(self.p.wait_exit(proc), 0)


if __name__ == "__main__":
    unittest.main(verbosity=2)
