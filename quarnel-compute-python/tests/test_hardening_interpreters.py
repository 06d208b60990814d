"""Several interpreters in one process: the module's classes are made once for the process, so
the module belongs to the first interpreter that imports it. An import from any other is
refused with ImportError and leaves nothing behind; the first goes on as if nothing happened.
Each case runs in a child process, so that a crash fails the case and not the run."""

import importlib.util
import textwrap

import pytest
from hostile import child

if not any(importlib.util.find_spec(m) for m in ("_interpreters", "_xxsubinterpreters")):
    pytest.skip("no module to make sub-interpreters", allow_module_level=True)

PRELUDE = r'''
import gc, sys
try:
    import _interpreters as I
    make = lambda: I.create(I.new_config("legacy"))  # noqa: E731
    def run(i, code):
        failed = I.run_string(i, code)
        assert failed is None, failed
except ImportError:
    import _xxsubinterpreters as I
    make = lambda: I.create(isolated=False)  # noqa: E731
    run = I.run_string

# What one interpreter builds and how it is refused, read again after the other one's import.
WORK = """
from quarnel.compute import _compute as C
s = C.NumericSeries.Reference("a")
work = [(s + 2.0).to_json(), (2.0 ** s).to_json(), s.head(num_points=3).to_json(),
        C.atan2(s, 1).to_json(), C.RangeMap("x", end=2.0).to_json(),
        (-C.Duration.Minutes(2)).to_json(), (s < 1).to_json()]
for call in (lambda: C.abs("x"), lambda: s.head(nope=1), lambda: s.bit_and(2**31),
             lambda: s + "x"):
    try:
        call()
    except BaseException as e:
        work.append((type(e).__name__, str(e)))
"""

# An import that must be refused, twice, leaving no module behind.
REFUSED = """
import sys
for _ in range(2):
    try:
        from quarnel.compute import _compute
    except ImportError as e:
        print("refused", e.name, "quarnel.compute._compute" in sys.modules, flush=True)
    else:
        print("imported", flush=True)
"""
SAME = "assert work == first, (work, first)\n"
UNHARMED = "print('sub-interpreter unharmed', flush=True)"
'''

ORDERS = {
    "main first": """
        exec(WORK)
        first = work
        sub = make()
        run(sub, REFUSED)
        gc.collect()
        exec(WORK + SAME)
        I.destroy(sub)
        exec(WORK + SAME)
    """,
    "sub-interpreter first": """
        sub = make()
        run(sub, WORK + "first = work")
        exec(REFUSED)
        run(sub, "import gc; gc.collect()\\n" + WORK + SAME + UNHARMED)
        I.destroy(sub)
    """,
}


@pytest.mark.parametrize("malloc", ["pymalloc", "debug"])
@pytest.mark.parametrize("order", ORDERS)
def test_an_import_from_a_second_interpreter_is_refused(order, malloc):
    out = child(PRELUDE + textwrap.dedent(ORDERS[order]), malloc=malloc).stdout
    refused = "refused quarnel.compute._compute False\n" * 2
    assert out == refused + ("sub-interpreter unharmed\n" if order != "main first" else "")
