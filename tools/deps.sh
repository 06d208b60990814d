#!/usr/bin/env bash
# Installs what the build needs and the machine lacks, from Debian's packages only (nothing goes
# into a Python interpreter): a C++20 compiler, CMake and Ninja, nlohmann::json; with --python
# an interpreter of CPython 3.10 or later ($PYTHON, or python3) that can make virtual
# environments and build extensions; with --tests GoogleTest; with --hardening clang 14 and its
# runtimes (libFuzzer and the sanitizers) for the fuzz targets.
# Safe to run again.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/lib.sh

# Prints what the interpreter $PY lacks: "venv" (it cannot make virtual environments) and
# "headers" (no Python.h to build the extension against).
python_lacks() {
  "$PY" -c 'import ensurepip, venv' 2>/dev/null || printf 'venv '
  "$PY" -c 'import os, sys, sysconfig
sys.exit(not os.path.isfile(os.path.join(sysconfig.get_paths()["include"], "Python.h")))' \
    2>/dev/null || printf 'headers '
}

want_python=0
packages=()
command -v g++ >/dev/null || packages+=(g++)
cmake_at_least 3.21 || packages+=(cmake)
command -v ninja >/dev/null || packages+=(ninja-build)
[ -f /usr/include/nlohmann/json.hpp ] || packages+=(nlohmann-json3-dev)
for flag in "$@"; do
  case "$flag" in
    --python) want_python=1 ;;
    --tests) [ -d /usr/src/googletest ] || packages+=(libgtest-dev) ;;
    --hardening)
      command -v clang++-14 >/dev/null || packages+=(clang-14)
      compgen -G "/usr/lib/llvm-14/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a" >/dev/null ||
        packages+=(libclang-rt-14-dev)
      ;;
    *) echo "deps.sh: unknown option $flag" >&2; exit 2 ;;
  esac
done

if [ "$want_python" -eq 1 ]; then
  if ! command -v "$PY" >/dev/null; then
    if [ -n "${PYTHON:-}" ]; then
      echo "error: PYTHON=$PYTHON is not an interpreter on this machine" >&2
      exit 1
    fi
    packages+=(python3 python3-venv python3-dev)
  else
    lacks="$(python_lacks)"
    if [ -n "$lacks" ]; then
      # Only Debian's own interpreters can be completed with Debian's packages; its default
      # python3 by the names a user knows.
      if [ "$("$PY" -c 'import sys; print(sys.base_prefix)')" != /usr ]; then
        echo "error: $PY lacks: $lacks (it is not Debian's; install it complete," \
          "or set PYTHON to an interpreter that is)" >&2
        exit 1
      fi
      name="python$(python_version "$PY")"
      [ "$(python_version "$PY")" = "$(python_version /usr/bin/python3)" ] && name=python3
      case "$lacks" in *venv*) packages+=("$name-venv") ;; esac
      case "$lacks" in *headers*) packages+=("$name-dev") ;; esac
    fi
  fi
fi

if [ ${#packages[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "installing Debian packages: ${packages[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${packages[@]}" >/dev/null
fi

if ! cmake_at_least 3.21; then
  echo "error: CMake 3.21 or later is needed; $(command -v cmake || echo none) is" \
    "$(cmake --version 2>/dev/null | head -1 || true)" >&2
  exit 1
fi
if [ "$want_python" -eq 1 ]; then
  version="$(python_version "$PY")"
  if ! version_at_least 3.10 "$version"; then
    echo "error: CPython 3.10 or later is needed; $PY is ${version:-not runnable}" >&2
    exit 1
  fi
  lacks="$(python_lacks)"
  if [ -n "$lacks" ]; then
    echo "error: $PY still lacks: $lacks" >&2
    exit 1
  fi
fi
