"""Each check of tools/check_wheel.py refuses an artifact made bad in the way it guards against,
and a sound artifact passes them all. The artifacts are made here: a small library compiled by
the machine's C compiler, packed as a wheel of the project's name with the package's files."""

import base64
import hashlib
import io
import pathlib
import struct
import subprocess
import sys
import tarfile
import zipfile

import pytest

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[1]))
import check_wheel  # noqa: E402

PLATFORM = "manylinux_2_17_x86_64"
NAME = "quarnel_compute-0.1.0"
TAG = "cp310-abi3-manylinux2014_x86_64.manylinux_2_17_x86_64"
METADATA = "Metadata-Version: 2.1\nName: quarnel-compute\nVersion: 0.1.0\n"
PACKAGE = {
    "quarnel/compute/__init__.py": "from ._compute import *  # noqa\n",
    "quarnel/compute/_compute.pyi": "def f() -> None: ...\n",
    "quarnel/compute/py.typed": "",
}
SOUND = "void *PyInit__compute(void) { return 0; }\n"
LIBRARIES = {
    "sound": SOUND,
    "more_exports": SOUND + "int helper(int x) { return x + 1; }\n",
    "no_init": "void *PyInit_other(void) { return 0; }\n",
}


@pytest.fixture(scope="module")
def libraries(tmp_path_factory):
    """Each library above, compiled with only its init function (and what the case adds)
    visible."""
    out = tmp_path_factory.mktemp("libraries")
    built = {}
    for name, source in LIBRARIES.items():
        c = out / f"{name}.c"
        c.write_text(source)
        built[name] = out / f"{name}.so"
        subprocess.run(["cc", "-shared", "-fPIC", "-O1", "-o", built[name], c], check=True)
    return built


@pytest.fixture
def package_dir(tmp_path):
    """A package directory of the tree holding the files above."""
    root = tmp_path / "tree" / "quarnel"
    for name, text in PACKAGE.items():
        path = root.parent / name
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_text(text)
    return root


def make_wheel(
    where,
    library,
    tag=TAG,
    wheel_tag=None,
    files=PACKAGE,
    extension="quarnel/compute/_compute.abi3.so",
):
    """A wheel of the package; each argument makes it bad in one way."""
    entries = dict(files)
    entries[extension] = pathlib.Path(library).read_bytes()
    info = f"{NAME}.dist-info"
    entries[f"{info}/METADATA"] = METADATA
    python, abi, platforms = (wheel_tag or tag).split("-")
    tags = "".join(f"Tag: {python}-{abi}-{p}\n" for p in platforms.split("."))
    entries[f"{info}/WHEEL"] = (
        "Wheel-Version: 1.0\nGenerator: test\nRoot-Is-Purelib: false\n" + tags
    )
    record = []
    for name, data in entries.items():
        data = data.encode() if isinstance(data, str) else data
        digest = base64.urlsafe_b64encode(hashlib.sha256(data).digest()).rstrip(b"=").decode()
        record.append(f"{name},sha256={digest},{len(data)}\n")
    entries[f"{info}/RECORD"] = "".join(record) + f"{info}/RECORD,,\n"
    path = pathlib.Path(where) / f"{NAME}-{tag}.whl"
    with zipfile.ZipFile(path, "w") as z:
        for name, data in entries.items():
            z.writestr(name, data)
    return path


def make_sdist(where, files=PACKAGE):
    path = pathlib.Path(where) / f"{NAME}.tar.gz"
    with tarfile.open(path, "w:gz") as t:
        members = {f"{NAME}/PKG-INFO": METADATA}
        members.update({f"{NAME}/quarnel-compute-python/{n}": text for n, text in files.items()})
        for name, text in members.items():
            data = text.encode()
            member = tarfile.TarInfo(name)
            member.size = len(data)
            t.addfile(member, io.BytesIO(data))
    return path


