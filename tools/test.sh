#!/usr/bin/env bash
# Runs every test: the C++ suite through ctest, then the Python suite against one abi3 wheel
# under each CPython from 3.10 to 3.13 that the machine has.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT="$PWD"
PY="${PYTHON:-python3}"
JOBS="$(nproc 2>/dev/null || echo 2)"

bash tools/deps.sh --tests

echo "== C++ tests"
cmake -S . -B build/test -G Ninja -DQC_BUILD_TESTS=ON -DQC_WERROR=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/test -j "$JOBS"
ctest --test-dir build/test --output-on-failure -j "$JOBS"

if [ ! -d quarnel-compute-python/tests ]; then
  echo "notice: no Python tests yet; Python stage skipped"
  exit 0
fi

echo "== abi3 wheel"
rm -rf build/wheel
QC_WERROR=ON "$PY" -m pip wheel . --no-deps -q -w build/wheel
WHEEL="$(ls build/wheel/*.whl)"
echo "$WHEEL"
case "$WHEEL" in
  *-cp310-abi3-*) ;;
  *) echo "error: wheel is not tagged cp310-abi3" >&2; exit 1 ;;
esac
"$PY" -m pip install -q abi3audit
"$PY" -m abi3audit --strict --report "$WHEEL" >/dev/null
echo "abi3audit: no non-stable symbol"

find_python() {  # newest installed patch release of $1, or nothing
  local v="$1" root
  if command -v pyenv >/dev/null; then
    root="$(pyenv root)"
    local best
    best="$(pyenv versions --bare 2>/dev/null | grep -E "^${v//./\\.}\.[0-9]+$" | sort -V | tail -1 || true)"
    if [ -n "$best" ] && [ -x "$root/versions/$best/bin/python" ]; then
      echo "$root/versions/$best/bin/python"
      return
    fi
  fi
  command -v "python$v" || true
}

ran=0
for v in 3.10 3.11 3.12 3.13; do
  py="$(find_python "$v")"
  if [ -z "$py" ]; then
    echo "notice: CPython $v not found; its Python tests are skipped"
    continue
  fi
  echo "== Python tests under $("$py" --version)"
  venv="$ROOT/build/venv-$v"
  [ -x "$venv/bin/python" ] || "$py" -m venv "$venv"
  "$venv/bin/python" -m pip install -q --upgrade pip >/dev/null
  "$venv/bin/python" -m pip install -q pytest hypothesis
  "$venv/bin/python" -m pip install -q --force-reinstall --no-deps "$WHEEL"
  (cd quarnel-compute-python/tests && "$venv/bin/python" -m pytest -q -p no:cacheprovider .)
  ran=$((ran + 1))
done
if [ "$ran" -eq 0 ]; then
  echo "error: no CPython 3.10-3.13 found for the Python tests" >&2
  exit 1
fi
