#!/usr/bin/env bash
# The typing checks of the package, against each wheel given (the release wheel, which users
# install, and a wheel built by the machine's compiler): the stubs are what the binding's tables
# make now (tools/stubgen.sh --check); then, with each wheel installed, mypy's stubtest finds the
# stubs and the extension in agreement, with no allowlist; the typing cases pass mypy --strict
# and basedpyright, every refused case still refused by both; basedpyright finds every exported
# symbol typed; and the tests of quarnel-compute-python/typecheck hold. It runs in the typecheck
# session of noxfile.py, which holds the pinned checkers (run alone, it starts that session), and
# keeps every cache under build/.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT="$PWD"
[ "${NOX_CURRENT_SESSION:-}" = typecheck ] || exec bash tools/nox.sh -s typecheck -- "$@"
[ $# -gt 0 ] || { echo "usage: tools/typecheck.sh WHEEL..." >&2; exit 2; }
wheels=()
for wheel in "$@"; do wheels+=("$(realpath "$wheel")"); done

bash tools/stubgen.sh --check

# The installed package is imported from a folder that holds no copy of it.
outside="$ROOT/build/typecheck"
mkdir -p "$outside"
export MYPY_CACHE_DIR="$ROOT/build/mypy-cache"

for wheel in "${wheels[@]}"; do
  echo "== typing checks of $(basename "$wheel")"
  python -m pip install -q --force-reinstall --no-deps "$wheel"

  echo "-- stubtest"
  (cd "$outside" && python -m mypy.stubtest quarnel.compute)

  echo "-- typing cases"
  (cd quarnel-compute-python/typecheck &&
    mypy --strict --warn-unused-ignores --no-incremental --python-version 3.10 cases.py &&
    basedpyright --pythonpath "$(command -v python)" cases.py)

  echo "-- verifytypes"
  report="$(cd "$outside" && basedpyright --verifytypes quarnel.compute --ignoreexternal)" || {
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
  (cd quarnel-compute-python/typecheck && python -m pytest -q -rs -p no:cacheprovider .)
done
