#!/usr/bin/env bash
# Runs every test, and CI runs this command as it is (.ci/run). The steps are the scripts of
# .ci/steps, one each, named there alone; GNU make runs them over .ci/Makefile, which holds what
# each needs, side by side, as many at once as the machine has cores (CI_CORES overrides that
# count), each with its output in build/ci/STEP.log; a step that fails leaves the others
# running, and those that need it are left out. They are: the install and the release build
# with Debian's own python3, pyenv off the PATH, and the tests of the release checks (10); the
# C++ and Python suites under AddressSanitizer and UndefinedBehaviorSanitizer, and bounded
# fuzzing (20); the C++ suite (30); the format check (40); the Python suite under each CPython
# 3.10 to 3.13 that the machine has against both x86_64 wheels (50); the typing checks (51); the
# sdist built with the oldest compilers (52); a second release build compared byte for byte
# (53); the Python suite under Debian's debug interpreter (54); then the other platforms'
# wheels: the aarch64 wheel's suite under emulation, as root (60: run as another user, it is
# skipped, with its reason), and the Windows wheel's under wine (61), each with the shared
# random corpus matched byte for byte against the x86_64 wheel's. Then .ci/summary.py names the
# steps that failed, were left out or were skipped, and adds up the tests the steps ran. Fails
# if any step fails or is left out.
#
# Every Debian package a step needs is checked first, all at once (tools/deps.sh), so that a
# missing one stops the run in its first minute, named. Build tools and test dependencies go
# into virtual environments under build/, kept between runs; no interpreter is changed.
#
# A CI job (CI set, to true as .ci/run and most CI services do) on a machine of fewer than 4
# cores cannot hold every step at full length within its time, and shortens by one rule,
# announced at the start: CI_SHORT=1 is exported, and the steps read it (the hypothesis examples
# of the hardening tests drop from 60 to 20, and each fuzz target runs 10 s instead of 30; a step
# added later documents its own shortening in its header). CI_SHORT=1 or 0 set by hand wins.
# `--print-short` prints that decision (CI_SHORT=0 or 1) and runs nothing: the tests of the rule
# (tools/tests) ask it so.
#
# While the steps run, a line every minute names those running and their time so far
# (`test: running 20-sanitize (12 min), 50-python (3 min)`; QC_PROGRESS_SECONDS sets another
# interval).
set -euo pipefail
cd "$(dirname "$0")/.."

CORES="${CI_CORES:-$(nproc)}"
short=0
case "${CI:-}" in "" | false | 0) ;; *) [ "$CORES" -ge 4 ] || short=1 ;; esac
export CI_SHORT="${CI_SHORT:-$short}"
case "$*" in
  "") ;;
  --print-short) echo "CI_SHORT=$CI_SHORT"; exit 0 ;;
  *) echo "usage: bash tools/test.sh [--print-short]" >&2; exit 2 ;;
esac
if [ "$CI_SHORT" = 1 ]; then
  echo "test: $CORES cores: shortened run (CI_SHORT=1): 20 hypothesis examples per hardening" \
    "test, 10 s per fuzz target"
fi

# What every step needs from Debian. The release and reproducibility steps run on Debian's
# python3, the others on $PYTHON or python3; the aarch64 step runs as root alone.
deps=(--make --python --debian-python --tests --hardening --oldest-compilers --debug-python
  --windows)
[ "$(id -u)" -ne 0 ] || deps+=(--aarch64)
bash tools/deps.sh "${deps[@]}"

# Prints every minute, until this shell ends, the steps running: those .ci/Makefile marked
# started (STEP.started, their start in seconds since the epoch) with no outcome yet. It keeps
# no process of its own running (the wait is a read that nothing answers, the clock is bash's),
# so that ending it ends all of it; should this shell be killed outright, it ends at its next
# minute.
progress() {
  local fd now started step start running
  exec {fd}<> <(:)
  while kill -0 $$ 2>/dev/null; do
    # Only a timeout goes on: a read that ended otherwise would turn this into a busy loop.
    read -r -t "${QC_PROGRESS_SECONDS:-60}" -u "$fd" _ || [ $? -gt 128 ] || return 0
    printf -v now '%(%s)T' -1
    running=""
    for started in build/ci/*.started; do
      step="${started%.started}"
      [ -f "$started" ] && ! [ -e "$step.passed" ] && ! [ -e "$step.failed" ] &&
        ! [ -e "$step.skipped" ] && read -r start <"$started" || continue
      start=$((now - start))
      ((start < 60)) && start="$start s" || start="$((start / 60)) min"
      running+="${running:+, }${step##*/} ($start)"
    done
    [ -z "$running" ] || echo "test: running $running"
  done
}

rm -rf build/ci
mkdir -p build/ci
start=$SECONDS
status=0
progress &
ticker=$!
# Ends the ticker with the run, also when the run is interrupted.
trap 'kill "$ticker" 2>/dev/null || true' EXIT
make -f .ci/Makefile -k -j "$CORES" CORES="$CORES" || status=1
kill "$ticker" 2>/dev/null || true
wait "$ticker" 2>/dev/null || true
echo "test: $((SECONDS - start)) s on $CORES cores"
"${PYTHON:-python3}" .ci/summary.py build/ci .ci/steps || status=1
exit $status
