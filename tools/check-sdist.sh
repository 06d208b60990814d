#!/usr/bin/env bash
# Builds the sdist as a user without the release tools would: `pip install` in a fresh virtual
# environment on $PYTHON (or python3), with the C++ compiler given (default: the machine's c++),
# while the system's nlohmann::json is hidden, so that the headers must come from the declared
# build requirement. Then runs examples/basic.py with what it installed. The wheel pip built is
# kept in build/sdist-COMPILER/wheel/ (tools/test.sh tests the machine compiler's one).
#
#   tools/check-sdist.sh SDIST [CXX]
#
# The system's copy (headers and CMake package) is hidden by empty directories mounted over it,
# in a private mount namespace of this command alone: it needs root or unprivileged user
# namespaces.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT="$PWD"
source tools/lib.sh
SDIST="$(realpath "${1:?usage: tools/check-sdist.sh SDIST [CXX]}")"
CXX_GIVEN="${2:-c++}"
command -v "$CXX_GIVEN" >/dev/null || {
  echo "error: no compiler $CXX_GIVEN on this machine" >&2
  exit 1
}

hidden=()
for dir in /usr/include/nlohmann /usr/local/include/nlohmann; do
  [ -d "$dir" ] && hidden+=("$dir")
done
while IFS= read -r dir; do hidden+=("$dir"); done < <(
  find /usr/share /usr/lib /usr/local -maxdepth 4 -type d -name 'nlohmann_json*' \
    -path '*cmake*' 2>/dev/null)
check="$ROOT/build/sdist-$(basename "$CXX_GIVEN")"
rm -rf "$check"
mkdir -p "$check/empty" "$check/wheel"
unshare_args=(--mount)
[ "$(id -u)" -eq 0 ] || unshare_args+=(--map-root-user)
env -u CC CXX="$CXX_GIVEN" unshare "${unshare_args[@]}" bash -euo pipefail -c '
  check=$1 python=$2 sdist=$3; shift 3
  for dir in "$@"; do mount --bind "$check/empty" "$dir"; done
  if printf "#include <nlohmann/json.hpp>\n" | "$CXX" -std=c++20 -fsyntax-only -x c++ - 2>/dev/null
  then
    echo "error: the system nlohmann/json.hpp is still visible" >&2
    exit 1
  fi
  echo "hidden: ${*:-(no system copy installed)}; the compiler finds no nlohmann/json.hpp"
  "$python" -m venv "$check/venv"
  # The wheel is built on its own first, and kept; installing it is then what pip would do.
  "$check/venv/bin/python" -m pip wheel --no-cache-dir --no-deps -v -w "$check/wheel" "$sdist" \
    >"$check/build.log" 2>&1 || { tail -40 "$check/build.log" >&2; exit 1; }
  grep -o "nlohmann::json: .*" "$check/build.log" | head -1
  grep -q "nlohmann::json: the Python package" "$check/build.log"
  "$check/venv/bin/python" -m pip install -q --no-deps "$check"/wheel/*.whl
  "$check/venv/bin/python" examples/basic.py >/dev/null
  echo "sdist: built and installed with $("$CXX" --version | head -1); examples/basic.py runs"
' _ "$check" "$PY" "$SDIST" "${hidden[@]}"
