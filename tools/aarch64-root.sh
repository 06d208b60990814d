#!/usr/bin/env bash
# Makes, once, the Debian arm64 root that tests the aarch64 wheel under qemu-user emulation, and
# prints its path. The root holds Debian's CPython 3.11 and a venv at /opt/venv with pytest and
# hypothesis from PyPI (Debian's own are too old for the suite).
#
# The root is cached by a key: the hash of this script, which names every package and pin that
# goes in, so that a change to either makes a new root. It lives in
#   ${QC_AARCH64_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/quarnel-compute}/aarch64-root-KEY
# outside the tree, so a fresh clone on the same machine (as CI's is) finds it; build/aarch64-root
# in the tree links to it. Roots of older keys are removed when a new one is made.
#
# Needs root (mmdebstrap and chroot), mmdebstrap, qemu-user-static and binfmt-support; they are
# installed if missing. Only Debian's repositories (the host's apt sources) and PyPI are used.
# Nothing runs pip under emulation: the host's pip fetches the arm64 wheels into the root.
# Making a root takes about two minutes (most of it dpkg configuring packages under emulation;
# eatmydata gained nothing over dpkg's unsafe-io here); a cached one is found at once.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/lib.sh

PYTHON_PINS=(pytest==9.2.0 hypothesis==6.170.27)
DEBIAN_PACKAGES=python3

script_hash=$(sha256sum "${BASH_SOURCE[0]}" | cut -c1-16)
cache=${QC_AARCH64_CACHE:-${XDG_CACHE_HOME:-${HOME:-/root}/.cache}/quarnel-compute}
root="$cache/aarch64-root-$script_hash"

log() { echo "aarch64-root: $*" >&2; }

# Registers qemu for arm64 executables, with the F flag (binfmt-support's default for
# qemu-user-static), so that the chroot needs no copy of qemu inside.
ensure_binfmt() {
  local missing=()
  command -v mmdebstrap >/dev/null || missing+=(mmdebstrap)
  command -v qemu-aarch64-static >/dev/null || missing+=(qemu-user-static)
  command -v update-binfmts >/dev/null || missing+=(binfmt-support)
  if ((${#missing[@]})); then
    log "installing ${missing[*]}"
    flock /tmp/apt.lock sh -c "apt-get update -qq && apt-get install -y -qq ${missing[*]}" >&2
  fi
  if [ ! -e /proc/sys/fs/binfmt_misc/status ]; then
    mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
  fi
  if [ ! -e /proc/sys/fs/binfmt_misc/qemu-aarch64 ]; then
    update-binfmts --enable qemu-aarch64 >&2
  fi
  grep -qx enabled /proc/sys/fs/binfmt_misc/qemu-aarch64 || {
    log "qemu-aarch64 is registered but disabled in binfmt_misc"
    exit 1
  }
}

# The host's Debian sources, so that the root comes from the same repositories as the host.
apt_sources() {
  if [ -n "${QC_AARCH64_SOURCES:-}" ]; then
    echo "$QC_AARCH64_SOURCES"
  elif [ -s /etc/apt/sources.list.d/debian.sources ]; then
    echo /etc/apt/sources.list.d/debian.sources
  else
    echo /etc/apt/sources.list
  fi
}

make_root() {
  local tmp="$root.tmp.$$"
  rm -rf --one-file-system "$tmp"
  trap 'rm -rf --one-file-system "$tmp"' EXIT
  local start=$SECONDS
  log "making $root"
  # minbase with python3 alone; documentation and translations are left out, dpkg skips its
  # syncs, and apt's lists are dropped afterwards (the root is never upgraded, only remade).
  mmdebstrap --variant=minbase --architectures=arm64 --include="$DEBIAN_PACKAGES" \
    --dpkgopt=force-unsafe-io \
    --dpkgopt='path-exclude=/usr/share/man/*' --dpkgopt='path-exclude=/usr/share/doc/*' \
    --dpkgopt='path-exclude=/usr/share/locale/*' --dpkgopt='path-exclude=/usr/share/info/*' \
    --customize-hook='rm -rf "$1"/var/lib/apt/lists/* "$1"/var/cache/apt/*' \
    --quiet bookworm "$tmp" "$(apt_sources)" </dev/null >&2
  log "debian root: $((SECONDS - start)) s"

  local py
  py=$(chroot "$tmp" /usr/bin/python3 -c 'import sys; print("%d.%d" % sys.version_info[:2])')
  chroot "$tmp" /usr/bin/python3 -m venv --without-pip /opt/venv
  # The host's pip (in a venv of its own) resolves for the guest (CPython $py on manylinux2014
  # aarch64) and writes into the guest venv's site-packages.
  bash tools/deps.sh --python >&2
  local host_venv="$PWD/build/venv-aarch64-root"
  ensure_venv "$host_venv" "$PY" >&2
  "$host_venv/bin/python" -m pip install -q --no-compile --root-user-action=ignore \
    --only-binary=:all: --implementation cp --python-version "$py" --platform manylinux2014_aarch64 \
    --target "$tmp/opt/venv/lib/python$py/site-packages" "${PYTHON_PINS[@]}" >&2
  chroot "$tmp" /opt/venv/bin/python -c 'import platform, pytest, hypothesis
assert platform.machine() == "aarch64", platform.machine()
print("aarch64-root: python", platform.python_version(), "pytest", pytest.__version__,
      "hypothesis", hypothesis.__version__)' >&2

  touch "$tmp/.complete"
  mv "$tmp" "$root"
  trap - EXIT
  log "made in $((SECONDS - start)) s"
}

ensure_binfmt
mkdir -p "$cache"
exec 9>"$cache/aarch64-root.lock"
flock 9
if [ ! -e "$root/.complete" ]; then
  rm -rf --one-file-system "$root"
  make_root
  for old in "$cache"/aarch64-root-*; do
    [ "$old" = "$root" ] || [ ! -d "$old" ] || [[ $old == *.lock ]] || rm -rf --one-file-system "$old"
  done
fi
mkdir -p build
ln -sfn "$root" build/aarch64-root
echo "$root"
