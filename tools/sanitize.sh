#!/usr/bin/env bash
# Runs the C++ and Python test suites on a build instrumented with AddressSanitizer and
# UndefinedBehaviorSanitizer; any report fails the run. The Python suite runs in an interpreter
# with the sanitizer runtime preloaded, against the instrumented extension.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT="$PWD"
PY="${PYTHON:-python3}"
JOBS="$(nproc 2>/dev/null || echo 2)"
BUILD=build/sanitize

bash tools/deps.sh --tests
export ASAN_OPTIONS="abort_on_error=1:detect_leaks=0:strict_string_checks=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

echo "== C++ tests (ASan+UBSan)"
cmake -S . -B "$BUILD" -G Ninja -DQC_BUILD_TESTS=ON -DQC_SANITIZE=ON -DQC_BUILD_PYTHON=ON \
  -DPython_EXECUTABLE="$(command -v "$PY")" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" -j "$JOBS"
ctest --test-dir "$BUILD" --output-on-failure -j "$JOBS"

if [ ! -d quarnel-compute-python/tests ]; then
  echo "notice: no Python tests yet; sanitized Python stage skipped"
  exit 0
fi

echo "== Python tests (ASan+UBSan)"
stage="$BUILD/python"
rm -rf "$stage"
mkdir -p "$stage/quarnel/compute"
cp quarnel-compute-python/quarnel/compute/*.py "$stage/quarnel/compute/"
cp "$BUILD"/quarnel-compute-python/_compute*.so "$stage/quarnel/compute/"
venv="$ROOT/build/venv-sanitize"
[ -x "$venv/bin/python" ] || "$PY" -m venv "$venv"
"$venv/bin/python" -m pip install -q pytest hypothesis
libasan="$(g++ -print-file-name=libasan.so)"
(cd quarnel-compute-python/tests &&
  LD_PRELOAD="$libasan" PYTHONPATH="$ROOT/$stage" QC_SANITIZED=1 \
    "$venv/bin/python" -m pytest -q -p no:cacheprovider -x .)
