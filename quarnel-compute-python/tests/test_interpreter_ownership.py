"""An interpreter that owned the module and has ended gives it up whatever of its objects remain:
a cycle its last collection left holding one of them (as a debug interpreter leaves it), or a class
object kept on purpose. The next interpreter to import the module owns it and works as the ended
one did, and refuses it to a third as any owner does. Each case runs in a child process, so that a
crash fails the case and not the run."""

import os
import textwrap

import pytest
from hostile import SANITIZED, child
from test_interpreters import PRELUDE

LEFT_BEHIND = {
    "a cycle": "a = [C.NumericSeries.Reference('x')]; a.append(a); del a",
    "a class leaked": "import ctypes; ctypes.pythonapi.Py_IncRef(ctypes.py_object(C.Duration))",
}

TAKEN_OVER = """
    sub = make()
    run(sub, WORK + SHOWN + "\\n" + sys.argv[1])
    I.destroy(sub)
    gc.collect()
    exec(WORK + SHOWN)
    third = make()
    run(third, REFUSED)
    I.destroy(third)
    dropped = [s + float(i) for i in range(1000)]
    del dropped
    exec(WORK + SHOWN)
"""


@pytest.mark.parametrize("malloc", ["pymalloc", "debug"])
@pytest.mark.parametrize("left", LEFT_BEHIND.values(), ids=LEFT_BEHIND)
def test_an_ended_owner_gives_the_module_up_whatever_it_left(left, malloc):
    env = None
    if SANITIZED:
        # What the ended owner left is forgotten, not released: the leak checker would report it.
        env = {"ASAN_OPTIONS": os.environ.get("ASAN_OPTIONS", "") + ":detect_leaks=0"}
    code = PRELUDE + textwrap.dedent(TAKEN_OVER)
    out = child(code, left, malloc=malloc, env=env).stdout.splitlines()
    refused = ["refused quarnel.compute._compute False"] * 2
    assert out[:2] + out[4:] == [out[0]] * 3 and out[0].startswith("['{"), out
    assert out[2:4] == refused, out


# An owner that is still there but has freed its module keeps the module while it holds an object
# of it: the refusal names that object's class; once the owner lets go, the next import owns it.
STILL_HELD = r'''
sub = make()
run(sub, """
import gc, sys
from quarnel.compute import _compute as C
""" + sys.argv[1] + """
del C
for name in [n for n in sys.modules if n.startswith("quarnel")]:
    del sys.modules[name]
gc.collect()
""")
try:
    from quarnel.compute import _compute
except ImportError as e:
    print(e, flush=True)
run(sub, "del held; import gc; gc.collect()")
exec(WORK + SHOWN)
I.destroy(sub)
'''

# What the owner holds, and the class the refusal names.
HELD = {
    "an object": ("held = C.NumericSeries.Reference('x')", "NumericSeries"),
    "a caught panic": (
        "try:\n    C.NumericSeries.Reference('x').tail(2**31)\n"
        "except BaseException as e:\n    held = e",
        "PanicException",
    ),
    # The frame of the function that caught it holds the panic.
    "a caught panic's traceback": (
        "def caught():\n    try:\n        C.NumericSeries.Reference('x').tail(2**31)\n"
        "    except BaseException as e:\n        panic = e\n    return panic.__traceback__\n"
        "held = caught()",
        "PanicException",
    ),
}


@pytest.mark.parametrize("held,name", HELD.values(), ids=HELD)
def test_a_refusal_names_the_class_that_an_owner_still_holds(held, name):
    refused, work = child(PRELUDE + STILL_HELD, held).stdout.splitlines()
    assert refused.startswith(
        "module quarnel.compute._compute does not support loading in more than one interpreter: "
    ), refused
    assert refused.endswith(f"; it still holds objects of class {name}"), refused
    assert work.startswith("['{"), work
