#!/usr/bin/env bash
# Runs nox on the project's sessions (noxfile.py): tools/nox.sh [NOX_ARGUMENTS...], e.g.
# `-l` to list them, `-s tests -p 3.12`. nox, pinned, lives in the virtual environment
# build/venv-nox on $PYTHON (or python3); the sessions' environments in build/nox. uv, pinned,
# lives beside it: nox looks for it before every session and says so when it finds none; the
# sessions' environments stay nox's default (virtualenv) and pip's.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/lib.sh
bash tools/deps.sh --python
ensure_venv build/venv-nox "$PY" nox==2026.10.20 uv==0.13.10
exec build/venv-nox/bin/nox "$@"
