"""-check and -template without a window: the exact report, the exit codes and the template's
bytes, on the sample module and a language file with planted problems."""
import os
import subprocess
import unittest

import rcstrings
from parlevo_e2e import ROOT, WINE_RUN, ParlevoTestCase

PLANTED = (b"; Language: Test\r\n\r\n"
           b'3="Bereit"\r\n'
           b'8="%s von %d"\r\n'
           b'10="Zoom: %d %"\r\n'
           b'1011="Einheit"\r\n'
           b'40002="\xd6ffnen...\\tStrg+O"\r\n'
           b'40024="&Vollbild\\tEingabe"\r\n'
           b'60000="no such string"\r\n')
REPORT = (b"8\terror\tprintf\t%d expected where %s stands\r\n"
          b"10\terror\tprintf\t% that begins no conversion (a percent sign is written %%)\r\n"
          b"1011\twarning\tending\t':' expected at the end\r\n"
          b"40002\twarning\taccesskey\taccess key missing (the source has &O)\r\n"
          b"2 errors, 2 warnings\r\n")


class Batch(ParlevoTestCase):
    def run_parlevo(self, p, *args):
        r = subprocess.run([WINE_RUN, p.exe, *args], cwd=p.dir, capture_output=True, timeout=120)
        return r.returncode, r.stdout, r.stderr

    def write(self, p, name, data):
        with open(p.path(name), "wb") as f:
            f.write(data)

    def test_check_reports_every_problem_and_exits_by_what_it_found(self):
        p = self.make(ini="[Module]\nFilename=Lumivex.dll\n")
        self.write(p, "planted.lng", PLANTED)
        self.assertEqual(self.run_parlevo(p, "-check", "planted.lng")[:2], (1, REPORT))
        # Warnings alone do not fail a build; the sample translation has none at all.
        self.write(p, "warned.lng", b'1011="Einheit"\r\n')
        self.assertEqual(self.run_parlevo(p, "-check", "warned.lng")[:2],
                         (0, b"1011\twarning\tending\t':' expected at the end\r\n0 errors, 1 warning\r\n"))
        sample = os.path.join(ROOT, "samples", "de.lng")
        self.assertEqual(self.run_parlevo(p, "-check", sample)[:2], (0, b"0 errors, 0 warnings\r\n"))
        # What cannot be read is said on standard error, and nothing is reported.
        rc, out, err = self.run_parlevo(p, "-check", "missing.lng")
        self.assertEqual((rc, out), (2, b""))
        self.assertIn(b'cannot read the language file "missing.lng"', err)
        rc, out, err = self.run_parlevo(p, "-check", "planted.lng", "-module", "nosuch.dll")
        self.assertEqual((rc, out), (2, b""))
        self.assertIn(b'cannot load the module "nosuch.dll"', err)

    def test_template_holds_the_module_strings(self):
        p = self.make(ini=None)
        self.assertEqual(self.run_parlevo(p, "-template", "t.lng", "-module", "Lumivex.dll")[0], 0)
        with open(p.path("t.lng"), "rb") as f:
            self.assertEqual(f.read(), rcstrings.template_bytes(rcstrings.read_strings(
                os.path.join(ROOT, "samples", "host", "lumivex.rc"))))
        self.assertEqual(self.run_parlevo(p, "-template", "nofolder/t.lng", "-module", "Lumivex.dll")[0], 2)
        # Without -module and without settings there is no module to read.
        rc, _, err = self.run_parlevo(p, "-template", "t.lng")
        self.assertEqual(rc, 2)
        self.assertIn(b"no module is set", err)


if __name__ == "__main__":
    unittest.main(verbosity=2)
