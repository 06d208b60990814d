#!/usr/bin/env bash
# Builds the release wheel of one machine from the sdist, cross-compiled by zig's clang:
#
#   tools/build-wheel.sh MACHINE SDIST OUT [WORK]
#
# MACHINE is x86_64 or aarch64 for a manylinux2014 wheel, or windows for the win_amd64 wheel
# (x86_64 Windows). A Linux wheel is built for glibc 2.17 (tools/manylinux-toolchain.cmake) and
# given its manylinux2014 tag by auditwheel. The Windows wheel is built for x86_64-windows-gnu
# (tools/windows-toolchain.cmake) against CPython's headers and python3.dll's import library,
# made once into build/windows-python (windows_python_dev in tools/lib.sh); auditwheel has
# nothing to repair there, and the wheel keeps the tag the build gave it.
#
# The wheel goes into OUT; WORK (default build/release-MACHINE) holds the unpacked sdist, the zig
# wrappers, the staged header and the unrepaired wheel, made anew. The python on the PATH must
# have build, auditwheel and ziglang (tools/release.sh sets up that environment and calls this
# for each machine). The archives' times are SOURCE_DATE_EPOCH, by default the sdist's own
# (sdist_epoch in tools/lib.sh), so that two builds of one sdist give the same bytes.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT="$PWD"
source tools/lib.sh
usage="usage: tools/build-wheel.sh MACHINE SDIST OUT [WORK] (MACHINE: x86_64, aarch64, windows)"
MACHINE="${1:?$usage}"
SDIST="$(realpath "${2:?$usage}")"
OUT="${3:?$usage}"
WORK="$(realpath -m "${4:-build/release-$MACHINE}")"
case "$MACHINE" in
  x86_64 | aarch64)
    toolchain=manylinux-toolchain.cmake target="$MACHINE-linux-gnu.2.17" host="linux-$MACHINE"
    # auditwheel repairs for its host's machine only; "auto" takes the machine from the wheel
    # and gives the most compatible tag its symbols allow, which tools/check_wheel.py then checks.
    if [ "$MACHINE" = x86_64 ]; then plat=manylinux_2_17_x86_64; else plat=auto; fi
    ;;
  windows) toolchain=windows-toolchain.cmake target=x86_64-windows-gnu host=win-amd64 plat="" ;;
  *) echo "error: no release build for machine $MACHINE (x86_64, aarch64, windows)" >&2; exit 2 ;;
esac
python -c 'import build, auditwheel, ziglang' 2>/dev/null || {
  echo "error: the python on the PATH lacks build, auditwheel or ziglang:" \
    "run tools/release.sh" >&2
  exit 1
}
[ -n "${SOURCE_DATE_EPOCH:-}" ] || SOURCE_DATE_EPOCH="$(sdist_epoch "$SDIST")"
export SOURCE_DATE_EPOCH
# zig builds libc++ for each target once and keeps it here.
export ZIG_GLOBAL_CACHE_DIR="${ZIG_GLOBAL_CACHE_DIR:-$ROOT/build/zig-cache}"

name="$(basename "$SDIST" .tar.gz)"
rm -rf "$WORK"
mkdir -p "$WORK/src" "$WORK/raw" "$OUT"
tar -xzf "$SDIST" -C "$WORK/src"
src="$WORK/src/$name"

# zig's compiler and archivers with the target fixed, for the toolchain file; and what the build
# may read of CPython's development files.
export QC_ZIG_DIR="$WORK/zig"
zig_tools "$QC_ZIG_DIR" "$target"
if [ "$MACHINE" = windows ]; then
  export QC_PYTHON_WINDOWS_DIR="$ROOT/build/windows-python"
  windows_python_dev "$QC_PYTHON_WINDOWS_DIR"
else
  # The one host header a Linux build may read (tools/stage-python-headers.py).
  python "$ROOT/tools/stage-python-headers.py" "$MACHINE-linux-gnu" "$QC_ZIG_DIR/include"
fi

# scikit-build-core tags the wheel for the platform this variable names, the host's otherwise.
QC_WERROR=ON _PYTHON_HOST_PLATFORM="$host" python -m build --wheel -o "$WORK/raw" \
  -C "cmake.define.CMAKE_TOOLCHAIN_FILE=$src/tools/$toolchain" "$src"
if [ -n "$plat" ]; then
  auditwheel repair --plat "$plat" -w "$WORK/repaired" "$WORK"/raw/*.whl
  mv "$WORK"/repaired/*.whl "$OUT/"
else
  mv "$WORK"/raw/*.whl "$OUT/"
fi
