"""Makes a text resource for a resource script from a UTF-8 source file: code page
1252, and the one NUL byte that text resources end with. A page text also gets
CR LF line ends (the last line too); a title stays one line.

usage: text-resource.py page|title SOURCE OUTPUT
"""
import sys

kind, source, output = sys.argv[1:4]
with open(source, "rb") as f:
    text = f.read().decode("utf-8-sig")
if "\0" in text:
    sys.exit("%s: a text resource must not hold a NUL character" % source)
if kind == "page":
    lines = text.replace("\r\n", "\n").replace("\r", "\n").split("\n")
    if lines[-1] == "":
        lines.pop()
    text = "".join(line + "\r\n" for line in lines)
elif kind != "title":
    sys.exit(__doc__)
with open(output, "wb") as f:
    f.write(text.encode("cp1252") + b"\0")
