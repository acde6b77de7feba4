"""The stub's window under Wine and a real X server: its style and geometry, its controls as the
form builds them, the mouse on its buttons, and the close button."""
import pathlib
import sys
import tempfile
import time
import unittest

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[1] / "support"))
import winetools as w  # noqa: E402

WS_POPUP = 0x80000000
WS_CAPTION = 0x00C00000
WS_SYSMENU = 0x00080000
WS_THICKFRAME = 0x00040000
WS_MINIMIZEBOX = 0x00020000
WS_MAXIMIZEBOX = 0x00010000
WS_EX_TOPMOST = 0x00000008
WS_EX_TOOLWINDOW = 0x00000080
WS_EX_APPWINDOW = 0x00040000

SCREEN_WIDTH, SCREEN_HEIGHT = 1024, 768

# The control table: form name, window class, place and size, visible once the window shows
# (the install controls are hidden at creation), in stacking order from the top.
CONTROLS = [
    ("画板3", "TkCanvas", [149, 281, 320, 19], True),
    ("画板2", "TkCanvas", [149, 281, 320, 19], True),
    ("画板1", "TkCanvas", [152, 271, 300, 7], True),
    ("图形按钮1", "TkPictureButton", [522, 264, 60, 21], True),
    ("", "Edit", [166, 240, 164, 19], False),  # 编辑框1
    ("图形按钮4", "TkPictureButton", [397, 238, 60, 21], False),
    ("图形按钮3", "TkPictureButton", [333, 238, 60, 21], False),
    ("标签1", "Static", [408, 0, 56, 24], False),
    ("Kestroflash控件1", "TkMoviePlayer", [0, 0, 600, 300], True),
]
CLOSE_BUTTON_CENTRE = (522 + 30, 264 + 10)


class Stub:
    """One running copy of the stub, in a folder of its own."""

    def __init__(self):
        self.folder = tempfile.TemporaryDirectory(prefix="stub-")
        self.exe = w.fresh_copy(w.WIN64 / "stub.exe", self.folder.name)
        self.process = w.start(self.exe)
        self.window = w.wait_for(lambda: w.form_window(), timeout=30)
        if not self.window:
            self.process.kill()
            raise AssertionError("the stub showed no window")
        self.origin = self.window["client_origin"]

    def screen_point(self, x, y):
        return self.origin[0] + x, self.origin[1] + y

    def running(self):
        return self.process.poll() is None

    def end(self):
        if self.running():
            self.process.kill()
            self.process.wait(10)
        self.folder.cleanup()


def red_pixels(screen, x0, y0, width, height):
    return sum(1 for y in range(y0, y0 + height) for x in range(x0, x0 + width)
               if (lambda p: p[0] > 150 and p[1] < 90 and p[2] < 90)(screen.pixel(x, y)))


class WindowTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        w.ensure_prefix()
        w.kill_wine()
        cls.stub = Stub()

    @classmethod
    def tearDownClass(cls):
        cls.stub.end()
        w.kill_wine()

    def test_borderless_topmost_window_with_a_taskbar_button(self):
        window = self.stub.window
        self.assertEqual("Zorvel下载", window["text"])
        style, ex_style = window["style"], window["exstyle"]
        self.assertTrue(style & WS_POPUP)
        for frame_bit in (WS_CAPTION, WS_SYSMENU, WS_THICKFRAME, WS_MINIMIZEBOX, WS_MAXIMIZEBOX):
            self.assertFalse(style & frame_bit, hex(frame_bit))
        self.assertTrue(ex_style & WS_EX_TOPMOST)
        self.assertTrue(ex_style & WS_EX_APPWINDOW)
        self.assertFalse(ex_style & WS_EX_TOOLWINDOW)
        w.save_screenshot("window-download-stage.png")

    def test_600_by_300_at_the_corner_of_a_centred_617_by_327_window(self):
        left, top = (SCREEN_WIDTH - 617) // 2, (SCREEN_HEIGHT - 327) // 2
        self.assertEqual([left, top, 600, 300], self.stub.window["rect"])
        self.assertEqual([0, 0, 600, 300], self.stub.window["client"])

    def test_controls_at_their_places_in_stacking_order(self):
        children = self.stub.window["children"]
        self.assertEqual(len(CONTROLS), len(children))
        for (name, class_name, rect, visible), child in zip(CONTROLS, children):
            with self.subTest(control=name or class_name):
                self.assertEqual(class_name, child["class"])
                self.assertEqual(name, child["text"])
                self.assertEqual(rect, child["rect"])
                self.assertEqual(visible, child["visible"])

    def test_progress_canvas_has_rounded_ends(self):
        bar = w.child(self.stub.window, text="画板1")
        self.assertIsNotNone(bar["region"])
        self.assertFalse(bar["region"]["corner"])
        self.assertTrue(bar["region"]["middle"])

    def test_escape_does_not_close_the_window(self):
        w.click(*self.stub.screen_point(300, 100))
        w.key("Escape")
        time.sleep(0.5)
        self.assertTrue(self.stub.running())
        self.assertIsNotNone(w.form_window())

    def test_hover_shows_the_red_caption_and_a_press_released_outside_does_not_click(self):
        x, y = self.stub.screen_point(522, 264)
        w.mouse_move(*self.stub.screen_point(300, 100))
        time.sleep(0.3)
        self.assertEqual(0, red_pixels(w.Screen(), x, y, 60, 21))
        w.mouse_move(*self.stub.screen_point(*CLOSE_BUTTON_CENTRE))
        time.sleep(0.3)
        self.assertGreater(red_pixels(w.Screen("window-hover-close.png"), x, y, 60, 21), 10)
        # Held down over the button: the normal picture; dragged away and released: no click.
        w.mouse("mousedown")
        time.sleep(0.3)
        self.assertEqual(0, red_pixels(w.Screen(), x, y, 60, 21))
        w.mouse_move(*self.stub.screen_point(300, 100))
        w.mouse("mouseup")
        time.sleep(0.5)
        self.assertTrue(self.stub.running())


class CloseTest(unittest.TestCase):
    def setUp(self):
        w.ensure_prefix()
        w.kill_wine()

    def test_clicking_cancel_ends_the_program_with_0_within_a_second(self):
        stub = Stub()
        try:
            w.mouse_move(*stub.screen_point(*CLOSE_BUTTON_CENTRE))
            started = time.monotonic()
            w.mouse("click")
            code = stub.process.wait(10)
            elapsed = time.monotonic() - started
            self.assertEqual(0, code)
            self.assertLess(elapsed, 1.0)
        finally:
            stub.end()


if __name__ == "__main__":
    unittest.main()
