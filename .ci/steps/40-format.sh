#!/usr/bin/env bash
# The C++ sources against .clang-format and the Python sources against ruff.
set -euo pipefail
cd "$(dirname "$0")/../.."
bash tools/format.sh --check
