#!/usr/bin/env python3
"""The package server of the tests and the demo: HTTP/1.1 over a folder, on a loopback address.

Every request is logged as one JSON line (to a file and to memory) before it is answered, and
chosen paths can misbehave the way broken, slow or hostile servers do (the fault modes, see
MODES and docs/test-servers.md). Python's standard library only.

As a command (runs until SIGTERM or Ctrl-C; SIGHUP reloads the faults file, SIGUSR1 releases
every stalled connection):
    python3 package_server.py --root DIR --log FILE [--port N] [--faults FILE]

As a module:
    with PackageServer(root, port=80) as srv:
        srv.set_fault("/down/1099/1099.zip", "cut-reset", after=4096)
        ...
        srv.requests()
"""

import argparse
import copy
import email.utils
import fcntl
import http
import ipaddress
import json
import os
import signal
import socket
import socketserver
import struct
import subprocess
import sys
import termios
import threading
import time
import urllib.parse

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from child_process import ChildServer, read_ready_line  # noqa: E402

SERVER_NAME = "stub-package-server"

# Fault modes and their parameters with defaults. None means "worked out from the body":
# `less` is half the body, `after` of cut-reset is half the body. Every mode also takes `body`
# (text or bytes) to answer with in place of the file.
MODES = {
    "no-length": {},
    "length-larger": {"extra": 1024},
    "length-smaller": {"less": None, "send_all": False},
    "cut-reset": {"after": None},
    "stall": {"after": 1024, "seconds": None, "then": "close"},
    "not-found": {},
    "not-found-html": {},
    "empty": {},
    "html": {},
    "rate": {"bps": 12_500_000},
    "bad-length": {"value": "abc"},
}

NOT_FOUND_TEXT = b"404 Not Found\n"
NOT_FOUND_HTML = (b"<html>\r\n<head><title>404 Not Found</title></head>\r\n<body>\r\n"
                  b"<center><h1>404 Not Found</h1></center>\r\n</body>\r\n</html>\r\n")
HTML_PAGE = (b"<!DOCTYPE html>\r\n<html>\r\n<head><title>Maintenance</title></head>\r\n"
             b"<body><p>The download service is down for maintenance.</p></body>\r\n</html>\r\n")

MAX_LINE = 8192
MAX_HEADERS = 100
IDLE_TIMEOUT = 60.0
# A graceful close waits this long for the client to close its end (see _close_gracefully).
LINGER_SECONDS = 2.0
# A reset waits at most this long for the client to take the bytes already sent.
DRAIN_SECONDS = 5.0


class Fault:
    """One path's fault mode with its parameters; `release` ends a stall."""

    def __init__(self, mode: str, **params):
        if mode not in MODES:
            raise ValueError(f"unknown fault mode {mode!r}; known: {', '.join(MODES)}")
        unknown = set(params) - set(MODES[mode]) - {"body"}
        if unknown:
            raise ValueError(f"fault mode {mode} takes no parameter {', '.join(sorted(unknown))}")
        self.mode = mode
        self.params = {**MODES[mode], **params}
        body = self.params.pop("body", None)
        self.body = body.encode("utf-8") if isinstance(body, str) else body
        if mode == "rate" and not self.params["bps"] > 0:
            raise ValueError("rate needs bps > 0")
        if mode == "stall" and self.params["then"] not in ("close", "finish"):
            raise ValueError("stall: then is 'close' or 'finish'")
        self.release = threading.Event()


def faults_from_json(data: dict) -> dict:
    """{path: "mode" or {"mode": ..., params...}} → {path: Fault}; raises ValueError."""
    faults = {}
    for path, fault in data.items():
        if isinstance(fault, str):
            fault = {"mode": fault}
        fault = dict(fault)
        faults[path] = Fault(fault.pop("mode"), **fault)
    return faults


def load_faults_file(path: str) -> dict:
    with open(path, encoding="utf-8") as f:
        return faults_from_json(json.load(f))


def read_log(path: str) -> list:
    """The requests logged in a log file, oldest first."""
    with open(path, encoding="utf-8") as f:
        return [json.loads(line) for line in f if line.strip()]


def _check_loopback(host: str) -> None:
    if not ipaddress.ip_address(host).is_loopback:
        raise ValueError(f"{host} is not a loopback address")


def _content_type(name: str) -> str:
    return "application/zip" if name.lower().endswith(".zip") else "application/octet-stream"


