#!/usr/bin/env bash
# The C++ suite: the core and its tests built with the machine's compiler, warnings as errors,
# and run through ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/lib.sh

bash tools/deps.sh --tests
cmake -S . -B build/test -G Ninja -DQC_BUILD_TESTS=ON -DQC_WERROR=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/test -j "$JOBS"
ctest --test-dir build/test --output-on-failure -j "$JOBS"
