"""stubtool on the real stubs: the shipped stub carries its identifier field as one run, found once;
stamping rewrites exactly that field and the stub's identifier reads back; every refusal leaves no
file behind; and the Windows build of the tool stamps the same bytes as the native one."""

import os
import pathlib
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest

SOURCE = pathlib.Path(os.environ.get("STUB_SOURCE_DIR", pathlib.Path(__file__).resolve().parents[2]))
BUILD = pathlib.Path(os.environ["STUB_BUILD_ROOT"]).resolve()
NATIVE = pathlib.Path(os.environ.get("STUB_NATIVE_DIR", BUILD / "native"))
SHIPPED_STUB = BUILD / "win32" / "stub.exe"
TEST_STUB = BUILD / "win64" / "stub.exe"
NATIVE_TOOL = NATIVE / "tools" / "stubtool" / "stubtool"
WINDOWS_TOOL = BUILD / "win64" / "tools" / "stubtool" / "stubtool.exe"

# Wine runs in the build's prefix when there is one; otherwise in a prefix of this test's own,
# made when the Windows tool is first run and removed afterwards.
OWN_WINE_DIR = None
if not (BUILD / "wine" / "prefix").is_dir():
    OWN_WINE_DIR = pathlib.Path(tempfile.gettempdir()) / f"stamp-test-wine-{os.getpid()}"
    os.environ["STUB_WINE_DIR"] = str(OWN_WINE_DIR)
sys.path.insert(0, str(SOURCE / "tests" / "support"))
import winetools  # noqa: E402

START = b"#@#@#@#@#@#@#@#@#@#@#@##"
END = b"#$%$%$%$%$%$%$%$%$%$%$%#"


def field(identifier: bytes) -> bytes:
    """The 246 bytes and the NUL of a field that carries identifier."""
    return (START + identifier + END).ljust(246, b" ") + b"\0"


DELIVERED = field(b"1099")


def stubtool(*args):
    return subprocess.run([str(NATIVE_TOOL), *map(os.fsencode, args)], capture_output=True,
                          timeout=60)


def work_folder(name):
    path = NATIVE / "e2e" / "stamp" / name
    shutil.rmtree(path, ignore_errors=True)
    path.mkdir(parents=True)
    return path


def pe_header(image):
    """(machine, optional header magic, offset of the optional header) of a PE file."""
    assert image[:2] == b"MZ"
    pe = struct.unpack_from("<I", image, 0x3C)[0]
    assert image[pe:pe + 4] == b"PE\0\0"
    machine = struct.unpack_from("<H", image, pe + 4)[0]
    magic = struct.unpack_from("<H", image, pe + 24)[0]
    return machine, magic, pe + 24


def read_shipped_stub():
    if not SHIPPED_STUB.is_file():
        raise unittest.SkipTest(f"{SHIPPED_STUB} has not been built: build the win32 tree first")
    image = SHIPPED_STUB.read_bytes()
    count = image.count(DELIVERED)
    if count != 1:
        raise AssertionError(f"{SHIPPED_STUB} holds the delivered identifier field {count} times, "
                             "not once as one run: is ReadPackageId linked into the stub?")
    return image


