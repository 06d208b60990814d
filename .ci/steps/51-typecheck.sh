#!/usr/bin/env bash
# The typing checks against the x86_64 release wheel and the wheel built from the sdist.
set -euo pipefail
cd "$(dirname "$0")/../.."
bash tools/typecheck.sh dist/*manylinux_2_17_x86_64.whl build/sdist-c++/wheel/*.whl
