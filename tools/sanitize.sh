#!/usr/bin/env bash
# The hardening run: the C++ and Python test suites on a build instrumented with
# AddressSanitizer and UndefinedBehaviorSanitizer (the Python suite in an interpreter with the
# sanitizer runtime preloaded, against the instrumented extension), then each libFuzzer target
# for a bounded time. Any sanitizer report or fuzzer finding fails the run. It runs in the sanitize
# session of noxfile.py, whose interpreter the extension is built for and the Python suite runs
# under (run alone, it starts that session).
#
#   FUZZ_SECONDS   time given to each fuzz target (default 30; 0 skips fuzzing)
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT="$PWD"
[ "${NOX_CURRENT_SESSION:-}" = sanitize ] || exec bash tools/nox.sh -s sanitize
source tools/lib.sh
FUZZ_SECONDS="${FUZZ_SECONDS:-30}"
BUILD=build/sanitize
REPORTS="$ROOT/$BUILD/reports"

bash tools/deps.sh --tests --hardening --python
venv="$VIRTUAL_ENV"
# The extension is built here without scikit-build-core, whose own FindPython stands in for
# CMake's before 3.26 (the first to know the stable-ABI component; Debian 12 has 3.25): an
# older cmake is replaced by PyPI's, in the venv.
if ! cmake_at_least 3.26; then
  "$venv/bin/python" -m pip install -q 'cmake>=3.26'
  PATH="$venv/bin:$PATH"
fi

# Reports go to files as well as to the process's standard error: pytest captures the latter,
# and a process that aborts takes the captured text with it.
rm -rf "$REPORTS"
mkdir -p "$REPORTS"
# The leak checker runs at every process exit: memory a release path forgets is a report.
export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:log_path=$REPORTS/asan"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:log_path=$REPORTS/ubsan"

# Prints every report file; true when there was none.
no_reports() {
  local clean=0 f
  for f in "$REPORTS"/*; do
    [ -e "$f" ] || continue
    clean=1
    echo "---- sanitizer report $(basename "$f")" >&2
    cat "$f" >&2
  done
  return "$clean"
}
trap 'no_reports || true' ERR

start=$SECONDS
echo "== C++ tests (ASan+UBSan)"
cmake -S . -B "$BUILD" -G Ninja -DQC_BUILD_TESTS=ON -DQC_SANITIZE=ON -DQC_BUILD_PYTHON=ON \
  -DPython_EXECUTABLE="$venv/bin/python" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" -j "$JOBS"
ctest --test-dir "$BUILD" --output-on-failure -j "$JOBS"
echo "sanitized C++ stage: $((SECONDS - start)) s"

start=$SECONDS
echo "== Python tests (ASan+UBSan)"
stage="$BUILD/python"
rm -rf "$stage"
mkdir -p "$stage/quarnel/compute"
cp quarnel-compute-python/quarnel/compute/*.py "$stage/quarnel/compute/"
cp "$BUILD"/quarnel-compute-python/_compute*.so "$stage/quarnel/compute/"
# The interpreter is not instrumented, so the runtime is preloaded. The C++ runtime is
# preloaded with it: the interceptor of C++ throws binds to the real one when the sanitizer
# starts, and an interpreter that does not link libstdc++ would leave it unbound (every
# throw would then abort).
preload="$(g++ -print-file-name=libasan.so) $(g++ -print-file-name=libstdc++.so)"
# For the leak checker: the interpreter takes its objects from malloc, so that the checker sees
# them and what they hold; it records two frames per allocation, the allocator and its caller;
# and it leaves out what the interpreter and its libraries allocated themselves and keep until
# exit (tools/lsan-python.supp). The extension's own allocations are all reported.
# The undefined-behaviour runtime writes its reports to standard error whatever log_path says,
# and a report ends the process: pytest captures only Python's streams here (its default, the
# file descriptors, would take the report away with the process), and the process's standard
# error goes to a file whose end is printed when the stage fails.
python_stderr="$ROOT/$BUILD/python-stderr.log"
if ! (cd quarnel-compute-python/tests &&
  LD_PRELOAD="$preload" PYTHONPATH="$ROOT/$stage" QC_SANITIZED=1 PYTHONMALLOC=malloc \
    ASAN_OPTIONS="$ASAN_OPTIONS:malloc_context_size=2" \
    LSAN_OPTIONS="suppressions=$ROOT/tools/lsan-python.supp:print_suppressions=0" \
    "$venv/bin/python" -m pytest -q -rs -p no:cacheprovider --capture=sys . 2>"$python_stderr"); then
  echo "---- standard error of the sanitized Python tests (last 150 lines)" >&2
  tail -n 150 "$python_stderr" >&2
  no_reports || true
  echo "error: the sanitized Python tests failed" >&2
  exit 1
fi
echo "sanitized Python stage: $((SECONDS - start)) s"

# A report that did not stop its process (one from a subprocess, say) fails the run too.
if ! no_reports; then
  echo "error: the sanitizers reported" >&2
  exit 1
fi
echo "sanitizers: no report"

if [ "$FUZZ_SECONDS" -gt 0 ]; then
  start=$SECONDS
  echo "== Fuzzing (libFuzzer, ASan+UBSan), ${FUZZ_SECONDS} s per target"
  FUZZ=build/fuzz
  CXX=clang++-14 cmake -S . -B "$FUZZ" -G Ninja -DQC_FUZZ=ON -DQC_SANITIZE=ON \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$FUZZ" -j "$JOBS"
  unset ASAN_OPTIONS UBSAN_OPTIONS  # libFuzzer reports on its own output, leaks included
  for target in enum_reader double_writer string_writer writer_agreement; do
    # New inputs go to a scratch corpus; the seeds in the tree are only read.
    corpus="$FUZZ/corpus/$target"
    artifacts="$FUZZ/artifacts/$target/"
    mkdir -p "$corpus" "$artifacts"
    "$FUZZ/quarnel-compute/${target}_fuzz" -max_total_time="$FUZZ_SECONDS" -timeout=10 -max_len=8192 \
      -print_final_stats=1 -artifact_prefix="$artifacts" "$corpus" "quarnel-compute/fuzz/corpus/$target" \
      2>"$FUZZ/$target.log" || {
      tail -60 "$FUZZ/$target.log" >&2
      echo "error: fuzz target $target failed; the input is in $artifacts" >&2
      exit 1
    }
    grep -E '^(Done|stat::number_of_executed_units)' "$FUZZ/$target.log" | head -1 | sed "s/^/$target: /"
  done
  echo "fuzz stage: $((SECONDS - start)) s"
fi
