#!/usr/bin/env bash
# The aarch64 release wheel under emulation: the Python suite in a Debian arm64 root under
# qemu-user, and the shared random corpus matched byte for byte against the x86_64 wheel
# (tools/test-aarch64.sh, which documents its skips and its hypothesis examples). It keeps
# about one core busy. It needs root (a chroot, binfmt_misc for qemu): run as another user, it is
# skipped, saying so (.ci/Makefile: the skip line and exit code 77), which the summary shows.
set -euo pipefail
cd "$(dirname "$0")/../.."
if [ "$(id -u)" -ne 0 ]; then
  echo "skip: needs root (a chroot and binfmt_misc for qemu)"
  exit 77
fi
bash tools/test-aarch64.sh dist/*manylinux_2_17_aarch64.whl dist/*manylinux_2_17_x86_64.whl
