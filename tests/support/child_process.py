"""Helpers for the test servers that run as child processes: waiting for their "ready" line and
stopping them without leaving strays behind."""

import os
import select
import signal
import subprocess
import time


def read_ready_line(proc: subprocess.Popen, timeout: float = 15.0) -> str:
    """Returns the first line the child writes to its stdout (a pipe), without the line break.

    Raises RuntimeError when the child exits or stays silent for `timeout` seconds; the child is
    then stopped. Reads the pipe's file descriptor directly so that no bytes wait unseen in a
    Python buffer."""
    fd = proc.stdout.fileno()
    data = b""
    deadline = time.monotonic() + timeout
    while b"\n" not in data:
        remaining = deadline - time.monotonic()
        if remaining <= 0:
            stop_process(proc)
            raise RuntimeError(f"{proc.args[:3]} did not report ready within {timeout} s")
        ready, _, _ = select.select([fd], [], [], remaining)
        if not ready:
            continue
        chunk = os.read(fd, 4096)
        if not chunk:
            code = proc.wait()
            raise RuntimeError(f"{proc.args[:3]} exited with {code} before it was ready")
        data += chunk
    return data.split(b"\n", 1)[0].decode("utf-8", "replace").rstrip("\r")


def stop_process(proc: subprocess.Popen, sig: int = signal.SIGTERM, timeout: float = 10.0) -> int:
    """Sends `sig`, waits up to `timeout` seconds, then kills; returns the exit status."""
    if proc.poll() is None:
        proc.send_signal(sig)
        try:
            proc.wait(timeout)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()
    if proc.stdout:
        proc.stdout.close()
    return proc.returncode


class ChildServer:
    """What the servers run as child processes share: start() sets `proc`, `host` and `port`;
    stop() ends the process with SIGTERM (open connections are closed) and gives its exit code."""

    scheme = "http"
    proc = None

    def stop(self) -> int:
        if not self.proc:
            return 0
        code = stop_process(self.proc)
        self.proc = None
        return code

    def __enter__(self):
        return self.start()

    def __exit__(self, *exc):
        self.stop()

    def url(self, path: str) -> str:
        return f"{self.scheme}://{self.host}:{self.port}{path}"
