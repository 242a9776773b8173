"""The uninstaller carries nothing but its program icon: icon group 103 with two
16-colour images, 32x32 and 16x16, and the icons that the group names."""
import os
import struct
import sys
import unittest

SOURCE_DIR = os.environ.get("SOURCE_DIR", os.path.join(os.path.dirname(__file__), "..", ".."))
sys.path.insert(0, os.path.join(SOURCE_DIR, "scripts"))
import pe_image  # noqa: E402

PROGRAMS_DIR = os.environ.get("PROGRAMS_DIR", "")
RT_ICON = 3
RT_GROUP_ICON = 14


class UninstallerResources(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        image = pe_image.load(os.path.join(PROGRAMS_DIR, "Uninstall.exe"))
        cls.resources = [(rtype, name, image.resource_data(drva, size))
                         for rtype, name, _lang, _entry, drva, size, _cp in image.resources()]

    def of_type(self, rtype):
        return {name: data for t, name, data in self.resources if t == rtype}

    def group(self):
        groups = self.of_type(RT_GROUP_ICON)
        self.assertEqual([103], list(groups), "icon groups")
        data = groups[103]
        reserved, kind, count = struct.unpack_from("<HHH", data, 0)
        self.assertEqual((0, 1, 6 + 14 * count), (reserved, kind, len(data)))
        return [struct.unpack_from("<BBBBHHIH", data, 6 + 14 * i) for i in range(count)]

    def test_only_icon_resources_besides_the_manifest(self):
        # The application manifest (type 24, id 1) is the one resource beyond the icon.
        self.assertEqual({RT_ICON, RT_GROUP_ICON, 24}, {t for t, _name, _data in self.resources})
        self.assertEqual([1], list(self.of_type(24)))

    def test_group_103_has_a_32_and_a_16_pixel_image_of_16_colours(self):
        entries = self.group()
        self.assertEqual([(32, 32), (16, 16)], [(e[0], e[1]) for e in entries])
        for width, height, colours, _reserved, planes, bits, _size, _id in entries:
            with self.subTest(size=width):
                self.assertEqual((16, 1, 4), (colours, planes, bits))

    def test_icons_are_exactly_those_the_group_names(self):
        entries = self.group()
        icons = self.of_type(RT_ICON)
        self.assertEqual(sorted(e[7] for e in entries), sorted(icons))
        for width, height, _colours, _reserved, _planes, _bits, size, icon_id in entries:
            with self.subTest(icon=icon_id):
                data = icons[icon_id]
                self.assertEqual(size, len(data))
                header_size, bmp_width, bmp_height, planes, bits = struct.unpack_from("<IiiHH", data, 0)
                # the bitmap's height counts the image and its mask
                self.assertEqual((40, width, 2 * height, 1, 4), (header_size, bmp_width, bmp_height, planes, bits))
                pixels = width * height // 2
                mask = ((width + 31) // 32) * 4 * height
                self.assertEqual(40 + 16 * 4 + pixels + mask, len(data))


if __name__ == "__main__":
    unittest.main()
