"""A translator's day with real keys: the first start without a host module, translating a new
document, its signature, saving, Find and Find Next, the unsaved-changes question before Open,
a file the reader must convert and keep, Save as, a template over an existing file, a dropped
file, a second start from another folder handing its file over, a killed program's work
restored, Exit with unsaved changes and the About box of the command line. After each step the
files on disk (golden bytes) and the window title are checked."""
import glob
import os
import unittest

from parlevo_e2e import ParlevoTestCase, ROOT, read, to_windows_path, wait_for

APP = "Lumivex Parlevo"
TEMPLATE = read(os.path.join(os.path.dirname(__file__), "data", "template.lng"))
SIGNED = b"; Language: Deutsch\r\n; Author: Tester\r\n; Version: 1.0\r\n"
DAY = (b'1="Lumivex"\r\n2="Lumivex \\"Bildbetrachter\\""\r\n3="Bereit\\nWarten"\r\n'
       b'4="%s wird geladen..."\r\n5="%s wird gespeichert..."\r\n')
FOUND = DAY.replace(b"wird", b"wird jetzt")
# UTF-8 with translations out of order, two for strings the module lacks and one whose ID is
# too wide: converted, sorted and kept; the wide one is dropped.
OTHER = ('\ufeff; Language: Deutsch\r\n\r\n64000="neu"\r\n4294967299="weg"\r\n7="Grüße"\r\n'
         '3="Bereit"\r\n').encode("utf-8")
OTHER_SAVED = ('; Language: Deutsch\r\n\r\n1="Lumivex DE"\r\n3="Bereit"\r\n7="Grüße"\r\n'
               '64000="neu"\r\n').encode("cp1252")


def title_of(name, modified=False):
    return "%s - [%s%s]" % (APP, name, "*" if modified else "")


