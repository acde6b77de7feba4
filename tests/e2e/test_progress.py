"""The progress display on the real screen under Wine and Xvfb: the bar at 0, 37 and 100 per cent
and the three status texts as a screenshot shows them, a status line that comes back after another
window covered it, and the import tables of the programs that carry the bar, which must not name
gdiplus.dll (it is bound at run time)."""
import pathlib
import re
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[1] / "support"))
import winetools as w  # noqa: E402

SHOW = w.WIN64 / "tests" / "support" / "progress_show.exe"
FILL_PNG = w.SOURCE / "src" / "assets" / "fill.png"

BAR_X, BAR_Y, BAR_WIDTH = 152, 271, 300
# Rows and columns of the bar inside its rounded region (a 5 x 5 ellipse): a rounded-rectangle
# region leaves out the bottom row and the right column besides the corners.
BAR_ROWS = range(0, 6)
BAR_COLUMNS = range(2, 297)
STRIP_X, STRIP_Y, STRIP_WIDTH, STRIP_HEIGHT = 149, 281, 320, 19
TRACK = (255, 255, 153)
WHITE = (255, 255, 255)

STEPS = ["bar:0", "bar:37", "bar:100", "download:37", "install:100", "choose", "cover", "uncover"]
SCREENSHOTS = {"bar:0": "progress_bar_0.png", "bar:37": "progress_bar_37.png",
               "bar:100": "progress_bar_100.png", "download:37": "status_downloading_37.png",
               "install:100": "status_installing_100.png", "choose": "status_choose_dir.png",
               "cover": "status_covered.png", "uncover": "status_uncovered.png"}


def fill_pixels():
    """The fill image's own pixels, decoded by ImageMagick: {(x, y): (r, g, b)}."""
    raw = subprocess.run(["convert", str(FILL_PNG), "-depth", "8", "rgb:-"], check=True,
                         capture_output=True).stdout
    assert len(raw) == 300 * 10 * 3
    return {(x, y): tuple(raw[(y * 300 + x) * 3:(y * 300 + x) * 3 + 3])
            for y in range(10) for x in range(300)}


def is_azure_or_blend(p):
    """The text colour (0, 136, 255) or a blend of it with white: blue full, red and green
    moving together toward 255."""
    r, g, b = p
    return b == 255 and abs(g - (136 + r * 119 // 255)) <= 3


class ImportTest(unittest.TestCase):
    def test_no_program_that_carries_the_bar_imports_gdiplus(self):
        i686, x86_64 = "i686-w64-mingw32-objdump", "x86_64-w64-mingw32-objdump"
        programs = [(i686, w.WIN32 / "stub.exe"), (x86_64, w.WIN64 / "stub.exe"),
                    (i686, w.WIN32 / "tests" / "support" / "progress_show.exe"), (x86_64, SHOW)]
        for objdump, exe in programs:
            with self.subTest(exe=str(exe)):
                self.assertTrue(exe.exists(), f"{exe} is not built")
                dump = subprocess.run([objdump, "-p", str(exe)], check=True, capture_output=True,
                                      text=True).stdout
                imported = [name.lower() for name in re.findall(r"DLL Name: (\S+)", dump)]
                self.assertIn("kernel32.dll", imported)
                self.assertFalse([name for name in imported if "gdiplus" in name], imported)


class ScreenTest(unittest.TestCase):
    """progress_show draws one state at a time and waits; each state is read off a screenshot."""

    @classmethod
    def setUpClass(cls):
        w.ensure_prefix()
        w.kill_wine()
        cls.fill = fill_pixels()
        cls.folder = tempfile.TemporaryDirectory(prefix="progress-show-")
        cls.process = w.start(SHOW, w.windows_path(cls.folder.name), *STEPS)
        cls.screens = {}
        for i, step in enumerate(STEPS):
            done = pathlib.Path(cls.folder.name, f"{i}.done")
            if not w.wait_for(done.exists, timeout=60):
                cls.process.kill()
                raise AssertionError(f"progress_show did not finish step {step}")
            x, y = map(int, done.read_text().split())
            cls.origin = (x, y)
            cls.screens[step] = w.Screen(save_as=SCREENSHOTS.get(step))
            pathlib.Path(cls.folder.name, f"{i}.next").touch()
        cls.exit_code = cls.process.wait(30)

    @classmethod
    def tearDownClass(cls):
        if cls.process.poll() is None:
            cls.process.kill()
        cls.folder.cleanup()

    def bar(self, step, x, y):
        return self.screens[step].pixel(self.origin[0] + BAR_X + x, self.origin[1] + BAR_Y + y)

    def strip(self, step):
        """The status strip as rows of pixels."""
        screen = self.screens[step]
        x0, y0 = self.origin[0] + STRIP_X, self.origin[1] + STRIP_Y
        return [screen.row(y0 + y, x0, x0 + STRIP_WIDTH) for y in range(STRIP_HEIGHT)]

    def expect_bar(self, step, fill_end):
        for y in BAR_ROWS:
            for x in BAR_COLUMNS:
                expected = self.fill[(x, y)] if x < fill_end else TRACK
                self.assertEqual(expected, self.bar(step, x, y), f"{step} at x {x} y {y}")

    def first_ink_column(self, rows):
        columns = [x for row in rows for x, p in enumerate(row) if p != WHITE]
        return min(columns) if columns else -1

    def test_program_ran_every_step(self):
        self.assertEqual(0, self.exit_code)

    def test_zero_shows_the_track_alone(self):
        self.expect_bar("bar:0", 0)

    def test_37_shows_111_pixels_of_the_fill_then_the_track(self):
        self.expect_bar("bar:37", 111)

    def test_100_shows_the_whole_fill_cyan_to_yellow(self):
        self.expect_bar("bar:100", 300)
        left, right = self.bar("bar:100", 2, 0), self.bar("bar:100", 296, 0)
        self.assertTrue(left[2] > 200 and left[0] < 80, left)     # cyan
        self.assertTrue(right[2] < 80 and right[0] > 200, right)  # yellow

    def test_rounded_corners_and_bottom_row_show_what_lies_beneath(self):
        beneath = self.screens["bar:0"].pixel(self.origin[0] + BAR_X - 1, self.origin[1] + BAR_Y)
        for x, y in [(0, 0), (BAR_WIDTH - 1, 0), (0, 6), (BAR_WIDTH - 1, 6), (150, 6)]:
            self.assertEqual(beneath, self.bar("bar:0", x, y), (x, y))
        self.assertNotEqual(TRACK, beneath)

    def test_status_texts_start_at_their_x_in_azure(self):
        for step, x in [("download:37", 30), ("install:100", 30), ("choose", 16)]:
            with self.subTest(step=step):
                rows = self.strip(step)
                first = self.first_ink_column(rows)
                self.assertGreaterEqual(first, x)
                self.assertLessEqual(first, x + 2)
                ink = [p for row in rows for p in row if p != WHITE]
                self.assertGreater(len(ink), 300)
                self.assertEqual([], [p for p in ink if not is_azure_or_blend(p)][:5])

    def test_installing_and_downloading_lines_differ(self):
        self.assertNotEqual(self.strip("download:37"), self.strip("install:100"))

    def test_the_line_comes_back_after_another_window_covered_it(self):
        # The covering window is one plain colour over the whole strip.
        covered = {p for row in self.strip("cover") for p in row}
        self.assertEqual(1, len(covered), covered)
        self.assertNotIn(WHITE, covered)
        self.assertEqual(self.strip("choose"), self.strip("uncover"))


if __name__ == "__main__":
    unittest.main()
