#!/usr/bin/env bash
# The Python suite under Debian's debug interpreter, with the module built from source for it,
# and the reference-count check over every entry of the API that only such an interpreter runs
# (tools/test-debug.sh). 20 hypothesis examples per hardening test when CI_SHORT=1 (60 else).
set -euo pipefail
cd "$(dirname "$0")/../.."
[ "${CI_SHORT:-0}" = 1 ] && export QC_HARDENING_EXAMPLES="${QC_HARDENING_EXAMPLES:-20}"
bash tools/test-debug.sh