class StampTest(unittest.TestCase):

    @classmethod
    def setUpClass(cls):
        cls.original = read_shipped_stub()
        cls.work = work_folder("native")

    def stamp(self, identifier, *options, source=None):
        """Stamps the shipped stub (or source) into a new file; gives (result, new bytes)."""
        out = self.work / "stamped.exe"
        out.unlink(missing_ok=True)
        result = stubtool("stamp", *options, source or SHIPPED_STUB, identifier, out)
        self.assertEqual(result.returncode, 0, result.stderr)
        return result, out.read_bytes()

    def assert_only_the_field_changed(self, stamped, identifier_bytes):
        at = self.original.index(DELIVERED)
        self.assertEqual(len(stamped), len(self.original))
        self.assertEqual(stamped[at:at + 247], field(identifier_bytes))
        self.assertTrue(stamped[:at] == self.original[:at], "bytes before the field changed")
        self.assertTrue(stamped[at + 247:] == self.original[at + 247:], "bytes behind the field changed")

    def test_shipped_stub_is_pe32_and_reads_as_1099(self):
        machine, magic, _ = pe_header(self.original)
        self.assertEqual((machine, magic), (0x14C, 0x10B), "the shipped stub is not PE32 for i386")
        result = stubtool("id", SHIPPED_STUB)
        self.assertEqual((result.returncode, result.stdout), (0, b"1099\n"), result.stderr)

    def test_test_build_carries_the_field_once(self):
        if not TEST_STUB.is_file():
            self.skipTest(f"{TEST_STUB} has not been built")
        image = TEST_STUB.read_bytes()
        self.assertEqual(pe_header(image)[:2], (0x8664, 0x20B))
        self.assertEqual(image.count(DELIVERED), 1)
        self.assertEqual(stubtool("id", TEST_STUB).stdout, b"1099\n")

    def test_stamp_rewrites_the_field_and_nothing_else(self):
        for identifier in ["abc", "测试包", "z" * 198, " 1099", "100% 好", "丂@x"]:
            with self.subTest(identifier=identifier):
                result, stamped = self.stamp(identifier)
                self.assertEqual(result.stderr, b"", "an unsigned stub needs no warning")
                cp936 = identifier.encode("cp936")
                self.assert_only_the_field_changed(stamped, cp936)
                self.assertEqual(stamped.count(field(cp936)), 1)
                out = self.work / "stamped.exe"
                self.assertEqual(stubtool("id", out).stdout, identifier.encode() + b"\n")
                self.assertEqual(stubtool("id", "--cp936", out).stdout, cp936 + b"\n")

    def test_identifier_given_as_code_page_936_bytes(self):
        cp936 = "测试包".encode("cp936")  # not valid UTF-8, so taken as it stands
        for options in [(), ("--cp936",)]:
            with self.subTest(options=options):
                _, stamped = self.stamp(cp936, *options)
                self.assert_only_the_field_changed(stamped, cp936)
        # C3 A9 is "茅" in code page 936 and "é" in UTF-8: UTF-8 wins unless --cp936 says otherwise.
        _, stamped = self.stamp(b"\xc3\xa9")
        self.assert_only_the_field_changed(stamped, "é".encode("cp936"))
        _, stamped = self.stamp(b"\xc3\xa9", "--cp936")
        self.assert_only_the_field_changed(stamped, "茅".encode("cp936"))

    def test_stamped_stub_stamps_back_to_the_original(self):
        _, once = self.stamp("测试包")
        again = self.work / "once.exe"
        again.write_bytes(once)
        _, back = self.stamp("1099", source=again)
        self.assertTrue(back == self.original, "stamping back to 1099 did not restore the stub")

    def test_signed_stub_is_stamped_with_a_warning(self):
        signed = bytearray(self.original)
        _, magic, optional = pe_header(signed)
        security_entry = optional + (96 if magic == 0x10B else 112) + 4 * 8
        struct.pack_into("<II", signed, security_entry, len(signed), 0x800)
        source = self.work / "signed.exe"
        source.write_bytes(signed)
        result, stamped = self.stamp("abc", source=source)
        self.assertIn(b"warning", result.stderr)
        self.assertIn(b"signed again", result.stderr)
        at = signed.index(DELIVERED)
        self.assertEqual(stamped[at:at + 247], field(b"abc"))

    def test_refusals_write_nothing(self):
        no_field = self.work / "no_field.exe"
        no_field.write_bytes(self.original.replace(DELIVERED, b"\0" * 247))
        two_fields = self.work / "two_fields.exe"
        two_fields.write_bytes(self.original + self.original)
        overwritten = self.work / "overwritten.exe"
        overwritten.write_bytes(self.original.replace(DELIVERED, DELIVERED.replace(END, b"x" * 24)))
        cases = [
            (SHIPPED_STUB, "", b"empty"),
            (SHIPPED_STUB, "x" * 199, b"199 bytes"),
            (SHIPPED_STUB, "测" * 100, b"200 bytes"),
            (SHIPPED_STUB, "a\\b", b"separator"),
            (SHIPPED_STUB, "a/b", b"separator"),
            (SHIPPED_STUB, "..", b'".."'),
            (SHIPPED_STUB, "c:", b"':'"),
            (SHIPPED_STUB, "a|b", b"'|'"),
            (SHIPPED_STUB, "CON", b"device"),
            (SHIPPED_STUB, "lpt1.txt", b"device"),
            (SHIPPED_STUB, "a.", b"dot"),
            (SHIPPED_STUB, "a ", b"space"),
            (SHIPPED_STUB, "a\tb", b"0x09"),
            (SHIPPED_STUB, "a#b", b"'#'"),
            (SHIPPED_STUB, "a" + END.decode() + "b", b"end marker"),
            (SHIPPED_STUB, "€", b"0x80"),
            (SHIPPED_STUB, "😀", b"cannot represent"),
            (no_field, "abc", b"no package identifier field"),
            (overwritten, "abc", b"no package identifier field"),
            (two_fields, "abc", b"2 times"),
            (self.work / "absent.exe", "abc", b"cannot read"),
        ]
        out = self.work / "refused.exe"
        for source, identifier, reason in cases:
            with self.subTest(source=source.name, identifier=identifier):
                before = sorted(os.listdir(self.work))
                result = stubtool("stamp", source, identifier, out)
                self.assertEqual(result.returncode, 1)
                self.assertIn(reason, result.stderr)
                self.assertFalse(out.exists())
                self.assertEqual(sorted(os.listdir(self.work)), before)

    def test_id_of_a_file_without_a_field(self):
        result = stubtool("id", NATIVE_TOOL)
        self.assertEqual((result.returncode, result.stdout), (1, b""))
        self.assertIn(b"no package identifier field", result.stderr)