def refusal(check, wheel, sdist=None, platform=PLATFORM, **kwargs):
    """The message of the check's refusal, which must name the check."""
    with pytest.raises(check_wheel.Refused) as refused:
        check_wheel.CHECKS[check](wheel, sdist, platform, **kwargs)
    message = str(refused.value)
    assert message.startswith(check + ":") or message.startswith("contents:")
    return message


def test_sound_artifacts_pass_every_check(tmp_path, libraries, package_dir, capsys):
    wheel = make_wheel(tmp_path, libraries["sound"])
    sdist = make_sdist(tmp_path)
    argv = ["--platform", PLATFORM, "--sdist", str(sdist), "--package-dir", str(package_dir)]
    assert check_wheel.main([*argv, str(wheel)]) == 0
    out = capsys.readouterr().out
    assert all(f": {name}: " in out for name in check_wheel.CHECKS)


@pytest.mark.parametrize(
    "tag, wheel_tag, platform",
    [
        ("cp311-cp311-manylinux_2_17_x86_64", None, PLATFORM),  # not the stable ABI
        ("cp310-abi3-linux_x86_64", None, PLATFORM),  # not repaired
        ("cp311-abi3-manylinux_2_17_x86_64", None, PLATFORM),  # not for 3.10
        ("py3-abi3-manylinux_2_17_x86_64", None, PLATFORM),  # for any Python 3
        (TAG, TAG.replace("cp310", "cp311"), PLATFORM),  # the WHEEL file names another Python
        (TAG, None, "manylinux_2_17_aarch64"),  # another machine's
        (TAG, "cp310-abi3-linux_x86_64", PLATFORM),  # the WHEEL file disagrees
        (TAG, "cp310-abi3-manylinux_2_17_x86_64", PLATFORM),  # it names only some of them
        (TAG, TAG + ".linux_x86_64", PLATFORM),  # it names one more
    ],
)
def test_tag_refuses_other_tags(tmp_path, libraries, tag, wheel_tag, platform):
    wheel = make_wheel(tmp_path, libraries["sound"], tag=tag, wheel_tag=wheel_tag)
    refusal("tag", wheel, platform=platform)


@pytest.mark.parametrize(
    "library, platform, named",
    [
        ("more_exports", PLATFORM, "helper"),
        ("no_init", PLATFORM, "PyInit_other"),
        ("sound", "manylinux_2_17_aarch64", "aarch64"),  # an x86_64 library
    ],
)
def test_binary_refuses_other_exports_and_machines(tmp_path, libraries, library, platform, named):
    wheel = make_wheel(tmp_path, libraries[library])
    assert named in refusal("binary", wheel, platform=platform)


def test_binary_refuses_what_is_no_library(tmp_path):
    text = tmp_path / "text"
    text.write_text("not a library")
    assert "no known format" in refusal("binary", make_wheel(tmp_path, text))


@pytest.mark.parametrize("missing", sorted(PACKAGE))
def test_contents_refuses_a_wheel_lacking_a_package_file(tmp_path, libraries, package_dir, missing):
    files = {n: t for n, t in PACKAGE.items() if n != missing}
    wheel = make_wheel(tmp_path, libraries["sound"], files=files)
    assert missing in refusal("contents", wheel, package_dir=package_dir)


@pytest.mark.parametrize("missing", sorted(PACKAGE))
def test_contents_refuses_a_wheel_lacking_a_package_file_gone_from_the_tree(
    tmp_path, libraries, package_dir, missing
):
    (package_dir.parent / missing).unlink()
    files = {n: t for n, t in PACKAGE.items() if n != missing}
    wheel = make_wheel(tmp_path, libraries["sound"], files=files)
    assert missing in refusal("contents", wheel, package_dir=package_dir)


def test_contents_refuses_a_wheel_lacking_a_file_of_the_tree(tmp_path, libraries, package_dir):
    (package_dir / "compute" / "extra.py").write_text("")
    wheel = make_wheel(tmp_path, libraries["sound"])
    assert "extra.py" in refusal("contents", wheel, package_dir=package_dir)


