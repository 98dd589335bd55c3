"""A translator's day with real keys and clicks: the first start without a host module,
translating a new document, its signature, saving, Find and Find Next, the unsaved-changes
question before Open, Save as, a template, a dropped file, a second start handing its file
over, and Exit with unsaved changes. After each step the files on disk and the window title
are checked; the expected file bytes are formed here from the language file rules."""
import os
import shutil
import time
import unittest

from parlevo_e2e import ParlevoTestCase, ROOT, to_windows_path
import rcstrings

APP = "Lumivex Parlevo"
SIGNATURE_LINES = ["Language: Deutsch", "Author: Tester", "Version: 1.0"]


def title_of(name, modified=False):
    return "%s - [%s%s]" % (APP, name, "*" if modified else "")


def escape(text):
    return text.replace("\t", "\\t").replace("\n", "\\n").replace('"', '\\"')


def header(signature):
    """The comment block a signature is written as: "; " before its first character and after
    every line feed that is not its last character, then CR LF."""
    if not signature:
        return ""
    out = "; "
    for i, c in enumerate(signature):
        out += c
        if c == "\n" and i + 1 < len(signature):
            out += "; "
    return out + "\r\n"


def lng_bytes(signature, records):
    """A language file: the signature's comment block, then one line per record in order."""
    text = header(signature) + "".join('%d="%s"\r\n' % (sid, escape(t)) for sid, t in records)
    return text.encode("cp1252")


def with_record(data, sid, text):
    """The bytes of a file written by the program, with one record added in ID order."""
    lines = data.split(b"\r\n")
    line = ('%d="%s"' % (sid, escape(text))).encode("cp1252")
    at = len(lines) - 1  # the file ends with a line end: the last piece is empty
    for i, existing in enumerate(lines):
        head = existing.split(b"=", 1)[0]
        if head.isdigit() and int(head) > sid:
            at = i
            break
    return b"\r\n".join(lines[:at] + [line] + lines[at:])


def read(path):
    with open(path, "rb") as f:
        return f.read()


def wait_bytes(path, predicate, timeout=10.0):
    """Waits until the file exists and its bytes satisfy predicate; returns them."""
    end = time.time() + timeout
    data = None
    while time.time() < end:
        if os.path.exists(path):
            data = read(path)
            if predicate(data):
                return data
        time.sleep(0.05)
    raise AssertionError("%s holds %r" % (path, data))