class WindowsToolTest(unittest.TestCase):

    @classmethod
    def setUpClass(cls):
        cls.original = read_shipped_stub()
        if not WINDOWS_TOOL.is_file():
            raise unittest.SkipTest(f"{WINDOWS_TOOL} has not been built: build the win64 tree first")
        if OWN_WINE_DIR is not None:
            winetools.ensure_prefix()
        cls.work = work_folder("windows")
        shutil.copyfile(SHIPPED_STUB, cls.work / "stub.exe")

    @classmethod
    def tearDownClass(cls):
        if OWN_WINE_DIR is not None:
            winetools.kill_wine()
            shutil.rmtree(OWN_WINE_DIR, ignore_errors=True)

    def windows_stubtool(self, *args):
        return winetools.run(WINDOWS_TOOL, *args, cwd=self.work, timeout=120)

    def test_windows_tool_stamps_the_same_bytes_as_the_native_one(self):
        result = self.windows_stubtool("stamp", "stub.exe", "测试包", "windows.exe")
        self.assertEqual(result.returncode, 0, result.stderr)
        native = self.work / "native.exe"
        self.assertEqual(stubtool("stamp", SHIPPED_STUB, "测试包", native).returncode, 0)
        windows = (self.work / "windows.exe").read_bytes()
        self.assertTrue(windows == native.read_bytes(), "the two tools wrote different files")
        self.assertEqual(windows.count(field("测试包".encode("cp936"))), 1)

        # Redirected, the Windows tool writes the identifier's own bytes, in a text-mode line.
        result = self.windows_stubtool("id", "windows.exe")
        self.assertEqual((result.returncode, result.stdout), (0, "测试包".encode("cp936") + b"\r\n"))

        result = self.windows_stubtool("stamp", "stub.exe", "a<b", "refused.exe")
        self.assertEqual(result.returncode, 1)
        self.assertIn(b"'<'", result.stderr)
        self.assertFalse((self.work / "refused.exe").exists())


if __name__ == "__main__":
    unittest.main()
