#!/usr/bin/env python3
"""Benchmark: the cost of one redraw of the progress display (one DrawProgressBar and one
ShowStatus, on a real window under Wine) beside the cost of one 10240-byte chunk of the download
it follows (WinInet reading from the package server on loopback).

    python3 tests/support/bench_progress.py [--calls N] [--megabytes M]

Needs the win64 tree (progress_bench.exe) under STUB_BUILD_ROOT and an X display (DISPLAY, or one
of its own). Prints one line with both figures and their ratio.
"""
import argparse
import os
import pathlib
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import winetools as w  # noqa: E402
from package_server import PackageServer  # noqa: E402

PATH = "/down/1099/1099.zip"


def parse(output: bytes) -> dict:
    values = {}
    for line in output.decode("ascii", "replace").splitlines():
        name, _, value = line.strip().partition("=")
        if value:
            values[name] = float(value)
    return values


def run(calls: int, megabytes: int) -> dict:
    exe = w.WIN64 / "tests" / "support" / "progress_bench.exe"
    if not exe.exists():
        raise SystemExit(f"{exe} is missing: build the win64 tree first")
    w.ensure_prefix()
    with tempfile.TemporaryDirectory(prefix="bench-progress-") as root:
        package = pathlib.Path(root, PATH.lstrip("/"))
        package.parent.mkdir(parents=True)
        package.write_bytes(os.urandom(megabytes << 20))
        with PackageServer(root, port=0) as server:
            result = w.run(exe, calls, server.url(PATH), timeout=600)
    values = parse(result.stdout)
    if result.returncode != 0 or "redraw_us" not in values or "chunk_us" not in values:
        output = (result.stdout + result.stderr).decode(errors="replace")
        raise SystemExit(f"progress_bench failed ({result.returncode}): {output}")
    return values


def main() -> None:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--calls", type=int, default=300)
    parser.add_argument("--megabytes", type=int, default=16)
    args = parser.parse_args()
    with w.display():
        v = run(args.calls, args.megabytes)
    ratio = v["redraw_us"] / v["chunk_us"]
    print(f"progress redraw {v['redraw_us']:.0f} us (bar {v['bar_us']:.0f} us, status line "
          f"{v['status_us']:.0f} us) per chunk of {v['chunk_us']:.0f} us "
          f"({int(v['chunks'])} chunks of 10240 bytes): redraw/chunk {ratio:.2f}")


if __name__ == "__main__":
    main()