@pytest.mark.parametrize("missing", sorted(PACKAGE))
def test_contents_refuses_an_sdist_lacking_a_package_file(
    tmp_path, libraries, package_dir, missing
):
    wheel = make_wheel(tmp_path, libraries["sound"])
    sdist = make_sdist(tmp_path, files={n: t for n, t in PACKAGE.items() if n != missing})
    assert "sdist lacks" in refusal("contents", wheel, sdist, package_dir=package_dir)


@pytest.mark.parametrize(
    "extension", ["quarnel/compute/_compute.pyd", "quarnel/compute/other.so", "_compute.abi3.so"]
)
def test_contents_refuses_a_misplaced_or_foreign_extension(
    tmp_path, libraries, package_dir, extension
):
    wheel = make_wheel(tmp_path, libraries["sound"], extension=extension)
    refusal("contents", wheel, package_dir=package_dir)


# Windows: DLLs made by zig's clang for x86_64-windows-gnu, each importing its init function's
# one call from the DLL its case names (through an import library made by zig's dlltool).
WINDOWS = "win_amd64"
WINDOWS_TAG = "cp310-abi3-win_amd64"
DLL_INIT = (
    "void Py_IncRef(void *);\n"
    "__declspec(dllexport) void *PyInit__compute(void) { Py_IncRef(0); return 0; }\n"
)
DLLS = {
    "sound": ("python3.dll", DLL_INIT),
    "more_exports": (
        "python3.dll",
        DLL_INIT + "__declspec(dllexport) int helper(void) { return 1; }\n",
    ),
    "one_python_version": ("python313.dll", DLL_INIT),
    # Linked by lld-link alone, with the loader's helper that a delay-load import calls.
    "delay_loaded": (
        "python313.dll",
        DLL_INIT + "void *__delayLoadHelper2(void *d, void **f) { return 0; }\n",
    ),
}


# DLLs made here byte by byte, whose import table (data directory 1) or delay-load table (13)
# names KERNEL32 and then python313.dll, each in a descriptor whose 32-bit fields are listed:
# "name" the DLL's name, "empty" an empty list of functions.
HAND_MADE = {
    # IMAGE_IMPORT_DESCRIPTOR: lookup table, time stamp, forwarder chain, name, address table.
    "imported_second": (1, ("empty", 0, 0, "name", "empty")),
    # IMAGE_DELAYLOAD_DESCRIPTOR: attributes (1: addresses are RVAs), name, module handle,
    # address table, name table, bound address table, unload table, time stamp.
    "delay_loaded_second": (13, (1, "name", "empty", "empty", "empty", 0, 0, 0)),
}


