"""The wizard's dialog templates inside setup.exe, field by field: template form,
styles, position, size, font, and every control in tab order."""
import os
import struct
import sys
import unittest

SOURCE_DIR = os.environ.get("SOURCE_DIR", os.path.join(os.path.dirname(__file__), "..", ".."))
sys.path.insert(0, os.path.join(SOURCE_DIR, "scripts"))
import pe_image  # noqa: E402

PROGRAMS_DIR = os.environ.get("PROGRAMS_DIR", "")
RT_DIALOG = 5
US_ENGLISH = 1033
CLASS_ORDINALS = {0x80: "BUTTON", 0x81: "EDIT", 0x82: "STATIC"}
DS_CONTROL = 0x400  # added to both pages so the frame's dialog manager walks into them


def read_name(data, off):
    """A name-or-ordinal field: ("", None) for none, an int for an ordinal, else text."""
    first = struct.unpack_from("<H", data, off)[0]
    if first == 0:
        return "", off + 2
    if first == 0xFFFF:
        return struct.unpack_from("<H", data, off + 2)[0], off + 4
    end = off
    while struct.unpack_from("<H", data, end)[0] != 0:
        end += 2
    return data[off:end].decode("utf-16-le"), end + 2


def align4(off):
    return (off + 3) & ~3


def parse_dialog(data):
    dialog = {}
    extended = struct.unpack_from("<HH", data, 0) == (1, 0xFFFF)
    dialog["extended"] = extended
    if extended:
        (dialog["help"], dialog["exstyle"], dialog["style"], count, x, y, cx, cy) = struct.unpack_from("<IIIHhhhh", data, 4)
        off = 26
    else:
        (dialog["style"], dialog["exstyle"], count, x, y, cx, cy) = struct.unpack_from("<IIHhhhh", data, 0)
        off = 18
    dialog["rect"] = (x, y, cx, cy)
    dialog["menu"], off = read_name(data, off)
    dialog["class"], off = read_name(data, off)
    dialog["caption"], off = read_name(data, off)
    if dialog["style"] & 0x40:  # DS_SETFONT
        dialog["points"] = struct.unpack_from("<H", data, off)[0]
        off += 2
        if extended:
            dialog["weight"], dialog["italic"], dialog["charset"] = struct.unpack_from("<HBB", data, off)
            off += 4
        dialog["face"], off = read_name(data, off)
    controls = []
    for _ in range(count):
        off = align4(off)
        control = {}
        if extended:
            (control["help"], control["exstyle"], control["style"], x, y, cx, cy, control["id"]) = struct.unpack_from("<IIIhhhhi", data, off)
            off += 24
        else:
            (control["style"], control["exstyle"], x, y, cx, cy, control["id"]) = struct.unpack_from("<IIhhhhh", data, off)
            off += 18
        control["rect"] = (x, y, cx, cy)
        cls, off = read_name(data, off)
        control["class"] = CLASS_ORDINALS.get(cls, cls) if isinstance(cls, int) else cls.upper()
        control["text"], off = read_name(data, off)
        extra = struct.unpack_from("<H", data, off)[0]
        off += 2 + extra
        control["extra"] = extra
        controls.append(control)
    dialog["controls"] = controls
    return dialog


# id, class, text, style, exstyle, (x, y, cx, cy)
WELCOME = [
    (6, "STATIC", "Static", 0x50020000, 0, (8, 43, 314, 142)),
    (-1, "STATIC", "", 0x50000010, 0, (6, 192, 320, 1)),
    (1033, "BUTTON", "< &Back", 0x58010000, 0, (148, 199, 57, 13)),
    (1, "BUTTON", "&Next >", 0x50010001, 0, (206, 199, 55, 13)),
    (2, "BUTTON", "&Cancel", 0x50010000, 0, (267, 199, 59, 13)),
    (1030, "STATIC", "", 0x50000006, 0, (0, 0, 331, 35)),
    (-1, "STATIC", "", 0x50000010, 0, (0, 35, 331, 1)),
]

