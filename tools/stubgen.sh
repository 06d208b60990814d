#!/usr/bin/env bash
# Makes the stubs of `_compute` (quarnel-compute-python/quarnel/compute/_compute.pyi) and
# docs/reference.md from the binding's own tables: links describe_bindings from the objects the
# extension is made of, reads its description (every table line's types, words and texts) and
# writes the files from it. With --check it writes nothing and fails when a checked-in file is
# not what the tables make now.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/lib.sh

check=()
case "${1:-}" in
  --check) check=(--check) ;;
  "") ;;
  *) echo "usage: tools/stubgen.sh [--check]" >&2; exit 2 ;;
esac
bash tools/deps.sh --python --cmake
tools_venv="$PWD/build/venv-tools"
ensure_venv "$tools_venv" "$PY" ruff==0.17.6
# The extension is configured here by CMake itself, whose FindPython knows the stable-ABI
# component from 3.26 on (Debian 12 has 3.25): an older cmake is replaced by PyPI's, in the venv.
if ! cmake_at_least 3.26; then
  ensure_venv "$tools_venv" "$PY" 'cmake>=3.26'
  PATH="$tools_venv/bin:$PATH"
fi

cmake -S . -B build/describe -G Ninja -DQC_BUILD_PYTHON=ON -DQC_BUILD_DESCRIBE=ON \
  -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build/describe --target describe_bindings -j "$JOBS" >build/describe/build.log || {
  cat build/describe/build.log
  exit 1
}
build/describe/quarnel-compute-python/describe_bindings >build/describe/description.json
"$tools_venv/bin/python" tools/stubgen/generate.py build/describe/description.json \
  --ruff "$tools_venv/bin/ruff" "${check[@]}"
echo "stubgen: stubs and reference are current with the binding's tables"