class TranslatorsDay(ParlevoTestCase):
    def setUp(self):
        self.p = self.make(ini=None)  # the module lies beside the exe; nothing names it yet
        # Work that other runs left in the shared prefix would be offered first.
        for journal in glob.glob(os.path.join(ROOT, "build", "wineprefix-*", "drive_c", "users", "*", "AppData",
                                              "Local", "Parlevo", "Recovery", "*")):
            os.remove(journal)

    def answer(self, title, key):
        """Answers the message box with this title by a key, e.g. y, n or Escape."""
        box = self.p.wait_titled(title)
        self.p.key(box, key)
        self.p.wait_gone(box)

    def file_dialog(self, title, path):
        """Types a full path into the open or save dialog and confirms it."""
        box = self.p.wait_titled(title)
        self.p.type(box, to_windows_path(path))
        self.p.key(box, "Return")
        self.p.wait_gone(box)

    def translate_next(self, texts, stop=True):
        """Ctrl+U, then types each text into the Translate dialog that opens for it; with stop,
        cancels the dialog that follows. A list is typed line by line with Insert Enter."""
        self.p.key(self.win, "ctrl+u")
        self.translate(texts, stop)

    def translate(self, texts, stop=False):
        seen = []
        for text in texts + ([None] if stop else []):
            box = self.p.wait_titled("Translate", exclude=seen)
            seen.append(box)
            if text is None:
                self.p.key(box, "Escape")
                break
            lines = text if isinstance(text, list) else [text]
            self.p.type(box, lines[0])
            for line in lines[1:]:
                # Insert Enter takes the focus; back in the field, the caret goes to the end.
                self.p.key(box, "alt+e", "shift+Tab", "shift+Tab", "ctrl+End")
                self.p.type(box, line)
            self.p.key(box, "Return")
        self.p.wait_gone(seen[-1])

    def title(self, name, modified=False):
        self.p.wait_title(self.win, title_of(name, modified))

    def saved(self, path, expected):
        """Waits for the file to hold expected (a save replaces it by renames) and says so."""
        wait_for(lambda: "%s to hold %r, not %r" % (path, expected, os.path.exists(path) and read(path)),
                 lambda: os.path.exists(path) and read(path) == expected)

    def test_a_translators_day(self):
        self.proc = self.p.start()
        self.first_start_sets_the_module()
        self.translate_sign_and_save()
        self.find_and_translate_the_matches()
        self.questions_before_open()
        self.save_as_and_template()
        self.drop_a_file()
        self.second_start_hands_over()
        self.work_survives_a_kill_and_exit_saves()
        self.about_alone()

    def first_start_sets_the_module(self):
        p = self.p
        self.answer("Parlevo", "Return")  # the missing-module notice
        sheet = p.wait_titled("Properties for Parlevo")
        p.key(sheet, "alt+b")  # Browse
        module = p.path("Lumivex.dll")
        self.file_dialog("Open", module)
        p.key(sheet, "Tab", "Return")  # from Browse to OK
        p.wait_gone(sheet)
        self.assertIn(("Filename=%s\r\n" % to_windows_path(module)).encode(), read(p.path("Parlvo.ini")))
        # The open that found no module did not happen; New works now.
        self.win = p.wait_titled(APP)
        p.key(self.win, "ctrl+n")
        self.title("New")

    def translate_sign_and_save(self):
        p = self.p
        self.translate_next(["Lumivex", 'Lumivex "Bildbetrachter"', ["Bereit", "Warten"], "%s wird geladen...",
                             "%s wird gespeichert..."])
        self.title("New", modified=True)
        p.key(self.win, "alt+t", "s")
        box = p.wait_titled("Signature")
        p.type(box, "Language: Deutsch")
        for line in ("Author: Tester", "Version: 1.0"):
            p.key(box, "Return")  # the field takes Enter as a line break
            p.type(box, line)
        p.key(box, "Tab", "Return")  # to OK, and press it
        p.wait_gone(box)
        # New is not file-backed: Save asks for the name.
        self.day = p.path("day.lng")
        p.key(self.win, "ctrl+s")
        self.file_dialog("Save As", self.day)
        self.title("day.lng")
        self.saved(self.day, SIGNED + DAY)

    def find_and_translate_the_matches(self):
        p = self.p
        p.key(self.win, "ctrl+f")
        find = p.wait_titled("Find")
        p.type(find, "WIRD")
        # The search starts below the selected row, the first: the match is row 4. The dialog
        # stays, the found row is selected and Enter translates it.
        p.key(find, "Return", "Escape")
        p.wait_gone(find)
        p.key(self.win, "Return")
        self.translate(["%s wird jetzt geladen..."])
        self.title("day.lng", modified=True)
        # Find Next repeats the search, downward, after the dialog has gone.
        p.key(self.win, "F3", "Return")
        self.translate(["%s wird jetzt gespeichert..."])
        # The last match: no wrap-around, the platform's error box says so.
        p.key(self.win, "F3")
        self.answer("Error", "Return")
        # The document is file-backed: Save writes it at once, after the overwrite question.
        p.key(self.win, "ctrl+s")
        self.answer("Attention!", "y")
        self.title("day.lng")
        self.saved(self.day, SIGNED + FOUND)

    def questions_before_open(self):
        p = self.p
        self.translate_next(["Unbenannt"])  # row 6, the first untranslated one
        self.title("day.lng", modified=True)
        # Cancel: nothing happens, no open dialog.
        p.key(self.win, "ctrl+o")
        self.answer("Parlevo", "Escape")
        p.key(self.win, "ctrl+f")  # the window takes keys again; nothing else is open
        find = p.wait_titled("Find")
        self.assertEqual(sorted(p.windows().values()), ["Find", title_of("day.lng", True)])
        p.key(find, "Escape")
        p.wait_gone(find)
        # No: the change is dropped and the other file opens, with its notices.
        other = p.path("other.lng")
        with open(other, "wb") as f:
            f.write(OTHER)
        p.key(self.win, "ctrl+o")
        self.answer("Parlevo", "n")
        self.file_dialog("Open", other)
        self.answer("Parlevo", "Return")  # converted from UTF-8
        self.answer("Parlevo", "Return")  # two translations kept
        self.title("other.lng")
        self.assertEqual(read(self.day), SIGNED + FOUND)
        # Yes: the change is saved (over the existing file, so that is asked too), then Open.
        self.translate_next(["Lumivex DE"])  # ID 1, the first untranslated one there
        self.title("other.lng", modified=True)
        p.key(self.win, "ctrl+o")
        self.answer("Parlevo", "y")
        self.answer("Attention!", "y")
        self.saved(other, OTHER_SAVED)
        self.file_dialog("Open", self.day)
        self.title("day.lng")

    def save_as_and_template(self):
        p = self.p
        self.translate_next(["Unbenannt"])
        self.title("day.lng", modified=True)
        p.key(self.win, "alt+f", "a")
        self.second = p.path("day-2.lng")
        self.file_dialog("Save As", self.second)
        self.title("day-2.lng")
        # Read back, the signature keeps the line end of its last line: a blank line follows.
        self.saved(self.second, SIGNED + b"\r\n" + FOUND + b'6="Unbenannt"\r\n')
        self.assertEqual(read(self.day), SIGNED + FOUND)
        # The template replaces a longer file without a question: every source text under the
        # default signature.
        self.template = p.path("template.lng")
        with open(self.template, "wb") as f:
            f.write(TEMPLATE + TEMPLATE)
        p.key(self.win, "alt+f", "t")
        self.file_dialog("Save As", self.template)
        self.title("template.lng")
        self.saved(self.template, TEMPLATE)

    def drop_a_file(self):
        p = self.p
        self.translate_next(["%d von %d"])  # ID 8: the template holds no translations
        self.title("template.lng", modified=True)
        hook = to_windows_path(os.environ["PARLEVO_DROPHOOK"])
        request = "%s|%s" % (title_of("template.lng", True), to_windows_path(self.second))
        dropping = p.start(hook + ",Drop", request, program="rundll32")
        self.answer("Parlevo", "n")
        self.assertEqual(p.wait_exit(dropping), 0)
        self.title("day-2.lng")
        self.assertEqual(read(self.template), TEMPLATE)
        # The list holds the dropped file: saved under a new name, it gives its bytes back.
        p.key(self.win, "alt+f", "a")
        copy = p.path("dropped.lng")
        self.file_dialog("Save As", copy)
        self.title("dropped.lng")
        self.saved(copy, read(self.second))

    def second_start_hands_over(self):
        p = self.p
        with open(p.path("Parlvo.ini"), "a", newline="\r\n") as f:
            f.write("[Option]\nOnlyOneInstance=1\n")
        # Started from another folder with a name relative to it: the running instance, whose
        # current folder is another one, must still open this very file.
        elsewhere = p.path("elsewhere")
        os.makedirs(elsewhere)
        self.assertEqual(p.wait_exit(p.start("..\\day.lng", cwd=elsewhere)), 0)
        self.title("day.lng")
        self.assertEqual(list(p.windows().values()), [title_of("day.lng")])

    def work_survives_a_kill_and_exit_saves(self):
        p = self.p
        self.translate_next(['"Unbenannt" & mehr'])
        self.title("day.lng", modified=True)
        self.proc.kill()  # SIGKILL of the Wine process itself: no code of the program runs
        self.proc.wait()
        self.proc = p.start()
        self.answer("Parlevo", "y")  # restore the unsaved translation
        self.win = p.wait_titled(title_of("day.lng", True))
        p.key(self.win, "alt+F4")
        self.answer("Parlevo", "y")
        self.answer("Attention!", "y")
        self.assertEqual(p.wait_exit(self.proc), 0)
        self.assertEqual(read(self.day), SIGNED + b"\r\n" + FOUND + b'6="\\"Unbenannt\\" & mehr"\r\n')
        # No setting but the position is ever written at exit, and that one is off by default.
        self.assertNotIn(b"Position", read(p.path("Parlvo.ini")))

    def about_alone(self):
        p = self.p
        proc = p.start("-about")
        box = p.wait_titled("Parlevo")
        self.assertEqual(list(p.windows().values()), ["Parlevo"])  # no document window behind it
        p.key(box, "Return")
        self.assertEqual(p.wait_exit(proc), 0)


if __name__ == "__main__":
    unittest.main(verbosity=2)
