"""Copies a text file and appends the one NUL byte that text resources end with."""
import sys

with open(sys.argv[1], "rb") as f:
    data = f.read()
if b"\0" in data:
    sys.exit("%s: a text resource must not hold a NUL byte" % sys.argv[1])
with open(sys.argv[2], "wb") as f:
    f.write(data + b"\0")
