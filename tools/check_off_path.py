"""Checks a built extension library against the rule that the writer's off-path functions keep:
no function that has a landing pad (a handler or a cleanup) calls one of them, since an exception
would land there with registers its caller counted on left unrestored (see QC_OFF_PATH in
quarnel-compute/src/model/json.cc, whose [[QC_OFF_PATH]] declarations name the functions).

A function counts as having a landing pad when it calls _Unwind_Resume or __cxa_begin_catch,
which every cleanup and handler ends in or starts with; that counts some functions whose calls of
the off-path functions no landing pad covers, so the rule is kept with a margin. The library must
be the one linked, before its symbols are stripped.

    python tools/check_off_path.py [--objdump PROGRAM] LIBRARY...
"""

import argparse
import pathlib
import re
import subprocess
import sys

SOURCE = pathlib.Path(__file__).resolve().parents[1] / "quarnel-compute/src/model/json.cc"
FUNCTION = re.compile(r"^[0-9a-f]+ <(.*)>:$")
# A call, not a jump: a tail call leaves no frame behind for an exception to land in.
CALL = re.compile(r"\s(?:call[a-z]*|bl|blr)\s+(?:(?:0x)?[0-9a-f]+\s+)?<([^>]*)>")
LANDING = re.compile(r"^(?:_Unwind_Resume|__cxa_begin_catch)(?:@plt)?$")


def off_path_names(source_text):
    """The names of the functions that the source declares [[QC_OFF_PATH]]."""
    return set(re.findall(r"\[\[QC_OFF_PATH\]\][^(;{]*?\b(\w+)\(", source_text))


def offenders(listing, names):
    """The functions of an `objdump -d -C` listing that call one of `names` and have a landing
    pad; and how many calls of `names` the listing holds."""
    called = re.compile(r"(?:^|::)(?:%s)\(" % "|".join(map(re.escape, sorted(names))))
    found, calls = [], 0
    name, off_path, landing = None, False, False

    def close():
        if name is not None and off_path and landing:
            found.append(name)

    for line in listing.splitlines():
        head = FUNCTION.match(line)
        if head:
            close()
            name, off_path, landing = head.group(1), False, False
            continue
        call = CALL.search(line)
        if not call:
            continue
        target = call.group(1)
        if called.search(target):
            off_path, calls = True, calls + 1
        elif LANDING.match(target):
            landing = True
    close()
    return found, calls


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--objdump", default="objdump")
    parser.add_argument("libraries", nargs="+")
    args = parser.parse_args(argv)
    names = off_path_names(SOURCE.read_text())
    if not names:
        sys.exit(f"no [[QC_OFF_PATH]] declaration found in {SOURCE}")
    failed = False
    for library in args.libraries:
        listing = subprocess.run(
            [args.objdump, "-d", "-C", "--no-show-raw-insn", library],
            check=True,
            capture_output=True,
            text=True,
        ).stdout
        found, calls = offenders(listing, names)
        if not calls:
            sys.exit(f"{library}: no call of {', '.join(sorted(names))} found; stripped?")
        for function in found:
            print(f"{library}: {function} has a landing pad and calls an off-path function")
        failed |= bool(found)
        print(
            f"{library}: {calls} calls of off-path functions, none from a landing pad's function"
            if not found
            else f"{library}: {len(found)} functions break the rule"
        )
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
