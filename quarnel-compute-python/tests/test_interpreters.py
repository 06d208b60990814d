"""Several interpreters in one process: the module's classes are made once, so the module belongs
to the first interpreter that imports it. An import from any other is refused with ImportError
and leaves nothing behind; the first goes on as if nothing happened. Once the owner is gone with
everything it made, the next interpreter to import the module owns it. Each case runs in a child
process, so that a crash fails the case and not the run."""

import importlib.util
import sys
import textwrap

import pytest
from hostile import SANITIZED, child

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
# An import whose refusal is shown, by its text.
REFUSAL = """
try:
    from quarnel.compute import _compute
except ImportError as e:
    print(e, flush=True)
else:
    print("imported", flush=True)
"""
SAME = "assert work == first, (work, first)\n"
UNHARMED = "print('sub-interpreter unharmed', flush=True)"
SHOWN = "print(work, flush=True)"  # compared with another interpreter's
# The package's modules dropped and collected: the module objects go unless something holds them.
MODULES_GONE = """
import gc, sys
for name in [n for n in sys.modules if n.startswith("quarnel")]:
    del sys.modules[name]
gc.collect()
"""
# Everything of the module that WORK left given up, for the interpreter to free its module.
GIVEN_UP = "\ndel C, s\n" + MODULES_GONE
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
    # Once the owner is gone with everything it made, the next interpreter owns the module.
    "sub-interpreter gone": """
        sub = make()
        run(sub, WORK + SHOWN)
        exec(REFUSED)
        I.destroy(sub)
        gc.collect()
        exec(WORK + SHOWN)
        second = make()
        run(second, REFUSED)
        I.destroy(second)
        exec(WORK + SHOWN)
    """,
    # The module handed from one living interpreter to the other and back, each giving up all of
    # it first: whoever owns it refuses a third, however often the two took it over and after
    # the end of one that owned it before.
    "taken over in turn": """
        sub = make()
        third = make()
        run(sub, WORK + SHOWN + GIVEN_UP)
        exec(WORK + SHOWN)
        run(third, REFUSED)
        exec(GIVEN_UP)
        run(sub, WORK + SHOWN + GIVEN_UP)
        exec(WORK + SHOWN)
        run(third, REFUSED)
        I.destroy(sub)
        run(third, REFUSED)
        I.destroy(third)
        exec(WORK + SHOWN)
    """,
    # What an ended owner leaves held is in test_interpreter_ownership.py.
}


@pytest.mark.parametrize("malloc", ["pymalloc", "debug"])
@pytest.mark.parametrize("order", ORDERS)
def test_an_import_from_a_second_interpreter_is_refused(order, malloc):
    out = child(PRELUDE + textwrap.dedent(ORDERS[order]), malloc=malloc).stdout
    refused = "refused quarnel.compute._compute False\n" * 2
    if order in ("sub-interpreter gone", "taken over in turn"):
        work = out.splitlines(keepends=True)[0]
        assert work.startswith("['{")
        if order == "sub-interpreter gone":
            assert out == work + refused + work + refused + work
        else:
            assert out == work * 2 + refused + work * 2 + refused * 2 + work
    else:
        unharmed = "sub-interpreter unharmed\n" if order == "sub-interpreter first" else ""
        assert out == refused + unharmed


# Interpreters with an object allocator of their own (3.12 and later): run, then ended at once.
# 3.13 makes them through _interpreters; 3.12 only through its test module's helper. Their lock
# is the main interpreter's, as every interpreter that loads the module shares one.
OWN_ALLOCATOR = r'''
import gc, os, sys
try:
    import _interpreters as I

    def run_own(code):
        i = I.create(I.new_config("isolated", gil="shared"))
        try:
            failed = I.run_string(i, code)
            assert failed is None, failed
        finally:
            I.destroy(i)
except ImportError:
    import _testcapi

    def run_own(code):
        assert _testcapi.run_in_subinterp_with_config(
            code, use_main_obmalloc=False, allow_fork=False, allow_exec=False, allow_threads=True,
            allow_daemon_threads=False, check_multi_interp_extensions=True, gil=1) == 0

# Objects made and dropped beyond the module's free list of their memory, a panic, keywords and
# time-unit names matched against names the module keeps, and what their texts are.
WORK = """
from quarnel.compute import _compute as C
s = C.NumericSeries.Reference("a")
dropped = [s + float(i) for i in range(1000)]
del dropped
work = [(s + 2.0).to_json(), s.head(num_points=3).to_json(), s.derivative("seconds").to_json(),
        C.RangeMap("x", end=2.0).to_json()]
try:
    s.head(2**40)
except BaseException as e:
    work.append((type(e).__name__, str(e)))
"""
'''

