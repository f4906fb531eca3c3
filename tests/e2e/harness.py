"""Runs the real program under Wine and looks at it from outside, as a user would.

A test lays out an installation folder, starts the program with that folder as its working
directory, and reads the window through the driver (uidriver.exe, a Win32 program in the same Wine
prefix that reads other processes' windows with ordinary messages). Typing and real clicks go
through xdotool, since the address control only learns an octet from the user's own edit.

The environment names the pieces: IPLIST_EXE, UIDRIVER_EXE and WINE_SESSION (the folder that
scripts/wine-session made)."""
import json
import os
import shutil
import subprocess
import tempfile
import time
import unittest

EXE = os.environ.get("IPLIST_EXE", "")
POSED_EXE = os.environ.get("IPLIST_POSED_EXE", "")
DRIVER = os.environ.get("UIDRIVER_EXE", "")
SESSION = os.environ.get("WINE_SESSION", "")
WORK = os.environ.get("E2E_WORK", tempfile.gettempdir())

HEALTHY_RELEASE = "131\r\n"


def session_environment():
    env = dict(os.environ)
    with open(os.path.join(SESSION, "env")) as lines:
        for line in lines:
            line = line.strip()
            if line.startswith("export "):
                name, value = line[len("export "):].split("=", 1)
                env[name] = value.strip('"')
    return env


ENV = session_environment() if SESSION else dict(os.environ)


def map_drive(letter, unix_folder, prefix=None):
    link = os.path.join(prefix or ENV["WINEPREFIX"], "dosdevices", letter.lower() + ":")
    if os.path.lexists(link):
        os.remove(link)
    os.symlink(unix_folder, link)


class InstallFolder:
    """A product folder D:\\KWO (or another name) on a drive of its own, with every component."""

    def __init__(self, test_name, folder="KWO", drive="D", release=HEALTHY_RELEASE, address_list=None, prefix=None):
        self.root = os.path.join(WORK, test_name)
        shutil.rmtree(self.root, ignore_errors=True)
        self.path = os.path.join(self.root, folder) if folder else self.root
        os.makedirs(os.path.join(self.path, "TABLDATA"), exist_ok=True)
        for name in ("QVR.Exe", "ZVQ", os.path.join("TABLDATA", "CATALOGX")):
            self.write(name, b"component")
        if release is not None:
            self.write("Rev.Txt", release.encode("latin-1"))
        if address_list is not None:
            self.write("IPList.Txt", address_list)
        self.drive = drive
        map_drive(drive, self.root, prefix)

    def file(self, name):
        return os.path.join(self.path, name)

    def write(self, name, data):
        with open(self.file(name), "wb") as out:
            out.write(data)

    def read(self, name):
        with open(self.file(name), "rb") as source:
            return source.read()

    def exists(self, name):
        return os.path.exists(self.file(name))

    def windows_path(self, name=""):
        relative = os.path.relpath(os.path.join(self.path, name), self.root)
        return self.drive + ":\\" + ("" if relative == "." else relative.replace("/", "\\"))


class Driver:
    """The helper that reads the program's windows; one process, one JSON reply per command."""

    def __init__(self, user=None):
        self.process = subprocess.Popen(wine_command(DRIVER, user), stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                        stderr=subprocess.DEVNULL, env=ENV, text=True, encoding="utf-8")

    def __call__(self, *words):
        self.process.stdin.write(" ".join(str(w) for w in words) + "\n")
        self.process.stdin.flush()
        reply = self.process.stdout.readline()
        if not reply:
            raise RuntimeError("the driver ended")
        return json.loads(reply)

    def close(self):
        self.process.stdin.close()
        self.process.wait(timeout=30)
        self.process.stdout.close()


def wine_command(exe, user=None, extra_env=None):
    """Wine running EXE, as the test's unprivileged user when one is given."""
    settings = dict(extra_env or {})
    if user is None:
        return ["env", *["%s=%s" % item for item in settings.items()], "wine", exe]
    return user.command("wine", exe, extra_env=settings)