class _Body:
    """What an answer carries: a file, streamed with sendfile, or bytes in memory."""

    def __init__(self, data: bytes = b"", path: str = None):
        self.file = open(path, "rb") if path else None
        self.data = data
        self.size = os.fstat(self.file.fileno()).st_size if self.file else len(data)

    def send(self, sock: socket.socket, offset: int, count: int) -> None:
        count = min(count, self.size - offset)
        if count <= 0:
            return  # socket.sendfile takes a count of 0 as "to the end of the file"
        if self.file:
            sock.sendfile(self.file, offset, count)
        else:
            sock.sendall(memoryview(self.data)[offset:offset + count])

    def close(self) -> None:
        if self.file:
            self.file.close()


class _Server(socketserver.ThreadingTCPServer):
    allow_reuse_address = True
    daemon_threads = True
    request_queue_size = 64

    def __init__(self, address, root: str, on_request, fault_for):
        self.root = os.path.realpath(root)
        self.on_request = on_request
        self.fault_for = fault_for
        self.stopping = threading.Event()
        self.connections = {}  # handler thread -> socket
        self.connections_lock = threading.Lock()
        super().__init__(address, _Handler)


class _Handler(socketserver.BaseRequestHandler):
    server: _Server

    def setup(self):
        self.sock = self.request
        self.sock.settimeout(IDLE_TIMEOUT)
        # Head and body go out in separate sends; Nagle would hold a small body back for the
        # client's delayed acknowledgement (40 ms a request on loopback).
        self.sock.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
        self.reader = self.sock.makefile("rb")
        with self.server.connections_lock:
            self.server.connections[threading.current_thread()] = self.sock

    def finish(self):
        with self.server.connections_lock:
            self.server.connections.pop(threading.current_thread(), None)
        self.reader.close()

    def handle(self):
        try:
            while not self.server.stopping.is_set():
                request = self._read_request()
                if request is None or not self._answer(request):
                    return
        except OSError:
            pass  # the client went away or the server is stopping: nothing left to answer

    # --- reading

    def _readline(self, too_long_status):
        line = self.reader.readline(MAX_LINE + 1)
        if len(line) > MAX_LINE:
            raise _BadRequest(too_long_status)
        return line

    def _read_request(self):
        """The next request as a dict, or None when the connection ended or the request was
        malformed (then it is logged and answered with a 4xx or 5xx, and the connection ends)."""
        entry = {"time": None, "client": list(self.client_address[:2]), "request_line": None,
                 "method": None, "path": None, "version": None, "headers": []}
        try:
            line = self._readline(414)
            while line in (b"\r\n", b"\n"):  # stray line breaks between requests are allowed
                line = self._readline(414)
            if not line:
                return None
            entry["time"] = time.time()
            entry["request_line"] = line.rstrip(b"\r\n").decode("latin-1")
            while True:
                raw = self._readline(431)
                if not raw:
                    return None
                if raw in (b"\r\n", b"\n"):
                    break
                if len(entry["headers"]) >= MAX_HEADERS:
                    raise _BadRequest(431)
                text = raw.rstrip(b"\r\n").decode("latin-1")
                if text[:1] in (" ", "\t") and entry["headers"]:  # obsolete line folding
                    entry["headers"][-1][1] += " " + text.strip()
                    continue
                name, sep, value = text.partition(":")
                if not sep or not name or name != name.strip():
                    raise _BadRequest(400)
                entry["headers"].append([name, value.strip()])
            parts = entry["request_line"].split()
            if len(parts) < 3 or not parts[-1].startswith("HTTP/1."):
                raise _BadRequest(400)
            # Joining the middle keeps a target with raw spaces in it whole.
            entry["method"], entry["path"], entry["version"] = \
                parts[0], " ".join(parts[1:-1]), parts[-1]
            if self._header(entry, "transfer-encoding") is not None:
                raise _BadRequest(501)
            length = self._header(entry, "content-length")
            if length is not None:
                if not length.isdigit():
                    raise _BadRequest(400)
                self.reader.read(int(length))  # a body on a GET means nothing here
        except _BadRequest as bad:
            entry["time"] = entry["time"] or time.time()
            entry["status"], entry["fault"] = bad.status, None
            self.server.on_request(entry)
            text = f"{bad.status} {http.HTTPStatus(bad.status).phrase}\n".encode()
            self._send_head(bad.status, "text/plain", len(text), close=True)
            self.sock.sendall(text)
            self._close_gracefully()
            return None
        return entry

    @staticmethod
    def _header(entry, name):
        for key, value in entry["headers"]:
            if key.lower() == name:
                return value
        return None

    def _keep_alive(self, entry) -> bool:
        tokens = [t.strip().lower() for t in (self._header(entry, "connection") or "").split(",")]
        if entry["version"] == "HTTP/1.0":
            return "keep-alive" in tokens
        return "close" not in tokens

    # --- answering

    def _resolve(self, target: str):
        """(status, path of the file) for a request target; status 200 only with a file."""
        if "://" in target:
            target = urllib.parse.urlsplit(target).path or "/"
        raw = urllib.parse.unquote_to_bytes(target.split("?")[0].encode("latin-1"))
        segments = raw.split(b"/")
        if not raw.startswith(b"/") or b".." in segments or b"\0" in raw:
            return 403, None
        path = os.path.join(os.fsencode(self.server.root), *[s for s in segments if s])
        real = os.fsdecode(os.path.realpath(path))
        if real != self.server.root and not real.startswith(self.server.root + os.sep):
            return 403, None
        return (200, real) if os.path.isfile(real) else (404, None)

    def _answer(self, entry) -> bool:
        """Answers one request; True when the connection stays open for the next one."""
        fault = self.server.fault_for(entry["path"])
        mode = fault.mode if fault else None
        status = 200
        if entry["method"] not in ("GET", "HEAD"):
            status, ctype, body, mode = 405, "text/plain", _Body(b"405 Method Not Allowed\n"), None
        elif mode in ("not-found", "not-found-html", "empty", "html"):
            status = 404 if mode.startswith("not-found") else 200
            default = {"not-found": NOT_FOUND_TEXT, "not-found-html": NOT_FOUND_HTML,
                       "empty": b"", "html": HTML_PAGE}[mode]
            ctype = "text/plain" if mode == "not-found" else "text/html"
            body = _Body(default if fault.body is None else fault.body)
        elif fault and fault.body is not None:
            body, ctype = _Body(fault.body), _content_type(entry["path"].split("?")[0])
        else:
            status, path = self._resolve(entry["path"])
            if status == 200:
                body, ctype = _Body(path=path), _content_type(path)
            else:
                ctype, mode = "text/plain", None
                body = _Body(f"{status} {http.HTTPStatus(status).phrase}\n".encode())
        entry["status"], entry["fault"] = status, mode
        self.server.on_request(entry)
        try:
            return self._send(entry, fault if mode else None, status, ctype, body)
        finally:
            body.close()

    def _send(self, entry, fault, status, ctype, body) -> bool:
        head_only = entry["method"] == "HEAD"
        keep = self._keep_alive(entry)
        mode = fault.mode if fault else None
        p = fault.params if fault else {}
        size = body.size
        if mode in (None, "not-found", "not-found-html", "empty", "html", "rate"):
            self._send_head(status, ctype, size, close=not keep, entry=entry)
            if not head_only:
                if mode == "rate":
                    if not self._send_paced(body, size, p["bps"]):
                        return False
                else:
                    body.send(self.sock, 0, size)
            if keep:
                return True
            self._close_gracefully()
            return False
        if mode == "no-length":
            self._send_head(status, ctype, None, close=True)
            sent = size
        elif mode == "bad-length":
            self._send_head(status, ctype, p["value"], close=True)
            sent = size
        elif mode == "length-larger":
            self._send_head(status, ctype, size + p["extra"], close=False, entry=entry)
            sent = size
        elif mode == "length-smaller":
            less = size // 2 if p["less"] is None else p["less"]
            announced = max(0, size - max(1, less))
            self._send_head(status, ctype, announced, close=False, entry=entry)
            sent = size if p["send_all"] else announced
        elif mode == "cut-reset":
            self._send_head(status, ctype, size, close=False, entry=entry)
            if not head_only:
                body.send(self.sock, 0, size // 2 if p["after"] is None else p["after"])
            self._reset()
            return False
        else:  # stall
            self._send_head(status, ctype, size, close=False, entry=entry)
            if head_only:
                return keep
            after = min(size, p["after"])
            body.send(self.sock, 0, after)
            if self._wait_stall(fault) and p["then"] == "finish":
                body.send(self.sock, after, size - after)
                if keep:
                    return True
            self._close_gracefully()
            return False
        if not head_only:
            body.send(self.sock, 0, sent)
        self._close_gracefully()
        return False

    def _send_head(self, status, ctype, length, close, entry=None):
        lines = [f"HTTP/1.1 {status} {http.HTTPStatus(status).phrase}",
                 f"Date: {email.utils.formatdate(usegmt=True)}",
                 f"Server: {SERVER_NAME}",
                 f"Content-Type: {ctype}"]
        if length is not None:
            lines.append(f"Content-Length: {length}")
        if close:
            lines.append("Connection: close")
        elif entry and entry["version"] == "HTTP/1.0":
            lines.append("Connection: keep-alive")
        self.sock.sendall(("\r\n".join(lines) + "\r\n\r\n").encode("latin-1"))

    def _send_paced(self, body, size, bps) -> bool:
        """Sends the body at `bps` bytes per second through a token bucket; False when stopped."""
        chunk = max(1, min(256 * 1024, bps // 100))
        capacity = 2 * chunk  # room for a late wake-up, so oversleeping does not lower the rate
        tokens, last, offset = float(chunk), time.monotonic(), 0
        while offset < size:
            now = time.monotonic()
            tokens = min(capacity, tokens + (now - last) * bps)
            last = now
            n = min(chunk, size - offset)
            if tokens < n:
                if self.server.stopping.wait((n - tokens) / bps):
                    return False
                continue
            body.send(self.sock, offset, n)
            tokens -= n
            offset += n
        return True

    def _wait_stall(self, fault) -> bool:
        """Holds the connection silent; True when released or timed out, False when stopping."""
        seconds = fault.params["seconds"]
        deadline = None if seconds is None else time.monotonic() + seconds
        while not self.server.stopping.is_set():
            if fault.release.is_set():
                return True
            wait = 0.05 if deadline is None else min(0.05, deadline - time.monotonic())
            if wait <= 0:
                return True
            fault.release.wait(wait)
        return False

    def _close_gracefully(self):
        """Ends the connection with a FIN after all data, then waits briefly for the client's
        close: closing with unread input would send a reset that can destroy data in flight."""
        try:
            self.sock.shutdown(socket.SHUT_WR)
            self.sock.settimeout(0.1)
            deadline = time.monotonic() + LINGER_SECONDS
            while time.monotonic() < deadline and not self.server.stopping.is_set():
                try:
                    if not self.sock.recv(65536):
                        break
                except socket.timeout:
                    continue
        except OSError:
            pass

    def _reset(self):
        """Drops the connection with a reset (SO_LINGER 0) once the client has taken what was
        sent, since a reset discards bytes still queued on this side."""
        deadline = time.monotonic() + DRAIN_SECONDS
        while time.monotonic() < deadline and not self.server.stopping.is_set():
            queued = struct.unpack("i", fcntl.ioctl(self.sock.fileno(), termios.TIOCOUTQ,
                                                    struct.pack("i", 0)))[0]
            if queued == 0:
                break
            time.sleep(0.005)
        self.sock.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
        self.reader.close()
        self.sock.close()


class _BadRequest(Exception):
    def __init__(self, status):
        super().__init__(status)
        self.status = status


class PackageServer:
    """The package server in a thread of this process. `port` 0 picks a free port (see .port).
    `log` names a file that receives one JSON line per request; `faults` is {path: Fault}."""

    def __init__(self, root: str, port: int = 80, *, host: str = "127.0.0.1", log: str = None,
                 faults: dict = None):
        _check_loopback(host)
        self._address = (host, port)
        self._root = root
        self._log_path = log
        self._log_file = None
        self._faults = dict(faults or {})
        self._faults_lock = threading.Lock()
        self._requests = []
        self._cond = threading.Condition()
        self._server = None
        self._thread = None

    def start(self) -> "PackageServer":
        if not os.path.isdir(self._root):
            raise FileNotFoundError(f"root folder {self._root} does not exist")
        if self._log_path:
            self._log_file = open(self._log_path, "a", encoding="utf-8")
        self._server = _Server(self._address, self._root, self._record, self._fault_for)
        self._thread = threading.Thread(target=self._server.serve_forever, args=(0.05,),
                                        name="package-server", daemon=True)
        self._thread.start()
        return self

    def stop(self) -> None:
        """Stops accepting, releases stalls and pacing, breaks open connections and joins."""
        if not self._server:
            return
        server, self._server = self._server, None
        server.stopping.set()
        server.shutdown()
        self._thread.join()
        server.server_close()
        with server.connections_lock:
            connections = list(server.connections.items())
        for _, sock in connections:
            try:
                sock.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass
        deadline = time.monotonic() + 5.0
        for thread, _ in connections:
            thread.join(max(0.0, deadline - time.monotonic()))
        if self._log_file:
            self._log_file.close()
            self._log_file = None

    def __enter__(self):
        return self.start()

    def __exit__(self, *exc):
        self.stop()

    @property
    def host(self) -> str:
        return self._address[0]

    @property
    def port(self) -> int:
        return self._server.server_address[1] if self._server else self._address[1]

    def url(self, path: str) -> str:
        return f"http://{self.host}:{self.port}{path}"

    def _record(self, entry: dict) -> None:
        with self._cond:
            self._requests.append(entry)
            if self._log_file:
                self._log_file.write(json.dumps(entry, ensure_ascii=False) + "\n")
                self._log_file.flush()
            self._cond.notify_all()

    def requests(self) -> list:
        """Copies of the logged requests, oldest first."""
        with self._cond:
            return copy.deepcopy(self._requests)

    def clear_requests(self) -> None:
        with self._cond:
            self._requests.clear()

    def wait_for_requests(self, count: int, timeout: float = 10.0) -> list:
        """Waits until at least `count` requests are logged; returns them (maybe fewer on
        timeout)."""
        with self._cond:
            self._cond.wait_for(lambda: len(self._requests) >= count, timeout)
            return copy.deepcopy(self._requests)

    def set_fault(self, path: str, mode: str, **params) -> None:
        """Makes `path` misbehave from its next request on; raises ValueError on a bad mode.
        `path` is matched against the request target without its query, as sent or decoded."""
        fault = Fault(mode, **params)
        with self._faults_lock:
            old, self._faults[path] = self._faults.get(path), fault
        if old:
            old.release.set()

    def set_faults(self, faults: dict) -> None:
        """Replaces every fault with `faults` ({path: Fault}); stalls of the old ones end."""
        with self._faults_lock:
            old, self._faults = self._faults, dict(faults)
        for fault in old.values():
            fault.release.set()

    def clear_fault(self, path: str) -> None:
        with self._faults_lock:
            fault = self._faults.pop(path, None)
        if fault:
            fault.release.set()

    def release_stalls(self, path: str = None) -> None:
        """Ends the stalls on `path` (on every path when None); their connections go on as the
        fault's `then` says. A stall that starts later waits again only after set_fault."""
        with self._faults_lock:
            faults = [f for p, f in self._faults.items() if path is None or p == path]
        for fault in faults:
            fault.release.set()

    def _fault_for(self, target: str):
        path = urllib.parse.urlsplit(target).path if "://" in target else target.split("?")[0]
        with self._faults_lock:
            return self._faults.get(path) or self._faults.get(urllib.parse.unquote(path))


class PackageServerProcess(ChildServer):
    """The package server as a child process (the command below), for tests that need it to
    outlive a Python thread or be signalled like the demo's."""

    def __init__(self, root: str, log: str, port: int = 80, *, host: str = "127.0.0.1",
                 faults_file: str = None):
        _check_loopback(host)
        self.args = [sys.executable, os.path.abspath(__file__), "--root", root, "--log", log,
                     "--port", str(port), "--host", host]
        if faults_file:
            self.args += ["--faults", faults_file]
        self.log, self.host, self.port = log, host, port
        self.proc = None

    def start(self) -> "PackageServerProcess":
        self.proc = subprocess.Popen(self.args, stdout=subprocess.PIPE)
        line = read_ready_line(self.proc)
        self.port = int(line.rsplit(":", 1)[1].rstrip("/"))
        return self

    def requests(self) -> list:
        return read_log(self.log)

    def reload_faults(self) -> None:
        self.proc.send_signal(signal.SIGHUP)

    def release_stalls(self) -> None:
        self.proc.send_signal(signal.SIGUSR1)


def main(argv=None) -> int:
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--root", required=True, help="folder to serve")
    parser.add_argument("--log", required=True, help="file that receives one JSON line a request")
    parser.add_argument("--port", type=int, default=80, help="port (default 80; 0 picks one)")
    parser.add_argument("--host", default="127.0.0.1", help="loopback address to bind")
    parser.add_argument("--faults", help="JSON file: {path: mode or {mode, parameters}}")
    args = parser.parse_args(argv)

    faults = load_faults_file(args.faults) if args.faults else {}
    server = PackageServer(args.root, args.port, host=args.host, log=args.log, faults=faults)
    stop = threading.Event()

    def reload(*_):
        try:
            server.set_faults(load_faults_file(args.faults) if args.faults else {})
        except (OSError, ValueError) as error:
            print(f"faults not reloaded: {error}", file=sys.stderr, flush=True)

    signal.signal(signal.SIGTERM, lambda *_: stop.set())
    signal.signal(signal.SIGINT, lambda *_: stop.set())
    signal.signal(signal.SIGHUP, reload)
    signal.signal(signal.SIGUSR1, lambda *_: server.release_stalls())
    with server:
        print(f"listening on {server.url('/')}", flush=True)
        while not stop.wait(0.5):
            pass
    return 0


if __name__ == "__main__":
    sys.exit(main())
