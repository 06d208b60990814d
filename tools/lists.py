"""Lays out the model's declaration lists one entry per line, or with --check reports each list
that is laid out otherwise.

A list is the body of `#define QC_FIELDS(F)`, `QC_VARIANTS(V)` or `QC_VALUES(E)`, or of a
fragment that lists share (`#define QC_GROUPING_(F)`); an entry may name such a fragment. With
one entry that fits in a line it stays on the line of its #define; otherwise every entry takes a
line of its own, fenced from clang-format (which would join them), and a wire text is one
literal.
An enumeration value is named by its wire text in lower case, with a trailing `_` where that
is a C++ keyword; the check reports any other name (the layout cannot choose one).

    python tools/lists.py FILE...           # lay out in place
    python tools/lists.py --check FILE...   # change nothing; fail naming each list out of shape
"""

from __future__ import annotations

import re
import sys

COLUMNS = 100
DEFINE = re.compile(r"#define (QC_\w+)\(([FVE])\)")
FENCE_OFF = "// clang-format off"
FENCE_ON = "// clang-format on"


def entries(body: str, letter: str) -> list[str]:
    """The entries `X(...)` and fragments `QC_..._(X)` of a list body, each with its whitespace
    collapsed outside strings and adjacent string literals joined into one."""
    found = []
    i = 0
    while True:
        m = re.compile(rf"\b(?:{letter}|QC_\w+_)\(").search(body, i)
        if not m:
            return found
        depth, j, in_string = 0, m.end() - 1, False
        out = []
        while True:
            c = body[j]
            if in_string:
                out.append(c)
                if c == "\\":
                    out.append(body[j + 1])
                    j += 1
                elif c == '"':
                    in_string = False
            elif c == '"':
                # A literal right after another one continues it: "ROOT_MEAN_" "SQUARE".
                if out and out[-1] == '"':
                    out.pop()
                elif out and out[-1] == " " and len(out) > 1 and out[-2] == '"':
                    out[-2:] = []
                else:
                    out.append(c)
                in_string = True
            elif c.isspace():
                if out and out[-1] not in " (":
                    out.append(" ")
            else:
                if c in ",)" and out and out[-1] == " ":
                    out.pop()
                out.append(c)
                if c == "(":
                    depth += 1
                elif c == ")":
                    depth -= 1
                    if depth == 0:
                        break
            j += 1
        found.append(m.group(0)[:-1] + "".join(out))
        i = j + 1


def laid_out(head: str, items: list[str]) -> list[str]:
    """The lines of a list: its #define and entries, fenced when they take several lines."""
    if not items:
        return [head]
    if len(items) == 1 and len(head) + 1 + len(items[0]) <= COLUMNS:
        return [f"{head} {items[0]}"]
    lines = [head] + ["  " + e for e in items]
    width = max(len(line) for line in lines[:-1])
    body = [line.ljust(width) + " \\" for line in lines[:-1]] + [lines[-1]]
    return [FENCE_OFF, *body, FENCE_ON]


def lists(lines: list[str]):
    """Yields (first, end, head, letter): each list's line range, fences included, its
    `#define` and its parameter letter."""
    i = 0
    while i < len(lines):
        m = DEFINE.match(lines[i])
        if not m:
            i += 1
            continue
        first = i - 1 if i > 0 and lines[i - 1] == FENCE_OFF else i
        end = i
        while lines[end].endswith("\\"):
            end += 1
        end += 1
        if end < len(lines) and lines[end] == FENCE_ON:
            end += 1
        yield first, end, m.group(0), m.group(2)
        i = end


def layout(text: str) -> str:
    lines = text.split("\n")
    out, done = [], 0
    for first, end, head, letter in lists(lines):
        out += lines[done:first]
        body = "\n".join(
            line.rstrip("\\") for line in lines[first:end] if not line.startswith("// clang-format")
        )
        out += laid_out(head, entries(body[len(head) :], letter))
        done = end
    return "\n".join(out + lines[done:])


ENUMERATOR = re.compile(r'\bE\((\w+), "([^"]*)"\)')


def misnamed(text: str) -> list[str]:
    """The enumeration values of a text whose name is not their wire text in lower case."""
    return [
        f"{name} for {wire!r}"
        for name, wire in ENUMERATOR.findall(text)
        if name.rstrip("_") != wire.lower()
    ]


def main(argv: list[str]) -> int:
    check = bool(argv) and argv[0] == "--check"
    files = argv[1:] if check else argv
    wrong = []
    for path in files:
        with open(path, encoding="utf-8") as f:
            text = f.read()
        wrong += [
            f"{path}: enumeration value {name}: name it by its wire text in lower case"
            for name in misnamed(text)
        ]
        new = layout(text)
        if new == text:
            continue
        if check:
            old_lines = text.split("\n")
            for first, end, head, _ in lists(old_lines):
                if layout("\n".join(old_lines[first:end])) != "\n".join(old_lines[first:end]):
                    wrong.append(
                        f"{path}:{first + 1}: {head}: not one entry per line"
                        " (or a wire text split in two)"
                    )
        else:
            with open(path, "w", encoding="utf-8") as f:
                f.write(new)
    for fault in wrong:
        print(fault, file=sys.stderr)
    return 1 if wrong else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
