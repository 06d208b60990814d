"""Python's binary operators by their symbols: the one table of them that the tests and the
typing checks try every operand with. The classes define some of them; the rest must be refused
by the interpreter and by the stubs alike."""

import operator

ARITHMETIC = {
    "+": operator.add,
    "-": operator.sub,
    "*": operator.mul,
    "/": operator.truediv,
    "//": operator.floordiv,
    "%": operator.mod,
    "**": operator.pow,
    "@": operator.matmul,
}
BITWISE = {
    "&": operator.and_,
    "|": operator.or_,
    "^": operator.xor,
    "<<": operator.lshift,
    ">>": operator.rshift,
}
COMPARISONS = {
    "<": operator.lt,
    "<=": operator.le,
    "==": operator.eq,
    "!=": operator.ne,
    ">": operator.gt,
    ">=": operator.ge,
}
OPERATORS = {**ARITHMETIC, **BITWISE, **COMPARISONS}
# The two that fall back to identity when both operands decline, rather than raise.
IDENTITY = ("==", "!=")
