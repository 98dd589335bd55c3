"""A translator's day with real keys, from the first start without a host module to Exit with unsaved changes."""
import glob
import os
import unittest
from pathlib import Path

from parlevo_e2e import ROOT, TEMPLATE, Parlevo, key, read, to_windows_path, wait_for, xdotool

APP = "Lumivex Parlevo"
SIGNED = b"; Language: Deutsch\r\n; Author: Tester\r\n; Version: 1.0\r\n"
DAY = (b'1="Lumivex"\r\n2="Lumivex \\"Bildbetrachter\\""\r\n3="Bereit\\nWarten"\r\n'
       b'4="%s wird geladen..."\r\n5="%s wird gespeichert..."\r\n')
FOUND = DAY.replace(b"wird", b"wird jetzt")


def title_of(name, modified=False):
    return "%s - [%s%s]" % (APP, name, "*" if modified else "")


class TranslatorsDay(unittest.TestCase):
    def dialog(self, title, *keys, text=None, exclude=()):
        """Waits for the window with this title, types text, presses the keys, waits for it to go."""
        box = self.p.wait_titled(title, exclude)
        if text:
            key(box, text=text)
        key(box, *keys)
        wait_for(lambda: "%r to go" % title, lambda: box not in self.p.windows())
        return box

    def title(self, name, modified=False):
        wait_for(lambda: "title %r, not %r" % (title_of(name, modified), xdotool("getwindowname", self.win)),
                 lambda: xdotool("getwindowname", self.win) == title_of(name, modified))

    def save_as(self, keys, name):
        key(self.win, *keys)
        self.dialog("Save As", "Return", text=to_windows_path(self.p.path(name)))
        self.title(name)
        return self.p.path(name)

    def translate_next(self, texts, doc):
        """Ctrl+U and a Translate dialog for each text (a list: lines joined by Insert Enter), then Cancel."""
        key(self.win, "ctrl+u")
        self.dialog("Translate", "Escape", exclude=self.translate(texts))
        self.title(doc, modified=True)

    def translate(self, texts):
        seen = []
        for text in texts:
            lines = text if isinstance(text, list) else [text]
            box = self.p.wait_titled("Translate", seen)
            key(box, text=lines[0])
            for line in lines[1:]:
                # Insert Enter takes the focus; back in the field, the caret goes to the end.
                key(box, "alt+e", "shift+Tab", "shift+Tab", "ctrl+End")
                key(box, text=line)
            seen.append(self.dialog("Translate", "Return", exclude=seen))
        return seen

    def saved(self, path, expected):  # a save replaces the file by renames
        wait_for(lambda: "%s to hold %r, not %r" % (path, expected, os.path.exists(path) and read(path)),
                 lambda: os.path.exists(path) and read(path) == expected)

    def test_a_translators_day(self):
        p = self.p = Parlevo(self)  # the module lies beside the exe; no settings name it yet
        # Work that other runs left in the shared prefix would be offered first.
        for journal in glob.glob(os.path.join(ROOT, "build", "wineprefix-*", "drive_c", "users", "*", "AppData",
                                              "Local", "Parlevo", "Recovery", "*")):
            os.remove(journal)
        proc = p.start()
        self.dialog("Parlevo", "Return")  # the missing-module notice
        key(p.wait_titled("Properties for Parlevo"), "alt+b")  # Browse
        module = to_windows_path(p.path("Lumivex.dll"))
        self.dialog("Open", "Return", text=module)
        self.dialog("Properties for Parlevo", "Tab", "Return")  # from Browse to OK
        self.assertIn(("Filename=%s\r\n" % module).encode(), read(p.path("Parlvo.ini")))
        # The open that found no module did not happen; New works now.
        self.win = p.wait_titled(APP)
        key(self.win, "ctrl+n")
        self.title("New")

        self.translate_next(["Lumivex", 'Lumivex "Bildbetrachter"', ["Bereit", "Warten"], "%s wird geladen...",
                             "%s wird gespeichert..."], "New")
        key(self.win, "alt+t", "s")
        # The field takes Enter as a line break; Tab goes to OK.
        self.dialog("Signature", "Tab", "Return", text="Language: Deutsch\nAuthor: Tester\nVersion: 1.0")
        day = self.save_as(["ctrl+s"], "day.lng")  # New is not file-backed: Save asks for the name
        self.saved(day, SIGNED + DAY)

        # From below the selected first row: the match is row 4, selected; Enter translates it.
        key(self.win, "ctrl+f")
        self.dialog("Find", "Return", "Escape", text="WIRD")
        key(self.win, "Return")
        self.translate(["%s wird jetzt geladen..."])
        # Find Next repeats the search, downward, after the dialog has gone.
        key(self.win, "F3", "Return")
        self.translate(["%s wird jetzt gespeichert..."])
        # The document is file-backed: Save writes it at once, after the overwrite question.
        key(self.win, "ctrl+s")
        self.dialog("Attention!", "y")
        self.title("day.lng")
        self.saved(day, SIGNED + FOUND)

        self.translate_next(["Unbenannt"], "day.lng")
        self.saved(self.save_as(["alt+f", "a"], "day-2.lng"), SIGNED + FOUND + b'6="Unbenannt"\r\n')
        self.assertEqual(read(day), SIGNED + FOUND)
        # Every source text under the default signature, over a longer file without a question.
        Path(p.path("template.lng")).write_bytes(TEMPLATE + TEMPLATE)
        self.saved(self.save_as(["alt+f", "t"], "template.lng"), TEMPLATE)

        # A second start hands its file over; a name relative to another folder must still name this file.
        with open(p.path("Parlvo.ini"), "a", newline="\r\n") as f:
            f.write("[Option]\nOnlyOneInstance=1\n")
        os.makedirs(p.path("elsewhere"))
        self.assertEqual(p.start("..\\day.lng", cwd=p.path("elsewhere")).wait(60), 0)
        self.title("day.lng")
        self.assertEqual(list(p.windows().values()), [title_of("day.lng")])
        # The file itself, not an empty document of that name: Save asks to overwrite it.
        key(self.win, "ctrl+s")
        self.dialog("Attention!", "y")

        self.translate_next(['"Unbenannt" & mehr'], "day.lng")
        proc.kill()  # SIGKILL of the Wine process itself: no code of the program runs
        proc.wait()
        proc = p.start()
        self.dialog("Parlevo", "y")  # restore the unsaved translation
        self.win = p.wait_titled(title_of("day.lng", True))
        key(self.win, "alt+F4")
        self.dialog("Parlevo", "y")
        self.dialog("Attention!", "y")
        self.assertEqual(proc.wait(60), 0)
        # Read back, the signature keeps the line end of its last line: a blank line follows.
        self.assertEqual(read(day), SIGNED + b"\r\n" + FOUND + b'6="\\"Unbenannt\\" & mehr"\r\n')
        # No setting but the position is ever written at exit, and that one is off by default.
        self.assertNotIn(b"Position", read(p.path("Parlvo.ini")))


if __name__ == "__main__":
    unittest.main(verbosity=2)
