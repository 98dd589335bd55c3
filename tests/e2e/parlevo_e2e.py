"""End-to-end harness: the real Parlevo.exe under Wine, on the display scripts/test.sh provides,
driven with xdotool. Each instance runs from a private folder with copies of the exe and the
host module, so it has a settings file of its own."""
import os
import shutil
import subprocess
import tempfile
import time
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
WINE_RUN = os.path.join(ROOT, "scripts", "wine-run.sh")


def wait_for(what, condition, timeout=30.0):
    """Polls condition until it gives something true, which is returned. The timeouts are
    generous: the machine is shared, and a wait that ends early costs nothing."""
    end = time.time() + timeout
    while not (value := condition()):
        if time.time() > end:
            raise AssertionError("waited %.0f s for %s" % (timeout, what() if callable(what) else what))
        time.sleep(0.05)
    return value


def xdotool(*args):
    return subprocess.run(["xdotool", *args], capture_output=True, text=True).stdout.strip()


def to_windows_path(path):
    """The Wine name of a Linux path (drive Z: is the root)."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def read(path):
    with open(path, "rb") as f:
        return f.read()


# The template of the sample module (rebuilt by the e2e_golden_update target).
TEMPLATE = read(os.path.join(os.path.dirname(__file__), "data", "template.lng"))


class Parlevo:
    def __init__(self, exe, module):
        self.dir = tempfile.mkdtemp(prefix="parlevo-e2e-")
        self.exe = shutil.copy(exe, os.path.join(self.dir, "Parlevo.exe"))
        shutil.copy(module, os.path.join(self.dir, "Lumivex.dll"))
        self.procs = []

    def path(self, name):
        return os.path.join(self.dir, name)

    def start(self, *args, cwd=None, program=None):
        """Starts Parlevo (or another Windows program) with these arguments."""
        proc = subprocess.Popen([WINE_RUN, program or self.exe, *args], cwd=cwd or self.dir,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.procs.append(proc)
        return proc

    def run(self, *args):
        """Runs Parlevo without a window to its end."""
        return subprocess.run([WINE_RUN, self.exe, *args], cwd=self.dir, capture_output=True, timeout=120)

    def windows(self):
        """Titles of the visible windows of the live processes (xdotool ignores --pid for an
        ended one)."""
        found = {}
        for p in self.procs:
            if p.poll() is None:
                for w in xdotool("search", "--onlyvisible", "--pid", str(p.pid), "--name", ".").split():
                    found[w] = xdotool("getwindowname", w)
        return found

    def wait_titled(self, title, exclude=(), timeout=30.0):
        """A window with exactly this title that is not one of exclude (a dialog opened anew
        under the title an earlier one had)."""
        return wait_for(lambda: "a window titled %r; there are %r" % (title, self.windows()),
                        lambda: next((w for w, t in self.windows().items() if t == title and w not in exclude), None),
                        timeout)

    def wait_title(self, window, title):
        wait_for(lambda: "title %r, not %r" % (title, xdotool("getwindowname", window)),
                 lambda: xdotool("getwindowname", window) == title)

    def wait_gone(self, window):
        wait_for(lambda: "window %r to go" % window, lambda: window not in self.windows())

    def key(self, window, *keys):
        xdotool("windowfocus", "--sync", window)
        xdotool("key", "--clearmodifiers", *keys)

    def type(self, window, text):
        xdotool("windowfocus", "--sync", window)
        xdotool("type", "--delay", "20", text)

    def cleanup(self):
        for p in self.procs:
            if p.poll() is None:
                p.kill()
                p.wait()
        shutil.rmtree(self.dir, ignore_errors=True)


class ParlevoTestCase(unittest.TestCase):
    """Base class: PARLEVO_EXE and PARLEVO_MODULE name the built artefacts."""

    def make(self):
        p = Parlevo(os.environ["PARLEVO_EXE"], os.environ["PARLEVO_MODULE"])
        self.addCleanup(p.cleanup)
        return p
