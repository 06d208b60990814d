#!/usr/bin/env bash
# The aarch64 release wheel under emulation: the Python suite in a Debian arm64 root under
# qemu-user, and the shared random corpus matched byte for byte against the x86_64 wheel
# (tools/test-aarch64.sh, which documents its skips and its hypothesis examples). It keeps
# about one core busy.
set -euo pipefail
cd "$(dirname "$0")/../.."
bash tools/test-aarch64.sh dist/*manylinux_2_17_aarch64.whl dist/*manylinux_2_17_x86_64.whl
