#!/usr/bin/env bash
# The Python suite under every CPython 3.10 to 3.13 against both x86_64 wheels
# (tools/test-python.sh), the versions one after another: the suite's largest test holds some
# 9 GiB, once at a time. 20 hypothesis examples per hardening test when CI_SHORT=1 (60 else).
set -euo pipefail
cd "$(dirname "$0")/../.."
[ "${CI_SHORT:-0}" = 1 ] && export QC_HARDENING_EXAMPLES="${QC_HARDENING_EXAMPLES:-20}"
bash tools/test-python.sh
