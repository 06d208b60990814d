#!/usr/bin/env bash
# The C++ suite, built by the machine's compiler with warnings as errors.
# after:
# cores: 2
set -euo pipefail
cd "$(dirname "$0")/../.."
bash tools/test-cpp.sh
