"""What the end-to-end tests need to drive Windows programs under Wine and look at the screen.

The Wine environment comes from wine-env.sh, the one place that defines it.
"""
import contextlib
import json
import os
import pathlib
import shutil
import subprocess
import tempfile
import time

SUPPORT = pathlib.Path(__file__).resolve().parent
SOURCE = SUPPORT.parent.parent
BUILD = pathlib.Path(os.environ.get("STUB_BUILD_ROOT", SOURCE / "build")).resolve()
WIN64 = BUILD / "win64"
WIN32 = BUILD / "win32"
ARTIFACTS = BUILD / "artifacts"


def _load_env():
    os.environ.setdefault("STUB_WINE_DIR", str(BUILD / "wine"))
    out = subprocess.run(["bash", "-c", f'source "{SUPPORT}/wine-env.sh" && env -0'],
                         check=True, capture_output=True).stdout
    env = dict(item.split("=", 1) for item in out.decode().split("\0") if "=" in item)
    for name in list(env):
        if name.lower().endswith("_proxy"):
            del env[name]
    return env


ENV = _load_env()
WINE64 = ENV["WINE64"]
WINE32 = ENV["WINE32"]
PREFIX = pathlib.Path(ENV["WINEPREFIX"])
DRIVE_C = PREFIX / "drive_c"


@contextlib.contextmanager
def display():
    """The X display programs show on: $DISPLAY when it is set, otherwise a private X server for
    the duration of the block. Yields True when the display is a private one nobody sees."""
    if os.environ.get("DISPLAY"):
        ENV["DISPLAY"] = os.environ["DISPLAY"]
        yield False
        return
    server = subprocess.Popen(["Xvfb", "-displayfd", "1", "-screen", "0", "1024x768x24",
                               "-nolisten", "tcp"], stdout=subprocess.PIPE,
                              stderr=subprocess.DEVNULL)
    os.environ["DISPLAY"] = ENV["DISPLAY"] = ":" + server.stdout.readline().decode().strip()
    try:
        yield True
    finally:
        server.terminate()
        server.wait()
        del os.environ["DISPLAY"]
        ENV.pop("DISPLAY", None)


def ensure_prefix():
    subprocess.run([str(SUPPORT / "wine-prefix")], check=True, env=ENV)


def kill_wine():
    """Ends every program of the prefix, so no stub of an earlier test keeps its event alive."""
    subprocess.run([ENV["WINESERVER"], "-k"], env=ENV, capture_output=True)
    subprocess.run([ENV["WINESERVER"], "-w"], env=ENV, capture_output=True)


def windows_path(path):
    """The Wine path of a Unix path (drive Z: maps the Unix root)."""
    return "Z:" + str(pathlib.Path(path).resolve()).replace("/", "\\")


def start(exe, *args, cwd=None, wine=None):
    """Starts a program and returns at once. Its output goes nowhere: Wine's helper processes
    (the wineserver, explorer) inherit the standard handles of the program that started them, so a
    pipe would never see its end."""
    return subprocess.Popen([wine or WINE64, str(exe), *map(str, args)], env=ENV, cwd=cwd,
                            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)


def run(exe, *args, timeout=60, cwd=None, wine=None):
    """Runs a program to its end; its output is collected in files, for the reason start() gives."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        result = subprocess.run([wine or WINE64, str(exe), *map(str, args)], env=ENV, cwd=cwd,
                                stdin=subprocess.DEVNULL, stdout=out, stderr=err, timeout=timeout)
        out.seek(0)
        err.seek(0)
        return subprocess.CompletedProcess(result.args, result.returncode, out.read(), err.read())


def probe(command="windows"):
    result = run(WIN64 / "tests" / "support" / "probe.exe", command, timeout=30)
    return json.loads(result.stdout.decode("utf-8"))


def wait_for(condition, timeout=20.0, interval=0.1):
    """Polls condition() until it gives a true value, which it returns; None on timeout."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            return None
        time.sleep(interval)


def form_window(pid=None, visible=True):
    """The first toolkit form on screen (of the process pid, if given)."""
    for window in probe():
        if (pid is None or window["pid"] == pid) and (window["visible"] or not visible):
            return window
    return None


def child(window, class_name=None, text=None):
    for c in window["children"]:
        if (class_name is None or c["class"] == class_name) and (text is None or c["text"] == text):
            return c
    return None


class Screen:
    """A screenshot of the whole X display, with pixels addressed in screen coordinates."""

    def __init__(self, save_as=None):
        data = subprocess.run(["import", "-window", "root", "-depth", "8", "ppm:-"], check=True,
                              capture_output=True, env=os.environ).stdout
        # P6 header: magic, width, height, maxval, each followed by white space.
        fields, pos = [], 0
        while len(fields) < 4:
            while data[pos:pos + 1].isspace():
                pos += 1
            start_pos = pos
            while not data[pos:pos + 1].isspace():
                pos += 1
            fields.append(data[start_pos:pos])
        self.width, self.height = int(fields[1]), int(fields[2])
        if fields[0] != b"P6" or fields[3] != b"255":
            raise ValueError(f"unexpected screenshot format {fields}")
        self.pixels = data[pos + 1:]
        if save_as:
            save_screenshot(save_as, data)

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.pixels[i:i + 3])

    def row(self, y, x0, x1):
        return [self.pixel(x, y) for x in range(x0, x1)]


def save_screenshot(name, ppm_data=None):
    """Keeps a PNG of the screen under build/artifacts, for people to look at."""
    ARTIFACTS.mkdir(parents=True, exist_ok=True)
    target = ARTIFACTS / name
    if ppm_data is None:
        subprocess.run(["import", "-window", "root", str(target)], check=True)
    else:
        subprocess.run(["convert", "ppm:-", str(target)], input=ppm_data, check=True)
    return target


def mouse_location():
    out = subprocess.run(["xdotool", "getmouselocation", "--shell"], check=True,
                         capture_output=True, text=True).stdout
    values = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
    return int(values["X"]), int(values["Y"])


def mouse_move(x, y):
    # --sync waits for the pointer to move, which it never does when it is already there.
    if mouse_location() != (x, y):
        subprocess.run(["xdotool", "mousemove", "--sync", str(x), str(y)], check=True)


def click(x, y, button=1):
    mouse_move(x, y)
    subprocess.run(["xdotool", "click", str(button)], check=True)


def mouse(action, button=1):
    subprocess.run(["xdotool", action, str(button)], check=True)


def key(name):
    subprocess.run(["xdotool", "key", name], check=True)


def fresh_copy(exe, folder):
    """A copy of a program in a folder of its own: the stub writes its files beside itself."""
    folder = pathlib.Path(folder)
    folder.mkdir(parents=True, exist_ok=True)
    target = folder / pathlib.Path(exe).name
    shutil.copy2(exe, target)
    return target
