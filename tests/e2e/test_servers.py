"""The servers the end-to-end tests and the demo stand on: what the package server's fault modes
put on the wire, its request log and path checks, and that nginx and the FTP server start, serve
and stop."""

import ftplib
import http.client
import io
import json
import os
import select
import shutil
import socket
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from ftp_server import FtpServer  # noqa: E402
from nginx_server import NginxServer  # noqa: E402
from package_server import (NOT_FOUND_TEXT, PackageServer, PackageServerProcess,  # noqa: E402
                            read_log)

HOST, PORT = "127.0.0.1", 80
ZIP_PATH = "/down/1099/1099.zip"
ZIP = bytes(range(256)) * 4096 + b"tail"  # 1 MiB and a bit: more than a socket buffer holds
SMALL = b"small file\n"
SECRET = b"outside the root\n"


def work_folder(name: str) -> str:
    base = os.environ.get("STUB_NATIVE_DIR") or tempfile.gettempdir()
    path = os.path.join(base, "e2e", "servers", name)
    shutil.rmtree(path, ignore_errors=True)
    os.makedirs(path)
    return path


def make_root(work: str) -> str:
    """work/root with the package and a small file; work/secret.txt and a link out beside."""
    root = os.path.join(work, "root")
    os.makedirs(os.path.join(root, "down", "1099"))
    with open(os.path.join(root, ZIP_PATH.lstrip("/")), "wb") as f:
        f.write(ZIP)
    with open(os.path.join(root, "down", "small.bin"), "wb") as f:
        f.write(SMALL)
    with open(os.path.join(work, "secret.txt"), "wb") as f:
        f.write(SECRET)
    os.symlink(work, os.path.join(root, "out"))
    return root


class Reply:
    """One answer as it came over the wire."""

    def __init__(self, status, headers, body, end):
        self.status, self.headers, self.body, self.end = status, headers, body, end

    def header(self, name):
        values = [v for k, v in self.headers if k.lower() == name.lower()]
        return values[0] if values else None


def send_request(path, headers=(("Connection", "close"),), method="GET", port=PORT):
    sock = socket.create_connection((HOST, port), timeout=5)
    lines = [f"{method} {path} HTTP/1.1", f"Host: {HOST}"] + [f"{k}: {v}" for k, v in headers]
    sock.sendall(("\r\n".join(lines) + "\r\n\r\n").encode("latin-1"))
    return sock


def read_head(sock):
    """(status, headers, the body bytes that came with the head)."""
    data = b""
    while b"\r\n\r\n" not in data:
        chunk = sock.recv(65536)
        if not chunk:
            raise AssertionError(f"connection ended inside the head: {data!r}")
        data += chunk
    head, rest = data.split(b"\r\n\r\n", 1)
    lines = head.decode("latin-1").split("\r\n")
    version, status, _ = lines[0].split(" ", 2)
    assert version == "HTTP/1.1", lines[0]
    return int(status), [tuple(p.strip() for p in line.split(":", 1)) for line in lines[1:]], rest


def read_until(sock, body, count):
    body = bytearray(body)  # bytes would be copied whole on every append
    while len(body) < count:
        chunk = sock.recv(65536)
        if not chunk:
            break
        body += chunk
    return bytes(body)


def read_to_end(sock, body=b"", timeout=5.0):
    """Reads until the server ends the connection; end is "eof", "reset" or "timeout"."""
    sock.settimeout(timeout)
    data = bytearray(body)
    try:
        while True:
            chunk = sock.recv(65536)
            if not chunk:
                return bytes(data), "eof"
            data += chunk
    except ConnectionResetError:
        return bytes(data), "reset"
    except socket.timeout:
        return bytes(data), "timeout"
    finally:
        sock.close()


def fetch(path, **kwargs):
    sock = send_request(path, **kwargs)
    status, headers, body = read_head(sock)
    body, end = read_to_end(sock, body)
    return Reply(status, headers, body, end)


def is_silent(sock, seconds):
    readable, _, _ = select.select([sock], [], [], seconds)
    return not readable


class PackageServerTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.work = work_folder("package")
        cls.root = make_root(cls.work)
        cls.log = os.path.join(cls.work, "requests.jsonl")
        cls.srv = PackageServer(cls.root, PORT, log=cls.log).start()

    @classmethod
    def tearDownClass(cls):
        cls.srv.stop()

    def setUp(self):
        self.srv.set_faults({})
        self.srv.clear_requests()

    def test_serves_files_over_one_kept_alive_connection(self):
        cases = [  # method, path, status, content type, length, body
            ("GET", ZIP_PATH, 200, "application/zip", len(ZIP), ZIP),
            ("GET", "/down/small.bin", 200, "application/octet-stream", len(SMALL), SMALL),
            ("HEAD", ZIP_PATH, 200, "application/zip", len(ZIP), b""),
            ("GET", "/down/missing.zip", 404, "text/plain", None, None),
            ("GET", "/down", 404, "text/plain", None, None),
            ("POST", ZIP_PATH, 405, "text/plain", None, None),
        ]
        conn = http.client.HTTPConnection(HOST, PORT, timeout=5)
        for method, path, status, ctype, length, body in cases:
            with self.subTest(method=method, path=path):
                conn.request(method, path)
                reply = conn.getresponse()
                data = reply.read()
                self.assertEqual(reply.status, status)
                self.assertEqual(reply.getheader("Content-Type"), ctype)
                self.assertEqual(int(reply.getheader("Content-Length")), len(data) if
                                 length is None else length)
                if body is not None:
                    self.assertTrue(data == body, f"{len(data)} bytes differ from the file")
        conn.close()
        clients = {tuple(r["client"]) for r in self.srv.requests()}
        self.assertEqual(len(clients), 1, "every request should come over one connection")

    def test_logs_each_request_as_sent(self):
        headers = [("User-Agent", "kvr-ptm-internet-appliction"), ("Accept", "*/*"),
                   ("X-Twice", "1"), ("x-twice", "2"), ("Connection", "close")]
        reply = fetch("/down/small.bin?x=1", headers=headers)
        self.assertEqual(reply.status, 200)
        [entry] = self.srv.requests()
        self.assertEqual(entry["request_line"], "GET /down/small.bin?x=1 HTTP/1.1")
        self.assertEqual((entry["method"], entry["path"], entry["version"]),
                         ("GET", "/down/small.bin?x=1", "HTTP/1.1"))
        self.assertEqual(entry["headers"], [["Host", HOST]] + [list(h) for h in headers])
        self.assertEqual(entry["client"][0], HOST)
        self.assertAlmostEqual(entry["time"], time.time(), delta=10)
        self.assertEqual(entry["status"], 200)
        self.assertEqual(read_log(self.log)[-1], entry)

    def test_refuses_paths_outside_the_root(self):
        for path in ["/../secret.txt", "/%2e%2e/secret.txt", "/down/../../secret.txt",
                     "/down/..%2F..%2Fsecret.txt", "/out/secret.txt",
                     "http://127.0.0.1/../secret.txt", "down/small.bin"]:
            with self.subTest(path=path):
                reply = fetch(path)
                self.assertEqual(reply.status, 403)
                self.assertNotIn(SECRET, reply.body)
        reply = fetch("/down/./1099/%31099.zip")
        self.assertEqual((reply.status, len(reply.body)), (200, len(ZIP)))

    def test_fault_modes_on_the_wire(self):
        n = len(ZIP)
        cases = [  # mode, parameters, status, Content-Length, body, how the connection ends
            ("no-length", {}, 200, None, ZIP, "eof"),
            ("length-larger", {"extra": 100}, 200, str(n + 100), ZIP, "eof"),
            ("length-smaller", {"less": 100}, 200, str(n - 100), ZIP[:-100], "eof"),
            ("length-smaller", {"less": 100, "send_all": True}, 200, str(n - 100), ZIP, "eof"),
            ("cut-reset", {"after": 300_000}, 200, str(n), ZIP[:300_000], "reset"),
            ("empty", {}, 200, "0", b"", "eof"),
            ("bad-length", {}, 200, "abc", ZIP, "eof"),
            ("not-found", {}, 404, str(len(NOT_FOUND_TEXT)), NOT_FOUND_TEXT, "eof"),
            ("html", {"body": "<HTML><HEAD></HEAD></HTML>"}, 200, "26",
             b"<HTML><HEAD></HEAD></HTML>", "eof"),
        ]
        for mode, params, status, length, body, end in cases:
            with self.subTest(mode=mode, params=params):
                self.srv.set_fault(ZIP_PATH, mode, **params)
                reply = fetch(ZIP_PATH)
                self.assertEqual(reply.status, status)
                self.assertEqual(reply.header("Content-Length"), length)
                self.assertEqual(len(reply.body), len(body))
                self.assertTrue(reply.body == body, "the body differs")
                self.assertEqual(reply.end, end)
                self.assertEqual(self.srv.requests()[-1]["fault"], mode)

    def test_html_pages_carry_a_head_tag(self):
        for mode, status in [("html", 200), ("not-found-html", 404), ("not-found", 404)]:
            with self.subTest(mode=mode):
                self.srv.set_fault(ZIP_PATH, mode)
                reply = fetch(ZIP_PATH)
                self.assertEqual(reply.status, status)
                self.assertEqual(b"<head>" in reply.body, mode != "not-found")
                self.assertEqual(reply.header("Content-Type"),
                                 "text/plain" if mode == "not-found" else "text/html")

    def test_stall_holds_the_connection_silent(self):
        cases = [  # parameters, released by the test, bytes in the end
            ({"after": 1000}, True, 1000),
            ({"after": 1000, "then": "finish"}, True, len(ZIP)),
            ({"after": 1000, "seconds": 0.6}, False, 1000),
        ]
        for params, release, total in cases:
            with self.subTest(params=params):
                self.srv.set_fault(ZIP_PATH, "stall", **params)
                sock = send_request(ZIP_PATH)
                status, headers, body = read_head(sock)
                body = read_until(sock, body, 1000)
                self.assertEqual((status, len(body)), (200, 1000))
                self.assertIn(("Content-Length", str(len(ZIP))), headers)
                self.assertTrue(is_silent(sock, 0.4), "a stalled connection sent or closed")
                other = fetch("/down/small.bin")
                self.assertEqual(other.body, SMALL, "a stall blocked another connection")
                if release:
                    self.srv.release_stalls()
                body, end = read_to_end(sock, body)
                self.assertEqual((len(body), end), (total, "eof"))
                self.assertTrue(body == ZIP[:total])

    def test_rate_is_paced(self):
        cases = [(12_500_000, 25_000_000), (50_000, 50_000)]  # about 2 s and 1 s
        with open(os.path.join(self.root, "paced.bin"), "wb") as f:
            f.truncate(cases[0][1])
        for bps, size in cases:
            with self.subTest(bps=bps):
                params = {} if size == cases[0][1] else {"body": b"r" * size}
                self.srv.set_fault("/paced.bin", "rate", bps=bps, **params)
                sock = send_request("/paced.bin")
                status, headers, body = read_head(sock)
                started = time.monotonic()
                body = read_until(sock, body, size)
                elapsed = time.monotonic() - started
                sock.close()
                self.assertEqual((status, len(body)), (200, size))
                # Paced, not unthrottled and not stalled; a loaded machine reads a few per cent
                # slower than the server sends, so the margin is not a few per cent.
                self.assertAlmostEqual(size / elapsed / bps, 1.0, delta=0.15)

    def test_rejects_unknown_faults(self):
        for mode, params in [("slow", {}), ("stall", {"bogus": 1}), ("rate", {"bps": 0}),
                             ("stall", {"then": "later"})]:
            with self.subTest(mode=mode, params=params):
                with self.assertRaises(ValueError):
                    self.srv.set_fault(ZIP_PATH, mode, **params)

    def test_stop_breaks_stalls_and_pacing(self):
        with PackageServer(self.root, 0) as srv:
            srv.set_fault("/stall", "stall", body=b"s" * 10)
            srv.set_fault("/slow", "rate", bps=1000, body=b"r" * 100_000)
            socks = [send_request(p, port=srv.port) for p in ("/stall", "/slow")]
            srv.wait_for_requests(2)
            started = time.monotonic()
        self.assertLess(time.monotonic() - started, 3.0)
        for sock in socks:
            _, end = read_to_end(sock, timeout=2)
            self.assertIn(end, ("eof", "reset"))


