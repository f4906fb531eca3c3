"""Runs the real program under Wine and looks at it from outside, as a user would.

A test lays out an installation folder and has the driver (uidriver.exe, a Win32 program in the same
Wine prefix that reads other processes' windows with ordinary messages) start the program with that
folder as its working directory; the driver then reads that process's windows only. Typing and real
clicks go through xdotool, since the address control only learns an octet from the user's own edit.
The program handles what it is sent on its own time, so a test waits for what it expects to see (a
box shown, a list changed, a window gone), never for a fixed time, and every wait has a bound.

The environment names the pieces: IPLIST_EXE, UIDRIVER_EXE and WINE_SESSION (the folder that
scripts/wine-session made)."""
import json
import os
import select
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
RELEASE_FILE = "Rev.Txt"


def read_components():
    """The product's components as paths in the program folder, from the list the program is
    built with; the release file under the name the program reads it by."""
    listed = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "validation", "components.txt")
    with open(listed) as lines:
        names = [line.strip().replace("\\", os.sep) for line in lines if line.strip() and not line.startswith("#")]
    return [RELEASE_FILE if name.lower() == RELEASE_FILE.lower() else name for name in names]


COMPONENTS = read_components()


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
ARCH = ENV.get("WINEARCH", "win64")  # the session's prefix: win32 runs the 32-bit program


def as_session(*words):
    return list(words)


def windows_version(command=as_session):
    """The Windows release a prefix poses as, by winecfg's name for it (win7, win2k, ...).
    COMMAND turns the words into the command line (another user's, say). The answer comes through
    a file, not a pipe: winecfg may start the prefix's desktop process, which holds what it
    inherited open for as long as it runs, and a pipe would then never end."""
    with tempfile.TemporaryFile() as answer:
        subprocess.run(command("wine", "winecfg", "-v"), env=ENV, check=True, stdout=answer, stderr=subprocess.DEVNULL)
        answer.seek(0)
        return answer.read().decode().strip()


def pose_windows_version(version, command=as_session):
    subprocess.run(command("wine", "winecfg", "-v", version), env=ENV, check=True, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)


def map_drive(letter, unix_folder, prefix=None):
    link = os.path.join(prefix or ENV["WINEPREFIX"], "dosdevices", letter.lower() + ":")
    if os.path.lexists(link):
        os.remove(link)
    os.symlink(unix_folder, link)


class InstallFolder:
    """A product folder D:\\KWO (or another name) on a drive of its own, with every component."""

    def __init__(self, test_name, folder="KWO", drive="D", release=HEALTHY_RELEASE, address_list=None, prefix=None,
                 prepare_root=None):
        self.root = os.path.join(WORK, test_name)
        subprocess.run(["rm", "-rf", self.root], check=True)  # of any depth, where shutil.rmtree recurses
        if prepare_root:  # for instance, a file system of its own mounted there
            os.makedirs(self.root, exist_ok=True)
            prepare_root(self.root)
        self.path = os.path.join(self.root, folder) if folder else self.root
        os.makedirs(self.path, exist_ok=True)
        for name in COMPONENTS:
            os.makedirs(os.path.dirname(self.file(name)), exist_ok=True)
            if name != RELEASE_FILE:
                self.write(name, b"component")
            elif release is not None:
                self.write(name, release.encode("latin-1"))
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
    """The helper that reads the program's windows; one process, one JSON reply per command, each
    awaited for no longer than the command's own wait and a margin."""

    MARGIN = 15  # seconds beyond the command's own wait

    def __init__(self, user=None, env=None):
        self.process = subprocess.Popen(wine_command(DRIVER, user), stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                        stderr=subprocess.DEVNULL, env=env or ENV)
        self.pending = b""

    def __call__(self, *words, wait_ms=0):
        self.send(" ".join(str(w) for w in words), wait_ms)
        return self.reply(wait_ms)

    def start(self, directory, exe, environment):
        """Starts EXE in DIRECTORY (Windows paths) with NAME=VALUE pairs added: its process id."""
        fields = ["start", directory, exe] + ["%s=%s" % item for item in environment.items()]
        self.send("\t".join(fields), 0)
        reply = self.reply(0)
        if "pid" not in reply:
            raise AssertionError("the program did not start: %r" % reply)
        return reply["pid"]

    def send(self, line, wait_ms):
        self.process.stdin.write((line + "\n").encode("utf-8"))
        self.process.stdin.flush()

    def reply(self, wait_ms):
        deadline = time.time() + wait_ms / 1000 + self.MARGIN
        descriptor = self.process.stdout.fileno()
        while b"\n" not in self.pending:
            remaining = deadline - time.time()
            if remaining <= 0 or not select.select([descriptor], [], [], remaining)[0]:
                self.process.kill()
                raise RuntimeError("the driver gave no reply in time")
            chunk = os.read(descriptor, 65536)
            if not chunk:
                raise RuntimeError("the driver ended")
            self.pending += chunk
        line, self.pending = self.pending.split(b"\n", 1)
        return json.loads(line.decode("utf-8"))

    def close(self):
        self.process.stdin.close()
        try:
            self.process.wait(timeout=30)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        self.process.stdout.close()


