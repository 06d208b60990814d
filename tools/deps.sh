#!/usr/bin/env bash
# Installs what the build needs and the machine lacks: a C++20 compiler, CMake and Ninja,
# nlohmann::json, with --tests GoogleTest, and with --hardening clang 14 and its runtimes
# (libFuzzer and the sanitizers) for the fuzz targets. Safe to run again.
set -euo pipefail

packages=()
command -v g++ >/dev/null || packages+=(g++)
[ -f /usr/include/nlohmann/json.hpp ] || packages+=(nlohmann-json3-dev)
for flag in "$@"; do
  case "$flag" in
    --tests) [ -d /usr/src/googletest ] || packages+=(libgtest-dev) ;;
    --hardening)
      command -v clang++-14 >/dev/null || packages+=(clang-14)
      compgen -G "/usr/lib/llvm-14/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a" >/dev/null ||
        packages+=(libclang-rt-14-dev)
      ;;
    *) echo "deps.sh: unknown option $flag" >&2; exit 2 ;;
  esac
done
if [ ${#packages[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "installing Debian packages: ${packages[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${packages[@]}" >/dev/null
fi

PY="${PYTHON:-python3}"
need_pip=()
command -v cmake >/dev/null || need_pip+=(cmake)
command -v ninja >/dev/null || need_pip+=(ninja)
if [ ${#need_pip[@]} -gt 0 ]; then
  "$PY" -m pip install -q "${need_pip[@]}"
fi