class PackageServerCommandTest(unittest.TestCase):
    def test_faults_file_and_reload(self):
        work = work_folder("command")
        root = make_root(work)
        faults = os.path.join(work, "faults.json")
        with open(faults, "w") as f:
            json.dump({ZIP_PATH: {"mode": "not-found-html"}, "/down/small.bin": "empty"}, f)
        log = os.path.join(work, "requests.jsonl")
        srv = PackageServerProcess(root, log, PORT, faults_file=faults).start()
        try:
            self.assertEqual(srv.port, PORT)
            first = fetch(ZIP_PATH)
            self.assertEqual(first.status, 404)
            self.assertIn(b"<head>", first.body)
            self.assertEqual(fetch("/down/small.bin").body, b"")
            with open(faults, "w") as f:
                json.dump({}, f)
            srv.reload_faults()
            deadline = time.monotonic() + 5
            while fetch("/down/small.bin").body != SMALL and time.monotonic() < deadline:
                time.sleep(0.1)
            self.assertEqual(fetch("/down/small.bin").body, SMALL)
        finally:
            code = srv.stop()
        self.assertEqual(code, 0)
        entries = srv.requests()
        self.assertEqual([e["fault"] for e in entries[:2]], ["not-found-html", "empty"])
        self.assertEqual(entries[0]["path"], ZIP_PATH)


