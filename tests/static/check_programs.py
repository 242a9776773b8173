"""Checks of the built programs that need no Windows: what they import, which
machine they are for, and the resources they carry. Runs for both builds."""
import os
import struct
import sys
import unittest

SOURCE_DIR = os.environ.get("SOURCE_DIR", os.path.join(os.path.dirname(__file__), "..", ".."))
sys.path.insert(0, os.path.join(SOURCE_DIR, "scripts"))
import pe_image  # noqa: E402

PROGRAMS_DIR = os.environ.get("PROGRAMS_DIR", "")
WIN_ARCH = os.environ.get("WIN_ARCH", "x64")
MACHINE = {"x64": 0x8664, "x86": 0x14C}[WIN_ARCH]
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "msvcrt.dll"}
SHIPPED = ["setup.exe", "Uninstall.exe", "packer.exe"]


def program(name):
    return pe_image.load(os.path.join(PROGRAMS_DIR, name))


class ShippedPrograms(unittest.TestCase):
    def test_import_only_system_dlls(self):
        for name in SHIPPED:
            with self.subTest(program=name):
                imported = {dll.lower() for dll in program(name).imported_dlls()}
                self.assertTrue(imported, "imports nothing at all?")
                self.assertLessEqual(imported, SYSTEM_DLLS, "imports a DLL that Windows does not ship")

    def test_built_for_this_architecture(self):
        for name in SHIPPED:
            with self.subTest(program=name):
                self.assertEqual(MACHINE, program(name).machine)


if __name__ == "__main__":
    unittest.main()


STRINGS = {
    1: "ActiveSync not found on this computer. Setup cannot continue and will now exit.",
    2: "Setup",
    3: "Could not create install directory. Setup cannot continue and will exit.",
    4: "An error occured writing your Pocket PC application to disk. Setup cannot continue and will exit.",
    5: "The setup files are missing information. Setup cannot continue and will exit.",
    6: "Could not write uninstall information.",
    7: "%s will be installed on your Pocket PC now",
    8: "Pocket PC installation",
    9: "License Agreement",
    10: "Please read the following license agreement carefully.",
}
SAMPLE_DIR = os.path.join(SOURCE_DIR, "setup", "package", "sample")


def resources_by_key(image):
    found = {}
    for rtype, name, lang, _, rva, size, codepage in image.resources():
        found.setdefault((rtype, name), []).append((lang, image.resource_data(rva, size), codepage))
    return found


def string_block(data):
    strings, pos = [], 0
    for _ in range(16):
        n = struct.unpack_from("<H", data, pos)[0]
        strings.append(data[pos + 2:pos + 2 + 2 * n].decode("utf-16-le"))
        pos += 2 + 2 * n
    return strings


