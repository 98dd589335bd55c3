"""The program without a window (-check, -template) and the system modules it must not import."""
import os
import subprocess
import unittest
from pathlib import Path

from parlevo_e2e import ROOT, TEMPLATE, Parlevo, read

# One error and one warning: the rules themselves are checked in tests/view/viewcore_test.cpp.
PLANTED = b'; Language: Test\r\n\r\n8="%s von %d"\r\n1011="Einheit"\r\n60000="no such string"\r\n'
ENDING = b"1011\twarning\tending\t':' expected at the end\r\n"
REPORT = b"8\terror\tprintf\t%d expected where %s stands\r\n" + ENDING + b"1 error, 1 warning\r\n"
SAMPLE = os.path.join(ROOT, "samples", "de.lng")
# Arguments, exit code, standard output, what standard error says: without settings, then with the module.
RUNS = ([(["-template", "t.lng"], 2, b"", b"no module is set"),
         (["-template", "nofolder/t.lng", "-module", "Lumivex.dll"], 2, b"", b"nofolder"),
         (["-template", "t.lng", "-module", "Lumivex.dll"], 0, b"", b"")],
        [(["-check", "planted.lng"], 1, REPORT, b""),
         (["-check", "warned.lng"], 0, ENDING + b"0 errors, 1 warning\r\n", b""),
         (["-check", SAMPLE], 0, b"0 errors, 0 warnings\r\n", b""),
         (["-check", "missing.lng"], 2, b"", b'cannot read the language file "missing.lng"'),
         (["-check", "planted.lng", "-module", "nosuch.dll"], 2, b"", b'cannot load the module "nosuch.dll"')])


class Batch(unittest.TestCase):
    def test_check_and_template_runs(self):
        p = Parlevo(self)
        for name, data in (("planted.lng", PLANTED), ("warned.lng", b'1011="Einheit"\r\n')):
            Path(p.path(name)).write_bytes(data)
        for settings, runs in zip((None, b"[Module]\r\nFilename=Lumivex.dll\r\n"), RUNS):
            if settings:
                Path(p.path("Parlvo.ini")).write_bytes(settings)
            for args, code, out, err in runs:
                with self.subTest(args=args):
                    r = p.run(*args)
                    self.assertEqual((r.returncode, r.stdout), (code, out))
                    self.assertIn(err, r.stderr)
        self.assertEqual(read(p.path("t.lng")), TEMPLATE)

    def test_dialog_and_shell_modules_are_loaded_from_the_system_folder_when_first_used(self):
        # Not imported: an import would take a module of the same name beside the program.
        imports = subprocess.run([os.environ["PARLEVO_OBJDUMP"], "-p", os.environ["PARLEVO_EXE"]],
                                 capture_output=True, text=True, check=True).stdout.lower()
        self.assertEqual([n for n in ("comdlg32", "shell32") if "dll name: " + n in imports], [])


if __name__ == "__main__":
    unittest.main(verbosity=2)
