"""./dev bench: runs the benchmarks and prints what each measured, side by side in one run.

Each benchmark is a function below that prints its own lines; they run in the order listed.
"""
import argparse
import os
import pathlib
import subprocess
import sys

SUPPORT = pathlib.Path(__file__).resolve().parent
SOURCE = SUPPORT.parent.parent


def fuzz_longer(build):
    """The fuzz targets, for longer than the test run gives them."""
    fuzz_tree = build / "fuzz" / "tests" / "fuzz"
    corpus_root = SOURCE / "tests" / "fuzz" / "corpus"
    targets = sorted(p for p in fuzz_tree.glob("*_fuzz") if p.is_file() and os.access(p, os.X_OK))
    for target in targets:
        seeds = corpus_root / target.name.removesuffix("_fuzz")
        # New inputs go into the first folder: the build tree's, never the committed seeds.
        found = build / "native" / "fuzz-corpus" / target.name
        found.mkdir(parents=True, exist_ok=True)
        run = subprocess.run([str(target), "-max_total_time=60", "-print_final_stats=1",
                              str(found), *([str(seeds)] if seeds.is_dir() else [])],
                             capture_output=True, text=True)
        stats = dict(line.split(":", 1) for line in run.stderr.splitlines()
                     if line.startswith("stat::") and ":" in line[6:])
        execs = stats.get("stat::number_of_executed_units", "?").strip()
        rate = stats.get("stat::average_exec_per_sec", "?").strip()
        verdict = "ok" if run.returncode == 0 else f"FAILED (exit {run.returncode})"
        print(f"fuzz {target.name}: {execs} inputs in 60 s, {rate} per second, {verdict}")


def progress_redraw(build):
    """One redraw of the bar and the status line beside one chunk of the download."""
    subprocess.run([sys.executable, str(SUPPORT / "bench_progress.py")], check=True)


def download(build):
    """The stub's download against the bare WinInet loop, paced and unpaced, and its peak working
    set for a small and a large package."""
    subprocess.run([sys.executable, str(SUPPORT / "bench_download.py")], check=True)


BENCHMARKS = [progress_redraw, download, fuzz_longer]


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--build", required=True)
    args = parser.parse_args()
    build = pathlib.Path(args.build).resolve()
    os.environ["STUB_BUILD_ROOT"] = str(build)
    for benchmark in BENCHMARKS:
        benchmark(build)
    return 0


if __name__ == "__main__":
    sys.exit(main())
