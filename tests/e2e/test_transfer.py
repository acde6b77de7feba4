"""The transfer table over WinInet under Wine, against real servers.

tests/win/transfer_test.exe makes the layer's calls and checks what they give; this script makes
the files it fetches, serves them over HTTP on 127.0.0.1:80 (our package server, with its fault
modes), over nginx and over FTP, runs the program once, and then checks, test by test, that its
cases passed and what the servers were asked."""

import os
import pathlib
import random
import shutil
import socket
import subprocess
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ElementTree

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import winetools  # noqa: E402
from ftp_server import FtpServer  # noqa: E402
from nginx_server import NginxServer  # noqa: E402
from package_server import PackageServer  # noqa: E402

EXE = winetools.WIN64 / "tests" / "win" / "transfer_test.exe"
AGENT = "kvr-ptm-internet-appliction"
CHUNK = 10240

rng = random.Random(1099)
DATA = rng.randbytes(100000)
# Line ends, NULs and lone CRs, which an ASCII transfer would change.
FTP_DATA = b"\r\n\x00line\nCR\r\r\n\xff\x00\x00\n\n" * 3000 + rng.randbytes(12345) + b"\r\n"
FILES = {
    "data.bin": DATA,
    "padded.bin": rng.randbytes(30000),
    "unread.bin": rng.randbytes(25000),
    "small.bin": rng.randbytes(3000),
    "empty.bin": b"",
    "cut.bin": rng.randbytes(1200 * CHUNK),
    "short.bin": rng.randbytes(7000),
    "ftp.bin": FTP_DATA,
    "page404.txt": b"no package of that name here\r\n",
    "length/none.bin": rng.randbytes(50000),
    "length/abc.bin": b"a" * 100,
    "length/negative.bin": b"n" * 100,
    "length/leading.bin": b"l" * 1024,
    "length/fraction.bin": b"f" * 100,
    "length/large.bin": b"L" * 100,
    "length/huge.bin": b"h" * 100,
}
CUT_AFTER = 800 * CHUNK  # more than the sockets between server and client hold
FAULTS = {
    "/length/none.bin": ("no-length", {}),
    "/length/abc.bin": ("bad-length", {"value": "abc"}),
    "/length/negative.bin": ("bad-length", {"value": "-5"}),
    "/length/leading.bin": ("bad-length", {"value": "512abc"}),
    "/length/fraction.bin": ("bad-length", {"value": "77.9"}),
    "/length/large.bin": ("bad-length", {"value": "6000000000"}),
    "/length/huge.bin": ("bad-length", {"value": "99999999999999999999"}),
    "/down/gone/gone.zip": ("not-found", {"body": FILES["page404.txt"]}),
    "/cut.bin": ("cut-reset", {"after": CUT_AFTER}),
    "/short.bin": ("length-larger", {"extra": 1024}),
}


def work_folder() -> pathlib.Path:
    base = os.environ.get("STUB_NATIVE_DIR") or tempfile.gettempdir()
    path = pathlib.Path(base, "e2e", "transfer")
    shutil.rmtree(path, ignore_errors=True)
    path.mkdir(parents=True)
    return path


def free_port() -> int:
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def header(entry, name):
    values = [v for k, v in entry["headers"] if k.lower() == name.lower()]
    return values[0] if len(values) == 1 else values or None


class TransferTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        if not EXE.exists():
            raise FileNotFoundError(f"{EXE} is not built: build the win64 tree first")
        work = work_folder()
        cls.root = work / "root"
        for name, data in FILES.items():
            (cls.root / name).parent.mkdir(parents=True, exist_ok=True)
            (cls.root / name).write_bytes(data)
        cls.xml = work / "results.xml"
        # Bound and never listening: a connection to it is refused.
        cls.closed = socket.socket()
        cls.closed.bind(("127.0.0.1", 0))
        cls.nginx_port = free_port()

        cls.http = PackageServer(str(cls.root), 80, log=str(work / "http.log"))
        cls.nginx = NginxServer(str(cls.root), str(work / "nginx"), port=cls.nginx_port)
        cls.ftp = FtpServer(str(cls.root), str(work / "ftp.log"), port=0)
        try:
            cls.http.start()
            for path, (mode, params) in FAULTS.items():
                cls.http.set_fault(path, mode, **params)
            cls.nginx.start()
            cls.ftp.start()
            winetools.ensure_prefix()
            winetools.kill_wine()
            winetools.ENV.update({
                "STUB_TRANSFER_ROOT": winetools.windows_path(cls.root),
                "STUB_TRANSFER_NGINX_PORT": str(cls.nginx_port),
                "STUB_TRANSFER_FTP_PORT": str(cls.ftp.port),
                "STUB_TRANSFER_CLOSED_PORT": str(cls.closed.getsockname()[1]),
            })
            report = f"--gtest_output=xml:{winetools.windows_path(cls.xml)}"
            cls.run_result = winetools.run(EXE, report, timeout=240)
        finally:
            cls.http.stop()
            cls.nginx.stop()
            cls.ftp.stop()
            cls.closed.close()
        cls.cases = cls.read_results()

    @classmethod
    def read_results(cls) -> dict:
        """{test name: list of failure messages} from the program's XML report."""
        if not cls.xml.exists():
            return {}
        cases = {}
        for case in ElementTree.parse(cls.xml).iter("testcase"):
            cases[case.get("name")] = [f.get("message", "") for f in case.iter("failure")]
        return cases

    def assertPassed(self, name):
        output = (self.run_result.stdout + self.run_result.stderr).decode("utf-8", "replace")
        self.assertIn(name, self.cases, f"{name} did not run:\n{output[-4000:]}")
        self.assertEqual(self.cases[name], [], f"{name} failed")

    def requests(self, path):
        return [e for e in self.http.requests() if e["path"] == path]

    def assertRequestedAsTheStubDoes(self, entry, path):
        self.assertEqual(entry["request_line"], f"GET {path} HTTP/1.1")
        self.assertEqual(header(entry, "User-Agent"), AGENT)
        self.assertEqual(header(entry, "Accept"), "*/*")
        self.assertEqual(header(entry, "Host"), "127.0.0.1")
        self.assertIsNone(header(entry, "Authorization"))

    def test_program_ran_to_its_end(self):
        output = (self.run_result.stdout + self.run_result.stderr).decode("utf-8", "replace")
        self.assertEqual(self.run_result.returncode, 0, output[-4000:])
        failed = [name for name, failures in self.cases.items() if failures]
        self.assertEqual(failed, [])

    def test_http_request_and_chunked_body(self):
        self.assertPassed("HttpDeliversTheServedBytesInChunks")
        entries = self.requests("/data.bin")
        self.assertEqual(len(entries), 1)
        self.assertRequestedAsTheStubDoes(entries[0], "/data.bin")
        self.assertEqual(entries[0]["status"], 200)

    def test_padded_url_with_given_arguments(self):
        self.assertPassed("GivenArgumentsAndPaddedUrlOpenTheSameFile")
        entries = self.requests("/padded.bin")
        self.assertEqual(len(entries), 1)
        self.assertRequestedAsTheStubDoes(entries[0], "/padded.bin")

    def test_announced_length(self):
        self.assertPassed("LengthIsTheLeadingNumberOfContentLength")
        self.assertPassed("WithoutContentLengthTheBodyStillArrivesWhole")
        for path, (mode, _) in FAULTS.items():
            if path.startswith("/length/"):
                self.assertEqual([e["fault"] for e in self.requests(path)],
                                 [mode] * (2 if path == "/length/none.bin" else 1), path)

    def test_error_page(self):
        self.assertPassed("ErrorPageOpensAndDeliversItsBody")
        entries = self.requests("/down/gone/gone.zip")
        self.assertEqual([(e["status"], e["fault"]) for e in entries], [(404, "not-found")])

    def test_broken_connection(self):
        self.assertPassed("BrokenConnectionIsAFailedReadNotTheEnd")
        self.assertEqual([e["fault"] for e in self.requests("/cut.bin")], ["cut-reset"] * 2)
        self.assertPassed("BodyShorterThanAnnouncedIsAFailedRead")
        self.assertEqual([e["fault"] for e in self.requests("/short.bin")], ["length-larger"])

    def test_reads_outside_an_open_transfer(self):
        self.assertPassed("ReadsOutsideAnOpenTransferFail")
        self.assertEqual(len(self.requests("/unread.bin")), 1)

    def test_every_fetch_comes_from_the_server(self):
        self.assertPassed("EveryFetchComesFromTheServer")
        entries = self.requests("/cache.bin")
        self.assertEqual(len(entries), 2, "the second fetch must not come from a cache")
        for entry in entries:
            self.assertRequestedAsTheStubDoes(entry, "/cache.bin")
            self.assertIsNone(header(entry, "If-Modified-Since"))
            self.assertIsNone(header(entry, "If-None-Match"))

    def test_failed_opens(self):
        self.assertPassed("FailedOpensLeaveEverySlotFree")
        paths = {e["path"] for e in self.http.requests()}
        self.assertNotIn("/refused.bin", paths)
        self.assertNotIn("/unrecognised.bin", paths)

    def test_fifty_slots(self):
        self.assertPassed("FiftySlotsThenNoneUntilOneCloses")
        # 50, none for the 51st, then 3 more after the closes.
        entries = self.requests("/small.bin")
        self.assertEqual(len(entries), 53)
        # The first fifty were open at once, each on a connection of its own.
        self.assertEqual(len({tuple(e["client"]) for e in entries[:50]}), 50)

    def test_nginx(self):
        self.assertPassed("NginxServesTheSameBytes")
        entries = self.nginx.requests()
        self.assertEqual(len(entries), 1)
        entry = entries[0]
        self.assertEqual(entry["request_line"], "GET /data.bin HTTP/1.1")
        self.assertEqual(entry["user_agent"], AGENT)
        self.assertEqual(entry["accept"], "*/*")
        self.assertEqual(entry["host"], f"127.0.0.1:{self.nginx_port}")
        self.assertEqual((entry["status"], entry["body_bytes_sent"], entry["completion"]),
                         (200, len(DATA), "OK"))

    def test_ftp(self):
        self.assertPassed("FtpDeliversTheFileByteForByte")
        self.assertPassed("FtpMissingFileFailsTheOpen")
        self.assertPassed("FtpRefusedConnectionFailsTheOpen")
        commands = [line.split("<- ", 1)[1] for line in self.ftp.log_text().splitlines()
                    if "<- " in line]
        self.assertEqual(commands.count("USER anonymous"), 3)  # the refused open sent none
        # Each retrieval is of the file as it is: the type set last before it is binary.
        retrievals = [i for i, c in enumerate(commands) if c.startswith("RETR ")]
        self.assertEqual([commands[i] for i in retrievals],
                         ["RETR /ftp.bin", "RETR /missing.bin", "RETR /ftp.bin"])
        for i in retrievals:
            self.assertEqual([c for c in commands[:i] if c.startswith("TYPE ")][-1], "TYPE I")

    def test_wininet_is_bound_at_run_time(self):
        self.assertPassed("BindsEveryFunctionFromTheSystemFolder")
        self.assertPassed("LibraryWithoutTheFunctionsBindsNothing")
        programs = [(EXE, "x86_64-w64-mingw32-objdump"),
                    (winetools.WIN64 / "stub.exe", "x86_64-w64-mingw32-objdump"),
                    (winetools.WIN32 / "stub.exe", "i686-w64-mingw32-objdump")]
        for program, objdump in programs:
            if not program.exists():
                continue
            imports = subprocess.run([objdump, "-p", str(program)], check=True,
                                     capture_output=True, text=True).stdout
            dlls = [line.split(":", 1)[1].strip().lower() for line in imports.splitlines()
                    if "DLL Name:" in line]
            self.assertIn("kernel32.dll", dlls, program)
            self.assertNotIn("wininet.dll", dlls, program)


if __name__ == "__main__":
    unittest.main()
