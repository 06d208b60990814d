"""Several interpreters in one process: the module's classes are made once, so the module belongs
to the first interpreter that imports it. An import from any other is refused with ImportError
and leaves nothing behind; the first goes on as if nothing happened. Once the owner is gone with
everything it made, the next interpreter to import the module owns it. Each case runs in a child
process, so that a crash fails the case and not the run."""

import importlib.util
import sys
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
SHOWN = "print(work, flush=True)"  # compared with another interpreter's
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
    # Once the owner is gone with everything it made, the next interpreter owns the module. Before
    # 3.12 a destroyed interpreter leaves its modules' attributes held, the classes among them:
    # the module stays the owner's.
    "sub-interpreter gone": """
        sub = make()
        run(sub, WORK + SHOWN)
        exec(REFUSED)
        I.destroy(sub)
        gc.collect()
        if sys.version_info < (3, 12):
            exec(REFUSED)
        else:
            exec(WORK + SHOWN)
            second = make()
            run(second, REFUSED)
            I.destroy(second)
            exec(WORK + SHOWN)
    """,
    # A class object of the owner's that outlives it (a reference leaked on purpose) keeps the
    # module the owner's: its interpreter is not wholly gone.
    "sub-interpreter gone, a class leaked": """
        sub = make()
        run(sub, WORK + "import ctypes; ctypes.pythonapi.Py_IncRef(ctypes.py_object(C.Duration))")
        I.destroy(sub)
        gc.collect()
        exec(REFUSED)
    """,
}


@pytest.mark.parametrize("malloc", ["pymalloc", "debug"])
@pytest.mark.parametrize("order", ORDERS)
def test_an_import_from_a_second_interpreter_is_refused(order, malloc):
    out = child(PRELUDE + textwrap.dedent(ORDERS[order]), malloc=malloc).stdout
    refused = "refused quarnel.compute._compute False\n" * 2
    if order == "sub-interpreter gone":
        work = out.splitlines(keepends=True)[0]
        assert work.startswith("['{")
        if sys.version_info >= (3, 12):
            assert out == work + refused + work + refused + work
        else:
            assert out == work + refused + refused
    else:
        unharmed = "sub-interpreter unharmed\n" if order == "sub-interpreter first" else ""
        assert out == refused + unharmed
