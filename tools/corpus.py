"""The shared random corpus: builds, from a fixed seed, a number of random expressions through
the public API of the installed package, and writes each one's to_json(), or the error its
call raised, one line each, to a file. Two builds of the package (two platforms, two compilers)
are compared by comparing their files byte for byte (--compare).

    python corpus.py OUT [--seed S] [--count N]
    python corpus.py --compare A B

The calls are taken from the package's stubs (_compute.pyi, installed beside the extension, or
else the tree's):
every module function, static method, method, operator and constructor they declare, each
argument made for the type its parameter is annotated with. Numbers are doubles of random bit
patterns (NaN payloads, subnormals, infinities and extremes among them) and ints at and beyond
the 32- and 64-bit limits; strings hold control characters, non-ASCII and astral characters
and lone surrogates; names of time units and data types are sometimes unknown; one argument in
twenty is of a wrong type. Objects made by earlier calls are the operands of later ones, so
trees grow several levels deep.

The file depends on nothing but the seed, the count and the package's behaviour: the script
uses the standard library alone, draws everything from random.Random(seed), builds doubles from
bits with struct, never iterates a set or a hash-ordered container, and writes every line as
ASCII JSON with "\\n" line ends. CPython 3.10 to 3.13 write the same file; a later version
might word the messages of its own conversions (index(), float()) differently.
"""

import argparse
import ast
import hashlib
import json
import operator
import os
import random
import re
import struct
import sys

C = None  # the extension, imported when a corpus is written (--compare needs none)

# Operators: the function that applies each, and whether the object goes on the right.
BINARY = {
    "add": operator.add,
    "sub": operator.sub,
    "mul": operator.mul,
    "truediv": operator.truediv,
    "floordiv": operator.floordiv,
    "mod": operator.mod,
    "pow": operator.pow,
    "and": operator.and_,
    "or": operator.or_,
    "xor": operator.xor,
}
COMPARE = {
    "__lt__": operator.lt,
    "__le__": operator.le,
    "__eq__": operator.eq,
    "__ne__": operator.ne,
    "__gt__": operator.gt,
    "__ge__": operator.ge,
}
UNARY = {"__neg__": operator.neg, "__invert__": operator.invert, "__pos__": operator.pos}

SPECIAL_DOUBLES = [
    0.0,
    -0.0,
    1.0,
    -1.0,
    0.1,
    2.5,
    float("inf"),
    float("-inf"),
    float("nan"),
    -float("nan"),
    5e-324,  # the smallest subnormal
    -5e-324,
    2.225073858507201e-308,  # the largest subnormal
    2.2250738585072014e-308,  # the smallest normal
    1.7976931348623157e308,  # the largest finite
    -1.7976931348623157e308,
    9007199254740992.0,  # 2**53
    9007199254740993.0,
    1e21,
    1e-7,
    123456789012345680.0,
    0.30000000000000004,
]
INT_EDGES = [0, 1, -1, 2, 7, 255, 2**31 - 1, -(2**31), 2**31, -(2**31) - 1, 2**32, 2**63 - 1]
INT_EDGES += [-(2**63), 2**63, 2**64, -(2**64), 2**70, -(2**100)]
# Characters strings are drawn from: ASCII, the C0 controls and DEL, quotes and backslashes,
# Latin-1, other planes of the BMP, astral characters, and lone surrogates.
CHAR_RANGES = [
    (0x20, 0x7E),
    (0x00, 0x1F),
    (0x7F, 0x7F),
    (0x22, 0x22),
    (0x5C, 0x5C),
    (0x80, 0xFF),
    (0x100, 0x7FF),
    (0x800, 0xD7FF),
    (0xE000, 0xFFFF),
    (0x10000, 0x10FFFF),
    (0xD800, 0xDFFF),
]
CHAR_WEIGHTS = [40, 8, 1, 3, 3, 6, 4, 4, 2, 4, 1]
POOL_SIZE = 48  # objects kept per class as operands
MAX_OPERAND_JSON = 3000  # larger objects are written but not reused


