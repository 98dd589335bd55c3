"""The program without a window (-check, -template) and the system modules it must not import."""
import os
import subprocess
import unittest
from pathlib import Path

from parlevo_e2e import ROOT, TEMPLATE, WINE_RUN, Parlevo, data_rows, read

# One error and one warning: the rules themselves are checked in tests/view/viewcore_test.cpp.
PLANTED = b'; Language: Test\r\n\r\n8="%s von %d"\r\n1011="Einheit"\r\n60000="no such string"\r\n'


class Batch(unittest.TestCase):
    def test_check_and_template_runs(self):
        p = Parlevo(self)
        for name, data in (("planted.lng", PLANTED), ("warned.lng", b'1011="Einheit"\r\n'),
                           ("de.lng", read(os.path.join(ROOT, "samples", "de.lng")))):
            Path(p.path(name)).write_bytes(data)
        for ini, args, code, out, err in data_rows("batch.tsv", 8):
            if ini:
                Path(p.path("Parlvo.ini")).write_bytes(ini)
            with self.subTest(args=args):
                r = subprocess.run([WINE_RUN, p.exe, *args.split(b" ")], cwd=p.dir, capture_output=True, timeout=120)
                self.assertEqual((r.returncode, r.stdout), (int(code), out))
                self.assertIn(err, r.stderr)
        self.assertEqual(read(p.path("t.lng")), TEMPLATE)

    def test_dialog_and_shell_modules_are_loaded_from_the_system_folder_when_first_used(self):
        # Not imported: an import would take a module of the same name beside the program.
        imports = subprocess.run([os.environ["PARLEVO_OBJDUMP"], "-p", os.environ["PARLEVO_EXE"]],
                                 capture_output=True, text=True, check=True).stdout.lower()
        self.assertEqual([n for n in ("comdlg32", "shell32") if "dll name: " + n in imports], [])


if __name__ == "__main__":
    unittest.main(verbosity=2)
