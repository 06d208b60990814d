"""What a Windows DLL (PE32+) exports and which DLLs it imports, read from its headers.

python tools/pe.py FILE    prints `export NAME` and `import DLL` lines
"""

from __future__ import annotations

import struct
import sys


class PE:
    def __init__(self, data: bytes) -> None:
        self.data = data
        if data[:2] != b"MZ":
            raise ValueError("not a PE file: no MZ header")
        (pe,) = struct.unpack_from("<I", data, 0x3C)
        if data[pe : pe + 4] != b"PE\0\0":
            raise ValueError("not a PE file: no PE signature")
        self.machine, sections, _, _, _, optional_size, _ = struct.unpack_from(
            "<HHIIIHH", data, pe + 4
        )
        optional = pe + 24
        (magic,) = struct.unpack_from("<H", data, optional)
        if magic != 0x20B:
            raise ValueError("not a PE32+ (64-bit) image")
        (count,) = struct.unpack_from("<I", data, optional + 108)
        self.directories = [
            struct.unpack_from("<II", data, optional + 112 + 8 * i) for i in range(count)
        ]
        self.sections = []
        table = optional + optional_size
        for i in range(sections):
            _, vsize, vaddr, rsize, raddr = struct.unpack_from("<8sIIII", data, table + 40 * i)
            self.sections.append((vaddr, max(vsize, rsize), raddr))

    def offset(self, rva: int) -> int:
        for vaddr, size, raddr in self.sections:
            if vaddr <= rva < vaddr + size:
                return rva - vaddr + raddr
        raise ValueError(f"address {rva:#x} is in no section")

    def string(self, rva: int) -> str:
        start = self.offset(rva)
        return self.data[start : self.data.index(b"\0", start)].decode("ascii")

    def exports(self) -> list[str]:
        rva, size = self.directories[0]
        if not size:
            return []
        fields = struct.unpack_from("<IIHHIIIIIII", self.data, self.offset(rva))
        names, name_table = fields[7], fields[9]
        return [
            self.string(struct.unpack_from("<I", self.data, self.offset(name_table) + 4 * i)[0])
            for i in range(names)
        ]

    def imports(self) -> list[str]:
        dlls = []
        for index in (1, 13):  # the import table, then delay-loaded imports
            rva, size = self.directories[index] if index < len(self.directories) else (0, 0)
            if not size:
                continue
            at = self.offset(rva)
            while True:
                if index == 1:
                    name = struct.unpack_from("<IIIII", self.data, at)[3]
                    at += 20
                else:
                    name = struct.unpack_from("<IIIIIIII", self.data, at)[1]
                    at += 32
                if not name:
                    break
                dlls.append(self.string(name))
        return dlls


def main() -> None:
    with open(sys.argv[1], "rb") as f:
        pe = PE(f.read())
    for name in pe.exports():
        print("export", name)
    for dll in pe.imports():
        print("import", dll)


if __name__ == "__main__":
    main()