class Corpus:
    def __init__(self, seed):
        self.rng = random.Random(seed)
        self.pools = {}
        self.doubles = 0
        self.classes = [n for n in C.__all__ if isinstance(getattr(C, n), type)]
        self.aliases, self.entries = read_stubs(self.classes)
        # Entries that take a number are drawn three times as often: the doubles are the part
        # most likely to differ between platforms.
        self.weights = [
            3 if any("_Number" in ast.unparse(p[1]) for p in params) else 1
            for _, _, params, _ in self.entries
        ]

    # --- values ---------------------------------------------------------------------------

    def double(self):
        r = self.rng.random()
        if r < 0.65:
            self.doubles += 1
            return struct.unpack("<d", self.rng.getrandbits(64).to_bytes(8, "little"))[0]
        if r < 0.8:
            return self.rng.choice(SPECIAL_DOUBLES)
        if r < 0.88:  # subnormal
            self.doubles += 1
            bits = self.rng.getrandbits(52) | (self.rng.getrandbits(1) << 63)
            return struct.unpack("<d", bits.to_bytes(8, "little"))[0]
        if r < 0.95:
            return self.rng.randint(-1000, 1000) / self.rng.choice([1, 2, 4, 10, 1000])
        return float(self.rng.randint(-(2**60), 2**60))

    def integer(self):
        r = self.rng.random()
        if r < 0.6:
            return self.rng.randint(-100, 100000)
        if r < 0.85:
            return self.rng.choice(INT_EDGES)
        return self.rng.randint(-(2**80), 2**80)

    def number(self):
        r = self.rng.random()
        if r < 0.85:
            return self.double()
        if r < 0.98:
            return self.integer()
        return self.rng.choice([True, False])

    def text(self):
        length = self.rng.choice([0, 1, 1, 2, 3, 5, 8, 13, 40])
        out = []
        for _ in range(length):
            lo, hi = self.rng.choices(CHAR_RANGES, CHAR_WEIGHTS)[0]
            out.append(chr(self.rng.randint(lo, hi)))
        return "".join(out)

    def name(self, names):
        r = self.rng.random()
        if r < 0.85:
            return self.rng.choice(names)
        if r < 0.9:
            return self.rng.choice(names).upper()
        return self.text()

    def wrong(self):
        """A value of some type, likely not the one asked for."""
        kind = self.rng.randrange(8)
        if kind == 0:
            return None
        if kind == 1:
            return self.double()
        if kind == 2:
            return self.integer()
        if kind == 3:
            return self.text()
        if kind == 4:
            return [self.number() for _ in range(self.rng.randrange(3))]
        if kind == 5:
            return {self.text(): self.number()}
        if kind == 6:
            return b"bytes"
        return self.operand(self.rng.choice(self.classes))

    def operand(self, cls):
        pool = self.pools.get(cls)
        if not pool:
            return None
        return self.rng.choice(pool)

    def value(self, ann, depth=0):
        """A value for the annotation (an ast node), now and then of a wrong type."""
        if depth == 0 and self.rng.random() < 0.05:
            return self.wrong()
        if isinstance(ann, ast.BinOp):  # a | b: a number, where one is taken, two times in three
            options = flatten_union(ann)
            numbers = [o for o in options if ast.unparse(o) == "_Number"]
            if numbers and self.rng.random() < 2 / 3:
                return self.value(numbers[0], depth + 1)
            return self.value(self.rng.choice(options), depth + 1)
        if isinstance(ann, ast.Subscript) and ast.unparse(ann.value) == "Literal":
            return self.name([e.value for e in ann.slice.elts])
        if isinstance(ann, ast.Subscript):
            outer = ast.unparse(ann.value)
            inner = ann.slice
            count = self.rng.choice([0, 1, 1, 2, 2, 3, 4, 6, 10, 16])
            if outer == "Sequence":
                items = [self.value(inner, depth + 1) for _ in range(count)]
                return tuple(items) if self.rng.random() < 0.2 else items
            if outer == "dict":
                item = inner.elts[1]
                return {self.text(): self.value(item, depth + 1) for _ in range(count)}
            raise ValueError(f"unknown annotation {ast.unparse(ann)}")
        name = ast.unparse(ann)
        if name in self.aliases:
            return self.value(self.aliases[name], depth)
        if name in ("SupportsFloat", "float"):
            return self.double()
        if name in ("SupportsIndex", "int"):
            return self.integer()
        if name == "str":
            return self.text()
        if name == "None":
            return None
        if name == "object":
            return self.wrong()
        if name in self.classes:
            return self.operand(getattr(C, name))
        raise ValueError(f"unknown annotation {name}")

    # --- calls ----------------------------------------------------------------------------

    def call(self, entry):
        """Makes the arguments for an entry and calls it; returns (label, outcome)."""
        label, owner, params, fn = entry
        args, kwargs = [], {}
        if owner is not None:
            self_obj = self.operand(getattr(C, owner))
            if self_obj is None:
                return label, None
        for pname, ann, optional, positional in params:
            if optional and self.rng.random() < 0.4:
                continue  # left out: the default
            value = self.value(ann)
            if positional or kwargs or self.rng.random() < 0.7:
                if kwargs:  # a positional after a keyword: give it by keyword too
                    kwargs[pname] = value
                else:
                    args.append(value)
            else:
                kwargs[pname] = value
        try:
            if owner is None:
                result = fn(*args, **kwargs)
            else:
                result = fn(self_obj, *args, **kwargs)
        except (KeyboardInterrupt, SystemExit):
            raise
        except BaseException as e:  # the panic type derives from BaseException only
            return label, ("error", describe(e))
        return label, ("value", result)

    def line(self, index):
        while True:
            label, out = self.call(self.rng.choices(self.entries, self.weights)[0])
            if out is not None:
                break
        kind, result = out
        if kind == "value":
            if type(result) in [getattr(C, n) for n in self.classes]:
                try:
                    text = result.to_json()
                except (KeyboardInterrupt, SystemExit):
                    raise
                except BaseException as e:
                    kind, text = "error", "to_json: " + describe(e)
                else:
                    if len(text) <= MAX_OPERAND_JSON:
                        pool = self.pools.setdefault(type(result), [])
                        if len(pool) >= POOL_SIZE:
                            pool[self.rng.randrange(POOL_SIZE)] = result
                        else:
                            pool.append(result)
            else:
                text = f"{type(result).__name__}: {result!r}"
        else:
            text = result
        return "%d %s %s %s\n" % (index, label, kind, json.dumps(text))


