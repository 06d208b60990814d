"""The call frame: binding messages, the rewording of conversion failures, PanicException."""

import os
import subprocess
import sys

import pytest

from conftest import lit, node, obj, raw, unchanged


def type_error(fn, *args, **kwargs):
    with pytest.raises(TypeError) as info:
        fn(*args, **kwargs)
    assert type(info.value) is TypeError
    return str(info.value)


@pytest.mark.parametrize(
    "call,message",
    [
        (lambda C: C.Duration.Reference(),
         "Duration.Reference() missing 1 required positional argument: 'name'"),
        (lambda C: C.Duration.Reference("a", "b"),
         "Duration.Reference() takes 1 positional arguments but 2 were given"),
        (lambda C: C.Duration.Reference(nam="a"),
         "Duration.Reference() got an unexpected keyword argument 'nam'"),
        (lambda C: C.Duration.Reference("a", name="b"),
         "Duration.Reference() got multiple values for argument 'name'"),
        (lambda C: C.RangeMap("a", 1, 2, 3),
         "RangeMap.__new__() takes from 1 to 3 positional arguments but 4 were given"),
        (lambda C: C.RangeMap(),
         "RangeMap.__new__() missing 1 required positional argument: 'output'"),
        (lambda C: C.RangeMap("a", output="b"),
         "RangeMap.__new__() got multiple values for argument 'output'"),
        (lambda C: C.RangeMap("a", stop=1),
         "RangeMap.__new__() got an unexpected keyword argument 'stop'"),
        (lambda C: C.NumericSeries.IfElse(),
         "NumericSeries.IfElse() missing 3 required positional arguments: "
         "'condition', 'true_value', and 'false_value'"),
        (lambda C: C.NumericSeries.IfElse(true_value=1),
         "NumericSeries.IfElse() missing 2 required positional arguments: "
         "'condition' and 'false_value'"),
        (lambda C: C.atan2(),
         "atan2() missing 2 required positional arguments: 'y' and 'x'"),
        (lambda C: C.max(1, 2),
         "max() takes 1 positional arguments but 2 were given"),
        (lambda C: C.NumericSeries.Reference("a").atan2(1, 2),
         "NumericSeries.atan2() takes 1 positional arguments but 2 were given"),
        (lambda C: C.NumericSeries.Reference("a").time_difference("days", "days"),
         "NumericSeries.time_difference() takes from 0 to 1 positional arguments but 2 were given"),
        # Too many positional arguments wins over a bad keyword; a bad keyword over a missing one.
        (lambda C: C.Duration.Reference("a", "b", nam=1),
         "Duration.Reference() takes 1 positional arguments but 2 were given"),
        (lambda C: C.atan2(z=1),
         "atan2() got an unexpected keyword argument 'z'"),
        (lambda C: C.atan2(1, y=2),
         "atan2() got multiple values for argument 'y'"),
    ],
)
def test_binding_messages(C, call, message):
    assert type_error(call, C) == message


def test_keywords_bind_by_name_in_any_order(C):
    s = C.NumericSeries.Reference("s")
    by_position = C.numeric_if_else(s < 1, 1.5, s).to_json()
    assert C.numeric_if_else(false_value=s, condition=s < 1, true_value=1.5).to_json() == by_position
    built_name = "".join(["tr", "ue_value"])  # not interned: matched by its text
    assert C.numeric_if_else(s < 1, false_value=s, **{built_name: 1.5}).to_json() == by_position
    assert s.atan2(x=s).to_json() == s.atan2(s).to_json()


def test_a_keyword_that_is_not_valid_text_names_nothing(C):
    message = type_error(lambda: C.Duration.Reference(**{"\ud800": 1}))
    assert message == "Duration.Reference() got an unexpected keyword argument '\ud800'"


def test_optional_none_is_the_same_as_missing(C):
    assert C.RangeMap("x", None, None).to_json() == C.RangeMap("x").to_json()
    assert C.RangeMap("x", end=None).to_json() == '{"output":%s}' % lit("x")
    s = C.NumericSeries.Reference("a")
    assert s.time_difference(None).to_json() == s.time_difference().to_json()
    assert s.time_difference(time_unit=None).to_json() == node("timeDifference", obj(("input", node("numeric", raw("a")))))


def test_a_conversion_type_error_is_reworded_under_the_parameter(C):
    assert type_error(C.Duration.Days, "x").startswith(
        "argument 'days': failed to extract enum IntegerConstantInput ('Wrapped | Native0')\n")
    assert type_error(C.StringConstant.Literal, 1) == "argument 'literal': 'int' object is not an instance of 'str'"
    assert type_error(C.FloatConstant.Literal, "1") == "argument 'literal': must be real number, not str"


