"""The real Parlevo.exe under Wine on the display scripts/test.sh provides, driven with xdotool. Each
instance runs from a private folder with copies of the exe and the module, so its settings are its own."""
import codecs
import os
import shutil
import subprocess
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
WINE_RUN = os.path.join(ROOT, "scripts", "wine-run.sh")


def wait_for(what, condition, timeout=30.0):
    """Polls condition until it gives something true and returns that (generous: the machine is shared)."""
    end = time.time() + timeout
    while not (value := condition()):
        if time.time() > end:
            raise AssertionError("waited %.0f s for %s" % (timeout, what() if callable(what) else what))
        time.sleep(0.05)
    return value


def xdotool(*args):
    return subprocess.run(["xdotool", *args], capture_output=True, text=True).stdout.strip()


def key(window, *keys, text=None):
    xdotool("windowfocus", "--sync", window)
    xdotool(*(["type", "--delay", "20", text] if text else ["key", "--clearmodifiers", *keys]))


def to_windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def read(path):
    with open(path, "rb") as f:
        return f.read()


def data_rows(name, count):
    """The rows of data/name as bytes fields (escapes and "-" as in tests/support/datarows.h), count of them."""
    lines = read(os.path.join(os.path.dirname(__file__), "data", name)).splitlines()
    rows = [[b"" if f == b"-" else codecs.escape_decode(f)[0] for f in line.split(b"\t")] for line in lines
            if line and not line.startswith(b"#")]
    assert len(rows) == count, "%s has %d rows, not %d" % (name, len(rows), count)
    return rows


# The template of the sample module (rebuilt by the e2e_golden_update target).
TEMPLATE = read(os.path.join(os.path.dirname(__file__), "data", "template.lng"))


class Parlevo:
    def __init__(self, test):
        self.dir = tempfile.mkdtemp(prefix="parlevo-e2e-")
        self.exe = shutil.copy(os.environ["PARLEVO_EXE"], os.path.join(self.dir, "Parlevo.exe"))
        shutil.copy(os.environ["PARLEVO_MODULE"], os.path.join(self.dir, "Lumivex.dll"))
        self.procs = []
        test.addCleanup(self.cleanup)

    def path(self, name):
        return os.path.join(self.dir, name)

    def start(self, *args, cwd=None):
        proc = subprocess.Popen([WINE_RUN, self.exe, *args], cwd=cwd or self.dir,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.procs.append(proc)
        return proc

    def windows(self):
        """Titles of the visible windows of the live processes (xdotool ignores --pid for an ended one)."""
        found = {}
        for p in (p for p in self.procs if p.poll() is None):
            for w in xdotool("search", "--onlyvisible", "--pid", str(p.pid), "--name", ".").split():
                found[w] = xdotool("getwindowname", w)
        return found

    def wait_titled(self, title, exclude=()):
        """A window with exactly this title that is not in exclude (a dialog anew under an earlier one's title)."""
        return wait_for(lambda: "a window titled %r; there are %r" % (title, self.windows()),
                        lambda: next((w for w, t in self.windows().items() if t == title and w not in exclude), None))

    def cleanup(self):
        for p in (p for p in self.procs if p.poll() is None):
            p.kill()
            p.wait()
        shutil.rmtree(self.dir, ignore_errors=True)
