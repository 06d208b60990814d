#!/usr/bin/env bash
# Formats the C++ sources (*.h, *.cc) with the project's .clang-format and the Python sources
# with ruff (settings in pyproject.toml), in place. With --check it changes nothing and fails,
# naming each file that differs from the formatted text and each fault that ruff's linter finds.
# It runs in the format (or format-check) session of noxfile.py, which holds clang-format and
# ruff, pinned: other releases lay out the same settings differently (run alone, it starts that
# session). The formatter leaves macro bodies as written (the model's declaration lists, one
# entry per line: model/decl.h), and one pass is final.
set -euo pipefail
cd "$(dirname "$0")/.."

check=0
session=format
case "${1:-}" in
  --check) check=1 session=format-check ;;
  "") ;;
  *) echo "usage: tools/format.sh [--check]" >&2; exit 2 ;;
esac
[ "${NOX_CURRENT_SESSION:-}" = "$session" ] || exec bash tools/nox.sh -s "$session"

# The Python sources: the linter's findings fail either way; without --check the formatter
# rewrites the files.
if [ "$check" -eq 1 ]; then
  ruff format --check --quiet . || {
    echo "error: Python files differ from ruff's format; run bash tools/format.sh" >&2
    exit 1
  }
else
  ruff format --quiet .
fi
ruff check --quiet .
echo "format: the Python sources match ruff's format and pass its linter"

mapfile -t files < <(find quarnel-compute quarnel-compute-python tools/stubgen -type f \
  \( -name '*.h' -o -name '*.cc' \) | sort)

if [ "$check" -eq 0 ]; then
  clang-format -i --style=file "${files[@]}"
  echo "format: all ${#files[@]} C++ files formatted"
  exit 0
fi
differ=()
for f in "${files[@]}"; do
  clang-format --style=file "$f" | cmp -s - "$f" || differ+=("$f")
done
if [ ${#differ[@]} -gt 0 ]; then
  printf 'not formatted: %s\n' "${differ[@]}" >&2
  echo "error: ${#differ[@]} of ${#files[@]} C++ files differ from .clang-format;" \
    "run bash tools/format.sh" >&2
  exit 1
fi
echo "format: all ${#files[@]} C++ files match .clang-format"