class TranslatorsDay(ParlevoTestCase):
    def setUp(self):
        self.p = self.make(ini=None)  # the module lies beside the exe; nothing names it yet
        self.dropfile = os.environ.get("PARLEVO_DROPFILE") or os.path.join(
            os.path.dirname(os.environ["PARLEVO_EXE"]), "tests", "dropfile.exe")
        self.shots = os.environ.get("PARLEVO_ACCEPTANCE_SHOTS")

    # Small steps a user takes, each waiting for what it leads to.

    def shot(self, name):
        if self.shots:
            self.p.screenshot(os.path.join(self.shots, "acceptance-%s.png" % name))

    def dialog(self, title, exclude=(), timeout=10.0):
        return self.p.wait_titled(title, exclude=exclude, timeout=timeout)

    def answer(self, title, key, timeout=10.0):
        """Answers the message box with this title by a key, e.g. y, n or Escape."""
        box = self.dialog(title, timeout=timeout)
        time.sleep(0.2)  # a box takes keys once it has drawn its buttons
        self.p.key(box, key)
        self.p.wait_gone(box)

    def menu(self, menu_letter, item_letter):
        self.p.key(self.win, "alt+" + menu_letter)
        time.sleep(0.3)
        self.p.key(self.win, item_letter)

    def file_dialog(self, title, path):
        """Types a full path into the open or save dialog and confirms it."""
        box = self.dialog(title)
        time.sleep(0.5)  # the dialog fills its folder view before its name field takes keys
        self.p.type(box, to_windows_path(path))
        self.p.key(box, "Return")
        self.p.wait_gone(box)

    def translate(self, texts, stop=True):
        """Types each text into the Translate dialog that opens for it and confirms it; then,
        with stop, cancels the dialog that follows. A text given as a list is typed line by
        line with Insert Enter between the lines."""
        seen = []
        for text in texts:
            box = self.dialog("Translate", exclude=seen)
            seen.append(box)
            lines = text if isinstance(text, list) else [text]
            self.p.type(box, lines[0])
            for line in lines[1:]:
                # Insert Enter takes the focus; back in the field, the caret goes to the end.
                self.p.key(box, "alt+e")
                self.p.key(box, "shift+Tab", "shift+Tab", "ctrl+End")
                self.p.type(box, line)
            self.p.key(box, "Return")
        if stop:
            box = self.dialog("Translate", exclude=seen)
            self.p.key(box, "Escape")
            self.p.wait_gone(box)
        else:
            self.p.wait_gone(seen[-1])

    def translate_next(self, texts):
        self.p.key(self.win, "ctrl+u")
        self.translate(texts)

    def title(self, name, modified=False):
        self.p.wait_title(self.win, title_of(name, modified))

    # The day.

    def start(self):
        """Starts Parlevo and waits for its first window. A Wine start in this sandbox now and
        then shows nothing at all on a cold server; such a start is ended and made once more."""
        for attempt in range(2):
            proc = self.p.start()
            try:
                self.p.wait_titled("Parlevo", timeout=30.0, proc=proc)
                return proc
            except AssertionError:
                if attempt:
                    raise
                proc.kill()
                proc.wait()

    def test_a_translators_day(self):
        proc = self.start()
        self.first_start_sets_the_module()
        self.translate_a_new_document()
        self.sign_and_save()
        self.find_and_translate_the_matches()
        self.questions_before_open()
        self.save_as_and_template()
        self.drop_a_file()
        self.second_start_hands_over()
        self.exit_saves_when_asked(proc)

    def first_start_sets_the_module(self):
        p = self.p
        # The missing-module notice.
        self.answer("Parlevo", "Return")
        sheet = self.dialog("Properties for Parlevo")
        time.sleep(0.5)
        self.shot("module-page")
        p.key(sheet, "alt+b")
        module = p.path("Lumivex.dll")
        self.file_dialog("Open", module)
        p.key(sheet, "alt+a")
        line = "Filename=%s\r\n" % to_windows_path(module)
        wait_bytes(p.path("Parlvo.ini"), lambda data: line.encode() in data)
        # OK is clicked with the mouse, at its place in the sheet's corner.
        width, height = p.geometry(sheet)
        p.click(sheet, width - 245, height - 22)
        p.wait_gone(sheet)
        # The open that found no module did not happen; New works now.
        self.win = p.wait_titled(APP)
        p.key(self.win, "ctrl+n")
        self.title("New")

    def translate_a_new_document(self):
        self.translate_next(["Lumivex", 'Lumivex "Bildbetrachter"', ["Bereit", "Warten"],
                             "%s wird geladen...", "%s wird gespeichert..."])
        self.title("New", modified=True)
        self.records = {1: "Lumivex", 2: 'Lumivex "Bildbetrachter"', 3: "Bereit\nWarten",
                        4: "%s wird geladen...", 5: "%s wird gespeichert..."}

    def sign_and_save(self):
        p = self.p
        self.menu("t", "s")
        box = self.dialog("Signature")
        for i, line in enumerate(SIGNATURE_LINES):
            if i:
                p.key(box, "Return")  # the signature field takes Enter as a line break
            p.type(box, line)
        p.key(box, "Tab", "Return")  # to OK, and press it
        p.wait_gone(box)
        self.title("New", modified=True)
        # New is not file-backed: Save asks for the name.
        self.day = p.path("day.lng")
        p.key(self.win, "ctrl+s")
        self.file_dialog("Save As", self.day)
        self.title("day.lng")
        signature = "\r\n".join(SIGNATURE_LINES)
        expected = lng_bytes(signature, sorted(self.records.items()))
        self.assertEqual(wait_bytes(self.day, lambda data: len(data) >= len(expected)), expected)
        self.signature = signature

    def find_and_translate_the_matches(self):
        p = self.p
        p.key(self.win, "ctrl+f")
        find = self.dialog("Find")
        p.type(find, "WIRD")
        p.key(find, "Return")
        # The search starts below the selected row, the first: the first match is row 4. The
        # dialog stays; the found row is selected and Enter translates it.
        time.sleep(0.3)
        self.shot("found")
        p.key(find, "Escape")
        p.wait_gone(find)
        p.key(self.win, "Return")
        self.translate(["%s wird jetzt geladen..."], stop=False)
        self.title("day.lng", modified=True)
        # Find Next repeats the search, downward, after the dialog has gone.
        p.key(self.win, "F3")
        p.key(self.win, "Return")
        self.translate(["%s wird jetzt gespeichert..."], stop=False)
        # The last match: no wrap-around, the platform's error box says so.
        p.key(self.win, "F3")
        self.answer("Error", "Return")
        # The document is file-backed: Save writes it at once, after the overwrite question.
        p.key(self.win, "ctrl+s")
        self.answer("Attention!", "y")
        self.title("day.lng")
        self.records[4] = "%s wird jetzt geladen..."
        self.records[5] = "%s wird jetzt gespeichert..."
        expected = lng_bytes(self.signature, sorted(self.records.items()))
        self.assertEqual(wait_bytes(self.day, lambda data: data == expected), expected)

    def questions_before_open(self):
        p = self.p
        saved = read(self.day)
        self.translate_next(["Unbenannt"])  # row 6, the first untranslated one
        self.title("day.lng", modified=True)
        # Cancel: nothing happens, no open dialog.
        p.key(self.win, "ctrl+o")
        self.answer("Parlevo", "Escape")
        time.sleep(0.3)
        self.assertEqual([p.title(w) for w in p.windows(".")], [title_of("day.lng", True)])
        # No: the change is dropped and the other file opens.
        other = p.path("other.lng")
        shutil.copy(os.path.join(ROOT, "samples", "de.lng"), other)
        original = read(other)
        p.key(self.win, "ctrl+o")
        self.answer("Parlevo", "n")
        self.file_dialog("Open", other)
        self.title("other.lng")
        self.assertEqual(read(self.day), saved)
        # Yes: the change is saved (over the existing file, so that is asked too), then Open.
        self.translate_next(["Lumivex DE"])  # ID 1, the first untranslated one there
        self.title("other.lng", modified=True)
        p.key(self.win, "ctrl+o")
        self.answer("Parlevo", "y")
        self.answer("Attention!", "y")
        expected = with_record(original, 1, "Lumivex DE")
        self.assertEqual(wait_bytes(other, lambda data: data != original), expected)
        self.file_dialog("Open", self.day)
        self.title("day.lng")
        # Read back, the signature keeps the line end of its last line: from now on a save
        # writes the comment block followed by a blank line.
        self.signature += "\r\n"

    def save_as_and_template(self):
        p = self.p
        self.translate_next(["Unbenannt"])
        self.title("day.lng", modified=True)
        self.menu("f", "a")
        second = p.path("day-2.lng")
        self.file_dialog("Save As", second)
        self.title("day-2.lng")
        self.records[6] = "Unbenannt"
        expected = lng_bytes(self.signature, sorted(self.records.items()))
        self.assertEqual(wait_bytes(second, lambda data: len(data) >= len(expected)), expected)
        self.assertNotIn(b"6=", read(self.day))
        self.second = second
        # The template: every source text under the default signature, whatever the document's.
        self.menu("f", "t")
        self.template = p.path("template.lng")
        self.file_dialog("Save As", self.template)
        self.title("template.lng")
        strings = rcstrings.read_strings(os.path.join(ROOT, "samples", "host", "lumivex.rc"))
        expected = rcstrings.template_bytes(strings)
        self.assertEqual(wait_bytes(self.template, lambda data: len(data) >= len(expected)), expected)

    def drop_a_file(self):
        p = self.p
        template = read(self.template)
        self.translate_next(["%d von %d"])  # ID 8: the template holds no translations
        self.title("template.lng", modified=True)
        result = p.run_tool(self.dropfile, title_of("template.lng", True), to_windows_path(self.second))
        self.assertEqual(result.returncode, 0, result.stderr)
        self.answer("Parlevo", "n")
        self.title("day-2.lng")
        self.assertEqual(read(self.template), template)
        # The list holds the dropped file: saved under a new name, it gives its bytes back.
        self.menu("f", "a")
        copy = p.path("dropped.lng")
        self.file_dialog("Save As", copy)
        self.title("dropped.lng")
        expected = read(self.second)
        self.assertEqual(wait_bytes(copy, lambda data: len(data) >= len(expected)), expected)

    def second_start_hands_over(self):
        p = self.p
        # The translator turns the single-instance rule on in the settings file.
        with open(p.path("Parlvo.ini"), "a", newline="\r\n") as f:
            f.write("[Option]\nOnlyOneInstance=1\n")
        # Started from another folder with a name relative to it: the running instance, whose
        # current folder is another one, must still open this very file.
        elsewhere = p.path("elsewhere")
        os.makedirs(elsewhere, exist_ok=True)
        second = p.start(os.path.join("..", os.path.basename(self.day)).replace("/", "\\"), cwd=elsewhere)
        self.assertEqual(p.wait_exit(second), 0)
        self.title("day.lng")
        self.assertEqual([p.title(w) for w in p.windows(".")], [title_of("day.lng")])

    def exit_saves_when_asked(self, proc):
        p = self.p
        saved = read(self.day)
        self.translate_next(["Unbenannt"])
        self.title("day.lng", modified=True)
        p.close(self.win)
        self.answer("Parlevo", "y")
        self.answer("Attention!", "y")
        self.assertEqual(p.wait_exit(proc), 0)
        self.assertNotIn(b"6=", saved)
        self.assertEqual(read(self.day), lng_bytes(self.signature, sorted(self.records.items())))


if __name__ == "__main__":
    unittest.main(verbosity=2)
