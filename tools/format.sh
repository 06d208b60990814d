#!/usr/bin/env bash
# Formats the C++ sources (*.h, *.cc) with the project's .clang-format, in place. With --check
# it changes nothing and fails, naming each file that differs from the formatted text.
# clang-format 14 is pinned: other releases lay out the same settings differently.
set -euo pipefail
cd "$(dirname "$0")/.."

check=0
case "${1:-}" in
  --check) check=1 ;;
  "") ;;
  *) echo "usage: tools/format.sh [--check]" >&2; exit 2 ;;
esac
command -v clang-format-14 >/dev/null || bash tools/deps.sh --format

# Prints each of the files given whose text differs from what clang-format makes of it.
differing() {
  local f
  for f in "$@"; do clang-format-14 --style=file "$f" | cmp -s - "$f" || echo "$f"; done
}

mapfile -t files < <(find quarnel-compute quarnel-compute-python -type f \
  \( -name '*.h' -o -name '*.cc' \) | sort)
if [ "$check" -eq 1 ]; then
  mapfile -t differ < <(differing "${files[@]}")
  if [ ${#differ[@]} -gt 0 ]; then
    printf 'not formatted: %s\n' "${differ[@]}" >&2
    echo "error: ${#differ[@]} of ${#files[@]} C++ files differ from .clang-format;" \
      "run bash tools/format.sh" >&2
    exit 1
  fi
  echo "format: all ${#files[@]} C++ files match .clang-format"
  exit 0
fi

# One pass does not always reach clang-format's fixed point (long declaration tables are
# re-aligned over several), and the check compares against a single pass: so format until
# a pass changes nothing.
pending=("${files[@]}")
for pass in $(seq 1 20); do
  mapfile -t pending < <(differing "${pending[@]}")
  if [ ${#pending[@]} -eq 0 ]; then
    echo "format: all ${#files[@]} C++ files match .clang-format ($((pass - 1)) passes)"
    exit 0
  fi
  clang-format-14 -i --style=file "${pending[@]}"
done
printf 'still changing: %s\n' "${pending[@]}" >&2
echo "error: clang-format did not settle after 20 passes" >&2
exit 1