class UnprivilegedUser:
    """A Unix user that is not root, with a Wine prefix of its own in its home: the one way to meet
    a folder that refuses writing here, since root may write anywhere."""

    name = "iplist-tester"

    def __init__(self):
        if subprocess.run(["id", "-u", self.name], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode != 0:
            subprocess.run(["useradd", "-m", "-s", "/bin/sh", self.name], check=True)
        self.home = os.path.expanduser("~" + self.name)
        self.prefix = os.path.join(self.home, "wine-prefix")
        shutil.rmtree(self.prefix, ignore_errors=True)
        subprocess.run(self.command("wineboot", "-i"), check=True, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=300)

    def command(self, *words, extra_env=None):
        """WORDS run as this user, with its own prefix and the session's display."""
        settings = {"WINEPREFIX": self.prefix, "HOME": self.home, "USER": self.name, "DISPLAY": ENV["DISPLAY"],
                    "WINEDEBUG": "-all", "WINEDLLOVERRIDES": "mscoree,mshtml="}
        settings.update(extra_env or {})
        return ["runuser", "-u", self.name, "--", "env", *["%s=%s" % item for item in settings.items()], *words]

    def own(self, path):
        subprocess.run(["chown", "-R", self.name, path], check=True)

    def stop(self):
        subprocess.run(self.command("wineserver", "-k"), check=False, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def xdotool(*arguments):
    subprocess.run(["xdotool", *[str(a) for a in arguments]], env=ENV, check=True)


def centre(rect):
    return (rect[0] + rect[2]) // 2, (rect[1] + rect[3]) // 2


class Program:
    """The program running in an installation folder."""

    def __init__(self, folder, driver, cwd=None, exe=None, user=None, posed=None):
        self.folder = folder
        self.driver = driver
        self.process = subprocess.Popen(wine_command(exe or EXE, user, posed), cwd=cwd or folder.path, env=ENV,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        window = driver("window", 20000)
        if "error" in window:
            raise AssertionError("the program showed no window")
        self.window = window["hwnd"]

    def children(self):
        return self.driver("children", self.window)["children"]

    def control(self, text=None, cls=None):
        for child in self.children():
            if (text is None or child["text"] == text) and (cls is None or child["class"] == cls):
                return child
        raise AssertionError("no control %r of class %r" % (text, cls))

    def list_box(self):
        return self.driver("list", self.control(cls="TListBox")["hwnd"])

    def entries(self):
        return self.list_box()["items"]

    def selected(self):
        return self.list_box()["selected"]

    def enabled(self, text):
        return self.control(text=text)["enabled"]

    def wait_until_ready(self, timeout=30):
        """The deferred start-up has run when the address control is enabled and focused again."""
        deadline = time.time() + timeout
        while time.time() < deadline:
            ip = self.control(cls="TSysIPAddress32")
            focus = self.driver("focus")
            if ip["enabled"] and focus.get("parent") == ip["hwnd"]:
                time.sleep(0.2)
                return
            time.sleep(0.1)
        raise AssertionError("the start-up did not finish")

    def click(self, text):
        """A real mouse click, so that the focus moves as it does for a user."""
        xdotool("mousemove", *centre(self.control(text=text)["rect"]), "click", "1")
        time.sleep(0.3)

    def post_click(self, text):
        self.driver("click", self.control(text=text)["hwnd"])
        time.sleep(0.3)

    def key(self, *keys):
        xdotool("key", *keys)
        time.sleep(0.3)

    def select(self, *indices):
        self.driver("select", self.control(cls="TListBox")["hwnd"], *indices)

    def type_address(self, *octets):
        ip = self.control(cls="TSysIPAddress32")
        fields = sorted(self.driver("children", ip["hwnd"])["children"], key=lambda c: c["rect"][0])
        for field, octet in zip(fields, octets):
            xdotool("mousemove", *centre(field["rect"]), "click", "1")
            xdotool("key", "End", "shift+Home")
            xdotool("type", "--delay", "30", str(octet))
        time.sleep(0.2)

    def message_box(self, timeout=10000):
        box = self.driver("msgbox", timeout)
        if "error" in box:
            raise AssertionError("no message box appeared")
        return box

    def no_message_box(self, timeout=1500):
        return "error" in self.driver("msgbox", timeout)

    def answer(self, box, button):
        for candidate in box["buttons"]:
            if candidate["text"].replace("&", "") == button:
                self.driver("click", candidate["hwnd"])
                time.sleep(0.4)
                return
        raise AssertionError("the box has no button %r: %r" % (button, box["buttons"]))

    def close_box(self):
        """The title bar's close box: Xvfb has no window manager, so the system command stands in."""
        self.driver("close", self.window)

    def wait_exit(self, timeout=20):
        return self.process.wait(timeout=timeout)

    def running(self):
        return self.process.poll() is None

    def kill(self):
        if self.running():
            self.process.kill()
            self.process.wait()


class ProgramTest(unittest.TestCase):
    """Starts a fresh driver for each test and ends whatever program the test left running."""

    user = None  # an UnprivilegedUser, for the tests that run as one

    def setUp(self):
        self.driver = Driver(self.user)
        self.programs = []

    def tearDown(self):
        for program in self.programs:
            program.kill()
        self.driver.close()

    def folder(self, **options):
        return InstallFolder(self.id().split(".")[-1], prefix=self.user.prefix if self.user else None, **options)

    def start(self, folder, cwd=None, exe=None, posed=None):
        program = Program(folder, self.driver, cwd=cwd, exe=exe, user=self.user, posed=posed)
        self.programs.append(program)
        return program

    def start_ready(self, folder):
        program = self.start(folder)
        program.wait_until_ready()
        return program
