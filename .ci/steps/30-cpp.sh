#!/usr/bin/env bash
# The C++ suite, built by the machine's compiler with warnings as errors.
set -euo pipefail
cd "$(dirname "$0")/../.."
bash tools/test-cpp.sh
