"""./dev demo: runs the stub under Wine, on the user's display when there is one, otherwise on a
private X server, and keeps a screenshot of its window."""
import argparse
import os
import pathlib
import subprocess
import sys
import tempfile
import time

SUPPORT = pathlib.Path(__file__).resolve().parent


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--build", required=True, help="the build folder holding all trees")
    args = parser.parse_args()
    os.environ["STUB_BUILD_ROOT"] = str(pathlib.Path(args.build).resolve())
    own_display = None
    if not os.environ.get("DISPLAY"):
        own_display = start_xvfb(pathlib.Path(args.build) / "demo-xvfb")
    sys.path.insert(0, str(SUPPORT))
    import winetools as w

    w.ensure_prefix()
    w.kill_wine()
    folder = pathlib.Path(args.build) / "demo"
    stub = w.fresh_copy(w.WIN64 / "stub.exe", folder)
    process = w.start(stub)
    try:
        window = w.wait_for(lambda: w.form_window(pid=None), timeout=30)
        if not window:
            print("the stub showed no window", file=sys.stderr)
            return 1
        time.sleep(2)
        shot = w.save_screenshot("demo.png")
        print(f"screenshot of the stub's window: {shot}")
        if own_display:
            # Nobody can see this display: close the program as a user would.
            x, y = window["client_origin"]
            w.click(x + 552, y + 274)
        else:
            print("the stub is running on your display; close it with its 取消 button")
        code = process.wait(None if not own_display else 30)
        print(f"the stub ended with exit code {code}")
        return 0 if code == 0 else 1
    finally:
        if process.poll() is None:
            process.kill()
        if own_display:
            own_display.kill()


def start_xvfb(folder):
    folder.mkdir(parents=True, exist_ok=True)
    read, write = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1024x768x24",
                               "-nolisten", "tcp"], pass_fds=(write,), stderr=subprocess.DEVNULL)
    os.close(write)
    with os.fdopen(read) as display:
        os.environ["DISPLAY"] = ":" + display.readline().strip()
    return server


if __name__ == "__main__":
    sys.exit(main())
