#!/usr/bin/env bash
# The typing checks of the package, against each wheel given (the release wheel, which users
# install, and a wheel built by the machine's compiler): the stubs are what the binding's tables
# make now (tools/stubgen.sh --check); then, with each wheel installed, mypy's stubtest finds the
# stubs and the extension in agreement, with no allowlist; the typing cases pass mypy --strict
# and basedpyright, every refused case still refused by both; basedpyright finds every exported
# symbol typed; and the tests of quarnel-compute-python/typecheck hold. The checkers are pinned
# and live in a virtual environment under build/.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT="$PWD"
source tools/lib.sh
[ $# -gt 0 ] || { echo "usage: tools/typecheck.sh WHEEL..." >&2; exit 2; }
wheels=()
for wheel in "$@"; do wheels+=("$(realpath "$wheel")"); done

bash tools/stubgen.sh --check

venv="$ROOT/build/venv-typing"
ensure_venv "$venv" "$PY" mypy==2.4.1 basedpyright==1.40.2 pytest==9.2.0 \
  typing-extensions==4.16.0
export PATH="$venv/bin:$PATH"

for wheel in "${wheels[@]}"; do
  echo "== typing checks of $(basename "$wheel")"
  "$venv/bin/python" -m pip install -q --force-reinstall --no-deps "$wheel"

  echo "-- stubtest"
  (cd /tmp && python -m mypy.stubtest quarnel.compute)

  echo "-- typing cases"
  (cd quarnel-compute-python/typecheck &&
    mypy --strict --warn-unused-ignores --no-incremental --python-version 3.10 cases.py &&
    basedpyright --pythonpath "$venv/bin/python" cases.py)

  echo "-- verifytypes"
  report="$(cd /tmp && basedpyright --verifytypes quarnel.compute --ignoreexternal)" || {
    echo "$report"
    exit 1
  }
  grep -E "^Symbols exported|^Type completeness score" <<<"$report"
  grep -q "^Type completeness score: 100%" <<<"$report" || {
    echo "$report"
    echo "error: not every exported symbol of quarnel.compute has a known type" >&2
    exit 1
  }

  echo "-- stubs against the runtime"
  (cd quarnel-compute-python/typecheck && python -m pytest -q -p no:cacheprovider .)
done
