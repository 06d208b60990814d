"""Writes the stubs of `_compute` and the reference page from the binding's own description.

    generate.py DESCRIPTION.json [--check]

DESCRIPTION.json is what describe_bindings prints: every class, method, slot and module
function of the tables `_compute` is built from, with each parameter's type and words, each
result's class and each line's texts, all as the binding states them. With --check nothing is
written, and the exit status says whether the checked-in files are current.
"""

import argparse
import ast
import json
import subprocess
import sys
import textwrap
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
PACKAGE = ROOT / "quarnel-compute-python/quarnel/compute"
PYI = PACKAGE / "_compute.pyi"
# The package's own types, written by hand beside the extension's stubs.
TYPING_PYI = PACKAGE / "_typing.pyi"
REFERENCE = ROOT / "docs/reference.md"

NUMBER = "_Number"

MODULE = """Typed builders for time-series compute expressions.

Every call builds one immutable node of an expression tree and returns a new object holding
it; nothing is evaluated. `to_json()` of any object writes its tree as compact JSON in the
wire form: a node of a union is {"type": variant, variant: payload}."""

# Binary operator slots: the dunder's stem, the operator, the wire variant built, what it gives.
BINARY_SLOTS = {
    "nb_add": ("add", "+", "add", "the sum"),
    "nb_subtract": ("sub", "-", "subtract", "the difference"),
    "nb_multiply": ("mul", "*", "multiply", "the product"),
    "nb_true_divide": ("truediv", "/", "divide", "the quotient"),
    "nb_floor_divide": ("floordiv", "//", "floorDivide", "the floor of the quotient"),
    "nb_remainder": ("mod", "%", "modulo", "the remainder"),
    "nb_power": ("pow", "**", "power", "the power (pow() with a modulus is refused)"),
    "nb_and": ("and", "&", "and", "where both hold"),
    "nb_or": ("or", "|", "or", "where either holds"),
}
# The comparisons of the rich-comparison slot: operator and wire variant built.
COMPARISONS = {
    "__lt__": ("<", "lessThan"),
    "__le__": ("<=", "lessThanOrEqualTo"),
    "__eq__": ("==", "equalTo"),
    "__ne__": ("!=", "notEqualTo"),
    "__gt__": (">", "greaterThan"),
    "__ge__": (">=", "greaterThanOrEqualTo"),
}

BINDING = "quarnel-compute-python/src/classes"
# Filled by main(): what a parameter means by its name (param_texts.h).
PARAM_TEXTS = {}


def article(name):
    return ("an " if name[0] in "AEIOU" else "a ") + name


def entry_of(line, owner):
    """A table line of the description as one entry: its form and its texts."""
    entry = {**line["form"], **{k: v for k, v in line.items() if k != "form"}, "owner": owner}
    if not entry["text"] and entry["name"] != "__new__":
        raise SystemExit(
            f"generate.py: {owner}{entry['name']} says nothing: give its table line an About"
            f" with a .text (and .node, the wire variant it builds) in {BINDING}/"
        )
    return entry


def param_text(entry, p):
    own = dict(line.split(": ", 1) for line in (entry["args"] or "").split("\n") if ": " in line)
    meaning = own.get(p["name"]) or PARAM_TEXTS.get(p["name"])
    if meaning is None:
        raise SystemExit(
            f"generate.py: no meaning for the parameter {p['name']!r} of "
            f'{entry["owner"]}{entry["name"]}: add {{"{p["name"]}", "..."}} to '
            f'{BINDING}/param_texts.h, or "{p["name"]}: ..." to the line\'s About .args'
        )
    return f"{p['name']}: {meaning}; {p['said']}."


def builder_doc(entry, result):
    variant, summary, example = entry["node"], entry["text"], entry["example"]
    parts = [summary]
    if variant:
        parts.append(f'Builds the {result} node "{variant}".')
    elif result != "str":
        parts.append(f"Makes {article(result)}.")
    if entry["params"]:
        lines = ["Args:"]
        for p in entry["params"]:
            lines += textwrap.wrap(
                param_text(entry, p), 84, initial_indent="    ", subsequent_indent="        "
            )
        parts.append("\n".join(lines))
    if example:
        parts.append("Example:\n" + textwrap.indent(example, "    "))
    return "\n\n".join(parts)


def docstring(text, indent):
    # Prose paragraphs are filled to the line length; argument lists and examples are kept.
    width = 93 - len(indent)
    paragraphs = [
        p if p.startswith(("Args:", "Example:")) else textwrap.fill(" ".join(p.split()), width)
        for p in text.split("\n\n")
    ]
    text = "\n\n".join(paragraphs)
    body = textwrap.indent(text, indent).lstrip()
    return f'{indent}"""{body}\n{indent}"""\n' if "\n" in text else f'{indent}"""{text}"""\n'


def params_source(entry, first):
    out = [first] if first else []
    for p in entry["params"]:
        out.append(f"{p['name']}: {p['type']}" + (" = None" if p["optional"] else ""))
    return ", ".join(out)


