"""./dev demo: the stub's first half on its built-in demo package. A sample package is served by
the package server on 127.0.0.1:80, paced so the download can be watched; the stub runs under Wine
on the user's display when there is one, otherwise on a private X server, downloads it and reaches
its install stage. Screenshots of the download and of the install stage are kept."""
import argparse
import os
import pathlib
import sys
import time

SUPPORT = pathlib.Path(__file__).resolve().parent


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--build", required=True, help="the build folder holding all trees")
    args = parser.parse_args()
    os.environ["STUB_BUILD_ROOT"] = str(pathlib.Path(args.build).resolve())
    sys.path.insert(0, str(SUPPORT))
    import winetools as w

    with w.display() as nobody_sees_it:
        return run_demo(w, pathlib.Path(args.build).resolve(), nobody_sees_it)


def run_demo(w, build, own_display):
    from package_server import PackageServer
    from sample_package import make_sample_package

    w.ensure_prefix()
    w.kill_wine()
    demo = build / "demo"
    served = demo / "served"
    (served / "down" / "1099").mkdir(parents=True, exist_ok=True)
    package = make_sample_package(served / "down" / "1099" / "1099.zip")
    stub = w.fresh_copy(w.WIN64 / "stub.exe", demo / "stub")
    (demo / "stub" / "hq.zip").unlink(missing_ok=True)
    with PackageServer(str(served), port=80, log=str(demo / "requests.log")) as server:
        server.set_fault("/down/1099/1099.zip", "rate", bps=1_000_000)
        process = w.start(stub)
        try:
            if not w.wait_for(lambda: w.form_window(), timeout=30):
                print("the stub showed no window", file=sys.stderr)
                return 1
            time.sleep(2)
            print(f"downloading: {w.save_screenshot('demo-download.png')}")
            window = w.wait_for(install_stage, timeout=60)
            if not window:
                print("the download did not reach the install stage", file=sys.stderr)
                return 1
            time.sleep(0.5)
            print(f"install stage: {w.save_screenshot('demo-install-stage.png')}")
            for request in server.requests():
                print(f"the server was asked: {request['request_line']}")
            same = (demo / "stub" / "hq.zip").read_bytes() == package.read_bytes()
            print(f"hq.zip beside the stub {'equals' if same else 'DIFFERS FROM'} the served package")
            if own_display:
                # Nobody can see this display: close the program as a user would.
                x, y = window["client_origin"]
                w.click(x + 552, y + 274)
            else:
                print("the stub waits on your display; close it with its 取消 button")
            code = process.wait(None if not own_display else 30)
            print(f"the stub ended with exit code {code}")
            return 0 if code == 0 and same else 1
        finally:
            if process.poll() is None:
                process.kill()
            w.kill_wine()


def install_stage():
    import winetools as w

    window = w.form_window()
    edit = window and w.child(window, "Edit")
    return window if edit and edit["visible"] else None


if __name__ == "__main__":
    sys.exit(main())
