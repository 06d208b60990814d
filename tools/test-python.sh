#!/usr/bin/env bash
# The Python suite under each CPython given (default: 3.10 to 3.13) that the machine has, from
# pyenv or as pythonX.Y on the PATH: the `tests` session of noxfile.py, against the x86_64
# release wheel in dist/ (tools/release.sh) and the wheel the machine's compiler built from the
# sdist (build/sdist-c++/wheel, tools/check-sdist.sh). Fails if any version fails, or if none is
# found.
#
#   QC_HARDENING_EXAMPLES  hypothesis examples per hardening test (tests/hostile.py)
set -euo pipefail
cd "$(dirname "$0")/.."
report=build/nox-tests.json
versions=()
[ $# -eq 0 ] || versions=(-p "$@")
bash tools/nox.sh -s tests "${versions[@]}" --report "$report"
"${PYTHON:-python3}" - "$report" <<'PY'
import json, sys

sessions = json.load(open(sys.argv[1]))["sessions"]
ran = [s["signatures"][0].removeprefix("tests-") for s in sessions if s["result"] == "success"]
if not ran:
    sys.exit("error: none of the CPython versions asked for was found for the Python tests")
print("Python tests ran under CPython", ", ".join(ran))
missing = [s["signatures"][0].removeprefix("tests-") for s in sessions if s["result"] == "skipped"]
if missing:
    print("notice: no CPython", ", ".join(missing), "found: the Python suite did not run under it")
PY