def function_source(entry, indent, first, name=None):
    result = entry["result"]
    head = f"{indent}@staticmethod\n" if first is None else ""
    line = f"{indent}def {name or entry['name']}({params_source(entry, first)}) -> {result}:\n"
    src = head + line + docstring(builder_doc(entry, result), indent + "    ")
    if "_SeriesDict" not in line:
        return src
    # A dict is invariant in its values: a dict display of mixed series matches the first
    # overload, a variable of one series class one of the others.
    overloads = [src] + [
        head + line.replace("_SeriesDict", f"dict[str, {classes}]") + f"{indent}    ...\n"
        for classes in series_subsets()[:-1]
    ]
    return "".join(f"{indent}@overload\n" + o for o in overloads).replace(
        "_SeriesDict", "dict[str, _Series]", 1
    )


# The other operand of a class's operator slots: for NumericSeries what its builders' series
# parameters take (a series or a number), for the others an object of the class.
def slot_operand(name):
    if name == "NumericSeries":
        return f"{name} | {NUMBER}", "a NumericSeries or a number (a constant series)"
    return name, article(name)


def slot_sources(cls, slot):
    """(dunder, parameters after self, result, docstring, overloaded) for each dunder a slot
    makes."""
    name = cls["name"]
    operand, what = slot_operand(name)
    if slot == "tp_new":
        return []  # the constructor, from its own description
    if slot == "nb_negative":
        field = '"x"' if name == "NumericSeries" else '"input"'
        return [
            (
                "__neg__",
                "",
                name,
                f'`-self`: builds the {name} node "negate" ({field}: self).',
                False,
            )
        ]
    if slot in BINARY_SLOTS:
        stem, op, variant, meaning = BINARY_SLOTS[slot]
        mod = ", mod: None = None" if slot == "nb_power" else ""
        left, right = ('"base"', '"exponent"') if slot == "nb_power" else ('"left"', '"right"')
        out = []
        for prefix, first, second in (("", "self", "other"), ("r", "other", "self")):
            text = (
                f'`{first} {op} {second}`: {meaning}; builds the {name} node "{variant}" '
                f"({left}: {first}, {right}: {second}).\n\nother: {what}."
            )
            out.append((f"__{prefix}{stem}__", f"other: {operand}{mod}", name, text, False))
        return out
    if slot == "tp_richcompare":
        out = []
        for dunder, (op, variant) in COMPARISONS.items():
            text = (
                f'`self {op} other`: builds the BooleanSeries node "{variant}" ("left": self, '
                f'"right": other).\n\nother: {what}.'
            )
            if dunder not in ("__eq__", "__ne__"):
                out.append((dunder, f"other: {operand}", "BooleanSeries", text, False))
                continue
            # Any other object is compared by the interpreter, by identity.
            other = (
                f"`self {op} other` with any other object: compared by identity, as objects are."
            )
            out.append((dunder, f"other: {operand}", "BooleanSeries", text, True))
            out.append((dunder, "other: object", "bool", other, True))
        return out
    raise SystemExit(
        f"generate.py: slot {slot} of {name} unknown: give it its dunders in slot_sources"
    )


def class_source(cls):
    name = cls["name"]
    if not cls["about"]:
        raise SystemExit(
            f"generate.py: the class {name} says nothing: give the ClassDef of its class file"
            f" in {BINDING}/ an .about"
        )
    src = f"@final\nclass {name}:\n" + docstring(cls["about"], "    ")
    if cls["constructor"]:
        constructor = entry_of(cls["constructor"], f"{name}.")
        src += "\n" + function_source(constructor, "    ", "cls", "__new__").replace(
            "    @staticmethod\n", "", 1
        )
    else:
        # The class refuses to be called; a parameter no value fits makes checkers refuse too.
        src += f"\n    def __new__(cls, cannot_be_called: Never, /) -> {name}:\n"
        src += docstring(
            "Not callable (TypeError): the objects come from the module's methods, functions "
            "and operators.",
            "        ",
        )
    for line in cls["methods"]:
        m = entry_of(line, f"{name}.")
        src += "\n" + function_source(m, "    ", None if m["static"] else "self")
    for slot in cls["slots"]:
        for dunder, params, result, text, overloaded in slot_sources(cls, slot):
            sig = f"self, {params}, /" if params else "self"
            # Comparing into a BooleanSeries is what the class does, object's __eq__ aside.
            ignore = (
                "  # type: ignore[override, overload-overlap]" if result == "BooleanSeries" else ""
            )
            src += "\n    @overload\n" if overloaded else "\n"
            src += f"    def {dunder}({sig}) -> {result}:{ignore if overloaded else ''}\n"
            src += docstring(text, "        ")
        if slot == "tp_richcompare":
            src += "\n    __hash__: ClassVar[None]  # type: ignore[assignment]\n"
            src += docstring("Unhashable: the class compares by building nodes.", "    ")
    return src


