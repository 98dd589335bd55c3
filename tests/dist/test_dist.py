"""The release package as a translator receives it: what the zip holds, and the setup program
under Wine installing silently, opening a language file through its association and
uninstalling without leftovers.

scripts/dist.sh packages the build this test belongs to (PARLEVO_EXE, PARLEVO_MODULE): the
32-bit build gives the shipped package; the 64-bit build gives the same package and the same
installer script compiled for amd64, for machines whose Wine cannot run 32-bit code. The
installer runs in a throwaway Wine prefix, so the project's shared prefix stays clean.

Run one group with `test_dist.py Package` or `test_dist.py Installer`; exit code 77 means the
group was skipped.
"""
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import unittest
import zipfile

import parlevo_e2e
from parlevo_e2e import ROOT, ensure_display, to_windows_path, xdotool

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
    """Runs the packaging script on this build; returns the output folder."""
    exe = os.environ["PARLEVO_EXE"]
    subprocess.run([os.path.join(ROOT, "scripts", "dist.sh"), "--arch", ARCH, "--bin", os.path.dirname(exe),
                    "--out", out], check=True, stdout=subprocess.DEVNULL)
    return out


def pe_machine(data):
    """The machine field of a PE image's file header."""
    offset = struct.unpack_from("<I", data, 0x3C)[0]
    if data[offset:offset + 4] != b"PE\0\0":
        return None
    return struct.unpack_from("<H", data, offset + 4)[0]


def read(path):
    with open(path, "rb") as f:
        return f.read()


class Package(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.mkdtemp(prefix="parlevo-dist-")
        build_package(cls.tmp)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.tmp, ignore_errors=True)

    def test_zip_holds_the_program_the_readme_and_the_samples(self):
        with zipfile.ZipFile(os.path.join(self.tmp, "%s-%s.zip" % (NAME, ARCH))) as z:
            self.assertEqual(sorted(z.namelist()), sorted([
                NAME + "/Parlevo.exe",
                NAME + "/README.txt",
                NAME + "/Samples/Lumivex.dll",
                NAME + "/Samples/de.lng",
            ]))
            self.assertIsNone(z.testzip())
            exe = z.read(NAME + "/Parlevo.exe")
            self.assertEqual(exe, read(os.environ["PARLEVO_EXE"]))
            self.assertEqual(pe_machine(exe), MACHINE)
            self.assertEqual(z.read(NAME + "/Samples/Lumivex.dll"), read(os.environ["PARLEVO_MODULE"]))
            self.assertEqual(z.read(NAME + "/Samples/de.lng"), read(os.path.join(ROOT, "samples", "de.lng")))
            readme = z.read(NAME + "/README.txt")
        # Readable in Notepad of any Windows version and any code page.
        self.assertEqual(readme.count(b"\n"), readme.count(b"\r\n"))
        self.assertEqual(readme.count(b"\r"), readme.count(b"\r\n"))
        self.assertTrue(readme.isascii())
        self.assertIn(b"Parlvo.ini", readme)
        self.assertIn(("Parlevo %s" % VERSION).encode(), readme)
        self.assertNotIn(b"@", readme)

    def test_setup_is_built_for_the_same_windows_as_the_program(self):
        self.assertEqual(pe_machine(read(os.path.join(self.tmp, SETUP))), MACHINE)

    def test_same_inputs_give_the_same_zip(self):
        again = tempfile.mkdtemp(prefix="parlevo-dist-")
        self.addCleanup(shutil.rmtree, again, True)
        build_package(again)
        zip_name = "%s-%s.zip" % (NAME, ARCH)
        self.assertEqual(read(os.path.join(again, zip_name)), read(os.path.join(self.tmp, zip_name)))


def wine_can_run():
    loader = "/usr/lib/wine/wine64" if ARCH == "win64" else "/usr/lib/wine/wine"
    try:
        return subprocess.run([loader, "--version"], capture_output=True, timeout=30).returncode == 0
    except (OSError, subprocess.TimeoutExpired):
        return False


