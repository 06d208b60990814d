#!/usr/bin/env bash
# The Python suite under Debian's debug interpreter (python3-dbg, Py_DEBUG), against the module
# built from source for it (build/debug-module, kept between runs): the `debug` session of
# noxfile.py. There the suite also checks that no call of any entry of the API grows the
# interpreter's total reference count (tests/test_debug_refcounts.py), which a release
# interpreter does not count. Installs the interpreter and CMake with Debian's packages when
# missing (tools/deps.sh --cmake --debug-python).
#
#   QC_HARDENING_EXAMPLES  hypothesis examples per hardening test (tests/hostile.py)
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/deps.sh --cmake --debug-python
# nox skips a session whose interpreter it does not find; here that is a failure.
exec bash tools/nox.sh -s debug --error-on-missing-interpreters
