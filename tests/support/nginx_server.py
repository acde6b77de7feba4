#!/usr/bin/env python3
"""A stock nginx (Debian's /usr/sbin/nginx) serving a folder on a loopback address, with its
configuration, pid file, logs and temporary folders inside one work folder of ours, so that the
tests check the stub against a real server and not only against our own.

nginx runs in the foreground (`daemon off`) as a child of this process, in one process
(`master_process off`): no workers that drop privileges to a user who may not read the root.
Its access log holds one JSON object a request (see LOG_FORMAT).

As a command (runs until Ctrl-C or SIGTERM):
    python3 nginx_server.py --root DIR --dir WORKDIR [--port N]

As a module:
    with NginxServer(root, workdir, port=80) as srv:
        ...
        srv.requests()
"""

import argparse
import ipaddress
import json
import os
import signal
import socket
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from child_process import ChildServer  # noqa: E402

NGINX = "/usr/sbin/nginx"
MIME_TYPES = "/etc/nginx/mime.types"

# The keys follow the package server's log where they mean the same thing.
LOG_FORMAT = ('{"time":$msec,"client":["$remote_addr",$remote_port],"request_line":"$request",'
              '"method":"$request_method","path":"$request_uri","version":"$server_protocol",'
              '"status":$status,"body_bytes_sent":$body_bytes_sent,'
              '"completion":"$request_completion","user_agent":"$http_user_agent",'
              '"accept":"$http_accept","host":"$http_host","connection":"$http_connection"}')

CONFIG = """\
daemon off;
master_process off;
worker_processes 1;
pid {work}/nginx.pid;
error_log {work}/logs/error.log info;

events {{
    worker_connections 256;
}}

http {{
    include {mime_types};
    default_type application/octet-stream;
    log_format stub escape=json '{log_format}';
    access_log {work}/logs/access.log stub;
    client_body_temp_path {work}/temp/client_body;
    proxy_temp_path {work}/temp/proxy;
    fastcgi_temp_path {work}/temp/fastcgi;
    uwsgi_temp_path {work}/temp/uwsgi;
    scgi_temp_path {work}/temp/scgi;
    sendfile on;
    tcp_nopush on;
    keepalive_timeout 65;

    server {{
        listen {host}:{port};
        server_name localhost;
        root {root};
        autoindex off;
    }}
}}
"""


class NginxServer(ChildServer):
    """nginx on host:port serving `root`, with every file of its own under `work_dir`."""

    def __init__(self, root: str, work_dir: str, port: int = 80, *, host: str = "127.0.0.1"):
        if not ipaddress.ip_address(host).is_loopback:
            raise ValueError(f"{host} is not a loopback address")
        self.root = os.path.abspath(root)
        self.work_dir = os.path.abspath(work_dir)
        self.host, self.port = host, port
        self.config = os.path.join(self.work_dir, "nginx.conf")
        self.pid_file = os.path.join(self.work_dir, "nginx.pid")
        self.access_log = os.path.join(self.work_dir, "logs", "access.log")
        self.error_log = os.path.join(self.work_dir, "logs", "error.log")
        self.proc = None

    def start(self, timeout: float = 15.0) -> "NginxServer":
        """Writes the configuration, starts nginx and waits until it accepts connections.
        Raises RuntimeError, with the end of nginx's error log, when it does not."""
        if not os.path.isdir(self.root):
            raise FileNotFoundError(f"root folder {self.root} does not exist")
        for sub in ("logs", "temp"):
            os.makedirs(os.path.join(self.work_dir, sub), exist_ok=True)
        if os.path.exists(self.pid_file):
            os.remove(self.pid_file)
        with open(self.config, "w", encoding="utf-8") as f:
            f.write(CONFIG.format(work=self.work_dir, root=self.root, host=self.host,
                                  port=self.port, mime_types=MIME_TYPES, log_format=LOG_FORMAT))
        # -e: the log for the start, before the configuration names its own.
        self.proc = subprocess.Popen(
            [NGINX, "-p", self.work_dir + "/", "-c", self.config, "-e", self.error_log],
            stdin=subprocess.DEVNULL)
        deadline = time.monotonic() + timeout
        while True:
            # The pid file is written after the listening socket is open; without it a
            # connection could reach another server that holds the port.
            if self.proc.poll() is not None:
                self.proc = None
                raise RuntimeError(f"nginx exited at start:\n{self._error_tail()}")
            if os.path.exists(self.pid_file) and self._accepts():
                return self
            if time.monotonic() > deadline:
                self.stop()
                raise RuntimeError(f"nginx did not start within {timeout} s:\n"
                                   f"{self._error_tail()}")
            time.sleep(0.05)

    def requests(self) -> list:
        """The access log's entries, oldest first. nginx writes an entry when its answer ends."""
        if not os.path.exists(self.access_log):
            return []
        with open(self.access_log, encoding="utf-8") as f:
            return [json.loads(line) for line in f if line.strip()]

    def _accepts(self) -> bool:
        try:
            socket.create_connection((self.host, self.port), timeout=1).close()
            return True
        except OSError:
            return False

    def _error_tail(self) -> str:
        try:
            with open(self.error_log, encoding="utf-8", errors="replace") as f:
                return "".join(f.readlines()[-20:])
        except OSError:
            return "(no error log)"


def main(argv=None) -> int:
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--root", required=True, help="folder to serve")
    parser.add_argument("--dir", required=True, help="folder for nginx's config, pid and logs")
    parser.add_argument("--port", type=int, default=80)
    parser.add_argument("--host", default="127.0.0.1")
    args = parser.parse_args(argv)
    server = NginxServer(args.root, args.dir, args.port, host=args.host)
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    with server:
        print(f"listening on {server.url('/')}; access log {server.access_log}", flush=True)
        try:
            server.proc.wait()
        except KeyboardInterrupt:
            pass
    return 0


if __name__ == "__main__":
    sys.exit(main())
