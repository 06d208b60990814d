"""Checks a release wheel (and the sdist beside it) before it is published, for what twine,
auditwheel and abi3audit, which tools/release.sh runs as they are, do not check.

    python tools/check_wheel.py --platform manylinux_2_17_x86_64 [--sdist SDIST] WHEEL

Each check refuses the artifact with a line naming itself:
  tag        the file name says cp310-abi3 and the platform given; the WHEEL file agrees
  binary     the extension is a library of the platform's format and machine, and exports its
             init function alone; a Windows one imports only python3.dll, KERNEL32 and the UCRT
  contents   every file of the package directory of the tree is in the wheel and the sdist, the
             stubs and py.typed by name, and the wheel holds one extension, of the platform's kind

The binary check reads the library's format from its first bytes and hands it to the reader of
that format (BINARY_FORMATS): ELF (Linux) or PE (Windows), whose imports it checks too (only
python3.dll, KERNEL32 and the UCRT), with the platforms each serves in PLATFORM_MACHINES.

Needs binutils' nm.
"""

import argparse
import pathlib
import re
import struct
import subprocess
import sys
import tarfile
import tempfile
import zipfile

ROOT = pathlib.Path(__file__).resolve().parent.parent
PACKAGE_DIR = ROOT / "quarnel-compute-python" / "quarnel"
INIT = "PyInit__compute"
# Files a typed package must ship, named here so that the check holds even were they gone
# from the tree.
REQUIRED = (
    "quarnel/compute/__init__.py",
    "quarnel/compute/_compute.pyi",
    "quarnel/compute/py.typed",
)
EXTENSION = re.compile(r"quarnel/compute/_compute(\.[^/]*)?\.(so|pyd)\Z")


class Refused(Exception):
    """An artifact fails a check; the message says why."""


def platform_parts(platform):
    """(kind, machine) of a platform tag: ("manylinux", "x86_64"), ("win", "amd64")..."""
    found = re.fullmatch(
        r"(manylinux_\d+_\d+|musllinux_\d+_\d+|linux|win|macosx_\d+_\d+)_(.+)", platform
    )
    if not found:
        raise Refused(f"tag: unknown platform tag {platform!r}")
    return found[1].split("_")[0], found[2]


# The ELF machine numbers (e_machine) and PE machine types of each platform tag's machine.
PLATFORM_MACHINES = {
    ("ELF", "x86_64"): 62,
    ("ELF", "aarch64"): 183,
    ("PE", "amd64"): 0x8664,
    ("PE", "arm64"): 0xAA64,
}


class Elf:
    """A shared library in ELF (Linux)."""

    name = "ELF"
    suffix = ".so"

    def __init__(self, path):
        self.path = path

    def machine(self):
        data = pathlib.Path(self.path).read_bytes()[:20]
        if data[4] != 2:
            raise Refused("binary: not a 64-bit ELF file")
        return int.from_bytes(data[18:20], "little" if data[5] == 1 else "big")

    def exports(self):
        """The names of the defined dynamic symbols."""
        out = subprocess.run(
            ["nm", "-D", "--defined-only", "--format=posix", self.path],
            check=True,
            capture_output=True,
            text=True,
        ).stdout
        return sorted(line.split()[0] for line in out.splitlines() if line.strip())

    def foreign_imports(self):
        return []  # auditwheel's repair (tools/build-wheel.sh) checks what an ELF library needs


class Pe:
    """A DLL in PE32+ (Windows), read from its headers: the machine, the export table's names and
    the DLLs of the import tables."""

    name = "PE"
    suffix = ".pyd"
    # What a module of the stable ABI may import: python3.dll (never a python3X.dll, which ties
    # it to one version), the system's KERNEL32 and the UCRT.
    ALLOWED_IMPORTS = re.compile(
        r"python3\.dll|kernel32\.dll|ucrtbase\.dll|api-ms-win-crt-[a-z0-9-]+\.dll", re.I
    )

    def __init__(self, path):
        self.data = data = pathlib.Path(path).read_bytes()
        (pe,) = struct.unpack_from("<I", data, 0x3C)
        if data[pe : pe + 4] != b"PE\0\0":
            raise Refused("binary: an MZ file without a PE header")
        self.machine_type, sections, _, _, _, optional_size, _ = struct.unpack_from(
            "<HHIIIHH", data, pe + 4
        )
        optional = pe + 24
        if struct.unpack_from("<H", data, optional)[0] != 0x20B:
            raise Refused("binary: not a 64-bit (PE32+) library")
        (count,) = struct.unpack_from("<I", data, optional + 108)
        self.directories = [
            struct.unpack_from("<II", data, optional + 112 + 8 * i) for i in range(count)
        ] + [(0, 0)] * 16
        table = optional + optional_size
        self.sections = [
            struct.unpack_from("<8sIIII", data, table + 40 * i)[1:] for i in range(sections)
        ]

    def offset(self, rva):
        for size, address, raw_size, raw in self.sections:
            if address <= rva < address + max(size, raw_size):
                return rva - address + raw
        raise Refused(f"binary: address {rva:#x} lies in no section")

    def string(self, rva):
        start = self.offset(rva)
        return self.data[start : self.data.index(b"\0", start)].decode("ascii")

    def machine(self):
        return self.machine_type

    def exports(self):
        rva, size = self.directories[0]
        if not size:
            return []
        fields = struct.unpack_from("<IIHHIIIIIII", self.data, self.offset(rva))
        names, table = fields[7], self.offset(fields[9])
        return sorted(
            self.string(struct.unpack_from("<I", self.data, table + 4 * i)[0]) for i in range(names)
        )

    def imports(self):
        """The DLLs named by the import table and the delay-load table."""
        dlls = []
        for index, entry, name_field in ((1, 20, 3), (13, 32, 1)):
            rva, size = self.directories[index]
            at = self.offset(rva) if size else None
            while at is not None:
                name = struct.unpack_from(f"<{entry // 4}I", self.data, at)[name_field]
                if not name:
                    break
                dlls.append(self.string(name))
                at += entry
        return dlls

    def foreign_imports(self):
        return [d for d in self.imports() if not self.ALLOWED_IMPORTS.fullmatch(d)]


