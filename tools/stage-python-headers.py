"""Stages the one host header a release build reads besides the Python headers.

The Python.h of a Debian interpreter includes `<MULTIARCH/pythonX.Y/pyconfig.h>`, which lives
beside the host's C library headers in /usr/include; a build for glibc 2.17 must not search
there. This copies that configuration header alone into OUT under the target's multiarch name
(`OUT/aarch64-linux-gnu/python3.11/pyconfig.h` for an aarch64 build), for the toolchain to search
last. An interpreter whose pyconfig.h is the configuration itself (pyenv's, a python.org build)
needs nothing: OUT is left empty. The stable ABI takes from the file only the sizes of the C
types and the byte order, which the binding checks against the target's when it compiles.

    python tools/stage-python-headers.py TARGET_MULTIARCH OUT
"""

import os
import re
import shutil
import sys
import sysconfig


def stage(target, out, include, includedir, host):
    """Makes OUT anew and copies into it, under TARGET's name, the header that INCLUDE's
    pyconfig.h takes from INCLUDEDIR/HOST; returns the (source, staged) paths, or None when
    that pyconfig.h is the configuration itself."""
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(out)
    config = os.path.join(include, "pyconfig.h")
    with open(config) as f:
        text = f.read()
    found = re.search(r"#\s*include\s*<%s/([^>]*pyconfig\.h)>" % re.escape(host or "-"), text)
    if not found:
        return None
    source = os.path.join(includedir, host, found[1])
    if not os.path.isfile(source):
        sys.exit(f"error: {config} includes {host}/{found[1]}, which is not in {source}")
    staged = os.path.join(out, target, found[1])
    os.makedirs(os.path.dirname(staged))
    shutil.copyfile(source, staged)
    return source, staged


def main(argv=None):
    target, out = sys.argv[1:] if argv is None else argv
    done = stage(
        target,
        out,
        sysconfig.get_paths()["include"],
        sysconfig.get_config_var("INCLUDEDIR"),
        sysconfig.get_config_var("MULTIARCH"),
    )
    if done:
        print(f"python headers: {done[0]} staged as {done[1]}")
    else:
        print("python headers: pyconfig.h is the configuration itself; nothing staged")


if __name__ == "__main__":
    main()