class SetupResources(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.found = resources_by_key(program("setup.exe"))

    def one(self, rtype, name, lang):
        entries = self.found.get((rtype, name), [])
        self.assertEqual(1, len(entries), "resource %s/%s" % (rtype, name))
        self.assertEqual(lang, entries[0][0], "language of %s/%s" % (rtype, name))
        return entries[0]

    def test_package_types_are_neutral_and_name_code_page_1252(self):
        package = [key for key in self.found if key[0] in (100, 101, 102, 103)]
        self.assertEqual({(100, 1), (100, 2), (100, 3), (101, 1), (101, 2), (101, 3), (102, 4), (102, 5), (103, 2)},
                         set(package))
        for key in package:
            with self.subTest(resource=key):
                _, data, codepage = self.one(key[0], key[1], 0)
                self.assertEqual(1252, codepage)
                if key[0] != 100:
                    self.assertEqual(0, data[-1], "a text resource ends with its NUL")
                    self.assertNotIn(0, data[:-1], "and holds no other")

    def test_sample_package_content(self):
        def source(name):
            with open(os.path.join(SAMPLE_DIR, name), "rb") as f:
                return f.read()
        self.assertEqual(source("install.ini"), self.one(100, 1, 0)[1])
        self.assertEqual(source("TideTables.cab"), self.one(100, 3, 0)[1])
        with open(os.path.join(PROGRAMS_DIR, "Uninstall.exe"), "rb") as f:
            self.assertEqual(f.read(), self.one(100, 2, 0)[1])
        self.assertEqual(b"install.ini\0", self.one(101, 1, 0)[1])
        self.assertEqual(b"Uninstall.exe\0", self.one(101, 2, 0)[1])
        self.assertEqual(b"TideTables.cab\0", self.one(101, 3, 0)[1])
        title = self.one(103, 2, 0)[1][:-1]
        self.assertTrue(1 <= len(title) <= 79 and b"\\" not in title and not title.startswith(b" "))
        for text_id in (4, 5):
            text = self.one(102, text_id, 0)[1][:-1]
            self.assertTrue(text.endswith(b"\r\n"))
            self.assertEqual(text.count(b"\n"), text.count(b"\r\n"), "every line ends with CR LF")
            text.decode("cp1252")

    def test_descriptor_has_the_eight_line_format(self):
        descriptor = self.one(100, 1, 0)[1].decode("cp1252")
        title = self.one(103, 2, 0)[1][:-1].decode("cp1252")
        cab = self.one(101, 3, 0)[1][:-1].decode("cp1252")
        base = cab[:-4]
        self.assertEqual("[CEAppManager]\r\nVersion      = 1.0\r\nComponent    = %s\r\n\r\n[%s]\r\n"
                         "Description  = %s\r\nUninstall    = %s\r\nCabFiles     = %s\r\n" % (title, title, base, base, cab),
                         descriptor)

    def test_cabinet_header(self):
        cab = self.one(100, 3, 0)[1]
        self.assertEqual(b"MSCF", cab[:4])
        self.assertEqual(len(cab), struct.unpack_from("<I", cab, 8)[0], "total-size field")
        self.assertEqual((3, 1), (cab[24], cab[25]), "format version 1.3")

    def test_string_table(self):
        _, data, _ = self.one(6, 1, 1033)
        strings = string_block(data)
        self.assertEqual("", strings[0])
        for i in range(1, 11):
            self.assertEqual(STRINGS[i], strings[i])
        self.assertEqual([""] * 5, strings[11:])

    def test_icon_group_143(self):
        _, data, _ = self.one(14, 143, 1033)
        reserved, kind, count = struct.unpack_from("<HHH", data, 0)
        self.assertEqual((0, 1, 2), (reserved, kind, count))
        images = []
        for i in range(count):
            width, height, colours, _, planes, bits, size, icon_id = struct.unpack_from("<BBBBHHIH", data, 6 + 14 * i)
            images.append((width, height, bits))
            _, icon, _ = self.one(3, icon_id, 1033)
            self.assertEqual(size, len(icon))
            self.assertEqual((32, 64, bits), struct.unpack_from("<iiH", icon, 4)[:2] + (struct.unpack_from("<H", icon, 14)[0],))
        self.assertEqual([(32, 32, 4), (32, 32, 1)], images)

    def test_version_resource(self):
        _, data, _ = self.one(16, 1, 1033)
        fixed = data.index(struct.pack("<I", 0xFEEF04BD))
        (_, _, fv_ms, fv_ls, pv_ms, pv_ls, mask, flags, os_, ftype, subtype, date_ms, date_ls) = \
            struct.unpack_from("<13I", data, fixed)
        self.assertEqual((0x10000, 0x1, 0x10000, 0x1), (fv_ms, fv_ls, pv_ms, pv_ls))
        self.assertEqual((0x3F, 0, 0x40004, 1, 0, 0, 0), (mask, flags, os_, ftype, subtype, date_ms, date_ls))
        text = data.decode("utf-16-le", "replace")
        self.assertIn("040904b0", text)
        for key, value in (("FileVersion", "1, 0, 0, 1"), ("ProductVersion", "1, 0, 0, 1")):
            self.assertIn(key + "\0" + value, text.replace("\0\0", "\0"))
        self.assertEqual(struct.pack("<HH", 0x409, 1200), data[-4:], "translation")

    def test_no_bitmap_and_nothing_unexpected(self):
        allowed = {3, 5, 6, 14, 16, 24, 100, 101, 102, 103}
        self.assertLessEqual({key[0] for key in self.found}, allowed)
        self.assertNotIn(2, {key[0] for key in self.found}, "no bitmap is carried")


class Manifest(unittest.TestCase):
    SUPPORTED_OS = ["e2011457-1546-43c5-a5fe-008deee3d3f0", "35138b9a-5d96-4fbd-8e2d-a2440225f93a",
                    "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38", "1f676c76-80e1-4239-95bb-83d0f6d0da78",
                    "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"]

    def test_both_programs_ask_for_administrator_rights(self):
        import xml.etree.ElementTree as ElementTree
        # The packer writes only the file it is told to: it runs with the user's rights.
        for name in ["setup.exe", "Uninstall.exe"]:
            with self.subTest(program=name):
                manifests = resources_by_key(program(name)).get((24, 1), [])
                self.assertEqual(1, len(manifests), "one application manifest, id 1")
                root = ElementTree.fromstring(manifests[0][1])
                levels = [e.get("level") for e in root.iter("{urn:schemas-microsoft-com:asm.v3}requestedExecutionLevel")]
                self.assertEqual(["requireAdministrator"], levels)
                ids = [e.get("Id").strip("{}") for e in root.iter("{urn:schemas-microsoft-com:compatibility.v1}supportedOS")]
                self.assertEqual(self.SUPPORTED_OS, ids)


class SizeBudget(unittest.TestCase):
    """Budgets of the x86 build; the x64 build may take half as much again."""
    BUDGETS = {"Uninstall.exe": 16384, "setup.exe": 32768}
    HEAP = {"malloc", "calloc", "realloc", "free", "_aligned_malloc", "HeapAlloc", "HeapReAlloc", "HeapCreate",
            "LocalAlloc", "LocalReAlloc", "GlobalAlloc", "GlobalReAlloc", "VirtualAlloc", "??2@YAPAXI@Z", "_Znwj", "_Znwy"}

    def test_programs_within_budget(self):
        factor = 1.0 if WIN_ARCH == "x86" else 1.5
        for name, budget in self.BUDGETS.items():
            with self.subTest(program=name):
                path = os.path.join(PROGRAMS_DIR, name)
                size = os.path.getsize(path)
                if name == "setup.exe":
                    # The package is the author's; only the program itself counts.
                    size -= sum(r[5] for r in pe_image.load(path).resources() if r[0] in (100, 101, 102, 103))
                self.assertLessEqual(size, int(budget * factor))

    def test_no_heap_allocation_imported(self):
        for name in self.BUDGETS:
            with self.subTest(program=name):
                imported = {function for _, function in program(name).imported_functions()}
                self.assertFalse(imported & self.HEAP, "allocates from the heap")
                self.assertTrue(imported, "reads no imports?")