# How the owner ends: with nothing of the module's left once its module is gone, having let go
# of it before (a caught panic its last hold, dropped), or with its class objects and
# PanicException held on by a cycle that its last collection frees.
OWNER_ENDS = {
    "nothing left": "",
    "let go of a caught panic": """
import gc, sys
try:
    s.head(2**40)
except BaseException as e:
    held = e
del C, s
for name in [n for n in sys.modules if n.startswith("quarnel")]:
    del sys.modules[name]
gc.collect()
del held
gc.collect()
""",
    "classes held on": """
try:
    s.head(2**40)
except BaseException as e:
    panic = type(e)
held = [C.NumericSeries, C.Duration, panic]
held.append(held)
""",
}

# The module taken over from an interpreter with an allocator of its own: the main interpreter
# makes its own objects (class objects and PanicException among those its collector tracks,
# each class among object's subclasses) and leaves the dead owner's alone, which went with its
# allocator; its work reads the same.
TAKEN_OVER = r"""
run_own(WORK + "print(work, flush=True)" + sys.argv[1])
gc.collect()
exec(WORK + "print(work, flush=True)")
classes = [getattr(C, n) for n in C.__all__ if isinstance(getattr(C, n), type)]
try:
    s.head(2**40)
except BaseException as e:
    panic = type(e)
tracked = {id(o) for o in gc.get_objects()}
foreign = [c.__name__ for c in classes if id(c) not in tracked or c not in object.__subclasses__()]
assert not foreign, foreign
assert id(panic) in tracked and panic in BaseException.__subclasses__(), panic
dropped = [s + float(i) for i in range(1000)]
del dropped
gc.collect()
"""


@pytest.mark.skipif(
    sys.version_info < (3, 12), reason="interpreters share one object allocator before 3.12"
)
@pytest.mark.skipif(
    sys.version_info < (3, 13) and not importlib.util.find_spec("_testcapi"),
    reason="3.12 makes an interpreter with an allocator of its own only through _testcapi",
)
@pytest.mark.parametrize("malloc", ["pymalloc", "debug"])
@pytest.mark.parametrize("owner_end", OWNER_ENDS.values(), ids=OWNER_ENDS)
def test_taken_over_from_an_interpreter_with_its_own_allocator(owner_end, malloc):
    # Whatever it held, the owner gives it back in its own interpreter: the leak checker stays on.
    out = child(OWN_ALLOCATOR + TAKEN_OVER, owner_end, malloc=malloc).stdout.splitlines()
    assert len(out) == 2 and out[0] == out[1] and out[0].startswith("['{"), out


# Interpreters made, given the module (or refused it) and ended, one after another: each adds
# no more to the resident memory than one that does nothing, give or take a few kilobytes (a
# CPython interpreter itself leaves some 90 to 170 KiB behind).
CYCLES = r"""
import os, textwrap


def resident():
    with open("/proc/self/statm") as f:
        return int(f.read().split()[1]) * os.sysconf("SC_PAGE_SIZE")


def cycles(code, n):
    for _ in range(n):
        i = make()
        run(i, code)
        I.destroy(i)


TAKE = "try:\n" + textwrap.indent(WORK, "    ") + "\nexcept ImportError:\n    pass\n"
grown = {}
for code in ("pass", TAKE) * 2:  # the first round warms up
    gc.collect()
    before = resident()
    cycles(code, int(sys.argv[1]))
    gc.collect()
    grown[code] = (resident() - before) / int(sys.argv[1])
print(round(grown[TAKE] - grown["pass"]))
"""


@pytest.mark.skipif(not sys.platform.startswith("linux"), reason="reads /proc/self/statm")
@pytest.mark.skipif(SANITIZED, reason="freed memory sits in the sanitizer's quarantine")
def test_interpreters_taking_the_module_in_turn_leave_nothing_behind():
    extra = int(child(PRELUDE + CYCLES, "100", malloc="pymalloc", timeout=300).stdout)
    assert extra < 24 << 10, f"{extra} bytes more per interpreter than one that does nothing"
