#!/usr/bin/env bash
# Builds the release wheel of one machine from the sdist, with zig's clang for glibc 2.17
# (tools/manylinux-toolchain.cmake), and gives it its manylinux2014 tag with auditwheel:
#
#   tools/build-wheel.sh ARCH SDIST OUT [WORK]
#
# ARCH is x86_64 or aarch64; the wheel goes into OUT; WORK (default build/release-ARCH) holds
# the unpacked sdist, the zig wrappers, the staged header and the unrepaired wheel, made anew.
# The python on the PATH must have build, auditwheel and ziglang (tools/release.sh sets up
# that environment and calls this for each machine). The archives' times are SOURCE_DATE_EPOCH,
# by default the sdist's own, so that two builds of one sdist give the same bytes.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT="$PWD"
source tools/lib.sh
ARCH="${1:?usage: tools/build-wheel.sh ARCH SDIST OUT [WORK]}"
SDIST="$(realpath "${2:?}")"
OUT="${3:?}"
WORK="$(realpath -m "${4:-build/release-$ARCH}")"
case "$ARCH" in
  x86_64) plat=manylinux_2_17_x86_64 ;;
  # auditwheel repairs for its host's machine only; "auto" takes the machine from the wheel
  # and gives the most compatible tag its symbols allow, which tools/check_wheel.py then checks.
  aarch64) plat=auto ;;
  *) echo "error: no release build for machine $ARCH (x86_64, aarch64)" >&2; exit 2 ;;
esac
python -c 'import build, auditwheel, ziglang' 2>/dev/null || {
  echo "error: the python on the PATH lacks build, auditwheel or ziglang:" \
    "run tools/release.sh" >&2
  exit 1
}
name="$(basename "$SDIST" .tar.gz)"
export SOURCE_DATE_EPOCH="${SOURCE_DATE_EPOCH:-$(python -c '
import sys, tarfile
with tarfile.open(sys.argv[1]) as t:
    print(t.getmember(sys.argv[2] + "/PKG-INFO").mtime)' "$SDIST" "$name")}"

rm -rf "$WORK"
mkdir -p "$WORK/src" "$WORK/raw" "$OUT"
tar -xzf "$SDIST" -C "$WORK/src"
src="$WORK/src/$name"

# zig's compiler and archivers with the target fixed, for the toolchain file; and the one host
# header the build may read (tools/stage-python-headers.py).
export QC_ZIG_DIR="$WORK/zig"
zig_tools "$QC_ZIG_DIR" "$ARCH-linux-gnu.2.17"
python "$ROOT/tools/stage-python-headers.py" "$ARCH-linux-gnu" "$QC_ZIG_DIR/include"
# zig builds libc++ for each target once and keeps it here.
export ZIG_GLOBAL_CACHE_DIR="${ZIG_GLOBAL_CACHE_DIR:-$ROOT/build/zig-cache}"

# scikit-build-core tags the wheel for the machine this variable names, the host's otherwise.
QC_WERROR=ON _PYTHON_HOST_PLATFORM="linux-$ARCH" python -m build --wheel -o "$WORK/raw" \
  -C "cmake.define.CMAKE_TOOLCHAIN_FILE=$src/tools/manylinux-toolchain.cmake" "$src"
auditwheel repair --plat "$plat" -w "$WORK/repaired" "$WORK"/raw/*.whl
mv "$WORK"/repaired/*.whl "$OUT/"