def describe(e):
    """An exception as its type and message. The default repr of an object holds its address,
    the one part of a message that differs from run to run: it is left out."""
    return f"{type(e).__name__}: " + re.sub(r" at 0x[0-9a-fA-F]+>", " at 0x...>", str(e))


def flatten_union(ann):
    if isinstance(ann, ast.BinOp):
        return flatten_union(ann.left) + flatten_union(ann.right)
    return [ann]


def read_stubs(classes):
    """The type aliases, and the entries (label, owner class name or None, parameters, function)
    the stubs declare, in their order. A parameter is (name, annotation, optional,
    positional-only). Overloads of one name are merged: each parameter takes the union."""
    # The stubs installed beside the extension; else, for a module staged without them, the
    # tree's that this script sits in.
    path = os.path.join(os.path.dirname(C.__file__), "_compute.pyi")
    if not os.path.exists(path):
        tree = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
        path = os.path.join(tree, "quarnel-compute-python", "quarnel", "compute", "_compute.pyi")
    with open(path, encoding="utf-8") as f:
        tree = ast.parse(f.read())
    aliases, entries, seen = {}, [], {}

    def add(label, owner, fn_node, fn):
        a = fn_node.args
        positional_only = [(p, True) for p in a.posonlyargs]
        plain = [(p, False) for p in a.args]
        every = positional_only + plain
        defaults = [None] * (len(every) - len(a.defaults)) + list(a.defaults)
        params = []
        for (p, pos), default in zip(every, defaults):
            if p.arg in ("self", "cls"):
                continue
            params.append([p.arg, p.annotation, default is not None, pos])
        if label in seen:  # an overload: widen each parameter's annotation
            for old, new in zip(seen[label][2], params):
                old[1] = ast.BinOp(old[1], ast.BitOr(), new[1])
            return
        seen[label] = (label, owner, params, fn)
        entries.append(seen[label])

    for node in tree.body:
        if isinstance(node, ast.AnnAssign) and ast.unparse(node.annotation) == "TypeAlias":
            aliases[node.target.id] = node.value
        elif isinstance(node, ast.FunctionDef):
            add(node.name, None, node, getattr(C, node.name))
        elif isinstance(node, ast.ClassDef) and node.name in classes:
            cls = getattr(C, node.name)
            for member in node.body:
                if not isinstance(member, ast.FunctionDef):
                    continue
                name = member.name
                label = f"{node.name}.{name}"
                static = any(ast.unparse(d) == "staticmethod" for d in member.decorator_list)
                if name == "to_json":
                    continue
                if name == "__new__":
                    first = (member.args.posonlyargs + member.args.args)[1]
                    if ast.unparse(first.annotation) == "Never":
                        continue
                    add(label, None, member, cls)
                elif static:
                    add(label, None, member, getattr(cls, name))
                elif name in COMPARE:
                    add(label, node.name, member, COMPARE[name])
                elif name in UNARY:
                    add(label, node.name, member, UNARY[name])
                elif name.startswith("__r") and name[3:-2] in BINARY:
                    op = BINARY[name[3:-2]]
                    add(label, node.name, member, lambda self, other, *_, op=op: op(other, self))
                elif name.startswith("__") and name[2:-2] in BINARY:
                    op = BINARY[name[2:-2]]
                    add(label, node.name, member, lambda self, other, *_, op=op: op(self, other))
                elif name.startswith("__"):
                    continue
                else:
                    add(label, node.name, member, getattr(cls, name))
    # An operator's modulus (pow's third argument) is not passed: drop it.
    for entry in entries:
        entry[2][:] = [p for p in entry[2] if p[0] != "mod"]
    return aliases, entries


