#!/usr/bin/env bash
# Installs quarnel-compute into the current Python and runs the example.
set -euo pipefail
cd "$(dirname "$0")/.."
PY="${PYTHON:-python3}"
bash tools/deps.sh
"$PY" -m pip install -q .
if [ -f examples/basic.py ]; then
  "$PY" examples/basic.py
fi
