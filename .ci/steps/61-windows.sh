#!/usr/bin/env bash
# The Windows wheel under wine: the Python suite and the shared random corpus matched against
# the x86_64 wheel (tools/test-windows.sh). The release step leaves the win_amd64 wheel in dist/
# beside the Linux ones. 20
# hypothesis examples per hardening test when CI_SHORT=1 (60 else). The 4 GiB text test is left
# out (tools/test-windows.sh says why).
set -euo pipefail
cd "$(dirname "$0")/../.."
[ "${CI_SHORT:-0}" = 1 ] && export QC_HARDENING_EXAMPLES="${QC_HARDENING_EXAMPLES:-20}"
bash tools/test-windows.sh dist/*win_amd64.whl dist/*manylinux_2_17_x86_64.whl