LICENSE = [
    (1030, "STATIC", "", 0x50000006, 0, (0, 0, 332, 35)),
    (-1, "STATIC", 149, 0x5000000E, 0, (295, 2, 35, 32)),
    (-1, "STATIC", "", 0x50000010, 0, (0, 35, 332, 1)),
    (6, "EDIT", "", 0x50A10804, 0x00020000, (6, 44, 319, 107)),
    (1031, "BUTTON", "I &accept the terms in the license agreement", 0x50030009, 0, (7, 157, 314, 10)),
    (1032, "BUTTON", "I &do not accept the terms in the license agreement", 0x50000009, 0, (7, 169, 308, 10)),
    (-1, "STATIC", "", 0x50000010, 0, (6, 192, 320, 1)),
    (1033, "BUTTON", "< &Back", 0x50010000, 0, (148, 199, 57, 13)),
    (1, "BUTTON", "&Finish", 0x58010001, 0, (206, 199, 55, 13)),
    (2, "BUTTON", "&Cancel", 0x50010000, 0, (267, 199, 59, 13)),
]

# id: extended, style, caption, controls
DIALOGS = {
    151: (False, 0x80C808C0, "Wizard", []),
    1: (False, 0x40000840 | DS_CONTROL, "", WELCOME),
    2: (True, 0x40000840 | DS_CONTROL, "", LICENSE),
}


def dialogs_of(path):
    image = pe_image.load(path)
    found = {}
    for rtype, name, lang, _, rva, size, _ in image.resources():
        if rtype == RT_DIALOG:
            found.setdefault(name, []).append((lang, image.resource_data(rva, size)))
    return found


class WizardTemplates(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.dialogs = dialogs_of(os.path.join(PROGRAMS_DIR, "setup.exe"))

    def test_exactly_the_three_templates_in_us_english(self):
        self.assertEqual(sorted(DIALOGS), sorted(self.dialogs))
        for name, entries in self.dialogs.items():
            self.assertEqual([US_ENGLISH], [lang for lang, _ in entries], name)

    def test_template_headers(self):
        for name, (extended, style, caption, _) in DIALOGS.items():
            with self.subTest(dialog=name):
                dialog = parse_dialog(self.dialogs[name][0][1])
                self.assertEqual(extended, dialog["extended"])
                self.assertEqual(hex(style), hex(dialog["style"]))
                self.assertEqual(0, dialog["exstyle"])
                self.assertEqual((0, 0, 332, 218), dialog["rect"])
                self.assertEqual("", dialog["menu"])
                self.assertEqual("", dialog["class"])
                self.assertEqual(caption, dialog["caption"])
                self.assertEqual(8, dialog["points"])
                self.assertEqual("MS Sans Serif", dialog["face"])
                if extended:
                    self.assertEqual(0, dialog["help"])
                    self.assertEqual((0, 0, 1), (dialog["weight"], dialog["italic"], dialog["charset"]))

    def test_controls_in_tab_order(self):
        for name, (extended, _, _, expected) in DIALOGS.items():
            dialog = parse_dialog(self.dialogs[name][0][1])
            self.assertEqual(len(expected), len(dialog["controls"]), name)
            for index, (want, got) in enumerate(zip(expected, dialog["controls"])):
                with self.subTest(dialog=name, control=index + 1):
                    ident, cls, text, style, exstyle, rect = want
                    self.assertEqual(ident, got["id"] if extended or got["id"] != 0xFFFF else -1)
                    self.assertEqual(cls, got["class"])
                    self.assertEqual(text, got["text"])
                    self.assertEqual(hex(style), hex(got["style"]))
                    self.assertEqual(hex(exstyle), hex(got["exstyle"]))
                    self.assertEqual(rect, got["rect"])
                    self.assertEqual(0, got["extra"])
                    if extended:
                        self.assertEqual(0, got["help"])


if __name__ == "__main__":
    unittest.main()
