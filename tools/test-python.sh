#!/usr/bin/env bash
# The Python suite under each CPython given (default: 3.10 to 3.13) that the machine has, from
# pyenv or as pythonX.Y on the PATH: against the x86_64 release wheel in dist/ (tools/release.sh)
# and against the wheel the machine's compiler built from the sdist (build/sdist-c++/wheel,
# tools/check-sdist.sh). The two builds differ in compiler, C++ runtime and unwinder, so the
# tests of a thread ended at exit run against both under every version; the whole suite runs
# against the second under the tools' own interpreter ($PYTHON or python3) alone.
#
#   QC_HARDENING_EXAMPLES  hypothesis examples per hardening test (tests/hostile.py)
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT="$PWD"
source tools/lib.sh

release_wheel="$(ls "$ROOT"/dist/*manylinux_2_17_x86_64.whl 2>/dev/null || true)"
source_wheel="$(ls "$ROOT"/build/sdist-c++/wheel/*.whl 2>/dev/null || true)"
if [ -z "$release_wheel" ] || [ -z "$source_wheel" ]; then
  echo "error: no release wheel in dist/ or no wheel in build/sdist-c++/wheel:" \
    "run tools/release.sh first" >&2
  exit 1
fi
versions=("$@")
[ ${#versions[@]} -gt 0 ] || versions=(3.10 3.11 3.12 3.13)

tested=()
missing=()
for version in "${versions[@]}"; do
  python="$(find_python "$version")"
  if [ -z "$python" ]; then
    echo "notice: CPython $version not found; its Python tests are skipped"
    missing+=("$version")
    continue
  fi
  echo "== Python tests under $("$python" --version) ($python)"
  venv="$ROOT/build/venv-$version"
  ensure_venv "$venv" "$python" pytest hypothesis
  for wheel in "$release_wheel" "$source_wheel"; do
    tests=(.)
    if [ "$wheel" = "$source_wheel" ] && [ "$version" != "$(python_version "$PY")" ]; then
      tests=(test_shutdown.py)
    fi
    echo "-- $(basename "$wheel"): ${tests[*]}"
    "$venv/bin/python" -m pip install -q --force-reinstall --no-deps "$wheel"
    (cd quarnel-compute-python/tests && "$venv/bin/python" -m pytest -q -p no:cacheprovider "${tests[@]}")
  done
  tested+=("$version")
done
if [ ${#tested[@]} -eq 0 ]; then
  echo "error: no CPython of ${versions[*]} found for the Python tests" >&2
  exit 1
fi
echo "Python tests ran under CPython ${tested[*]}"
if [ ${#missing[@]} -gt 0 ]; then
  echo "notice: CPython ${missing[*]} not found on this machine (neither pyenv nor" \
    "pythonX.Y on the PATH); those versions were not tested"
fi
