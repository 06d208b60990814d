#!/usr/bin/env bash
# The README's install and release commands on a stock Debian machine: Debian's own python3,
# pyenv off the PATH (its flat headers would hide a build that works with pyenv's interpreters
# alone). The release leaves the sdist and the wheels in dist/ (x86_64, aarch64, win_amd64), and
# the wheel the machine's compiler built from the sdist in build/sdist-c++/wheel; then the tests
# of the release checks.
set -euo pipefail
cd "$(dirname "$0")/../.."
stock=(env -u VIRTUAL_ENV -u PYENV_VERSION PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
  PYTHON=/usr/bin/python3)
"${stock[@]}" bash tools/install.sh
"${stock[@]}" bash tools/release.sh
"${stock[@]}" bash tools/test-checks.sh
