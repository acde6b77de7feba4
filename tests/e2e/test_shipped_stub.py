"""The shipped 32-bit stub as a file, and one run of it under 32-bit Wine.

Where 32-bit code runs only emulated, that run takes a few minutes; it is skipped where 32-bit
programs cannot run at all."""
import pathlib
import re
import struct
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[1] / "support"))
import winetools as w  # noqa: E402

STUB = w.WIN32 / "stub.exe"
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "ole32.dll", "oleaut32.dll",
               "shell32.dll", "shlwapi.dll", "comdlg32.dll", "advapi32.dll", "bcrypt.dll",
               "msvcrt.dll"}


def pe_headers(data):
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    assert data[pe:pe + 4] == b"PE\0\0"
    machine, = struct.unpack_from("<H", data, pe + 4)
    magic, = struct.unpack_from("<H", data, pe + 24)
    subsystem, = struct.unpack_from("<H", data, pe + 24 + 68)
    return machine, magic, subsystem


class ShippedFileTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.data = STUB.read_bytes()

    def test_is_a_32_bit_gui_program_for_intel_386(self):
        machine, magic, subsystem = pe_headers(self.data)
        self.assertEqual(0x14C, machine)    # IMAGE_FILE_MACHINE_I386
        self.assertEqual(0x10B, magic)      # PE32
        self.assertEqual(2, subsystem)      # IMAGE_SUBSYSTEM_WINDOWS_GUI

    def test_imports_only_system_libraries(self):
        dump = subprocess.run(["i686-w64-mingw32-objdump", "-p", str(STUB)], check=True,
                              capture_output=True, text=True).stdout
        imported = {name.lower() for name in re.findall(r"DLL Name: (\S+)", dump)}
        self.assertTrue(imported)
        self.assertLessEqual(imported, SYSTEM_DLLS)
        # Bound at run time from System32 only, never imported.
        self.assertNotIn("gdiplus.dll", imported)
        self.assertNotIn("wininet.dll", imported)

    def test_carries_its_manifest_and_version(self):
        manifest = re.search(rb"<assembly.*?</assembly>", self.data, re.S)
        self.assertIsNotNone(manifest)
        self.assertIn(b'level="asInvoker"', manifest.group(0))
        for os_id in (b"35138b9a-5d96-4fbd-8e2d-a2440225f93a", b"8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"):
            self.assertIn(os_id, manifest.group(0))
        self.assertIn("FileVersion".encode("utf-16-le"), self.data)
        self.assertIn("Zorvel".encode("utf-16-le"), self.data)


def can_run_32_bit():
    try:
        return subprocess.run([w.WINE32, "--version"], capture_output=True, timeout=60).returncode == 0
    except (OSError, subprocess.TimeoutExpired):
        return False


@unittest.skipUnless(can_run_32_bit(), "32-bit programs cannot run on this machine")
class ShippedRunTest(unittest.TestCase):
    def test_shows_its_window_and_closes_with_0(self):
        w.ensure_prefix()
        w.kill_wine()
        with tempfile.TemporaryDirectory(prefix="stub32-") as folder:
            exe = w.fresh_copy(STUB, folder)
            process = w.start(exe, wine=w.WINE32)
            try:
                window = w.wait_for(lambda: w.form_window(), timeout=600, interval=2)
                self.assertIsNotNone(window, "the 32-bit stub showed no window")
                self.assertEqual("Zorvel下载", window["text"])
                self.assertEqual([203, 220, 600, 300], window["rect"])
                w.save_screenshot("shipped-stub-32-bit.png")
                x, y = window["client_origin"]
                w.click(x + 552, y + 274)
                self.assertEqual(0, process.wait(120))
            finally:
                if process.poll() is None:
                    process.kill()
                w.kill_wine()


if __name__ == "__main__":
    unittest.main()
