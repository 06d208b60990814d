#!/usr/bin/env bash
# Installs quarnel-compute and runs the example. The package goes into the active virtual
# environment, or else into .venv in the project (made on first use on $PYTHON or python3),
# never into an interpreter of the system.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/lib.sh

bash tools/deps.sh --python
if [ -n "${VIRTUAL_ENV:-}" ]; then
  venv="$VIRTUAL_ENV"
else
  venv=.venv
  # Kept from an earlier run unless it no longer runs or is older than the package allows.
  if ! "$venv/bin/python" -c 'import sys; sys.exit(sys.version_info < (3, 10))' 2>/dev/null; then
    echo "making the virtual environment $venv on $("$PY" --version)"
    "$PY" -m venv --clear "$venv"
  fi
fi
# The extension's build takes a minute or two and pip shows none of it: its output goes to a log,
# shown in part if it fails.
log=build/install.log
mkdir -p build
echo "building and installing quarnel-compute into $venv (about two minutes; log: $log)"
start=$SECONDS
"$venv/bin/python" -m pip install -v . >"$log" 2>&1 || {
  tail -40 "$log" >&2
  echo "error: the build or install failed (log: $log)" >&2
  exit 1
}
echo "installed in $((SECONDS - start)) s"
"$venv/bin/python" examples/basic.py
if [ -z "${VIRTUAL_ENV:-}" ]; then
  echo "installed into $venv ($("$venv/bin/python" --version)): run '. $venv/bin/activate'," \
    "or $venv/bin/python directly"
fi
