#!/usr/bin/env bash
# Installs what the build needs and the machine lacks: a C++20 compiler, CMake and Ninja,
# nlohmann::json, and (with --tests) GoogleTest. Safe to run again.
set -euo pipefail

packages=()
command -v g++ >/dev/null || packages+=(g++)
[ -f /usr/include/nlohmann/json.hpp ] || packages+=(nlohmann-json3-dev)
if [ "${1:-}" = "--tests" ]; then
  [ -d /usr/src/googletest ] || packages+=(libgtest-dev)
fi
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