def write(path, seed, count):
    global C
    from quarnel.compute import _compute as C

    corpus = Corpus(seed)
    digest = hashlib.sha256()
    with open(path, "w", encoding="ascii", newline="\n") as out:
        head = f"corpus seed={seed} count={count} entries={len(corpus.entries)}\n"
        out.write(head)
        digest.update(head.encode())
        errors = 0
        for i in range(count):
            text = corpus.line(i)
            errors += " error " in text.split('"', 1)[0]
            out.write(text)
            digest.update(text.encode())
    print(
        f"corpus: {count} expressions ({count - errors} built, {errors} errors), "
        f"{corpus.doubles} doubles of random bits, {len(corpus.entries)} entries; "
        f"sha256 {digest.hexdigest()}",
        file=sys.stderr,
    )


def compare(a, b):
    """0 if the files are equal; else 1, with both hashes and the first line that differs."""
    with open(a, "rb") as f:
        da = f.read()
    with open(b, "rb") as f:
        db = f.read()
    ha, hb = hashlib.sha256(da).hexdigest(), hashlib.sha256(db).hexdigest()
    if da == db:
        print(f"corpus: {a} and {b} are identical (sha256 {ha})")
        return 0
    print(f"corpus: {a} and {b} differ\n  {a}: sha256 {ha}\n  {b}: sha256 {hb}")
    la, lb = da.split(b"\n"), db.split(b"\n")
    for n, (x, y) in enumerate(zip(la, lb), 1):
        if x != y:
            print(f"first difference, line {n}:\n  {a}: {x.decode()}\n  {b}: {y.decode()}")
            break
    else:
        print(f"one file ends early: {len(la)} lines against {len(lb)}")
    return 1


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("out", nargs="?", help="the file to write")
    parser.add_argument("--seed", type=int, default=20261207)
    parser.add_argument("--count", type=int, default=20000)
    parser.add_argument("--compare", nargs=2, metavar=("A", "B"))
    args = parser.parse_args()
    if args.compare:
        return compare(*args.compare)
    if not args.out:
        parser.error("give the output file, or --compare A B")
    write(args.out, args.seed, args.count)
    return 0


if __name__ == "__main__":
    sys.exit(main())
