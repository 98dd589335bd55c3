"""End-to-end harness: runs the real Parlevo.exe under Wine (Xvfb when there is no display),
finds its window, sends real keys and clicks with xdotool, reads titles and files back and
takes screenshots.

Each Parlevo instance runs from a private folder holding copies of the exe and the host
module, so it has a settings file of its own.
"""
import atexit
import os
import shutil
import subprocess
import tempfile
import time
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
WINE_RUN = os.path.join(ROOT, "scripts", "wine-run.sh")

_xvfb = None


def ensure_display():
    """Starts one Xvfb for this process when there is no display."""
    global _xvfb
    if os.environ.get("DISPLAY"):
        return
    for n in range(140, 180):
        if not os.path.exists("/tmp/.X%d-lock" % n) and not os.path.exists("/tmp/.X11-unix/X%d" % n):
            _xvfb = subprocess.Popen(["Xvfb", ":%d" % n, "-screen", "0", "1280x900x24", "-nolisten", "tcp"],
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            atexit.register(_xvfb.kill)
            os.environ["DISPLAY"] = ":%d" % n
            for _ in range(50):
                if os.path.exists("/tmp/.X11-unix/X%d" % n):
                    return
                time.sleep(0.1)
            return
    raise RuntimeError("no free X display")


def xdotool(*args, check=False):
    r = subprocess.run(["xdotool", *args], capture_output=True, text=True)
    if check and r.returncode != 0:
        raise RuntimeError("xdotool %s failed: %s" % (" ".join(args), r.stderr))
    return r.stdout.strip()


def to_windows_path(path):
    """The Wine name of a Linux path (drive Z: is the root)."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class Parlevo:
    def __init__(self, exe, module, ini=None):
        ensure_display()
        self.dir = tempfile.mkdtemp(prefix="parlevo-e2e-")
        self.exe = os.path.join(self.dir, "Parlevo.exe")
        shutil.copy(exe, self.exe)
        if module:
            shutil.copy(module, os.path.join(self.dir, "Lumivex.dll"))
        if ini is not None:
            with open(os.path.join(self.dir, "Parlvo.ini"), "w", newline="\r\n") as f:
                f.write(ini)
        self.procs = []

    def path(self, name):
        return os.path.join(self.dir, name)

    def start(self, *args, cwd=None):
        proc = subprocess.Popen([WINE_RUN, self.exe, *args], cwd=cwd or self.dir,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.procs.append(proc)
        return proc

    def windows(self, name="Parlevo", proc=None):
        """Visible windows of this instance's processes (or of proc) whose name matches."""
        found = []
        for p in ([proc] if proc else self.procs):
            # xdotool ignores --pid for a process that has ended: ask only the live ones.
            if p.poll() is not None:
                continue
            out = xdotool("search", "--onlyvisible", "--pid", str(p.pid), "--name", name)
            found += [w for w in out.split() if w and w not in found]
        return found

    def wait_window(self, name="Parlevo", timeout=20.0, proc=None):
        end = time.time() + timeout
        while time.time() < end:
            wins = self.windows(name, proc)
            if wins:
                return wins[0]
            time.sleep(0.05)
        raise AssertionError("no window named %r appeared" % name)

    def wait_title(self, window, expected, timeout=10.0):
        end = time.time() + timeout
        title = None
        while time.time() < end:
            title = self.title(window)
            if title == expected:
                return title
            time.sleep(0.05)
        raise AssertionError("title is %r, expected %r" % (title, expected))

    def title(self, window):
        return xdotool("getwindowname", window)

    def titled(self, title, proc=None):
        """Visible windows of this instance (or of proc) whose title is exactly title."""
        return [w for w in self.windows(".", proc) if self.title(w) == title]

    def wait_titled(self, title, timeout=10.0, exclude=(), proc=None):
        """Waits for a window with exactly this title that is not one of exclude (a dialog
        opened anew under a title that an earlier one had)."""
        end = time.time() + timeout
        while time.time() < end:
            for w in self.titled(title, proc):
                if w not in exclude:
                    return w
            time.sleep(0.05)
        raise AssertionError("no window titled %r appeared; there are %r"
                             % (title, [self.title(w) for w in self.windows(".", proc)]))

    def wait_gone(self, window, timeout=10.0):
        end = time.time() + timeout
        while time.time() < end:
            if window not in self.windows("."):
                return
            time.sleep(0.05)
        raise AssertionError("window %r (%r) is still there" % (window, self.title(window)))

    def geometry(self, window):
        """Width and height of a window."""
        out = xdotool("getwindowgeometry", "--shell", window)
        values = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
        return int(values["WIDTH"]), int(values["HEIGHT"])

    def key(self, window, *keys):
        xdotool("windowfocus", "--sync", window)
        xdotool("key", "--clearmodifiers", *keys)

    def type(self, window, text):
        xdotool("windowfocus", "--sync", window)
        xdotool("type", "--delay", "20", text)

    def click(self, window, x, y, button=1):
        xdotool("mousemove", "--window", window, str(x), str(y))
        xdotool("click", str(button))

    def screenshot(self, out):
        subprocess.run(["import", "-window", "root", out], check=False)

    def run_tool(self, exe, *args, timeout=30.0):
        """Runs another Windows program (a test helper) to its end; returns its result."""
        return subprocess.run([WINE_RUN, exe, *args], cwd=self.dir, capture_output=True, text=True,
                              timeout=timeout)

    def close(self, window):
        """Closes the window as a user would (Alt+F4)."""
        self.key(window, "alt+F4")

    def wait_exit(self, proc, timeout=15.0):
        try:
            return proc.wait(timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError("Parlevo did not end within %.0f s" % timeout)

    def cleanup(self):
        for p in self.procs:
            if p.poll() is None:
                p.kill()
                p.wait()
        shutil.rmtree(self.dir, ignore_errors=True)


class ParlevoTestCase(unittest.TestCase):
    """Base class: PARLEVO_EXE and PARLEVO_MODULE name the built artefacts."""

    def make(self, ini=None, module=True):
        exe = os.environ["PARLEVO_EXE"]
        mod = os.environ.get("PARLEVO_MODULE") if module else None
        p = Parlevo(exe, mod, ini)
        self.addCleanup(p.cleanup)
        return p
