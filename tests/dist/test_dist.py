"""The zip scripts/dist.sh builds from this build, and its setup program in a throwaway Wine prefix.
`test_dist.py Package` or `test_dist.py Installer` runs one group; exit code 77 means it was skipped."""
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest
import zipfile

from parlevo_e2e import ROOT, key, read, to_windows_path, wait_for, xdotool

ARCH = os.environ.get("PARLEVO_DIST_ARCH", "win32")
VERSION = os.environ.get("PARLEVO_VERSION", "1.0.4")
NAME = "Parlevo-" + VERSION
MACHINE = {"win32": 0x014C, "win64": 0x8664}[ARCH]
SETUP = NAME + ("-setup.exe" if ARCH == "win32" else "-win64-setup.exe")
UNINST_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Parlevo"
LNG_KEY = r"HKLM\Software\Classes\.lng"
PROGID_KEY = r"HKLM\Software\Classes\Parlevo.LanguageFile"
INSTALL_DIR = r"C:\Program Files\Parlevo"


def build_package(out):
    subprocess.run([os.path.join(ROOT, "scripts", "dist.sh"), "--arch", ARCH, "--bin",
                    os.path.dirname(os.environ["PARLEVO_EXE"]), "--out", out], check=True, stdout=subprocess.DEVNULL)
    return out


def pe_machine(data):
    offset = struct.unpack_from("<I", data, 0x3C)[0]
    return struct.unpack_from("<H", data, offset + 4)[0] if data[offset:offset + 4] == b"PE\0\0" else None


class Package(unittest.TestCase):
    def test_zip_and_setup(self):
        out, again = (tempfile.mkdtemp(prefix="parlevo-dist-") for _ in range(2))
        for folder in (out, again):
            self.addCleanup(shutil.rmtree, folder, True)
            build_package(folder)
        zip_name = "%s-%s.zip" % (NAME, ARCH)
        # The same inputs give the same zip.
        self.assertEqual(read(os.path.join(again, zip_name)), read(os.path.join(out, zip_name)))
        self.assertEqual(pe_machine(read(os.path.join(out, SETUP))), MACHINE)
        with zipfile.ZipFile(os.path.join(out, zip_name)) as z:
            self.assertIsNone(z.testzip())
            shipped = {"Parlevo.exe": os.environ["PARLEVO_EXE"], "Samples/Lumivex.dll": os.environ["PARLEVO_MODULE"],
                       "Samples/de.lng": os.path.join(ROOT, "samples", "de.lng")}
            self.assertEqual(sorted(z.namelist()), sorted(NAME + "/" + n for n in [*shipped, "README.txt"]))
            for name, source in shipped.items():
                self.assertEqual(z.read(NAME + "/" + name), read(source), name)
            self.assertEqual(pe_machine(z.read(NAME + "/Parlevo.exe")), MACHINE)
            readme = z.read(NAME + "/README.txt")
        # Readable in Notepad of any Windows version and any code page; no mail address.
        self.assertEqual((readme.count(b"\n"), readme.count(b"\r")), (readme.count(b"\r\n"),) * 2)
        self.assertTrue(readme.isascii() and b"@" not in readme and b"Parlvo.ini" in readme
                        and ("Parlevo %s" % VERSION).encode() in readme, readme)


# The project's Wine settings, a server up for the whole test; menu entries and associations stay inside.
PREFIX_SCRIPT = r"""
    . "$1/scripts/wine-env.sh"
    export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
    mkdir -p "$WINEPREFIX" && "$PARLEVO_WINESERVER" -p && "$PARLEVO_WINE" wineboot -i >/dev/null 2>&1 &&
    "$PARLEVO_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 && env -0
"""


