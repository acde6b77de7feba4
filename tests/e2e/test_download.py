"""The download half of the real stub under Wine and Xvfb, against the package server on
127.0.0.1:80: what it asks for, what it leaves on disk, which stage its window ends in for every
kind of answer, the status line and the bar on screen, the single-instance guard and the close
button during a download."""
import fcntl
import io
import os
import pathlib
import queue
import random
import socket
import struct
import subprocess
import sys
import tempfile
import termios
import threading
import time
import unittest
import zipfile

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[1] / "support"))
import winetools as w  # noqa: E402
from package_server import HTML_PAGE, PackageServer  # noqa: E402

STUB = w.WIN64 / "stub.exe"
NATIVE = pathlib.Path(os.environ.get("STUB_NATIVE_DIR", w.BUILD / "native"))
STUBTOOL = NATIVE / "tools" / "stubtool" / "stubtool"

AGENT = "kvr-ptm-internet-appliction"
PACKAGE_PATH = "/down/1099/1099.zip"
CHUNK = 10240

STRIP_X, STRIP_Y, STRIP_WIDTH, STRIP_HEIGHT = 149, 281, 320, 19
BAR_X, BAR_Y = 152, 271
# The bar's pixels inside its rounded region (a 5 x 5 ellipse leaves out the corners, the bottom
# row and the right column).
BAR_ROWS, BAR_COLUMNS = range(0, 6), range(2, 297)
CLOSE_BUTTON_CENTRE = (522 + 30, 264 + 10)
WHITE = (255, 255, 255)
AZURE = (0, 136, 255)
TRACK = (255, 255, 153)
CHOOSE_DIR_X = 16
DOWNLOADING_X = 30

# A window whose stage does not change within this long after the data ended stays in it.
SETTLE_SECONDS = 1.0
OBSERVE_SECONDS = 1.0


def random_bytes(size, seed):
    return random.Random(seed).randbytes(size)


