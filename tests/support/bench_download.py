#!/usr/bin/env python3
"""Benchmark: the stub's download of one package against the bare WinInet loop
(bare_download.exe, the same calls, flags and chunks with nothing drawn between them), from the
package server paced at 100 Mbit/s and unpaced on loopback; the per-chunk cost that makes the
difference; and the stub's peak working set for a small and a large package.

    python3 tests/support/bench_download.py [--megabytes 256] [--small-megabytes 16]

Needs the win64 tree (stub.exe, tests/support/bare_download.exe) under STUB_BUILD_ROOT, port 80
on 127.0.0.1 (the stub's package server) and an X display (DISPLAY, or one of its own). The
packages are made once, of random bytes, under STUB_BUILD_ROOT/bench/download.

Both programs are timed the same way, from outside: from the moment the server logged the
request to the moment the output file first stands at its full size, polled every 5 ms. The
server's side cannot tell the end: on loopback the sockets hold megabytes that the server has
sent and the client not yet read, and WinInet keeps the connection open in its pool after the
transfer is closed. The start of each program (Wine, the window) lies before the request and is
not counted.
"""
import argparse
import math
import os
import pathlib
import shutil
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import winetools as w  # noqa: E402
from package_server import PackageServer  # noqa: E402

PATH = "/down/1099/1099.zip"
CHUNK = 10240
PACED_BPS = 12_500_000  # 100 Mbit/s
POLL_SECONDS = 0.005
TIMEOUT_SECONDS = 900


def package(build: pathlib.Path, megabytes: int) -> pathlib.Path:
    """The served root for a package of `megabytes` MiB, made on first use."""
    root = build / "bench" / "download" / f"{megabytes}MB"
    file = root / PATH.lstrip("/")
    size = megabytes << 20
    if not file.exists() or file.stat().st_size != size:
        file.parent.mkdir(parents=True, exist_ok=True)
        with open(file, "wb") as out:
            for _ in range(megabytes):
                out.write(os.urandom(1 << 20))
    return root


def start_server(root: pathlib.Path) -> PackageServer:
    """The package server on 127.0.0.1:80, waited for while another run holds the port."""
    deadline = time.monotonic() + 120
    while True:
        try:
            return PackageServer(str(root), 80).start()
        except OSError:
            if time.monotonic() > deadline:
                raise
            time.sleep(0.5)


def vm_hwm_kib(pid: int) -> int:
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    raise RuntimeError(f"no VmHWM for process {pid}")


class Timed:
    """One download by one program: seconds from the request to the full file, and the program's
    peak working set once it has written the file."""

    def __init__(self, server: PackageServer, program, args, folder: pathlib.Path, size: int):
        w.kill_wine()
        shutil.rmtree(folder, ignore_errors=True)
        folder.mkdir(parents=True)
        exe = w.fresh_copy(program, folder)
        output = folder / "hq.zip"
        server.clear_requests()
        process = w.start(exe, *args, cwd=folder)
        try:
            entries = server.wait_for_requests(1, timeout=60)
            if not entries:
                raise RuntimeError(f"{program.name} sent no request")
            deadline = time.monotonic() + TIMEOUT_SECONDS
            while not (output.exists() and output.stat().st_size >= size):
                if time.monotonic() > deadline or process.poll() not in (None, 0):
                    raise RuntimeError(f"{program.name} did not write the whole package")
                time.sleep(POLL_SECONDS)
            self.seconds = time.time() - entries[0]["time"]
            # What the stub does after the last chunk (its check of the file, the install stage)
            # belongs to its peak too.
            time.sleep(0.5)
            self.peak_kib = vm_hwm_kib(process.pid) if process.poll() is None else None
        finally:
            if process.poll() is None:
                process.kill()
            process.wait(10)
            w.kill_wine()
            shutil.rmtree(folder, ignore_errors=True)


def run(build: pathlib.Path, megabytes: int, small_megabytes: int) -> list:
    stub = build / "win64" / "stub.exe"
    bare = build / "win64" / "tests" / "support" / "bare_download.exe"
    for exe in (stub, bare):
        if not exe.exists():
            raise SystemExit(f"{exe} is missing: build the win64 tree first")
    w.ensure_prefix()
    work = pathlib.Path(tempfile.mkdtemp(prefix="bench-download-"))
    size = megabytes << 20
    chunks = math.ceil(size / CHUNK)
    bare_args = ("127.0.0.1", PATH, ".\\hq.zip")

    def timed(server, program, args, megabytes_served):
        return Timed(server, program, args, work / program.stem, megabytes_served << 20)

    lines = []
    try:
        server = start_server(package(build, megabytes))
        try:
            server.set_fault(PATH, "rate", bps=PACED_BPS)
            paced_stub = timed(server, stub, (), megabytes)
            paced_bare = timed(server, bare, bare_args, megabytes)
            server.clear_fault(PATH)
            stub_run = timed(server, stub, (), megabytes)
            bare_run = timed(server, bare, bare_args, megabytes)
        finally:
            server.stop()
        server = start_server(package(build, small_megabytes))
        try:
            small_stub = timed(server, stub, (), small_megabytes)
        finally:
            server.stop()
    finally:
        shutil.rmtree(work, ignore_errors=True)

    lines.append(f"download {megabytes} MiB at 100 Mbit/s: stub {paced_stub.seconds:.2f} s, bare "
                 f"WinInet loop {paced_bare.seconds:.2f} s, stub/bare "
                 f"{paced_stub.seconds / paced_bare.seconds:.3f}")
    lines.append(f"download {megabytes} MiB unpaced on loopback: stub {stub_run.seconds:.2f} s, "
                 f"bare WinInet loop {bare_run.seconds:.2f} s, stub/bare "
                 f"{stub_run.seconds / bare_run.seconds:.2f}")
    per_chunk = (stub_run.seconds - bare_run.seconds) / chunks * 1e6
    lines.append(f"stub's cost per chunk over the bare loop: {per_chunk:.0f} us "
                 f"({chunks} chunks of {CHUNK} bytes; the bare loop takes "
                 f"{bare_run.seconds / chunks * 1e6:.0f} us a chunk)")
    small, large = small_stub.peak_kib, stub_run.peak_kib
    if small is None or large is None:
        lines.append("stub's peak working set: not measured (the stub ended before it was read)")
    else:
        lines.append(f"stub's peak working set (VmHWM of its wine64 process): "
                     f"{small / 1024:.1f} MiB for a {small_megabytes} MiB package, "
                     f"{large / 1024:.1f} MiB for {megabytes} MiB "
                     f"({(large - small) / 1024:+.1f} MiB)")
    return lines


def main() -> None:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--megabytes", type=int, default=256)
    parser.add_argument("--small-megabytes", type=int, default=16)
    args = parser.parse_args()
    with w.display():
        for line in run(w.BUILD, args.megabytes, args.small_megabytes):
            print(line, flush=True)


if __name__ == "__main__":
    main()