class Installer(unittest.TestCase):
    def setUp(self):
        loader = "/usr/lib/wine/wine64" if ARCH == "win64" else "/usr/lib/wine/wine"
        if not os.access(loader, os.X_OK) or subprocess.run([loader, "--version"], capture_output=True).returncode:
            self.skipTest("%s Wine does not run on this machine (some sandboxes, gVisor among them, refuse 32-bit "
                          "Linux programs); the 64-bit build tests the same installer script under wine64" % ARCH)
        self.assertTrue(os.environ.get("DISPLAY"), "no display: run it after parlevo_display (scripts/test.sh)")
        self.tmp = tempfile.mkdtemp(prefix="parlevo-dist-")
        self.addCleanup(shutil.rmtree, self.tmp, True)
        prefix = os.path.join(self.tmp, "prefix")
        # The prefix boots (the longest step) while the package is made.
        with tempfile.TemporaryFile() as env:
            booting = subprocess.Popen(["bash", "-c", PREFIX_SCRIPT, "bash", ROOT], stdout=env,
                                       env=dict(os.environ, PARLEVO_WINEPREFIX=prefix, PARLEVO_WIN_PRESET=ARCH))
            # Ends the prefix's server and with it every Wine process left in the prefix.
            self.addCleanup(subprocess.run, ["/usr/lib/wine/wineserver", "-k"], env=dict(os.environ, WINEPREFIX=prefix))
            build_package(os.path.join(self.tmp, "out"))
            self.assertEqual(booting.wait(300), 0, "the Wine prefix could not be created")
            env.seek(0)
            self.env = dict(item.split("=", 1) for item in env.read().decode().split("\0") if "=" in item)
        self.install_dir = os.path.join(prefix, "drive_c", "Program Files", "Parlevo")
        self.start_menu = os.path.join(prefix, "drive_c", "ProgramData", "Microsoft", "Windows", "Start Menu",
                                       "Programs", "Parlevo")

    def wine(self, *args):
        # To a file: Wine's services inherit the handles and outlive the program, so a pipe never ends.
        with tempfile.TemporaryFile() as out:
            r = subprocess.run([self.env["PARLEVO_WINE"], *args], env=self.env, stdout=out, stderr=out, timeout=120)
            out.seek(0)
            return r.returncode, out.read().decode(errors="replace")

    def reg(self, key, value=None):
        """The value (by default the key's default value); None when it or the key is missing."""
        code, out = self.wine("reg", "query", key, *(["/v", value] if value else ["/ve"]))
        parts = [line.split("    ") for line in out.splitlines()]
        return None if code else next(("    ".join(p[3:]) for p in parts if len(p) >= 4 and p[2] == "REG_SZ"), "")

    def open_by_association(self, lng):
        """Opens the file through the class of .lng, as Explorer does, and closes its window."""
        proc = subprocess.Popen([self.env["PARLEVO_WINE"], "start", "/wait", to_windows_path(lng)], env=self.env,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(lambda: proc.poll() is None and (proc.kill(), proc.wait()))
        title = "Lumivex Parlevo - [%s]" % os.path.basename(lng)
        window = wait_for(title, lambda: xdotool("search", "--onlyvisible", "--name", re.escape(title)).split())[0]
        key(window, "alt+F4")
        self.assertEqual(proc.wait(60), 0)

    def test_silent_install_opens_language_files_and_uninstall_leaves_nothing(self):
        # Where another program had .lng, the uninstaller gives it back; else it removes the key.
        for previous in ("Other.Translation", None):
            self.wine("reg", *(["add", LNG_KEY, "/ve", "/d", previous] if previous else ["delete", LNG_KEY]), "/f")
            code, out = self.wine(os.path.join(self.tmp, "out", SETUP), "/S")
            self.assertEqual(code, 0, out)
            self.assertEqual(self.reg(LNG_KEY), "Parlevo.LanguageFile")
            if previous:
                self.check_installed()
            self.assertEqual(self.wine(INSTALL_DIR + "\\Uninstall.exe", "/S")[0], 0)
            # The uninstaller returns at once; its copy in TEMP removes the registration last.
            wait_for(UNINST_KEY + " to go", lambda: self.wine("reg", "query", UNINST_KEY)[0], 120)
            self.assertEqual([os.path.exists(self.install_dir), os.path.exists(self.start_menu),
                              self.wine("reg", "query", PROGID_KEY)[0] == 0, self.reg(LNG_KEY),
                              self.reg(LNG_KEY, "Parlevo.Backup")], [False, False, False, previous, None])
        self.assertTrue(os.path.isfile(os.path.join(self.tmp, "installed-check.lng")), "the user's file must stay")

    def check_installed(self):
        files = ["Parlevo.exe", "README.txt", "Uninstall.exe", "Parlvo.ini", "Samples/Lumivex.dll", "Samples/de.lng"]
        self.assertEqual([n for n in files if not os.path.isfile(os.path.join(self.install_dir, n))], [])
        self.assertEqual(pe_machine(read(os.path.join(self.install_dir, "Parlevo.exe"))), MACHINE)
        self.assertTrue(os.path.isfile(os.path.join(self.start_menu, "Parlevo.lnk")))
        self.assertEqual(self.reg(PROGID_KEY + r"\shell\open\command"), '"%s\\Parlevo.exe" "%%1"' % INSTALL_DIR)
        self.assertEqual([self.reg(UNINST_KEY, v) for v in ("DisplayName", "DisplayVersion", "UninstallString")],
                         ["Parlevo", VERSION, '"%s\\Uninstall.exe"' % INSTALL_DIR])
        # What a translator does on the Module page at the first start, written directly.
        with open(os.path.join(self.install_dir, "Parlvo.ini"), "w", newline="\r\n") as f:
            f.write("[Module]\nFilename=%s\\Samples\\Lumivex.dll\n" % INSTALL_DIR)
        self.open_by_association(shutil.copy(os.path.join(ROOT, "samples", "de.lng"),
                                             os.path.join(self.tmp, "installed-check.lng")))


if __name__ == "__main__":
    result = unittest.TextTestRunner(verbosity=2).run(unittest.TestSuite(
        unittest.TestLoader().loadTestsFromTestCase(globals()[n]) for n in sys.argv[1:] or ["Package", "Installer"]))
    sys.exit(1 if not result.wasSuccessful() else 77 if len(result.skipped) >= result.testsRun > 0 else 0)
