#!/usr/bin/env bash
# The sdist built, installed and run with the oldest compilers the build accepts: clang 14 with
# the system's libstdc++, and GCC 11.
set -euo pipefail
cd "$(dirname "$0")/../.."
bash tools/deps.sh --oldest-compilers
for cxx in clang++-14 g++-11; do
  bash tools/check-sdist.sh dist/*.tar.gz "$cxx"
done
