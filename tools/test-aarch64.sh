#!/usr/bin/env bash
# Tests an aarch64 wheel on this (x86_64) machine under qemu-user emulation:
#
#   bash tools/test-aarch64.sh AARCH64_WHEEL [X86_64_WHEEL] [-- PYTEST_ARGS...]
#
# 1. Makes or reuses the Debian arm64 root (tools/aarch64-root.sh: cached outside the tree).
# 2. Installs the wheel into a fresh venv inside it and runs the Python suite there, with
#    QC_EMULATED=1: the tests that emulation cannot run skip, each with its reason (the limits
#    tests that set RLIMIT_AS, which qemu-user does not enforce for its guest, and the 4 GiB
#    text test, for the host's memory). Nothing else is cut: emulated, the suite takes about
#    four minutes on one core. Where CI must be shorter, QC_HARDENING_EXAMPLES (passed on to
#    the suite) lowers the hypothesis examples of the search through the API from 60: at 10 the
#    suite takes about two minutes.
# 3. Writes the shared random corpus (tools/corpus.py) with the aarch64 wheel under emulation,
#    and with the x86_64 wheel natively (on CPython 3.11, the root's, where there is one), and
#    compares the two files byte for byte. Without X86_64_WHEEL the x86_64 wheel is looked for
#    beside the aarch64 one (dist/*x86_64*.whl); with none, the compare is skipped, said so.
#
# Needs root (chroot and mounts, in a private mount namespace that ends with the script).
# Uses about one core (qemu-user runs each guest thread on one host thread; the suite is
# single-threaded but for its thread tests) and at most about 1 GiB of memory (0.95 GiB measured).
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT="$PWD"
source tools/lib.sh

aarch64_wheel="" x86_64_wheel=""
while [ $# -gt 0 ]; do
  case "$1" in
    --) shift; break ;;
    *.whl) if [ -z "$aarch64_wheel" ]; then aarch64_wheel=$1; else x86_64_wheel=$1; fi ;;
    *) echo "usage: $0 AARCH64_WHEEL [X86_64_WHEEL] [-- PYTEST_ARGS...]" >&2; exit 2 ;;
  esac
  shift
done
case "$aarch64_wheel" in
  *aarch64*.whl) ;;
  *) echo "usage: $0 AARCH64_WHEEL [X86_64_WHEEL] [-- PYTEST_ARGS...]" >&2; exit 2 ;;
esac
if [ -z "$x86_64_wheel" ]; then
  x86_64_wheel="$(ls "$(dirname "$aarch64_wheel")"/*x86_64*.whl 2>/dev/null | head -1 || true)"
fi
start=$SECONDS

root="$(bash tools/aarch64-root.sh)"
echo "aarch64: root $root ($((SECONDS - start)) s)"

mkdir -p build
run="$(mktemp -d "$ROOT/build/aarch64-run.XXXXXX")"
trap 'rm -rf --one-file-system "$run"' EXIT
# The tests as they lie in the tree, with the README (its guide is a test) and the corpus.
mkdir -p "$run/src/quarnel-compute-python" "$run/src/tools"
cp -r quarnel-compute-python/tests "$run/src/quarnel-compute-python/"
cp README.md "$run/src/"
cp tools/corpus.py "$run/src/tools/"
cp "$aarch64_wheel" "$run/"
if [ -n "$x86_64_wheel" ]; then
  mkdir -p "$run/x86_64"
  cp "$x86_64_wheel" "$run/x86_64/"
  x86_64_wheel="$(echo "$run"/x86_64/*.whl)"
fi

# Everything below runs in a mount namespace of its own: the mounts go with it. The run folder
# is the guest's /run/qc; the guest's /tmp is a fresh tmpfs, so the cached root stays as made.
export QC_HARDENING_EXAMPLES="${QC_HARDENING_EXAMPLES:-}"
status=0
unshare --mount --propagation private bash -euo pipefail -c '
  root=$1 run=$2 wheel=$(basename "$3"); shift 3
  mkdir -p "$root/run/qc"
  mount --bind "$run" "$root/run/qc"
  mount -t proc proc "$root/proc"
  mount --rbind /dev "$root/dev"
  mount -t tmpfs tmpfs "$root/tmp"
  # in_root DIR COMMAND...: runs the command in the root, in DIR, with a clean environment.
  in_root() {
    local dir=$1 env=(PATH=/usr/bin:/bin HOME=/tmp LANG=C.UTF-8 PYTHONDONTWRITEBYTECODE=1)
    shift
    env+=(QC_EMULATED=1 ${QC_HARDENING_EXAMPLES:+"QC_HARDENING_EXAMPLES=$QC_HARDENING_EXAMPLES"})
    chroot "$root" /usr/bin/env -i -C "$dir" "${env[@]}" "$@"
  }
  t=$SECONDS
  in_root / /usr/bin/python3 -m venv --without-pip /run/qc/venv
  site=$(echo "$run"/venv/lib/python3*/site-packages)
  python3 -m zipfile -e "$run/$wheel" "$site"
  # pytest and hypothesis come from the root'"'"'s own venv.
  echo "/opt/venv/lib/$(basename "$(dirname "$site")")/site-packages" >"$site/qc-test-deps.pth"
  in_root / /run/qc/venv/bin/python -c "import platform; from quarnel.compute import _compute
print(\"aarch64: wheel installed; python\", platform.python_version(), platform.machine())"
  echo "aarch64: venv and wheel: $((SECONDS - t)) s"

  t=$SECONDS
  result=0
  in_root /run/qc/src/quarnel-compute-python/tests /run/qc/venv/bin/python -m pytest -q -p no:cacheprovider -rs \
    --durations=15 "$@" || result=$?
  echo "aarch64: Python suite under emulation: $((SECONDS - t)) s"

  t=$SECONDS
  in_root /run/qc /run/qc/venv/bin/python src/tools/corpus.py corpus-aarch64.txt \
    2>"$run/corpus-aarch64.err" || { tail -20 "$run/corpus-aarch64.err" >&2; result=1; }
  tail -1 "$run/corpus-aarch64.err"
  echo "aarch64: corpus under emulation: $((SECONDS - t)) s"
  exit $result
' _ "$root" "$run" "$aarch64_wheel" "$@" || status=$?

if [ -n "$x86_64_wheel" ]; then
  # The x86_64 side runs the same script, on the root's CPython minor version where the machine
  # has it (CPython 3.10 to 3.13 write the same corpus).
  guest_py="$(sed -n 's/^version = \([0-9]*\.[0-9]*\).*/\1/p' "$root/opt/venv/pyvenv.cfg")"
  host_py="$(find_python "$guest_py")"
  host_py="${host_py:-$PY}"
  "$host_py" -m venv "$run/venv-x86_64"
  "$run/venv-x86_64/bin/python" -m pip install -q --no-deps "$x86_64_wheel"
  (cd "$run" && venv-x86_64/bin/python src/tools/corpus.py corpus-x86_64.txt 2>corpus-x86_64.err) ||
    { tail -20 "$run/corpus-x86_64.err" >&2; exit 1; }
  tail -1 "$run/corpus-x86_64.err"
  (cd "$run" && "$PY" src/tools/corpus.py --compare corpus-x86_64.txt corpus-aarch64.txt) ||
    status=1
else
  echo "aarch64: no x86_64 wheel given or beside $aarch64_wheel: the corpus is not compared"
fi
echo "test-aarch64.sh: $((SECONDS - start)) s"
exit $status
