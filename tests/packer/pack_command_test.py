"""The user's one command: scripts/pack from a Linux shell, with relative paths and
a blank in a name, writes a setup program; a refusal writes none. Runs the packer of
this build under Wine in a prefix of its own."""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

SOURCE_DIR = os.environ["SOURCE_DIR"]
BUILD_DIR = os.environ["BUILD_DIR"]
sys.path.insert(0, os.path.join(SOURCE_DIR, "scripts"))
import pe_image  # noqa: E402

SAMPLE_DIR = os.path.join(SOURCE_DIR, "setup", "package", "sample")


def read(path):
    with open(path, "rb") as f:
        return f.read()


class PackCommand(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="pack-command-", dir=BUILD_DIR)
        for name in ("description.txt", "license.txt"):
            shutil.copy(os.path.join(SAMPLE_DIR, name), self.work)
        os.mkdir(os.path.join(self.work, "cab files"))
        shutil.copy(os.path.join(SAMPLE_DIR, "TideTables.cab"), os.path.join(self.work, "cab files"))
        self.env = dict(os.environ, PACKER=os.path.join(BUILD_DIR, "bin", "packer.exe"),
                        PACK_WINEPREFIX=os.path.join(BUILD_DIR, "wine-pack-test"))

    def tearDown(self):
        shutil.rmtree(self.work)

    def pack(self, *args):
        return subprocess.run([os.path.join(SOURCE_DIR, "scripts", "pack")] + list(args), cwd=self.work, env=self.env,
                              stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=300)

    def test_writes_the_setup_program(self):
        run = self.pack("--title", "Tide Tables", "--description", "description.txt", "--license=license.txt",
                        "--cab", "cab files/TideTables.cab", "-o", "out/../my setup.exe")
        self.assertEqual(0, run.returncode, run.stderr.decode("latin-1"))
        self.assertEqual(b"", run.stderr)
        image = pe_image.load(os.path.join(self.work, "my setup.exe"))
        found = {(t, n): image.resource_data(rva, size) for t, n, _, _, rva, size, _ in image.resources()}
        self.assertEqual(read(os.path.join(SAMPLE_DIR, "install.ini")), found[(100, 1)])
        self.assertEqual(read(os.path.join(SAMPLE_DIR, "TideTables.cab")), found[(100, 3)])
        self.assertEqual(0x14C, image.machine)

    def test_refusal_writes_nothing(self):
        run = self.pack("--title", "Tide\\Tables", "--description", "description.txt", "--license", "license.txt",
                        "--cab", "cab files/TideTables.cab", "-o", "setup.exe")
        self.assertEqual(1, run.returncode)
        self.assertIn(b"packer: the title 'Tide\\Tables' holds a backslash at position 5", run.stderr)
        self.assertFalse(os.path.exists(os.path.join(self.work, "setup.exe")))

    def test_help(self):
        run = self.pack("--help")
        self.assertEqual(0, run.returncode)
        self.assertIn(b"Usage: packer --title TEXT", run.stdout)


if __name__ == "__main__":
    unittest.main()