class NginxServerTest(unittest.TestCase):
    def test_serves_and_logs_agent_and_accept(self):
        work = work_folder("nginx")
        root = make_root(work)
        srv = NginxServer(root, os.path.join(work, "nginx"), PORT)
        with srv:
            conn = http.client.HTTPConnection(HOST, PORT, timeout=5)
            conn.request("GET", ZIP_PATH, headers={"User-Agent": "kvr-ptm-internet-appliction",
                                                   "Accept": "*/*"})
            reply = conn.getresponse()
            body = reply.read()
            conn.close()
            self.assertEqual(reply.status, 200)
            self.assertEqual(reply.getheader("Content-Type"), "application/zip")
            self.assertEqual(reply.getheader("Content-Length"), str(len(ZIP)))
            self.assertTrue(body == ZIP)
            self.assertTrue(os.path.isfile(srv.pid_file))
            deadline = time.monotonic() + 5
            while not srv.requests() and time.monotonic() < deadline:
                time.sleep(0.05)
            [entry] = srv.requests()
            self.assertEqual(entry["request_line"], f"GET {ZIP_PATH} HTTP/1.1")
            self.assertEqual((entry["user_agent"], entry["accept"]),
                             ("kvr-ptm-internet-appliction", "*/*"))
            self.assertEqual((entry["status"], entry["body_bytes_sent"]), (200, len(ZIP)))
            proc = srv.proc
        self.assertIsNotNone(proc.poll())
        self.assertFalse(os.path.exists(srv.pid_file))
        with self.assertRaises(ConnectionRefusedError):
            socket.create_connection((HOST, PORT), timeout=2)


class FtpServerTest(unittest.TestCase):
    def test_serves_read_only_to_anonymous(self):
        work = work_folder("ftp")
        root = make_root(work)
        # A free port: the transfer tests hold no lock on port 21.
        srv = FtpServer(root, os.path.join(work, "ftp.log"), 0)
        with srv:
            for passive in (True, False):
                with self.subTest(passive=passive):
                    ftp = ftplib.FTP()
                    ftp.connect(HOST, srv.port, timeout=5)
                    ftp.login()
                    ftp.set_pasv(passive)
                    ftp.voidcmd("TYPE I")
                    self.assertEqual(ftp.size(ZIP_PATH), len(ZIP))
                    data = io.BytesIO()
                    ftp.retrbinary(f"RETR {ZIP_PATH}", data.write)
                    self.assertTrue(data.getvalue() == ZIP)
                    with self.assertRaises(ftplib.error_perm):
                        ftp.storbinary("STOR /new.bin", io.BytesIO(b"x"))
                    if passive:
                        self.assertIn(ftp.makepasv()[1], range(60000, 60100))
                    ftp.quit()
            port = srv.port
        self.assertFalse(os.path.exists(os.path.join(root, "new.bin")))
        self.assertIn(f"RETR {ZIP_PATH}", srv.log_text())
        with self.assertRaises(ConnectionRefusedError):
            socket.create_connection((HOST, port), timeout=2)


if __name__ == "__main__":
    unittest.main()