def hand_made_dll(path, directory, fields, dlls=("KERNEL32.dll", "python313.dll")):
    """A PE32+ DLL for amd64 exporting PyInit__compute. Its one section, at the same address in
    memory and in the file, holds the export directory, its three one-entry tables, an empty
    list, the table of DIRECTORY (a descriptor of FIELDS for each of DLLS, then a zeroed one)
    and the names."""
    start = 0x200
    empty, table = start + 0x38, start + 0x40
    size = 4 * len(fields)
    names, text = {}, b""
    for name in ("_compute.pyd", check_wheel.INIT, *dlls):
        names[name] = table + size * (len(dlls) + 1) + len(text)
        text += name.encode() + b"\0"
    # Flags, time stamp and version (zero), name, ordinal base, the counts of functions and
    # names, and the RVAs of the function, name and ordinal tables that follow.
    body = struct.pack("<12x7I", names["_compute.pyd"], 1, 1, 1, start + 40, start + 44, start + 48)
    # The function's address (any will do: no code runs), its name's, its ordinal; the empty list.
    body += struct.pack("<IIH6x8x", empty, names[check_wheel.INIT], 0)
    for dll in dlls:
        values = {"name": names[dll], "empty": empty}
        body += struct.pack(f"<{len(fields)}I", *(values.get(f, f) for f in fields))
    body += bytes(size) + text
    # The PE32+ optional header (its data directories from byte 112), the COFF header (an amd64
    # DLL of one section) and that section's header (initialized, readable data).
    directories = [(0, 0)] * 16
    directories[0], directories[directory] = (start, 40), (table, size * (len(dlls) + 1))
    optional = struct.pack("<H106xI", 0x20B, 16) + b"".join(
        struct.pack("<II", *d) for d in directories
    )
    coff = struct.pack("<HHIIIHH", 0x8664, 1, 0, 0, 0, len(optional), 0x2022)
    section = struct.pack(
        "<8sIIIIIIHHI", b".rdata", len(body), start, len(body), start, 0, 0, 0, 0, 0x40000040
    )
    head = (
        b"MZ".ljust(0x3C, b"\0") + struct.pack("<I", 0x40) + b"PE\0\0" + coff + optional + section
    )
    path.write_bytes(head.ljust(start, b"\0") + body)
    return path


@pytest.fixture(scope="module")
def dlls(tmp_path_factory):
    import ziglang

    zig = str(pathlib.Path(ziglang.__file__).parent / "zig")
    out = tmp_path_factory.mktemp("dlls")
    built = {}
    for name, (imported, source) in DLLS.items():
        (out / f"{name}.def").write_text(f"LIBRARY {imported}\nEXPORTS\nPy_IncRef\n")
        imports = out / f"{name}.dll.a"
        subprocess.run(
            [zig, "dlltool", "-m", "i386:x86-64", "-d", out / f"{name}.def", "-l", imports],
            check=True,
        )
        (out / f"{name}.c").write_text(source)
        built[name] = out / f"{name}.pyd"
        cc = [zig, "cc", "-target", "x86_64-windows-gnu", "-O1", out / f"{name}.c"]
        if name == "delay_loaded":
            subprocess.run([*cc, "-c", "-o", out / f"{name}.o"], check=True)
            link = ["lld-link", "/dll", "/noentry", f"/delayload:{imported}", out / f"{name}.o"]
            subprocess.run([zig, *link, imports, f"/out:{built[name]}"], check=True)
        else:
            subprocess.run([*cc, "-shared", "-o", built[name], imports], check=True)
    for name, layout in HAND_MADE.items():
        built[name] = hand_made_dll(out / f"{name}.pyd", *layout)
    return built


def windows_wheel(where, library):
    return make_wheel(where, library, tag=WINDOWS_TAG, extension="quarnel/compute/_compute.pyd")


def test_a_sound_windows_wheel_passes_every_check(tmp_path, dlls, package_dir, capsys):
    wheel = windows_wheel(tmp_path, dlls["sound"])
    argv = ["--platform", WINDOWS, "--package-dir", str(package_dir), str(wheel)]
    assert check_wheel.main(argv) == 0
    out = capsys.readouterr().out
    assert "binary: PE for amd64; exports PyInit__compute alone" in out


@pytest.mark.parametrize(
    "library, named",
    [
        ("more_exports", "helper"),
        ("one_python_version", "python313.dll"),
        ("delay_loaded", "python313.dll"),
        ("imported_second", "python313.dll"),
        ("delay_loaded_second", "python313.dll"),
    ],
)
def test_binary_refuses_a_dll_with_other_exports_or_imports(tmp_path, dlls, library, named):
    wheel = windows_wheel(tmp_path, dlls[library])
    assert named in refusal("binary", wheel, platform=WINDOWS)


def test_binary_refuses_a_linux_library_in_a_windows_wheel(tmp_path, libraries):
    wheel = windows_wheel(tmp_path, libraries["sound"])
    assert "ELF" in refusal("binary", wheel, platform=WINDOWS)