def test_the_reworded_error_keeps_the_cause_of_the_original(C):
    class Stubborn:
        def __float__(self):
            raise TypeError("no float here") from KeyError("root")

    with pytest.raises(TypeError) as info:
        C.FloatConstant.Literal(Stubborn())
    assert str(info.value) == "argument 'literal': no float here"
    assert isinstance(info.value.__cause__, KeyError)


def test_only_an_exact_type_error_is_reworded(C):
    class Special(TypeError):
        pass

    class Odd:
        def __float__(self):
            raise Special("special")

    with pytest.raises(Special, match="^special$"):
        C.FloatConstant.Literal(Odd())
    with pytest.raises(ValueError) as info:
        C.NumericSeries.Reference("a").absolute_timestamp("Days")
    assert str(info.value) == "Failed to convert 'Days' to TimeUnit enum: Invalid custom type: Days"


def test_methods_without_parameters_refuse_arguments_in_the_interpreter(C):
    s = C.NumericSeries.Reference("a")
    with pytest.raises(TypeError, match="takes no arguments"):
        s.to_json(1)
    with pytest.raises(TypeError, match="takes no arguments"):
        s.abs(1)


def test_self_of_another_class_is_refused(C):
    with pytest.raises(TypeError):
        C.NumericSeries.to_json(1)
    with pytest.raises(TypeError):
        C.NumericSeries.abs(C.Duration.Days(1))


def test_panic_is_a_base_exception_with_a_report_on_stderr(C, capfd):
    s = C.NumericSeries.Reference("a")
    with pytest.raises(BaseException) as info:
        try:
            s.bit_and(2**31)
        except Exception:  # must not catch it
            pytest.fail("PanicException was caught as an Exception")
    panic = info.value
    assert type(panic).__name__ == "PanicException"
    assert type(panic).__bases__ == (BaseException,)
    assert panic.args == ("integer value exceeds i32 range: TryFromIntError(())",)
    assert "integer value exceeds i32 range" in capfd.readouterr().err


def test_failed_calls_leave_everything_unchanged(C):
    s = C.NumericSeries.Reference("a")
    b = s < 1
    with unchanged(s, b):
        for bad in (lambda: s.bit_and(2**40), lambda: C.numeric_if_else(s, b, s),
                    lambda: C.max([s, "x"]), lambda: s.atan2("x")):
            with pytest.raises(BaseException):
                bad()


HOLLOW = r"""
from quarnel.compute import _compute as C
cls = C.FloatConstant
cls.__new__ = lambda c: object.__new__(c)
hollow = cls()
expected = "'FloatConstant' object holds no FloatConstant value: it was not made by the module"
for call in (hollow.to_json, lambda: C.ConstantNumericSeries.Float(hollow), lambda: C.RangeMap("x", hollow)):
    try:
        call()
    except TypeError as e:
        assert expected in str(e), str(e)
    else:
        raise AssertionError("accepted a hollow object")
del hollow
print("ok")
"""


def test_an_object_made_by_a_replaced_new_is_refused_not_read():
    # In a child interpreter: the class stays changed for the rest of the process.
    done = subprocess.run([sys.executable, "-c", HOLLOW], capture_output=True, text=True)
    assert done.returncode == 0, done.stderr
    assert done.stdout == "ok\n"


EXHAUSTED = r"""
import resource
from quarnel.compute import _compute as C
big = "x" * (256 << 20)
with open("/proc/self/statm") as f:
    used = int(f.read().split()[0]) * resource.getpagesize()
resource.setrlimit(resource.RLIMIT_AS, (used + (64 << 20), resource.RLIM_INFINITY))
try:
    C.NumericSeries.Reference(big)
except MemoryError:
    print("MemoryError")
print(C.NumericSeries.Reference("a").to_json())
"""


@pytest.mark.skipif(not os.path.exists("/proc/self/statm") or "asan" in os.environ.get("LD_PRELOAD", ""),
                    reason="needs Linux address-space limits")
def test_running_out_of_memory_raises_memory_error():
    # The copy of a 256 MiB name cannot fit under the limit: the call fails, the process goes on.
    done = subprocess.run([sys.executable, "-c", EXHAUSTED], capture_output=True, text=True)
    assert done.returncode == 0, done.stderr
    assert done.stdout == 'MemoryError\n{"type":"raw","raw":{"name":"a"}}\n'
