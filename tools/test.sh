#!/usr/bin/env bash
# Runs every test: the C++ suite through ctest; the release artifacts built and checked
# (tools/release.sh); then the Python suite against the release wheel under each CPython from
# 3.10 to 3.13 that the machine has, and against a wheel built here from the source tree under
# the tools' own interpreter. Build tools and test dependencies go into virtual environments
# under build/, kept between runs; no interpreter is changed.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT="$PWD"
source tools/lib.sh

bash tools/deps.sh --tests --python

echo "== C++ tests"
cmake -S . -B build/test -G Ninja -DQC_BUILD_TESTS=ON -DQC_WERROR=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/test -j "$JOBS"
ctest --test-dir build/test --output-on-failure -j "$JOBS"

echo "== release build and checks (tools/release.sh)"
bash tools/release.sh
RELEASE_WHEEL="$(ls "$ROOT"/dist/*manylinux*.whl)"

echo "== abi3 wheel from the source tree"
tools_venv="$ROOT/build/venv-tools"
ensure_venv "$tools_venv" "$PY"
"$tools_venv/bin/python" -m pip install -q abi3audit
rm -rf build/wheel
QC_WERROR=ON "$tools_venv/bin/python" -m pip wheel . --no-deps -q -w build/wheel
WHEEL="$(ls build/wheel/*.whl)"
echo "$WHEEL"
case "$WHEEL" in
  *-cp310-abi3-*) ;;
  *) echo "error: wheel is not tagged cp310-abi3" >&2; exit 1 ;;
esac
"$tools_venv/bin/python" -m abi3audit --strict --report "$WHEEL" >/dev/null
echo "abi3audit: no non-stable symbol"
bash tools/typecheck.sh "$WHEEL"

tested=()
missing=()
for version in 3.10 3.11 3.12 3.13; do
  python="$(find_python "$version")"
  if [ -z "$python" ]; then
    echo "notice: CPython $version not found; its Python tests are skipped"
    missing+=("$version")
    continue
  fi
  echo "== Python tests under $("$python" --version) ($python)"
  venv="$ROOT/build/venv-$version"
  ensure_venv "$venv" "$python"
  "$venv/bin/python" -m pip install -q pytest hypothesis
  wheels=("$RELEASE_WHEEL")
  [ "$version" = "$(python_version "$PY")" ] && wheels+=("$WHEEL")
  for wheel in "${wheels[@]}"; do
    echo "-- $(basename "$wheel")"
    "$venv/bin/python" -m pip install -q --force-reinstall --no-deps "$wheel"
    (cd quarnel-compute-python/tests && "$venv/bin/python" -m pytest -q -p no:cacheprovider .)
  done
  tested+=("$version")
done
if [ ${#tested[@]} -eq 0 ]; then
  echo "error: no CPython 3.10-3.13 found for the Python tests" >&2
  exit 1
fi
echo "Python tests ran under CPython ${tested[*]}"
if [ ${#missing[@]} -gt 0 ]; then
  echo "notice: CPython ${missing[*]} not found on this machine (neither pyenv nor" \
    "pythonX.Y on the PATH); those versions were not tested"
fi