def is_azure_or_blend(p):
    """The text colour or a blend of it with the white background."""
    r, g, b = p
    return b == 255 and abs(g - (136 + r * 119 // 255)) <= 3


def header(entry, name):
    values = [v for k, v in entry["headers"] if k.lower() == name.lower()]
    return values[0] if len(values) == 1 else values or None


def bind_port_80():
    """A listening socket on 127.0.0.1:80. Other test runs on this machine may hold the port for
    a while, so a busy port is tried again for a bounded time."""
    deadline = time.monotonic() + 60
    while True:
        sock = socket.socket()
        sock.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        try:
            sock.bind(("127.0.0.1", 80))
            sock.listen(8)
            return sock
        except OSError:
            sock.close()
            if time.monotonic() > deadline:
                raise
            time.sleep(0.5)


def start_package_server(root, log):
    deadline = time.monotonic() + 60
    while True:
        try:
            return PackageServer(str(root), 80, log=str(log)).start()
        except OSError:
            if time.monotonic() > deadline:
                raise
            time.sleep(0.5)


class ScriptedServer:
    """One HTTP answer on 127.0.0.1:80 that the package server has no mode for: the head given,
    then the body in pieces the test hands over one by one, then a close or a reset."""

    def __init__(self, head: bytes):
        self.head = head
        self.listener = bind_port_80()
        self.request_lines = []
        self.requested = threading.Event()
        self.steps = queue.Queue()
        self.done = threading.Event()
        self.thread = threading.Thread(target=self._serve, daemon=True)
        self.thread.start()

    def send(self, data: bytes):
        self.steps.put(data)

    def close(self):
        self.steps.put("close")

    def reset(self):
        self.steps.put("reset")

    def stop(self):
        self.steps.put("close")
        try:
            self.listener.shutdown(socket.SHUT_RDWR)  # wakes an accept that waits
        except OSError:
            pass
        self.listener.close()
        self.thread.join(10)

    def _serve(self):
        self.listener.settimeout(60)
        try:
            conn, _ = self.listener.accept()
        except OSError:
            return
        with conn:
            conn.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
            request = b""
            while b"\r\n\r\n" not in request:
                data = conn.recv(4096)
                if not data:
                    return
                request += data
            self.request_lines.append(request.split(b"\r\n", 1)[0].decode("latin-1"))
            self.requested.set()
            conn.sendall(self.head)
            while True:
                try:
                    step = self.steps.get(timeout=60)
                except queue.Empty:
                    return
                if isinstance(step, bytes):
                    conn.sendall(step)
                    continue
                if step == "reset":
                    # A reset discards what is still queued here: let the client take it first.
                    deadline = time.monotonic() + 5
                    while time.monotonic() < deadline and self._queued(conn):
                        time.sleep(0.005)
                    conn.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
                else:
                    conn.shutdown(socket.SHUT_WR)
                    conn.settimeout(2)
                    try:
                        while conn.recv(65536):
                            pass
                    except OSError:
                        pass
                self.done.set()
                return

    @staticmethod
    def _queued(conn):
        return struct.unpack("i", fcntl.ioctl(conn.fileno(), termios.TIOCOUTQ,
                                              struct.pack("i", 0)))[0]


class StubRun:
    """One copy of a stub in a temporary folder of its own, started under Wine: its window as the
    probe reads it, its stage, its screen and what it left beside itself."""

    def __init__(self, exe=STUB, cwd=None, earlier_package=None):
        self._folder = tempfile.TemporaryDirectory(prefix="stub-run-")
        self.folder = pathlib.Path(self._folder.name)
        self.exe = w.fresh_copy(exe, self.folder)
        self.package = self.folder / "hq.zip"
        if earlier_package is not None:
            self.package.write_bytes(earlier_package)
        self.process = w.start(self.exe, cwd=cwd)
        self.pid = None
        self.origin = None

    def running(self):
        return self.process.poll() is None

    def window(self, timeout=30):
        """The stub's visible form window, once it shows; None when it never does."""
        if self.pid is None:
            found = w.wait_for(lambda: self.running() and w.form_window(), timeout=timeout)
            if not found:
                return None
            self.pid, self.origin = found["pid"], found["client_origin"]
            return found
        return w.form_window(self.pid)

    def stage(self):
        """'download', 'install', or what the controls show when they are in neither."""
        window = self.window()
        if window is None:
            return None
        return stage_of(window)

    def wait_for_stage(self, stage, timeout=20):
        """The window once it is in `stage` (the install stage with its directory written)."""
        def reached():
            window = self.window()
            if not window or stage_of(window) != stage:
                return None
            if stage == "install" and not w.child(window, "Edit")["text"]:
                return None
            return window
        return w.wait_for(reached, timeout=timeout, interval=0.05)

    def stages_seen(self, seconds=OBSERVE_SECONDS):
        """Every stage the window shows over `seconds`, probed again and again."""
        seen = []
        deadline = time.monotonic() + seconds
        while True:
            seen.append(self.stage())
            if time.monotonic() > deadline:
                return seen

    def wait_until_package_settles(self, quiet=0.5, timeout=60):
        """Waits until hq.zip has not changed for `quiet` seconds: the stub has taken the last
        byte it is going to get."""
        def state():
            try:
                st = self.package.stat()
                return st.st_size, st.st_mtime_ns
            except FileNotFoundError:
                return None
        last, since = state(), time.monotonic()
        deadline = since + timeout
        while time.monotonic() < deadline:
            time.sleep(0.05)
            now = state()
            if now != last:
                last, since = now, time.monotonic()
            elif time.monotonic() - since >= quiet:
                return True
        return False

    def wait_for_package(self, size, timeout=20):
        return w.wait_for(lambda: self.package.exists() and self.package.stat().st_size >= size,
                          timeout=timeout, interval=0.02)

    def strip(self, screen):
        """The status strip 画板3 as rows of pixels."""
        x0, y0 = self.origin[0] + STRIP_X, self.origin[1] + STRIP_Y
        return [screen.row(y0 + y, x0, x0 + STRIP_WIDTH) for y in range(STRIP_HEIGHT)]

    def bar(self, screen):
        """The bar 画板1 inside its rounded region, as rows of pixels."""
        x0, y0 = self.origin[0] + BAR_X, self.origin[1] + BAR_Y
        return [[screen.pixel(x0 + x, y0 + y) for x in BAR_COLUMNS] for y in BAR_ROWS]

    def click_close(self):
        w.mouse_move(self.origin[0] + CLOSE_BUTTON_CENTRE[0],
                     self.origin[1] + CLOSE_BUTTON_CENTRE[1])
        started = time.monotonic()
        w.mouse("click")
        return started

    def end(self):
        if self.running():
            self.process.kill()
            self.process.wait(10)
        self._folder.cleanup()


def stage_of(window):
    shown = {(c["class"] if c["class"] == "Edit" else c["text"]): c["visible"]
             for c in window["children"]}
    install = (shown["Edit"], shown["图形按钮3"], shown["图形按钮4"], not shown["画板1"])
    if install == (True, True, True, True):
        return "install"
    if install == (False, False, False, False):
        return "download"
    return f"between {install}"


def ink_columns(strip):
    return sorted({x for row in strip for x, p in enumerate(row) if p != WHITE})


def stored_html_zip():
    """A ZIP archive that stores an HTML page uncompressed: its header has 0x00 bytes long before
    the page's "<head>"."""
    buffer = io.BytesIO()
    with zipfile.ZipFile(buffer, "w", zipfile.ZIP_STORED) as archive:
        archive.writestr("index.html", HTML_PAGE)
    data = buffer.getvalue()
    assert data.index(b"\0") < data.index(b"<head>")
    return data


def setUpModule():
    if not STUB.exists():
        raise FileNotFoundError(f"{STUB} is not built: build the win64 tree first")
    w.ensure_prefix()
    w.kill_wine()


class DownloadTestCase(unittest.TestCase):
    """Each test has its own package folder and its stubs; every program of the prefix ends with
    the test, so no single-instance event outlives it."""

    def setUp(self):
        self._work = tempfile.TemporaryDirectory(prefix="download-test-")
        self.work = pathlib.Path(self._work.name)
        self.root = self.work / "root"
        self.root.mkdir()
        self.server = None
        self.runs = []
        w.mouse_move(0, 0)  # off the window: no button shows its hover picture

    def tearDown(self):
        for run in self.runs:
            run.end()
        w.kill_wine()
        if self.server:
            self.server.stop()
        self._work.cleanup()

    def serve(self, path=PACKAGE_PATH, data=None, mode=None, **params):
        if data is not None:
            target = self.root / path.lstrip("/")
            target.parent.mkdir(parents=True, exist_ok=True)
            target.write_bytes(data)
        if self.server is None:
            self.server = start_package_server(self.root, self.work / "requests.log")
        if mode:
            self.server.set_fault(path, mode, **params)
        return self.server

    def stub(self, **kwargs):
        run = StubRun(**kwargs)
        self.runs.append(run)
        return run

    def stamped(self, identifier):
        """The test build stamped with `identifier` by stubtool."""
        out = self.work / "stamped" / identifier / "stub.exe"
        out.parent.mkdir(parents=True)
        result = subprocess.run([str(STUBTOOL), "stamp", str(STUB), identifier, str(out)],
                                capture_output=True, timeout=60)
        self.assertEqual(0, result.returncode, result.stderr)
        return out

    def assertInstallStage(self, run, identifier="1099"):
        window = run.wait_for_stage("install")
        self.assertIsNotNone(window, f"no install stage; the window shows {run.stage()}")
        self.assertEqual(f"c:\\{identifier}\\", w.child(window, "Edit")["text"])
        self.assertTrue(w.child(window, text="图形按钮3")["visible"])
        self.assertTrue(w.child(window, text="图形按钮4")["visible"])
        self.assertFalse(w.child(window, text="画板1")["visible"])
        return window

    def assertStaysInDownloadStage(self, run, data_ended):
        """The server sent its last byte at `data_ended` (seconds since the epoch) or, for a long
        answer, once the stub stopped writing: some time after both, the window must still be in
        its download stage, and stay there."""
        self.assertIsNotNone(run.window(), "the stub showed no window")
        self.assertTrue(run.wait_until_package_settles(), "the stub never stopped writing")
        time.sleep(max(0.0, data_ended + SETTLE_SECONDS - time.time()))
        seen = run.stages_seen()
        self.assertEqual(["download"] * len(seen), seen)
        self.assertTrue(run.running())


class RequestAndInstallStageTest(DownloadTestCase):
    def test_delivered_stub_asks_for_1099_and_offers_its_directory(self):
        package = random_bytes(2_000_000, 1099)
        server = self.serve(data=package)
        run = self.stub()
        self.assertInstallStage(run)

        entries = server.requests()
        self.assertEqual(1, len(entries), entries)
        self.assertEqual(f"GET {PACKAGE_PATH} HTTP/1.1", entries[0]["request_line"])
        self.assertEqual(AGENT, header(entries[0], "User-Agent"))
        self.assertEqual("*/*", header(entries[0], "Accept"))
        self.assertEqual("127.0.0.1", header(entries[0], "Host"))
        self.assertEqual(package, run.package.read_bytes())

        # The ready message follows the directory at once. It starts exactly at x 16 of the
        # strip: its first glyph, 请, has no left side bearing in the font at this size, so its
        # ink begins at its origin and a line drawn one pixel off either way fails.
        time.sleep(0.3)
        strip = run.strip(w.Screen(save_as="download-install-stage.png"))
        columns = ink_columns(strip)
        self.assertTrue(columns, "the status strip is blank")
        self.assertEqual(CHOOSE_DIR_X, columns[0])
        self.assertIn(AZURE, [row[CHOOSE_DIR_X] for row in strip])
        ink = [p for row in strip for p in row if p != WHITE]
        self.assertGreater(len(ink), 300)
        self.assertEqual([], [p for p in ink if not is_azure_or_blend(p)][:5])

    def test_stamped_stub_asks_for_its_own_identifier(self):
        exe = self.stamped("2001")
        package = random_bytes(50_000, 2001)
        server = self.serve("/down/2001/2001.zip", data=package)
        run = self.stub(exe=exe)
        self.assertInstallStage(run, "2001")
        self.assertEqual(["GET /down/2001/2001.zip HTTP/1.1"],
                         [e["request_line"] for e in server.requests()])
        self.assertEqual(package, run.package.read_bytes())

    def test_identifier_with_a_space_and_a_percent_goes_into_url_and_directory_unchanged(self):
        identifier = "20 01%"
        exe = self.stamped(identifier)
        package = random_bytes(30_000, 2002)
        server = self.serve(f"/down/{identifier}/{identifier}.zip", data=package)
        run = self.stub(exe=exe)
        self.assertInstallStage(run, identifier)
        entries = server.requests()
        self.assertEqual(1, len(entries))
        # The stub hands the path over as it stands; Wine's WinInet escapes the space on the wire
        # (…/20%2001%/…) and leaves the "%" alone. Nothing else may be escaped: no "%25".
        path = entries[0]["path"]
        self.assertNotIn("%25", path)
        self.assertEqual(f"/down/{identifier}/{identifier}.zip", path.replace("%20", " "))
        self.assertEqual(package, run.package.read_bytes())

    def test_started_from_another_folder_it_writes_beside_itself(self):
        package = random_bytes(40_000, 3)
        self.serve(data=package)
        cwd = self.work / "elsewhere"
        cwd.mkdir()
        run = self.stub(cwd=cwd)
        self.assertInstallStage(run)
        self.assertEqual(package, run.package.read_bytes())
        self.assertEqual([], list(cwd.iterdir()))


class SingleInstanceTest(DownloadTestCase):
    def test_second_copy_ends_silently_while_the_first_downloads(self):
        server = self.serve(data=random_bytes(1_000_000, 5), mode="stall", after=CHUNK)
        first = self.stub()
        self.assertIsNotNone(first.window())
        self.assertEqual(1, len(server.wait_for_requests(1)))

        # The second copy's form exists, hidden, while its creation handler runs the guard; it
        # must never be shown.
        second = self.stub()
        started = time.monotonic()
        shown = set()
        while second.running() and time.monotonic() - started < 30:
            shown |= {window["pid"] for window in w.probe() if window["visible"]}
        self.assertEqual(0, second.process.wait(1))
        shown |= {window["pid"] for window in w.probe() if window["visible"]}
        self.assertEqual({first.pid}, shown)
        time.sleep(0.5)
        self.assertEqual(1, len(server.requests()))
        self.assertFalse(second.package.exists())
        self.assertEqual("download", first.stage())

        first.click_close()
        self.assertEqual(0, first.process.wait(10))

        third = self.stub()
        self.assertIsNotNone(third.window(), "a copy started after the first ended shows no window")
        self.assertEqual(2, len(server.wait_for_requests(2)))


class ServerAnswerTest(DownloadTestCase):
    """One stub per answer; an earlier hq.zip lies beside each, which a 2xx answer replaces and
    any other leaves as it was."""

    EARLIER = b"PK\x03\x04 an earlier package, kept when the server fails"
    BODY = random_bytes(60_000, 7)
    SMALL = random_bytes(100, 8)
    # A reset destroys what still lies in the sockets between server and client, so the cut
    # comes after more than they hold: the stub has then written part of the body.
    LARGE = random_bytes(1200 * CHUNK, 9)
    CAPITAL_HEAD = HTML_PAGE.replace(b"<head>", b"<HEAD>").replace(b"</head>", b"</HEAD>")
    STORED_HTML = stored_html_zip()

    # (case, fault mode and parameters or None, served file, stage, on disk afterwards):
    # on disk "earlier" is the untouched earlier file, "prefix" a proper prefix of the served
    # bytes, else the exact bytes.
    CASES = [
        ("200 HTML page with <head>", ("html", {}), None, "download", HTML_PAGE),
        ("200 HTML page with <HEAD>", ("html", {"body": CAPITAL_HEAD}), None, "install",
         CAPITAL_HEAD),
        ("ZIP storing an HTML page", None, STORED_HTML, "install", STORED_HTML),
        ("body shorter than its length", ("length-larger", {"extra": 1024}), BODY, "download",
         BODY),
        ("reset after part of the body", ("cut-reset", {"after": 800 * CHUNK}), LARGE,
         "download", "prefix"),
        ("no Content-Length", ("no-length", {}), BODY, "install", BODY),
        ("Content-Length 0", ("empty", {}), None, "install", b""),
        ("empty body without a length", ("no-length", {"body": b""}), None, "install", b""),
        ("404 text", ("not-found", {}), None, "download", "earlier"),
        ("404 HTML page", ("not-found-html", {}), None, "download", "earlier"),
        ("Content-Length abc", ("bad-length", {"value": "abc"}), BODY, "install", BODY),
        # 2^32 + 100: a 32-bit count would take it for the 100 bytes that arrive.
        ("Content-Length 2^32 + 100 on 100 bytes", ("bad-length", {"value": str(2**32 + 100)}),
         SMALL, "download", SMALL),
    ]

    def test_each_answer_ends_in_its_stage_with_its_file(self):
        for case, fault, served, stage, on_disk in self.CASES:
            with self.subTest(case):
                try:
                    self.run_case(fault, served, stage, on_disk)
                finally:
                    for run in self.runs:
                        run.end()
                    self.runs.clear()
                    w.kill_wine()
                    if self.server:
                        self.server.clear_requests()

    def run_case(self, fault, served, stage, on_disk):
        mode, params = fault if fault else (None, {})
        if served is None and mode is None:
            raise AssertionError("a case needs a file or a fault")
        if served is not None:
            self.serve(data=served)
        else:
            (self.root / PACKAGE_PATH.lstrip("/")).unlink(missing_ok=True)
            self.serve()
        if mode:
            self.server.set_fault(PACKAGE_PATH, mode, **params)
        else:
            self.server.clear_fault(PACKAGE_PATH)

        run = self.stub(earlier_package=self.EARLIER)
        earlier_mtime = run.package.stat().st_mtime_ns
        entries = self.server.wait_for_requests(1, timeout=30)
        self.assertEqual(1, len(entries))
        self.assertEqual(f"GET {PACKAGE_PATH} HTTP/1.1", entries[0]["request_line"])

        if stage == "install":
            self.assertInstallStage(run)
        else:
            self.assertStaysInDownloadStage(run, entries[0]["time"])
            # The last downloading line stays; an answer that is not 2xx stops before any chunk,
            # so nothing is drawn at all.
            columns = ink_columns(run.strip(w.Screen()))
            if on_disk == "earlier":
                self.assertEqual([], columns)
            else:
                self.assertEqual(DOWNLOADING_X, columns[0] if columns else None)

        if on_disk == "earlier":
            self.assertEqual(self.EARLIER, run.package.read_bytes())
            self.assertEqual(earlier_mtime, run.package.stat().st_mtime_ns)
        elif on_disk == "prefix":
            got = run.package.read_bytes()
            self.assertLess(len(got), len(served))
            self.assertEqual(served[:len(got)], got)
        else:
            self.assertEqual(on_disk, run.package.read_bytes())
        self.assertEqual(1, len(self.server.requests()))


class AnswersWithoutALengthTest(DownloadTestCase):
    """Answers without a Content-Length, sent piece by piece by a server of the test's own once the
    window shows: the bar is drawn onto the window alone, so a bar drawn before the window is
    shown is not seen."""

    HEAD = b"HTTP/1.1 200 OK\r\nContent-Type: application/zip\r\nConnection: close\r\n\r\n"

    def scripted(self, head=HEAD):
        server = ScriptedServer(head)
        self.addCleanup(server.stop)
        return server

    def started(self, server):
        run = self.stub()
        self.assertTrue(server.requested.wait(30), "the stub sent no request")
        self.assertEqual([f"GET {PACKAGE_PATH} HTTP/1.1"], server.request_lines)
        self.assertIsNotNone(run.window(), "the stub showed no window")
        return run

    def test_a_reset_without_a_length_is_not_a_complete_download(self):
        server = self.scripted()
        body = random_bytes(3 * CHUNK, 11)
        run = self.started(server)
        server.send(body)
        self.assertTrue(run.wait_for_package(len(body)))
        time.sleep(0.3)  # the reset finds the stub waiting in its next read
        server.reset()
        self.assertTrue(server.done.wait(10))
        self.assertStaysInDownloadStage(run, time.time())
        self.assertEqual(body, run.package.read_bytes())

    def test_every_line_reads_0_percent_and_the_bar_shows_the_track_alone(self):
        # What 0 per cent looks like: one chunk of a package of 10 MB. (A read gives a whole chunk
        # or the end of the data, so every piece sent here is a number of whole chunks.)
        server = self.scripted(self.HEAD.replace(b"Connection", b"Content-Length: 10000000\r\n"
                                                                 b"Connection"))
        reference = self.started(server)
        server.send(random_bytes(CHUNK, 12))
        self.assertTrue(reference.wait_for_package(CHUNK))
        time.sleep(0.3)
        screen = w.Screen(save_as="download-stage-0-percent.png")
        zero_line, zero_bar = reference.strip(screen), reference.bar(screen)
        self.assertEqual(DOWNLOADING_X, ink_columns(zero_line)[0])
        self.assertEqual({TRACK}, {p for row in zero_bar for p in row})
        server.stop()
        reference.end()
        self.runs.remove(reference)
        w.kill_wine()

        server = self.scripted()
        pieces = [random_bytes(3 * CHUNK, 13 + i) for i in range(3)]
        run = self.started(server)
        received = 0
        for i, piece in enumerate(pieces):
            with self.subTest(piece=i):
                server.send(piece)
                received += len(piece)
                self.assertTrue(run.wait_for_package(received))
                time.sleep(0.3)
                screen = w.Screen(save_as=f"download-no-length-{i}.png")
                self.assertEqual(zero_line, run.strip(screen))
                self.assertEqual(zero_bar, run.bar(screen))
                self.assertEqual("download", run.stage())
        server.close()
        self.assertInstallStage(run)
        self.assertEqual(b"".join(pieces), run.package.read_bytes())


class CloseButtonTest(DownloadTestCase):
    def close_within_a_second(self, run):
        started = run.click_close()
        code = run.process.wait(10)
        elapsed = time.monotonic() - started
        self.assertEqual(0, code)
        self.assertLess(elapsed, 1.0)

    def test_close_during_a_stalled_download(self):
        self.serve(data=random_bytes(1_000_000, 21), mode="stall", after=4 * CHUNK)
        run = self.stub()
        self.assertIsNotNone(run.window())
        self.assertTrue(run.wait_for_package(4 * CHUNK))
        time.sleep(0.3)
        self.close_within_a_second(run)

    def test_close_during_a_slow_download(self):
        package = random_bytes(4_000_000, 22)
        self.serve(data=package, mode="rate", bps=400_000)
        run = self.stub()
        self.assertIsNotNone(run.window())
        self.assertTrue(run.wait_for_package(100_000))
        self.close_within_a_second(run)
        got = run.package.read_bytes()
        self.assertLess(len(got), len(package))
        self.assertEqual(package[:len(got)], got)


if __name__ == "__main__":
    unittest.main()
