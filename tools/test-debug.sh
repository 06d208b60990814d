#!/usr/bin/env bash
# The Python suite under Debian's debug interpreter (python3-dbg, Py_DEBUG), against the module
# built from source for it (build/debug-module, kept between runs), in the virtual environment
# build/venv-debug. There the suite also checks that no call of any entry of the API grows the
# interpreter's total reference count (tests/test_debug_refcounts.py), which a release
# interpreter does not count. Installs the interpreter and CMake with Debian's packages when
# missing (tools/deps.sh --cmake --debug-python).
#
#   QC_HARDENING_EXAMPLES  hypothesis examples per hardening test (tests/hostile.py)
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT="$PWD"
source tools/lib.sh

bash tools/deps.sh --cmake --debug-python
python="$(command -v python3-dbg)"
venv="$ROOT/build/venv-debug"
# The module is built without isolation, by the venv's own build requirements, so that a build
# directory kept from an earlier run is built again only where the sources changed.
ensure_venv "$venv" "$python" pytest hypothesis scikit-build-core nlohmann-json
echo "== the module built for $("$venv/bin/python" --version) ($python)"
"$venv/bin/python" -m pip install -q --no-deps --no-build-isolation --force-reinstall \
  --config-settings=build-dir="$ROOT/build/debug-module" .
"$venv/bin/python" -c 'import sys
from quarnel.compute import _compute
assert hasattr(sys, "gettotalrefcount"), "not a debug interpreter"'
# The 4 GiB text is left to the release interpreters' run (tools/test-python.sh), which may hold
# its 14 GiB at the same time in CI.
(cd quarnel-compute-python/tests && "$venv/bin/python" -m pytest -q -p no:cacheprovider \
  -k "not test_a_text_of_four_gibibytes_is_held_and_written" \
  --durations=10 .)