BINARY_FORMATS = {b"\x7fELF": Elf, b"MZ": Pe}


def binary_of(path):
    head = pathlib.Path(path).read_bytes()[:4]
    for magic, reader in BINARY_FORMATS.items():
        if head.startswith(magic):
            return reader(path)
    raise Refused(f"binary: {pathlib.Path(path).name} is of no known format ({head!r})")


def package_files(package_dir):
    """The files of the package directory, as the archive names them (quarnel/compute/...)."""
    return {
        p.relative_to(package_dir.parent).as_posix()
        for p in package_dir.rglob("*")
        if p.is_file() and "__pycache__" not in p.parts
    }


def check_tag(wheel, sdist, platform):
    found = re.fullmatch(r"[^-]+-[^-]+(-\d[^-]*)?-([^-]+)-([^-]+)-([^-]+)\.whl", wheel.name)
    if not found:
        raise Refused(f"tag: {wheel.name} is not a wheel's file name")
    python, abi, platforms = found[2], found[3], found[4].split(".")
    if (python, abi) != ("cp310", "abi3"):
        raise Refused(f"tag: {wheel.name} is tagged {python}-{abi}, not cp310-abi3")
    if platform not in platforms:
        raise Refused(f"tag: {wheel.name} is not tagged {platform}")
    with zipfile.ZipFile(wheel) as z:
        (info,) = [n for n in z.namelist() if re.fullmatch(r"[^/]+\.dist-info/WHEEL", n)]
        tags = set(re.findall(r"^Tag: (\S+)$", z.read(info).decode(), re.M))
    named = {f"{python}-{abi}-{p}" for p in platforms}
    if tags != named:
        raise Refused(f"tag: the WHEEL file says {sorted(tags)}, the file name {sorted(named)}")
    return f"cp310-abi3-{platform}"


def extension_of(names):
    found = [n for n in names if EXTENSION.match(n)]
    if len(found) != 1:
        raise Refused(f"contents: the wheel holds {len(found)} extensions ({found}), not one")
    return found[0]


def check_binary(wheel, sdist, platform):
    _, machine = platform_parts(platform)
    with zipfile.ZipFile(wheel) as z, tempfile.TemporaryDirectory() as tmp:
        binary = binary_of(z.extract(extension_of(z.namelist()), tmp))
        expected = PLATFORM_MACHINES.get((binary.name, machine))
        if expected is None:
            raise Refused(f"binary: an {binary.name} library in a wheel for {platform}")
        if binary.machine() != expected:
            raise Refused(
                f"binary: the extension is built for machine {binary.machine():#x}, not for "
                f"{machine} ({expected:#x})"
            )
        exported = binary.exports()
        foreign = binary.foreign_imports()
    if exported != [INIT]:
        raise Refused(f"binary: the extension exports {exported}, not {INIT} alone")
    if foreign:
        raise Refused(f"binary: the extension imports {foreign}, which a wheel may not need")
    return f"{binary.name} for {machine}; exports {INIT} alone"


def check_contents(wheel, sdist, platform, package_dir=None):
    files = package_files(package_dir or PACKAGE_DIR) | set(REQUIRED)
    with zipfile.ZipFile(wheel) as z:
        names = set(z.namelist())
    lacking = sorted(files - names)
    if lacking:
        raise Refused(f"contents: the wheel lacks {lacking}")
    extension = extension_of(names)
    kind, _ = platform_parts(platform)
    suffix = ".pyd" if kind == "win" else ".so"
    if not extension.endswith(suffix):
        raise Refused(f"contents: the extension {extension} is not a {suffix} file")
    if sdist:
        with tarfile.open(sdist) as t:
            got = set(t.getnames())
        prefix = pathlib.Path(sdist).name.removesuffix(".tar.gz") + "/quarnel-compute-python/"
        lacking = sorted(f for f in files if prefix + f not in got)
        if lacking:
            raise Refused(f"contents: the sdist lacks {lacking}")
    return f"the {len(files)} files of the package" + (" in both" if sdist else "")


CHECKS = {
    "tag": check_tag,
    "binary": check_binary,
    "contents": check_contents,
}


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("wheel", type=pathlib.Path)
    parser.add_argument("--platform", required=True, help="e.g. manylinux_2_17_x86_64")
    parser.add_argument("--sdist", type=pathlib.Path)
    parser.add_argument("--package-dir", type=pathlib.Path, default=PACKAGE_DIR)
    args = parser.parse_args(argv)
    failed = []
    for name, check in CHECKS.items():
        extra = {"package_dir": args.package_dir} if check is check_contents else {}
        try:
            said = check(args.wheel, args.sdist, args.platform, **extra)
            print(f"{args.wheel.name}: {name}: {said}")
        except Refused as e:
            print(f"error: {args.wheel.name}: {e}", file=sys.stderr)
            failed.append(name)
    if failed:
        print(f"error: {args.wheel.name} refused by {', '.join(failed)}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