HEADER = '''"""{module}"""

# Generated by tools/stubgen from the binding's tables; edit the tables, never this file.

from collections.abc import Sequence
from typing import (
    ClassVar,
    Literal,
    SupportsFloat,
    SupportsIndex,
    TypeAlias,
    final,
    overload,
)

from typing_extensions import Never

__all__ = [{all}]

# What the float conversion takes: a float, an int, a bool, or an object with __float__ or
# __index__.
_Number: TypeAlias = SupportsFloat | SupportsIndex
_TimeUnit: TypeAlias = Literal[{time_units}]
_DataType: TypeAlias = Literal[{data_types}]
_Series: TypeAlias = NumericSeries | CategoricalSeries | StructSeries
'''


def series_subsets():
    classes = ["NumericSeries", "CategoricalSeries", "StructSeries"]
    subsets = [
        " | ".join(c for i, c in enumerate(classes) if mask >> i & 1) for mask in range(1, 8)
    ]
    return sorted(subsets, key=len)


def stubs(description):
    names = public_names(description)
    src = HEADER.format(
        module=MODULE,
        all=", ".join(f'"{n}"' for n in names),
        time_units=", ".join(f'"{n}"' for n in description["time_units"]),
        data_types=", ".join(f'"{n}"' for n in description["data_types"]),
    )
    for cls in description["classes"]:
        src += "\n\n" + class_source(cls)
    for line in description["functions"]:
        src += "\n\n" + function_source(entry_of(line, ""), "", "")
    return src


def public_names(description):
    classes = [c["name"] for c in description["classes"]]
    return classes + [f["form"]["name"] for f in description["functions"]]


def reference(pyi, typing_pyi):
    """The reference page, read back from the stubs' source and the package's own types."""
    tree = ast.parse(pyi)
    own = [n for n in ast.parse(typing_pyi).body if isinstance(n, ast.ClassDef)]
    out = [
        "# quarnel.compute reference",
        "",
        "Generated from `quarnel/compute/_compute.pyi` and `_typing.pyi` by `tools/stubgen`; do "
        "not edit.",
        "",
        ast.get_docstring(tree),
        "",
        "A *number* is what Python's float conversion takes: a float, an int, a bool, or an "
        "object with `__float__` or `__index__`. An *int* is narrowed to 32 bits when the node "
        "is built; beyond that range the call raises PanicException.",
        "",
    ]

    aliases = [
        f"- `{ast.unparse(n.target)}` = `{ast.unparse(n.value)}`"
        for n in tree.body
        if isinstance(n, ast.AnnAssign) and ast.unparse(n.annotation) == "TypeAlias"
    ]
    out += ["The private type names of the signatures:", "", *aliases, ""]

    def entry(defs, owner, level):
        # Overloads share one entry: every signature, then the first one's docstring.
        signatures = [
            f"{owner}{fn.name}({ast.unparse(fn.args)}) -> {ast.unparse(fn.returns)}" for fn in defs
        ]
        doc = ast.get_docstring(defs[0])
        out.extend([f"{'#' * level} `{owner}{defs[0].name}`", "", "```python", *signatures])
        out.extend(["```", "", doc, ""])

    def grouped(body):
        groups = {}
        for fn in body:
            if isinstance(fn, ast.FunctionDef):
                groups.setdefault(fn.name, []).append(fn)
        return groups.values()

    classes = [n for n in tree.body if isinstance(n, ast.ClassDef)]
    functions = list(grouped(tree.body))
    out += ["## Classes", ""] + [f"- [{c.name}](#{c.name.lower()})" for c in classes]
    out += ["", "## Module functions", ""]
    out += [f"- [{f[0].name}](#{f[0].name.lower()})" for f in functions] + [""]
    out += ["## Types of the package", ""] + [f"- [{c.name}](#{c.name.lower()})" for c in own]
    out += [""]

    def class_entries(c):
        out.extend([f"## {c.name}", "", ast.get_docstring(c), ""])
        for defs in grouped(c.body):
            entry(defs, f"{c.name}.", 3)

    for c in classes:
        class_entries(c)
    out += ["## Module functions", ""]
    for defs in functions:
        entry(defs, "", 3)
    for c in own:
        class_entries(c)
    return "\n".join(out).rstrip() + "\n"


def laid_out(text, path, ruff):
    """The text as the project's formatter and import sorter lay it out, so that their check
    and this one agree."""
    for command in (["check", "--fix", "--select", "I", "--quiet"], ["format"]):
        text = subprocess.run(
            [ruff, *command, "--stdin-filename", str(path), "-"],
            input=text,
            capture_output=True,
            text=True,
            check=True,
            cwd=ROOT,
        ).stdout
    return text


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("description")
    parser.add_argument("--check", action="store_true")
    parser.add_argument("--ruff", required=True, help="the ruff that tools/format.sh pins")
    args = parser.parse_args()
    description = json.loads(Path(args.description).read_text())
    PARAM_TEXTS.update(description["params"])
    pyi = laid_out(stubs(description), PYI, args.ruff)
    ref = reference(pyi, TYPING_PYI.read_text())
    stale = []
    for path, text in ((PYI, pyi), (REFERENCE, ref)):
        if args.check:
            if not path.exists() or path.read_text() != text:
                stale.append(path.relative_to(ROOT))
        else:
            path.parent.mkdir(parents=True, exist_ok=True)
            path.write_text(text)
    if stale:
        print("error: not current, run bash tools/stubgen.sh:", *stale, file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
