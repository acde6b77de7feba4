#!/usr/bin/env python3
"""A real FTP server (pyftpdlib, Debian's python3-pyftpdlib) serving a folder read-only to
anonymous users on a loopback address, for the ftp:// half of the transfer layer.

It runs as a child process: Debian installs pyftpdlib for /usr/bin/python3, which need not be
the python3 that runs the tests. The log holds every command and reply (pyftpdlib's debug
level) and whatever the server writes to stderr.

As a command (runs until Ctrl-C or SIGTERM):
    python3 ftp_server.py --root DIR [--port N] [--passive LOW-HIGH] [--log FILE]

As a module:
    with FtpServer(root, log_file, port=21) as srv:
        ...
        srv.log_text()
"""

import argparse
import importlib.util
import ipaddress
import logging
import os
import signal
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from child_process import ChildServer, read_ready_line  # noqa: E402

SYSTEM_PYTHON = "/usr/bin/python3"
PASSIVE_PORTS = (60000, 60099)


def python_with_pyftpdlib() -> str:
    if importlib.util.find_spec("pyftpdlib"):
        return sys.executable
    return SYSTEM_PYTHON


class FtpServer(ChildServer):
    """The FTP server on host:port serving `root` read-only to user "anonymous" (any password).
    `port` 0 picks a free port (see .port after start)."""

    scheme = "ftp"

    def __init__(self, root: str, log: str, port: int = 21, *, host: str = "127.0.0.1",
                 passive_ports: tuple = PASSIVE_PORTS):
        if not ipaddress.ip_address(host).is_loopback:
            raise ValueError(f"{host} is not a loopback address")
        self.root, self.log, self.host, self.port = os.path.abspath(root), log, host, port
        self.passive_ports = passive_ports
        self.proc = None

    def start(self) -> "FtpServer":
        """Starts the server and waits until it listens; RuntimeError when it does not."""
        if not os.path.isdir(self.root):
            raise FileNotFoundError(f"root folder {self.root} does not exist")
        args = [python_with_pyftpdlib(), os.path.abspath(__file__), "--root", self.root,
                "--host", self.host, "--port", str(self.port),
                "--passive", "%d-%d" % self.passive_ports]
        with open(self.log, "ab") as log:
            self.proc = subprocess.Popen(args, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                         stderr=log)
        try:
            line = read_ready_line(self.proc)
        except RuntimeError as error:
            self.proc = None
            raise RuntimeError(f"{error}\n{self.log_text()[-2000:]}") from None
        self.port = int(line.rsplit(":", 1)[1].rstrip("/"))
        return self

    def log_text(self) -> str:
        with open(self.log, encoding="utf-8", errors="replace") as f:
            return f.read()


def serve(root: str, host: str, port: int, passive: tuple, log: str = None) -> None:
    from pyftpdlib.authorizers import DummyAuthorizer
    from pyftpdlib.handlers import FTPHandler
    from pyftpdlib.servers import FTPServer

    handler_log = logging.FileHandler(log) if log else logging.StreamHandler()
    handler_log.setFormatter(logging.Formatter("[%(asctime)s] %(message)s"))
    logger = logging.getLogger("pyftpdlib")
    logger.addHandler(handler_log)
    logger.setLevel(logging.DEBUG)

    authorizer = DummyAuthorizer()
    authorizer.add_anonymous(root, perm="elr")  # e: change folder, l: list, r: retrieve
    handler = type("ReadOnlyHandler", (FTPHandler,), {
        "authorizer": authorizer,
        "passive_ports": list(range(passive[0], passive[1] + 1)),
        "banner": "stub test FTP server ready.",
    })
    server = FTPServer((host, port), handler)
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    print(f"listening on ftp://{host}:{server.address[1]}/", flush=True)
    server.serve_forever(handle_exit=True)


def main(argv=None) -> int:
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--root", required=True, help="folder to serve")
    parser.add_argument("--port", type=int, default=21, help="port (default 21; 0 picks one)")
    parser.add_argument("--host", default="127.0.0.1", help="loopback address to bind")
    parser.add_argument("--passive", default="%d-%d" % PASSIVE_PORTS,
                        help="passive data ports, LOW-HIGH")
    parser.add_argument("--log", help="log file (default: stderr)")
    args = parser.parse_args(argv)
    if not ipaddress.ip_address(args.host).is_loopback:
        parser.error(f"{args.host} is not a loopback address")
    if not importlib.util.find_spec("pyftpdlib") and sys.executable != SYSTEM_PYTHON:
        os.execv(SYSTEM_PYTHON, [SYSTEM_PYTHON, os.path.abspath(__file__)] + sys.argv[1:])
    low, high = (int(p) for p in args.passive.split("-"))
    serve(os.path.abspath(args.root), args.host, args.port, (low, high), args.log)
    return 0


if __name__ == "__main__":
    sys.exit(main())
