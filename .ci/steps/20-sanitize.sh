#!/usr/bin/env bash
# Both suites under AddressSanitizer and UndefinedBehaviorSanitizer, then bounded fuzzing:
# 30 s per fuzz target, 10 s when CI_SHORT=1.
set -euo pipefail
cd "$(dirname "$0")/../.."
FUZZ_SECONDS="${FUZZ_SECONDS:-$([ "${CI_SHORT:-0}" = 1 ] && echo 10 || echo 30)}" \
  bash tools/sanitize.sh