class Installer(unittest.TestCase):
    """Each test installs into a fresh prefix state and must leave it as it found it."""

    @classmethod
    def setUpClass(cls):
        if not wine_can_run():
            raise unittest.SkipTest(
                "%s Wine does not run on this machine (some sandboxes, gVisor among them, refuse 32-bit Linux "
                "programs); the 64-bit build tests the same installer script under wine64" % ARCH)
        ensure_display()
        cls.tmp = tempfile.mkdtemp(prefix="parlevo-dist-")
        cls.addClassCleanup(shutil.rmtree, cls.tmp, True)
        # The prefix boots (the longest step) while the package is made.
        prefix = os.path.join(cls.tmp, "prefix")
        booting = cls.start_fresh_prefix(prefix)
        # Ends the prefix's server and with it every Wine process left in the prefix.
        cls.addClassCleanup(subprocess.run, ["/usr/lib/wine/wineserver", "-k"],
                            env=dict(os.environ, WINEPREFIX=prefix), stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
        try:
            build_package(os.path.join(cls.tmp, "out"))
        finally:
            cls.env = cls.finish_fresh_prefix(*booting)
        cls.wine = cls.env["PARLEVO_WINE"]
        cls.prefix = cls.env["WINEPREFIX"]

    @staticmethod
    def start_fresh_prefix(path):
        """Creates a Wine prefix with the project's Wine settings, under a server that stays up
        for the whole class (the shared scripts let the server end after booting, which would
        cost a cold start per step here). Menu entries and file associations stay inside the
        prefix, not in the Linux desktop."""
        script = r"""
            . "$1/scripts/wine-env.sh"
            export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
            mkdir -p "$WINEPREFIX"
            "$PARLEVO_WINESERVER" -p || exit 1
            "$PARLEVO_WINE" wineboot -i >/dev/null 2>&1 || exit 1
            "$PARLEVO_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || exit 1
            env -0
        """
        env = dict(os.environ, PARLEVO_WINEPREFIX=path, PARLEVO_WIN_PRESET=ARCH)
        out = tempfile.TemporaryFile()
        return subprocess.Popen(["bash", "-c", script, "bash", ROOT], env=env, stdout=out), out

    @staticmethod
    def finish_fresh_prefix(proc, out):
        """Waits for the prefix; returns the environment that runs programs in it."""
        with out:
            if proc.wait(300) != 0:
                raise RuntimeError("the Wine prefix could not be created")
            out.seek(0)
            return dict(item.split("=", 1) for item in out.read().decode().split("\0") if "=" in item)

    def run_wine(self, *args, timeout=120):
        # Output goes to files, not pipes: the first Wine program of a prefix starts Wine's own
        # services, which inherit its handles and outlive it, so a pipe would never reach its end.
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            r = subprocess.run([self.wine, *args], env=self.env, stdout=out, stderr=err, timeout=timeout)
            out.seek(0)
            err.seek(0)
            return subprocess.CompletedProcess(r.args, r.returncode, out.read().decode(errors="replace"),
                                               err.read().decode(errors="replace"))

    def reg_default(self, key, value=None):
        """The value (default: the key's default value) or None when it or the key is missing."""
        r = self.run_wine("reg", "query", key, *(["/v", value] if value else ["/ve"]))
        if r.returncode != 0:
            return None
        for line in r.stdout.splitlines():
            parts = line.split("    ")
            if len(parts) >= 4 and parts[2] == "REG_SZ":
                return "    ".join(parts[3:])
        return ""

    def key_exists(self, key):
        return self.run_wine("reg", "query", key).returncode == 0

    def unix_path(self, windows_path):
        return os.path.join(self.prefix, "drive_c", *windows_path[3:].split("\\"))

    def start_menu(self):
        return os.path.join(self.prefix, "drive_c", "ProgramData", "Microsoft", "Windows", "Start Menu", "Programs",
                            "Parlevo")

    def install(self):
        r = self.run_wine(os.path.join(self.tmp, "out", SETUP), "/S")
        self.assertEqual(r.returncode, 0, r.stderr)

    def uninstall(self):
        r = self.run_wine(INSTALL_DIR + "\\Uninstall.exe", "/S")
        self.assertEqual(r.returncode, 0, r.stderr)
        # The uninstaller hands over to a copy of itself in TEMP and returns at once; the copy
        # removes the registration last.
        end = time.time() + 60
        while time.time() < end and self.key_exists(UNINST_KEY):
            time.sleep(0.2)

    def open_by_association(self, lng):
        """Opens the file as Explorer does, through the class of .lng; checks the window."""
        proc = subprocess.Popen([self.wine, "start", "/wait", to_windows_path(lng)], env=self.env,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            name = os.path.basename(lng)
            window = None
            end = time.time() + 30
            while time.time() < end and not window:
                window = xdotool("search", "--onlyvisible", "--name", name.replace(".", "\\.")).split()
                time.sleep(0.1)
            self.assertTrue(window, "no window shows %s" % name)
            self.assertIn("[%s]" % name, xdotool("getwindowname", window[0]))
            xdotool("windowfocus", "--sync", window[0])
            xdotool("key", "--clearmodifiers", "alt+F4")
            self.assertEqual(proc.wait(30), 0)
        finally:
            if proc.poll() is None:
                proc.kill()
                proc.wait()

    def test_silent_install_opens_language_files_and_uninstalls_cleanly(self):
        install_dir = self.unix_path(INSTALL_DIR)
        self.install()

        for name in ["Parlevo.exe", "README.txt", "Uninstall.exe", "Parlvo.ini", "Samples/Lumivex.dll",
                     "Samples/de.lng"]:
            self.assertTrue(os.path.isfile(os.path.join(install_dir, name)), name)
        self.assertEqual(pe_machine(read(os.path.join(install_dir, "Parlevo.exe"))), MACHINE)
        self.assertTrue(os.path.isfile(os.path.join(self.start_menu(), "Parlevo.lnk")))
        self.assertEqual(self.reg_default(LNG_KEY), "Parlevo.LanguageFile")
        self.assertEqual(self.reg_default(PROGID_KEY + r"\shell\open\command"),
                         '"%s\\Parlevo.exe" "%%1"' % INSTALL_DIR)
        self.assertEqual(self.reg_default(UNINST_KEY, "DisplayName"), "Parlevo")
        self.assertEqual(self.reg_default(UNINST_KEY, "DisplayVersion"), VERSION)
        self.assertEqual(self.reg_default(UNINST_KEY, "UninstallString"), '"%s\\Uninstall.exe"' % INSTALL_DIR)

        # What a translator does on the Module page at the first start, written directly.
        with open(os.path.join(install_dir, "Parlvo.ini"), "w", newline="\r\n") as f:
            f.write("[Module]\nFilename=%s\\Samples\\Lumivex.dll\n" % INSTALL_DIR)
        lng = os.path.join(self.tmp, "installed-check.lng")
        shutil.copy(os.path.join(ROOT, "samples", "de.lng"), lng)
        self.open_by_association(lng)

        self.uninstall()
        self.assertFalse(os.path.exists(install_dir), os.listdir(install_dir) if os.path.isdir(install_dir) else "")
        self.assertFalse(os.path.exists(self.start_menu()))
        for key in [LNG_KEY, PROGID_KEY, UNINST_KEY]:
            self.assertFalse(self.key_exists(key), key)
        self.assertTrue(os.path.isfile(lng), "the user's language file must stay")

    def test_uninstall_gives_lng_back_to_the_program_that_had_it(self):
        r = self.run_wine("reg", "add", LNG_KEY, "/ve", "/d", "Other.Translation", "/f")
        self.assertEqual(r.returncode, 0, r.stderr)
        self.addCleanup(self.run_wine, "reg", "delete", LNG_KEY, "/f")
        self.install()
        self.assertEqual(self.reg_default(LNG_KEY), "Parlevo.LanguageFile")
        self.uninstall()
        self.assertEqual(self.reg_default(LNG_KEY), "Other.Translation")
        self.assertIsNone(self.reg_default(LNG_KEY, "Parlevo.Backup"))
        self.assertFalse(self.key_exists(PROGID_KEY))
        self.assertFalse(os.path.exists(self.unix_path(INSTALL_DIR)))


def main():
    loader = unittest.TestLoader()
    names = sys.argv[1:] or ["Package", "Installer"]
    suite = unittest.TestSuite(loader.loadTestsFromTestCase(globals()[n]) for n in names)
    result = unittest.TextTestRunner(verbosity=2).run(suite)
    if parlevo_e2e._xvfb:
        parlevo_e2e._xvfb.terminate()
        parlevo_e2e._xvfb.wait()
    if not result.wasSuccessful():
        return 1
    # A class whose setUpClass skips runs none of its tests.
    if result.skipped and len(result.skipped) >= result.testsRun:
        return 77
    return 0


if __name__ == "__main__":
    sys.exit(main())
