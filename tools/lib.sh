# Helpers the tool scripts source: finding the CPythons of the machine and keeping the virtual
# environments the scripts own, so that nothing is ever installed into an interpreter itself.

# The interpreter the tools run on: $PYTHON, or python3.
PY="${PYTHON:-python3}"
# Parallel jobs for builds and ctest; JOBS overrides the core count.
JOBS="${JOBS:-$(nproc 2>/dev/null || echo 2)}"
# scikit-build-core's `cmake --build` reads this; without it Ninja takes every core.
export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-$JOBS}"
export PIP_DISABLE_PIP_VERSION_CHECK=1

# Prints X.Y of the interpreter $1, or nothing if it does not run.
python_version() {
  "$1" -c 'import sys; print("%d.%d" % sys.version_info[:2])' 2>/dev/null || true
}

# True when the version $2 is given and is $1 or later.
version_at_least() {
  [ -n "$2" ] && [ "$(printf '%s\n' "$1" "$2" | sort -V | head -1)" = "$1" ]
}

# True when the cmake on the PATH runs and is version $1 or later.
cmake_at_least() {
  version_at_least "$1" "$(cmake --version 2>/dev/null |
    sed -n 's/^cmake version \([0-9.]*\).*/\1/p')"
}

# Prints the newest CPython X.Y ($1) of the machine: pyenv's first, then pythonX.Y on the PATH.
# Prints nothing when there is none. A candidate counts only if it runs and is that version (a
# pyenv shim is on the PATH for versions that are not selected, and fails when run).
find_python() {
  local version="$1" candidate best
  local candidates=()
  if command -v pyenv >/dev/null; then
    best="$(pyenv versions --bare 2>/dev/null | grep -E "^${version//./\\.}\.[0-9]+$" |
      sort -V | tail -1 || true)"
    [ -n "$best" ] && candidates+=("$(pyenv root)/versions/$best/bin/python")
  fi
  candidate="$(command -v "python$version" || true)"
  [ -n "$candidate" ] && candidates+=("$candidate")
  for candidate in "${candidates[@]}"; do
    if [ "$(python_version "$candidate")" = "$version" ]; then
      echo "$candidate"
      return
    fi
  done
}

# Makes the virtual environment $1 on the interpreter $2 unless it is there already, made on
# that same interpreter, and runs; then installs into it what the further arguments name (pip's
# arguments), unless given nothing. A venv left by another interpreter (pyenv's 3.11 after the
# system's, say) or one whose interpreter is gone is made anew. Steps that CI runs side by side
# share venvs: the work is done under a lock of the venv ($1.lock).
ensure_venv() {
  local dir="$1" python="$2" base lock
  shift 2
  mkdir -p "$(dirname "$dir")"
  exec {lock}>"$dir.lock"
  flock "$lock"
  base="$("$python" -c 'import os, sys; print(os.path.realpath(sys.executable))')"
  if ! [ -x "$dir/bin/python" ] || [ "$(cat "$dir/.base" 2>/dev/null)" != "$base" ] ||
    ! "$dir/bin/python" -c '' 2>/dev/null; then
    "$python" -m venv --clear "$dir"
    echo "$base" >"$dir/.base"
  fi
  [ $# -eq 0 ] || "$dir/bin/python" -m pip install -q "$@"
  exec {lock}>&-
}

# Writes into the directory $1 zig's compiler (for the target $2) and archivers as commands of
# their own, for a CMake toolchain file; zig is the ziglang package's of the interpreter named
# `python` on the PATH (the release environment's).
zig_tools() {
  local dir="$1" target="$2" zig tool
  zig="$(python -c 'import os, ziglang; print(os.path.join(os.path.dirname(ziglang.__file__), "zig"))')"
  mkdir -p "$dir"
  printf '#!/bin/sh\nexec "%s" c++ -target %s "$@"\n' "$zig" "$target" >"$dir/c++"
  for tool in ar ranlib; do
    printf '#!/bin/sh\nexec "%s" %s "$@"\n' "$zig" "$tool" >"$dir/$tool"
  done
  chmod +x "$dir"/*
}
