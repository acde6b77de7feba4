"""The splash movie in the running stub: it plays, the movie file it leaves behind, its blocked
right-click menu, and a stub whose temporary directory cannot be written."""
import pathlib
import re
import shutil
import sys
import tempfile
import time
import unittest

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[1] / "support"))
import winetools as w  # noqa: E402
from package_server import PackageServer  # noqa: E402

SPLASH = w.SOURCE / "src" / "assets" / "splash.swf"
MOVIE_NAME = re.compile(r"^[0-9a-f]+\.tmp$")


def temp_folder():
    return next(w.DRIVE_C.glob("users/*/Temp"))


def movie_files():
    return {p.name for p in temp_folder().iterdir() if MOVIE_NAME.match(p.name)}


def picture_area(screen, origin):
    """The movie's pixels above the strip where the controls lie, sampled on a grid."""
    x0, y0 = origin
    return [screen.pixel(x0 + x, y0 + y) for y in range(0, 230, 10) for x in range(0, 600, 10)]


class StubRun:
    def __init__(self):
        self.folder = tempfile.TemporaryDirectory(prefix="stub-movie-")
        self.process = w.start(w.fresh_copy(w.WIN64 / "stub.exe", self.folder.name))
        self.window = w.wait_for(w.form_window, timeout=30)
        assert self.window, "the stub showed no window"
        self.origin = self.window["client_origin"]

    def end(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait(10)
        w.kill_wine()
        self.folder.cleanup()


class MovieTest(unittest.TestCase):
    def setUp(self):
        w.ensure_prefix()
        w.kill_wine()

    def test_plays_different_pictures_five_seconds_apart_with_the_text_above_them(self):
        run = StubRun()
        try:
            time.sleep(1.5)
            first = w.Screen("movie-first-picture.png")
            time.sleep(5)
            second = w.Screen("movie-second-picture.png")
            a, b = picture_area(first, run.origin), picture_area(second, run.origin)
            differing = sum(1 for p, q in zip(a, b) if p != q)
            self.assertGreater(differing, len(a) // 3, "the picture did not change")
            # The line of text stands in the upper left in every picture: dark-blue ink there in both.
            for screen in (first, second):
                ink = [screen.pixel(run.origin[0] + x, run.origin[1] + y)
                       for y in range(28, 55) for x in range(30, 330)]
                self.assertGreater(sum(1 for p in ink if p[2] > p[0] + 60 and p[0] < 120), 100)
        finally:
            run.end()

    def test_each_run_leaves_one_movie_file_holding_the_embedded_movie(self):
        before = movie_files()
        for run_number in (1, 2):
            run = StubRun()
            run.end()
            new = movie_files() - before
            self.assertEqual(run_number, len(new), new)
            for name in new:
                self.assertEqual(SPLASH.read_bytes(), (temp_folder() / name).read_bytes())

    def test_right_click_opens_no_menu_on_the_stub_but_one_on_an_unblocked_player(self):
        run = StubRun()
        try:
            w.click(run.origin[0] + 300, run.origin[1] + 120, button=3)
            time.sleep(0.5)
            self.assertEqual([], w.probe("menus"))
        finally:
            run.end()
        movie = pathlib.Path(tempfile.mkdtemp()) / "splash.swf"
        shutil.copy(SPLASH, movie)
        player = w.start(w.WIN64 / "tests" / "support" / "movie_window.exe", w.windows_path(movie))
        try:
            window = w.wait_for(w.form_window, timeout=30)
            self.assertIsNotNone(window)
            x, y = window["client_origin"]
            w.click(x + 300, y + 120, button=3)
            menus = w.wait_for(lambda: w.probe("menus"), timeout=5)
            self.assertEqual(1, len(menus or []))
            w.save_screenshot("movie-unblocked-menu.png")
            w.key("Escape")
        finally:
            player.kill()
            w.kill_wine()


class UnwritableTempTest(unittest.TestCase):
    def test_without_a_temporary_directory_the_window_still_opens_and_downloads(self):
        w.ensure_prefix()
        w.kill_wine()
        temp = temp_folder()
        saved = temp.with_name("Temp.saved-by-test")
        temp.rename(saved)
        temp.write_bytes(b"")  # a file where the folder should be: nothing can be created inside
        served = pathlib.Path(tempfile.mkdtemp())
        (served / "down" / "1099").mkdir(parents=True)
        (served / "down" / "1099" / "1099.zip").write_bytes(b"PK\x05\x06" + bytes(18))
        try:
            with PackageServer(str(served), port=80) as server:
                run = StubRun()
                try:
                    def install_stage():
                        window = w.form_window()
                        return window and w.child(window, "Edit")["visible"]
                    self.assertTrue(w.wait_for(install_stage, timeout=30))
                    self.assertEqual(1, len(server.requests()))
                    w.save_screenshot("movie-without-temp-folder.png")
                finally:
                    run.end()
        finally:
            temp.unlink()
            saved.rename(temp)
            shutil.rmtree(served)


if __name__ == "__main__":
    unittest.main()
