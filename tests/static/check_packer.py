"""Checks of what the packer makes and carries, without Windows: the sample's
setup.exe of this build (written by the packer) holds the sample package exactly,
in the resource layout, and the packer carries both architectures' programs."""
import os
import struct
import sys
import unittest

SOURCE_DIR = os.environ.get("SOURCE_DIR", os.path.join(os.path.dirname(__file__), "..", ".."))
sys.path.insert(0, os.path.join(SOURCE_DIR, "scripts"))
import pe_image  # noqa: E402

PROGRAMS_DIR = os.environ.get("PROGRAMS_DIR", "")
BUILD_DIR = os.path.dirname(PROGRAMS_DIR)
WIN_ARCH = os.environ.get("WIN_ARCH", "x64")
OTHER_ARCH = {"x64": "x86", "x86": "x64"}[WIN_ARCH]
MACHINES = {"x64": 0x8664, "x86": 0x14C}
SAMPLE_DIR = os.path.join(SOURCE_DIR, "setup", "package", "sample")
TEST_DATA_DIR = os.path.join(SOURCE_DIR, "tests", "packer", "data")
PACKAGE_TYPES = {100, 101, 102, 103}


def read(path):
    with open(path, "rb") as f:
        return f.read()


def resources(image):
    """{(type, id): (language, code page, data)}, each pair once."""
    found = {}
    for rtype, name, lang, _, rva, size, codepage in image.resources():
        assert (rtype, name) not in found, "resource %s/%s twice" % (rtype, name)
        found[(rtype, name)] = (lang, codepage, image.resource_data(rva, size))
    return found


class SampleSetup(unittest.TestCase):
    def setUp(self):
        self.image = pe_image.load(os.path.join(PROGRAMS_DIR, "setup.exe"))
        self.resources = resources(self.image)

    def data(self, rtype, rid):
        self.assertIn((rtype, rid), self.resources)
        return self.resources[(rtype, rid)][2]

    def test_package_matches_the_sample(self):
        title = read(os.path.join(SAMPLE_DIR, "title.txt"))
        expected = {
            (103, 2): title + b"\0",
            (102, 4): read(os.path.join(TEST_DATA_DIR, "sample-description-cp1252.txt")) + b"\0",
            (102, 5): read(os.path.join(TEST_DATA_DIR, "sample-license-cp1252.txt")) + b"\0",
            (100, 1): read(os.path.join(SAMPLE_DIR, "install.ini")),
            (101, 1): b"install.ini\0",
            (100, 2): read(os.path.join(PROGRAMS_DIR, "Uninstall.exe")),
            (101, 2): b"Uninstall.exe\0",
            (100, 3): read(os.path.join(SAMPLE_DIR, "TideTables.cab")),
            (101, 3): b"TideTables.cab\0",
        }
        for key, data in expected.items():
            with self.subTest(resource=key):
                self.assertEqual(data, self.data(*key))
        package = {key for key in self.resources if key[0] in PACKAGE_TYPES}
        self.assertEqual(set(expected), package)

    def test_package_is_neutral_and_code_page_1252(self):
        for (rtype, rid), (lang, codepage, _) in self.resources.items():
            if rtype in PACKAGE_TYPES:
                with self.subTest(resource=(rtype, rid)):
                    self.assertEqual(0, lang)
                    self.assertEqual(1252, codepage)

    def test_standard_resources_stay(self):
        for key in [(6, 1), (14, 143), (16, 1)]:
            with self.subTest(resource=key):
                self.assertEqual(1033, self.resources[key][0])

    def test_built_for_this_architecture(self):
        self.assertEqual(MACHINES[WIN_ARCH], self.image.machine)


class PackerCarries(unittest.TestCase):
    def test_both_architectures_programs(self):
        packer = resources(pe_image.load(os.path.join(PROGRAMS_DIR, "packer.exe")))
        stubs = {
            WIN_ARCH: (os.path.join(BUILD_DIR, "stub", "setup_stub.exe"), os.path.join(PROGRAMS_DIR, "Uninstall.exe")),
            OTHER_ARCH: (os.path.join(BUILD_DIR, "other-" + OTHER_ARCH, "stub", "setup_stub.exe"),
                         os.path.join(BUILD_DIR, "other-" + OTHER_ARCH, "bin", "Uninstall.exe")),
        }
        ids = {"x86": (1, 2), "x64": (3, 4)}
        for arch, (setup_id, uninstall_id) in ids.items():
            for rid, path in zip((setup_id, uninstall_id), stubs[arch]):
                with self.subTest(arch=arch, id=rid):
                    data = packer[(10, rid)][2]
                    self.assertEqual(read(path), data)
                    self.assertEqual(MACHINES[arch], pe_image.PeImage(data).machine)
                    # A stub carries no package of its own.
                    carried = {key[0] for key in resources(pe_image.PeImage(data))}
                    self.assertFalse(carried & PACKAGE_TYPES)


if __name__ == "__main__":
    unittest.main()
