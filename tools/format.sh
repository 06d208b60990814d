#!/usr/bin/env bash
# Formats the C++ sources (*.h, *.cc) with the project's .clang-format, after laying out their
# declaration lists one entry per line (tools/lists.py), and the Python sources with ruff
# (settings in pyproject.toml), in place. With --check it changes nothing and fails, naming each
# file that differs from the formatted text, each list out of shape, and each fault that ruff's
# linter finds.
# clang-format 14 and one ruff release are pinned: other releases lay out the same settings
# differently.
set -euo pipefail
cd "$(dirname "$0")/.."

check=0
case "${1:-}" in
  --check) check=1 ;;
  "") ;;
  *) echo "usage: tools/format.sh [--check]" >&2; exit 2 ;;
esac
command -v clang-format-14 >/dev/null || bash tools/deps.sh --format
source tools/lib.sh
bash tools/deps.sh --python
tools_venv="$PWD/build/venv-tools"
ensure_venv "$tools_venv" "$PY" ruff==0.17.6
ruff="$tools_venv/bin/ruff"

# The Python sources: the linter's findings fail either way; without --check the formatter
# rewrites the files.
if [ "$check" -eq 1 ]; then
  "$ruff" format --check --quiet . || {
    echo "error: Python files differ from ruff's format; run bash tools/format.sh" >&2
    exit 1
  }
else
  "$ruff" format --quiet .
fi
"$ruff" check --quiet .
echo "format: the Python sources match ruff's format and pass its linter"

# Prints each of the files given whose text differs from what clang-format makes of it.
differing() {
  local f
  for f in "$@"; do clang-format-14 --style=file "$f" | cmp -s - "$f" || echo "$f"; done
}

mapfile -t files < <(find quarnel-compute quarnel-compute-python tools/stubgen -type f \
  \( -name '*.h' -o -name '*.cc' \) | sort)

# The declaration lists, one entry per line, fenced from clang-format (tools/lists.py).
if [ "$check" -eq 1 ]; then
  "$tools_venv/bin/python" tools/lists.py --check "${files[@]}" || {
    echo "error: declaration lists out of shape; run bash tools/format.sh" >&2
    exit 1
  }
  echo "format: every declaration list has one entry per line"
else
  "$tools_venv/bin/python" tools/lists.py "${files[@]}"
fi

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

# One pass does not always reach clang-format's fixed point, and the check compares against a
# single pass: so format until a pass changes nothing.
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
