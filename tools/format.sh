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

mapfile -t files < <(find quarnel-compute quarnel-compute-python -type f \
  \( -name '*.h' -o -name '*.cc' \) | sort)
if [ "$check" -eq 0 ]; then
  clang-format-14 -i --style=file "${files[@]}"
  echo "formatted ${#files[@]} files"
  exit 0
fi
differ=()
for f in "${files[@]}"; do
  clang-format-14 --style=file "$f" | cmp -s - "$f" || differ+=("$f")
done
if [ ${#differ[@]} -gt 0 ]; then
  printf 'not formatted: %s\n' "${differ[@]}" >&2
  echo "error: ${#differ[@]} of ${#files[@]} C++ files differ from .clang-format;" \
    "run bash tools/format.sh" >&2
  exit 1
fi
echo "format: all ${#files[@]} C++ files match .clang-format"
