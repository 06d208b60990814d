# Helpers the tool scripts source: finding the CPythons of the machine and keeping the virtual
# environments the scripts own, so that nothing is ever installed into an interpreter itself;
# and the release build's pieces (zig's wrappers, the sdist's time, CPython for Windows).

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
# system's, say) or one whose interpreter is gone is made anew. Steps that tools/test.sh runs
# side by side share venvs: the work is done under a lock of the venv ($1.lock).
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

# Prints the path of zig: the ziglang package's of the interpreter named `python` on the PATH
# (the release environment's).
zig_path() {
  python -c 'import os, ziglang; print(os.path.join(os.path.dirname(ziglang.__file__), "zig"))'
}

# Writes into the directory $1 zig's compiler (for the target $2) and archivers as commands of
# their own, for a CMake toolchain file.
zig_tools() {
  local dir="$1" target="$2" zig tool
  zig="$(zig_path)"
  mkdir -p "$dir"
  printf '#!/bin/sh\nexec "%s" c++ -target %s "$@"\n' "$zig" "$target" >"$dir/c++"
  for tool in ar ranlib; do
    printf '#!/bin/sh\nexec "%s" %s "$@"\n' "$zig" "$tool" >"$dir/$tool"
  done
  chmod +x "$dir"/*
}

# Prints the platform tag of the release wheel of the machine $1 (x86_64, aarch64 or windows).
wheel_platform() {
  case "$1" in
    windows) echo win_amd64 ;;
    *) echo "manylinux_2_17_$1" ;;
  esac
}

# Prints the path of the release wheel of the machine $2 in the directory $1.
wheel_file() {
  ls "$1"/*"$(wheel_platform "$2")".whl
}

# Prints the time of the sdist $1 in seconds since the epoch: the modification time of its
# PKG-INFO, which the sdist's build took from SOURCE_DATE_EPOCH (tools/release.sh). Every wheel
# built from the sdist takes it for its archive's times (tools/build-wheel.sh), so that two
# builds of one sdist give the same bytes.
sdist_epoch() {
  "$PY" - "$1" <<'EOF'
import sys, tarfile

with tarfile.open(sys.argv[1]) as t:
    for member in t:
        if member.name.count("/") == 1 and member.name.endswith("/PKG-INFO"):
            print(member.mtime)
            break
    else:
        sys.exit(f"error: {sys.argv[1]}: no PKG-INFO in its top directory")
EOF
}

# Makes in the directory $1, unless it is there already, what a build for Windows takes in place
# of an interpreter's development files (tools/windows-toolchain.cmake): CPython's headers with
# PC/pyconfig.h (include/), and the import library of python3.dll, the DLL of the stable ABI
# (libpython3.dll.a), so that the module loads in every CPython from 3.10 on. The headers come
# from the source of Debian's python3.11, fetched with apt-get through a private list of source
# repositories (the machine's apt setup is not touched); zig's dlltool makes the import library
# from the stable-ABI exports that the source's PC/python3dll.c lists (python3.def). One build
# at a time makes it, under a lock ($1.lock).
windows_python_dev() {
  local sdk="$1" lock orig top
  local apt=(apt-get -q -o "Dir::Etc::SourceList=$sdk/apt/sources.list"
    -o Dir::Etc::SourceParts=/nonexistent -o "Dir::State::Lists=$sdk/apt/lists"
    -o "Dir::Cache=$sdk/apt/cache" -o APT::Sandbox::User=root)
  mkdir -p "$(dirname "$sdk")"
  exec {lock}>"$sdk.lock"
  flock "$lock"
  if [ ! -f "$sdk/libpython3.dll.a" ]; then
    rm -rf "$sdk"
    mkdir -p "$sdk/apt/lists/partial" "$sdk/apt/cache" "$sdk/source"
    echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg]" \
      "http://deb.debian.org/debian bookworm main" >"$sdk/apt/sources.list"
    "${apt[@]}" update >"$sdk/apt.log" 2>&1 &&
      (cd "$sdk/source" && "${apt[@]}" source --download-only python3.11) >>"$sdk/apt.log" 2>&1 ||
      {
        tail -20 "$sdk/apt.log" >&2
        echo "error: could not fetch the source of Debian's python3.11 (log: $sdk/apt.log)" >&2
        exec {lock}>&-
        return 1
      }
    orig="$(ls "$sdk"/source/python3.11_*.orig.tar.*)"
    top="$(tar tf "$orig" | sed -n "1s,/.*,,p")"
    tar xf "$orig" -C "$sdk/source" --wildcards "$top/Include/*" "$top/PC/pyconfig.h" \
      "$top/PC/python3dll.c"
    cp -r "$sdk/source/$top/Include" "$sdk/include"
    cp "$sdk/source/$top/PC/pyconfig.h" "$sdk/include/"
    {
      echo "LIBRARY python3.dll"
      echo "EXPORTS"
      sed -n -e 's/^EXPORT_FUNC(\([A-Za-z0-9_]*\))$/\1/p' \
        -e 's/^EXPORT_DATA(\([A-Za-z0-9_]*\))$/\1 DATA/p' "$sdk/source/$top/PC/python3dll.c"
    } >"$sdk/python3.def"
    "$(zig_path)" dlltool -m i386:x86-64 -d "$sdk/python3.def" -l "$sdk/libpython3.dll.a.tmp"
    mv "$sdk/libpython3.dll.a.tmp" "$sdk/libpython3.dll.a"
    rm -rf "$sdk/source/$top" "$sdk/apt"
  fi
  exec {lock}>&-
  echo "CPython for Windows: $(grep -c . "$sdk/python3.def") lines of python3.def," \
    "from $(basename "$(ls "$sdk"/source/*.dsc)")"
}
