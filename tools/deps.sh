#!/usr/bin/env bash
# Installs what a build needs and the machine lacks, from Debian's packages only (nothing goes
# into a Python interpreter): a C++20 compiler; with --python an interpreter of CPython 3.10 or
# later ($PYTHON, or python3) that can make virtual environments and build extensions (all a
# `pip install` of the package needs besides: PyPI gives the rest); with --debian-python the
# same of Debian's own /usr/bin/python3 (the release build's, pyenv or not); with --cmake what a
# build by CMake itself needs, CMake 3.21, Ninja and nlohmann::json; with --tests that and
# GoogleTest; with --hardening clang 14 and its runtimes (libFuzzer and the sanitizers) for the
# fuzz targets; with --oldest-compilers the oldest the build accepts, clang 14 and GCC 11; with
# --windows wine (64-bit), which runs the Windows wheel's tests; with --debug-python Debian's
# debug interpreter (python3-dbg: Py_DEBUG) with its headers and what makes virtual
# environments; with --aarch64 what makes and runs the arm64 root of the aarch64 wheel's tests
# (mmdebstrap, qemu-user-static, binfmt-support); with --make GNU make, which runs the test
# steps. Every package missing for all the options given is named at once. Safe to run again;
# waits for another apt-get to finish. Without root, it installs with sudo, or, where there is
# none, names the packages to install and fails.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/lib.sh

# Prints what the interpreter $1 lacks: "venv" (it cannot make virtual environments) and
# "headers" (no Python.h to build the extension against).
python_lacks() {
  "$1" -c 'import ensurepip, venv' 2>/dev/null || printf 'venv '
  "$1" -c 'import os, sys, sysconfig
sys.exit(not os.path.isfile(os.path.join(sysconfig.get_paths()["include"], "Python.h")))' \
    2>/dev/null || printf 'headers '
}

# The interpreters to check (--python, --debian-python).
pythons=()
want_cmake=0
packages=()
command -v c++ >/dev/null || command -v g++ >/dev/null || packages+=(g++)
for flag in "$@"; do
  case "$flag" in
    --python) pythons+=("$PY") ;;
    --debian-python) pythons+=(/usr/bin/python3) ;;
    --cmake) want_cmake=1 ;;
    --tests)
      want_cmake=1
      [ -d /usr/src/googletest ] || packages+=(libgtest-dev)
      ;;
    --hardening)
      command -v clang++-14 >/dev/null || packages+=(clang-14)
      compgen -G "/usr/lib/llvm-14/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a" >/dev/null ||
        packages+=(libclang-rt-14-dev)
      ;;
    --windows)
      command -v wine >/dev/null || packages+=(wine)
      command -v wine64 >/dev/null || [ -x /usr/lib/wine/wine64 ] || packages+=(wine64)
      ;;
    --debug-python)
      command -v python3-dbg >/dev/null || packages+=(python3-dbg)
      python3 -c 'import ensurepip, venv' 2>/dev/null || packages+=(python3-venv)
      ;;
    --make) command -v make >/dev/null || packages+=(make) ;;
    --aarch64)
      command -v mmdebstrap >/dev/null || packages+=(mmdebstrap)
      command -v qemu-aarch64-static >/dev/null || packages+=(qemu-user-static)
      command -v update-binfmts >/dev/null || packages+=(binfmt-support)
      ;;
    --oldest-compilers)
      command -v clang++-14 >/dev/null || packages+=(clang-14)
      command -v g++-11 >/dev/null || packages+=(g++-11)
      ;;
    *) echo "deps.sh: unknown option $flag" >&2; exit 2 ;;
  esac
done

if [ "$want_cmake" -eq 1 ]; then
  cmake_at_least 3.21 || packages+=(cmake)
  command -v ninja >/dev/null || packages+=(ninja-build)
  [ -f /usr/include/nlohmann/json.hpp ] || packages+=(nlohmann-json3-dev)
fi
for py in "${pythons[@]}"; do
  if ! command -v "$py" >/dev/null; then
    if [ "$py" = "${PYTHON:-}" ]; then
      echo "error: PYTHON=$PYTHON is not an interpreter on this machine" >&2
      exit 1
    fi
    packages+=(python3 python3-venv python3-dev)
  else
    lacks="$(python_lacks "$py")"
    if [ -n "$lacks" ]; then
      # Only Debian's own interpreters can be completed with Debian's packages; its default
      # python3 by the names a user knows.
      if [ "$("$py" -c 'import sys; print(sys.base_prefix)')" != /usr ]; then
        echo "error: $py lacks: $lacks (it is not Debian's; install it complete," \
          "or set PYTHON to an interpreter that is)" >&2
        exit 1
      fi
      name="python$(python_version "$py")"
      [ "$(python_version "$py")" = "$(python_version /usr/bin/python3)" ] && name=python3
      case "$lacks" in *venv*) packages+=("$name-venv") ;; esac
      case "$lacks" in *headers*) packages+=("$name-dev") ;; esac
    fi
  fi
done
# Each package once, in the order found.
mapfile -t packages < <(printf '%s\n' ${packages[@]+"${packages[@]}"} | awk 'NF && !seen[$0]++')

if [ ${#packages[@]} -gt 0 ]; then
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || {
      echo "error: missing Debian packages: ${packages[*]}; install them as root" \
        "(apt-get install ${packages[*]}), then run this again" >&2
      exit 1
    }
    sudo="sudo"
  fi
  echo "installing Debian packages: ${packages[*]}"
  # Another apt-get holding dpkg's lock is waited for, not failed on.
  $sudo apt-get -o DPkg::Lock::Timeout=600 update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=600 install -y -qq \
    "${packages[@]}" >/dev/null
fi

if [ "$want_cmake" -eq 1 ] && ! cmake_at_least 3.21; then
  echo "error: CMake 3.21 or later is needed; $(command -v cmake || echo none) is" \
    "$(cmake --version 2>/dev/null | head -1 || true)" >&2
  exit 1
fi
for py in "${pythons[@]}"; do
  version="$(python_version "$py")"
  if ! version_at_least 3.10 "$version"; then
    echo "error: CPython 3.10 or later is needed; $py is ${version:-not runnable}" >&2
    exit 1
  fi
  lacks="$(python_lacks "$py")"
  if [ -n "$lacks" ]; then
    echo "error: $py still lacks: $lacks" >&2
    exit 1
  fi
done
