#!/usr/bin/env bash
# Runs every test: the C++ suite through ctest (tools/test-cpp.sh); the release artifacts built
# and checked (tools/release.sh), and the tests of those checks (tools/tests); the typing checks
# against the release wheel and the wheel the machine's compiler built from the sdist
# (tools/typecheck.sh); then the Python suite under each CPython from 3.10 to 3.13 that the
# machine has (tools/test-python.sh), and under Debian's debug interpreter with the module built
# for it (tools/test-debug.sh); last the other platforms' wheels: the aarch64 wheel's suite
# under emulation (tools/test-aarch64.sh, as root) and the Windows wheel's under wine
# (tools/test-windows.sh), each with the shared random corpus matched byte for byte against the
# x86_64 wheel's. Build tools and test dependencies go into virtual
# environments under build/, kept between runs; no interpreter is changed. CI (.ci/run) runs
# the same scripts, side by side.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT="$PWD"
source tools/lib.sh

bash tools/deps.sh --tests --python

echo "== C++ tests"
bash tools/test-cpp.sh

echo "== release build and checks (tools/release.sh)"
bash tools/release.sh
echo "== tests of the release checks"
bash tools/test-checks.sh

echo "== typing checks"
bash tools/typecheck.sh dist/*manylinux_2_17_x86_64.whl build/sdist-c++/wheel/*.whl

bash tools/test-python.sh

echo "== the Python suite under Debian's debug interpreter (tools/test-debug.sh)"
bash tools/test-debug.sh

echo "== the aarch64 wheel under emulation (tools/test-aarch64.sh)"
if [ "$(id -u)" -eq 0 ]; then
  bash tools/test-aarch64.sh dist/*manylinux_2_17_aarch64.whl dist/*manylinux_2_17_x86_64.whl
else
  echo "notice: not root: the aarch64 wheel's suite, which runs in a chroot, was not run"
fi
echo "== the Windows wheel under wine (tools/test-windows.sh)"
bash tools/test-windows.sh dist/*win_amd64.whl dist/*manylinux_2_17_x86_64.whl