def wine_command(exe, user=None):
    """Wine running EXE, as the test's unprivileged user when one is given."""
    return ["wine", exe] if user is None else user.command("wine", exe)


class UnprivilegedUser:
    """A Unix user that is not root, with a Wine prefix of its own in its home: the one way to meet
    a folder that refuses writing here, since root may write anywhere."""

    name = "iplist-tester"

    def __init__(self, release=None):
        """RELEASE: the Windows release the user's prefix poses as (winecfg's name)."""
        if subprocess.run(["id", "-u", self.name], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode != 0:
            subprocess.run(["useradd", "-m", "-s", "/bin/sh", self.name], check=True)
        self.home = os.path.expanduser("~" + self.name)
        self.prefix = os.path.join(self.home, "wine-prefix")
        shutil.rmtree(self.prefix, ignore_errors=True)
        subprocess.run(self.command("wineboot", "-i"), check=True, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=300)
        if release:
            pose_windows_version(release, self.command)
            posed = windows_version(self.command)
            if posed != release:
                raise AssertionError("the prefix poses as %r, not %r" % (posed, release))

    def command(self, *words):
        """WORDS run as this user, with its own prefix (of the session's architecture) and the
        session's display."""
        settings = {"WINEPREFIX": self.prefix, "WINEARCH": ARCH, "HOME": self.home, "USER": self.name,
                    "DISPLAY": ENV["DISPLAY"], "WINEDEBUG": "-all", "WINEDLLOVERRIDES": "mscoree,mshtml="}
        return ["runuser", "-u", self.name, "--", "env", *["%s=%s" % item for item in settings.items()], *words]

    def own(self, path):
        subprocess.run(["chown", "-R", self.name, path], check=True)

    def stop(self):
        subprocess.run(self.command("wineserver", "-k"), check=False, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


class SecondWorkstation:
    """A Wine prefix of its own with its own Wine server, as another workstation is: nothing of
    the first prefix's sharing of open files reaches it, only the Unix file system they share."""

    def __init__(self):
        self.prefix = os.path.join(WORK, "second-workstation")
        shutil.rmtree(self.prefix, ignore_errors=True)
        self.env = dict(ENV, WINEPREFIX=self.prefix)
        subprocess.run(["wineboot", "-i"], env=self.env, check=True, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=300)

    def driver(self):
        return Driver(env=self.env)

    def stop(self):
        subprocess.run(["wineserver", "-k"], env=self.env, check=False, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)


def xdotool(*arguments):
    subprocess.run(["xdotool", *[str(a) for a in arguments]], env=ENV, check=True)


def centre(rect):
    return (rect[0] + rect[2]) // 2, (rect[1] + rect[3]) // 2


def windows_path(unix_path):
    """Where Wine's drive Z: (the Unix root) shows a file."""
    return "Z:" + os.path.abspath(unix_path).replace("/", "\\")


def wait_until(condition, timeout, what):
    """Waits for CONDITION to hold, for TIMEOUT seconds at most."""
    deadline = time.time() + timeout
    while not condition():
        if time.time() >= deadline:
            raise AssertionError("%s did not happen within %s seconds" % (what, timeout))
        time.sleep(0.05)


class Program:
    """The program running in an installation folder, started by the driver so that the driver
    knows its process."""

    def __init__(self, folder, driver, exe=None, posed=None):
        self.folder = folder
        self.driver = driver
        self.pid = driver.start(folder.windows_path(), windows_path(exe or EXE), posed or {})
        window = driver("window", self.pid, 20000, wait_ms=20000)
        if "error" in window:
            raise AssertionError("the program showed no window")
        self.window = window["hwnd"]

    def move(self, x, y):
        self.driver("move", self.window, x, y)

    def window_info(self):
        return self.driver("window", self.pid, 1000, wait_ms=1000)

    def children(self):
        return self.driver("children", self.window)["children"]

    def answers(self):
        """Whether the window handles a message within a second, and its title meanwhile."""
        return self.driver("answers", self.window, wait_ms=2000)

    def control(self, text=None, cls=None):
        for child in self.children():
            if (text is None or child["text"] == text) and (cls is None or child["class"] == cls):
                return child
        raise AssertionError("no control %r of class %r" % (text, cls))

    def list_box(self):
        return self.driver("list", self.control(cls="ListBox")["hwnd"])

    def entries(self):
        return self.list_box()["items"]

    def selected(self):
        return self.list_box()["selected"]

    def enabled(self, text):
        return self.control(text=text)["enabled"]

    def focus(self):
        return self.driver("focus", self.pid)

    def ready(self):
        """The deferred start-up has run to its end: out of the busy state (the address control
        enabled and focused) and Apply disabled, its last step."""
        ip = self.control(cls="SysIPAddress32")
        return ip["enabled"] and self.focus().get("parent") == ip["hwnd"] and not self.enabled("Apply")

    def wait_until_ready(self, timeout=30):
        wait_until(self.ready, timeout, "the end of the start-up")

    def click(self, text):
        """A real mouse click, so that the focus moves as it does for a user."""
        xdotool("mousemove", *centre(self.control(text=text)["rect"]), "click", "1")

    def post_click(self, text):
        self.driver("click", self.control(text=text)["hwnd"])

    def key(self, *keys):
        xdotool("key", *keys)

    def select(self, *indices):
        self.driver("select", self.control(cls="ListBox")["hwnd"], *indices)

    def type_address(self, *octets):
        ip = self.control(cls="SysIPAddress32")
        fields = sorted(self.driver("children", ip["hwnd"])["children"], key=lambda c: c["rect"][0])
        for field, octet in zip(fields, octets):
            xdotool("mousemove", *centre(field["rect"]), "click", "1")
            xdotool("key", "End", "shift+Home")
            xdotool("type", "--delay", "30", str(octet))

    def add(self, *octets):
        """Types an address and clicks Add, then waits for it to be listed."""
        self.type_address(*octets)
        self.click("Add Address to List")
        address = ".".join(str(o) for o in octets)
        wait_until(lambda: address in self.entries(), 10, "the listing of " + address)

    def message_box(self, timeout=10000):
        box = self.driver("msgbox", self.pid, timeout, wait_ms=timeout)
        if "error" in box:
            raise AssertionError("no message box appeared")
        return box

    def no_message_box(self, timeout=1500):
        return "error" in self.driver("msgbox", self.pid, timeout, wait_ms=timeout)

    def answer(self, box, button):
        for candidate in box["buttons"]:
            if candidate["text"].replace("&", "") == button:
                self.driver("click", candidate["hwnd"])
                if not self.driver("gone", box["hwnd"], 10000, wait_ms=10000)["gone"]:
                    raise AssertionError("the box stayed after %r" % button)
                return
        raise AssertionError("the box has no button %r: %r" % (button, box["buttons"]))

    def close_box(self):
        """The title bar's close box: Xvfb has no window manager, so the system command stands in."""
        self.driver("close", self.window)

    def wait_exit(self, timeout=20):
        reply = self.driver("wait", self.pid, timeout * 1000, wait_ms=timeout * 1000)
        if "exit" not in reply:
            raise AssertionError("the program did not end within %s seconds" % timeout)
        return reply["exit"]

    def running(self):
        return "running" in self.driver("wait", self.pid, 0)

    def kill(self):
        self.driver("kill", self.pid)


class ProgramTest(unittest.TestCase):
    """Starts a fresh driver for each test; the driver ends whatever program the test left running."""

    user = None  # an UnprivilegedUser, for the tests that run as one

    def setUp(self):
        self.driver = Driver(self.user)

    def tearDown(self):
        self.driver.close()

    def folder(self, **options):
        return InstallFolder(self.id().split(".")[-1], prefix=self.user.prefix if self.user else None, **options)

    def start(self, folder, exe=None, posed=None):
        return Program(folder, self.driver, exe=exe, posed=posed)

    def start_ready(self, folder):
        program = self.start(folder)
        program.wait_until_ready()
        return program

    def assertSoon(self, read, expected, timeout=10, message=None):
        """READ() gives EXPECTED within TIMEOUT seconds: the program handles what it was sent on its
        own time."""
        deadline = time.time() + timeout
        while True:
            value = read()
            if value == expected or time.time() >= deadline:
                self.assertEqual(value, expected, message)
                return
            time.sleep(0.05)


class UnprivilegedProgramTest(ProgramTest):
    """The tests of a class run as a Unix user that is not root, with a prefix of its own."""

    release = None  # the Windows release that prefix poses as, where not Wine's default

    @classmethod
    def setUpClass(cls):
        cls.user = UnprivilegedUser(cls.release)

    @classmethod
    def tearDownClass(cls):
        cls.user.stop()
