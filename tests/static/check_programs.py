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
