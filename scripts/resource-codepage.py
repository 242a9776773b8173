#!/usr/bin/env python3
"""Sets the code page of the resource data entries of the given types in a PE file.

usage: resource-codepage.py FILE CODEPAGE TYPE...
"""
import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pe_image  # noqa: E402


def main(argv):
    if len(argv) < 4:
        sys.stderr.write(__doc__)
        return 2
    path, codepage, types = argv[1], int(argv[2]), {int(t) for t in argv[3:]}
    image = pe_image.load(path)
    for rtype, _, _, entry, _, _, _ in image.resources():
        if rtype in types:
            struct.pack_into("<I", image.data, entry + 8, codepage)
    with open(path, "r+b") as f:
        f.write(image.data)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
