"""Just enough of the PE format to read imports and resources of our programs."""
import struct


class PeImage:
    def __init__(self, data):
        self.data = bytearray(data)
        if self.data[:2] != b"MZ":
            raise ValueError("not an MZ file")
        pe = struct.unpack_from("<I", self.data, 0x3C)[0]
        if self.data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("no PE signature")
        self.machine, nsections = struct.unpack_from("<HH", self.data, pe + 4)
        opt_size = struct.unpack_from("<H", self.data, pe + 20)[0]
        opt = pe + 24
        magic = struct.unpack_from("<H", self.data, opt)[0]
        self.is64 = magic == 0x20B
        dirs = opt + (112 if self.is64 else 96)
        ndirs = struct.unpack_from("<I", self.data, dirs - 4)[0]
        self.directories = [struct.unpack_from("<II", self.data, dirs + 8 * i) for i in range(ndirs)]
        self.sections = []
        sec = opt + opt_size
        for i in range(nsections):
            name = bytes(self.data[sec:sec + 8]).rstrip(b"\0").decode("ascii", "replace")
            vsize, va, rawsize, rawptr = struct.unpack_from("<IIII", self.data, sec + 8)
            self.sections.append((name, va, max(vsize, rawsize), rawptr, rawsize))
            sec += 40

    def offset(self, rva):
        for _, va, size, rawptr, _ in self.sections:
            if va <= rva < va + size:
                return rawptr + rva - va
        raise ValueError("RVA %#x outside every section" % rva)

    def cstring(self, rva):
        off = self.offset(rva)
        end = self.data.index(0, off)
        return bytes(self.data[off:end]).decode("latin-1")

    def imported_dlls(self):
        rva, size = self.directories[1]
        dlls = []
        if not rva:
            return dlls
        off = self.offset(rva)
        while True:
            name_rva = struct.unpack_from("<I", self.data, off + 12)[0]
            if not name_rva:
                break
            dlls.append(self.cstring(name_rva))
            off += 20
        return dlls

    def imported_functions(self):
        """Yields (dll, function name or ordinal number) of every import."""
        rva, size = self.directories[1]
        if not rva:
            return
        off = self.offset(rva)
        entry_size, flag = (8, 1 << 63) if self.is64 else (4, 1 << 31)
        while True:
            lookup, _, _, name_rva, thunk = struct.unpack_from("<IIIII", self.data, off)
            if not name_rva:
                break
            dll = self.cstring(name_rva)
            table = self.offset(lookup or thunk)
            while True:
                value = int.from_bytes(self.data[table:table + entry_size], "little")
                if not value:
                    break
                yield dll, (value & 0xFFFF) if value & flag else self.cstring((value & 0x7FFFFFFF) + 2)
                table += entry_size
            off += 20

    def resources(self):
        """Yields (type, name, language, data entry offset, data rva, size, codepage)."""
        rva, size = self.directories[2]
        if not rva:
            return
        base = self.offset(rva)

        def entries(dir_off):
            named, ids = struct.unpack_from("<HH", self.data, base + dir_off + 12)
            for i in range(named + ids):
                name, target = struct.unpack_from("<II", self.data, base + dir_off + 16 + 8 * i)
                if name & 0x80000000:
                    soff = base + (name & 0x7FFFFFFF)
                    n = struct.unpack_from("<H", self.data, soff)[0]
                    name = bytes(self.data[soff + 2:soff + 2 + 2 * n]).decode("utf-16-le")
                yield name, target

        for rtype, t_target in entries(0):
            for rname, n_target in entries(t_target & 0x7FFFFFFF):
                for lang, l_target in entries(n_target & 0x7FFFFFFF):
                    entry = base + l_target
                    drva, dsize, cp = struct.unpack_from("<III", self.data, entry)
                    yield rtype, rname, lang, entry, drva, dsize, cp

    def resource_data(self, drva, dsize):
        off = self.offset(drva)
        return bytes(self.data[off:off + dsize])


def load(path):
    with open(path, "rb") as f:
        return PeImage(f.read())
