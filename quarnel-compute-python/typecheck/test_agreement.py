"""The stubs accept exactly what the extension accepts.

Every callable comes from the extension itself (its `__all__`, each class's attributes and
text signatures) and every operator from its classes' slots. Each parameter and operand is
tried with samples of every kind there is: the extension's verdict is taken by calling it, the
stubs' by mypy on one generated file where an accepted call must check as the class the
extension returned and a refused one must be reported. So a stub wider or narrower than the
binding, or with another result type, fails here.
"""

import inspect
import re
import subprocess
import sys
from pathlib import Path

import pytest
import quarnel.compute as qc
from operators import OPERATORS
from quarnel.compute import _compute

# One object of each class, as an expression: these, chosen, and for any other class the first
# object its static methods make of the plain samples and of these (made_objects below).
OBJECTS = {
    "NumericSeries": 'NumericSeries.Reference("a")',
    "CategoricalSeries": 'CategoricalSeries.Reference("c")',
    "RangeSeries": 'RangeSeries.Reference("r")',
    "StructSeries": "StructSeries.Combine({})",
    "ConstantNumericSeries": "ConstantNumericSeries.Float(1.5)",
    "IntegerConstant": 'IntegerConstant.Reference("i")',
    "StringConstant": 'StringConstant.Reference("s")',
    "Dataset": 'Dataset.Run("d")',
    "Sampling": "Sampling.HashSubsample(2)",
    "BooleanSeries": 'NumericSeries.Reference("a") > 1',
    "AggregationBuilder": 'NumericSeries.Reference("a").rolling_points(3)',
    "NumericAggregationOperator": "NumericAggregationOperator.Sum()",
    "NegativeValueConfiguration": "NegativeValueConfiguration.AllowNegativeValues()",
    "SignalFilterConfiguration": "SignalFilterConfiguration.LowPass(1)",
    "FloatConstant": 'FloatConstant.Reference("f")',
    "Duration": "Duration.Days(1)",
    "UdfSource": 'UdfSource.Rust("fn f() {}")',
    "EnumAggregationOperator": "EnumAggregationOperator.Max()",
    "GroupByTags": "GroupByTags.Current()",
    "GroupByTimestamp": "GroupByTimestamp.Current()",
    "RangeMap": 'RangeMap("x")',
}
# Plain values of every kind the conversions tell apart.
PLAIN = [
    "1.5",
    "2",
    "True",
    "None",
    "HasFloat()",
    "HasIndex()",
    '"days"',
    '"int64"',
    '"text"',
    "b'days'",
    "object()",
]


SCALARS = PLAIN + list(OBJECTS.values())
SAMPLES = (
    SCALARS
    + [f"[{s}]" for s in SCALARS if s != "None"]
    + [
        "()",
        '[NumericSeries.Reference("a"), CategoricalSeries.Reference("c")]',
        '{"a": NumericSeries.Reference("a")}',
        '{"a": NumericSeries.Reference("a"), "c": CategoricalSeries.Reference("c")}',
        '{"a": RangeSeries.Reference("r")}',
        '{1: NumericSeries.Reference("a")}',
    ]
)

HEADER = f"""from typing_extensions import assert_type

from quarnel.compute import {", ".join(_compute.__all__)}


class HasFloat:
    def __float__(self) -> float:
        return 2.5


class HasIndex:
    def __index__(self) -> int:
        return 3


"""


class HasFloat:
    def __float__(self):
        return 2.5


class HasIndex:
    def __index__(self):
        return 3


NAMESPACE = {**vars(qc), "HasFloat": HasFloat, "HasIndex": HasIndex}

# A parameter after the one tried: its refusal names it, so the one tried was accepted.
LATER = "_Later"


class _Later:
    def __str__(self):
        return LATER


def callables():
    """(expression of the callable, its parameters) for every method, static method,
    constructor and module function of the extension."""
    out = []
    for name in _compute.__all__:
        obj = getattr(_compute, name)
        if not isinstance(obj, type):
            out.append((name, list(inspect.signature(obj).parameters)))
            continue
        if obj.__text_signature__:
            out.append((name, list(inspect.signature(obj).parameters)))
        for attr, member in vars(obj).items():
            if attr.startswith("__"):
                continue
            params = list(inspect.signature(getattr(obj, attr)).parameters)
            if isinstance(member, staticmethod):
                out.append((f"{name}.{attr}", params))
            else:
                out.append((f"({OBJECTS[name]}).{attr}", params[1:]))
    return out


def refused_here(exc, param, later):
    """Whether exc, raised by a call whose arguments after `param` are all `later`, says that
    `param` itself was refused."""
    text = str(exc)
    if isinstance(exc, TypeError) and text.startswith("argument '"):
        return text.startswith(f"argument '{param}'")
    if isinstance(exc, ValueError) and later:
        return f"'{LATER}'" not in text
    return True


def run(expr):
    return eval(expr, NAMESPACE)


def first_fitting(fn, params, samples):
    """The first sample of each parameter in turn that a call of fn accepts for it (with the
    ones found before it and a refusal-naming stand-in after it), or None where none fits."""
    valid = []
    for i, param in enumerate(params):
        later = params[i + 1 :]
        for sample in samples:
            args = [run(v) for v in valid] + [run(sample)] + [_Later() for _ in later]
            try:
                fn(*args)
            except (TypeError, ValueError) as exc:
                if refused_here(exc, param, later):
                    continue
            valid.append(sample)
            break
        else:
            return None
    return valid


def add_made_objects():
    """Adds to OBJECTS, SCALARS and SAMPLES an object of each class that OBJECTS lacks: made by
    the first static method of the class that makes one of the samples."""
    for name in _compute.__all__:
        cls = getattr(_compute, name)
        if not isinstance(cls, type) or name in OBJECTS:
            continue
        for attr, member in vars(cls).items():
            if not isinstance(member, staticmethod):
                continue
            fn = getattr(cls, attr)
            args = first_fitting(fn, list(inspect.signature(fn).parameters), SAMPLES)
            if args is None:
                continue
            expr = f"{name}.{attr}({', '.join(args)})"
            try:
                made = type(run(expr)) is cls
            except (TypeError, ValueError):
                made = False
            if made:
                OBJECTS[name] = expr
                SCALARS.append(expr)
                SAMPLES.extend([expr, f"[{expr}]"])
                break
        else:
            raise AssertionError(
                f"no object of class {name}: none of its static methods makes one of the samples;"
                f" add an expression making one to OBJECTS in typecheck/test_agreement.py"
            )


add_made_objects()


def runtime_cases():
    """(callable, parameter index, sample, accepted, source line, result class) for every
    callable, parameter and sample."""
    cases = []
    for fn_expr, params in callables():
        fn = run(fn_expr)
        valid = []
        tried = []
        for i, param in enumerate(params):
            later = params[i + 1 :]
            first_ok = None
            for sample in SAMPLES:
                args = [run(v) for v in valid] + [run(sample)] + [_Later() for _ in later]
                try:
                    fn(*args)
                except (TypeError, ValueError) as exc:
                    accepted = not refused_here(exc, param, later)
                else:
                    accepted = True
                if accepted and first_ok is None:
                    first_ok = sample
                tried.append((i, sample, accepted))
            assert first_ok is not None, f"{fn_expr}: no sample fits {param}"
            valid.append(first_ok)
        # every case again with valid arguments around it, for its source and result class
        for i, sample, accepted in tried:
            args = valid[:i] + [sample] + valid[i + 1 :]
            call = f"{fn_expr}({', '.join(args)})"
            result = type(run(call)).__name__ if accepted else None
            cases.append((fn_expr, i, sample, accepted, call, result))
        if not params:
            call = f"{fn_expr}()"
            cases.append((fn_expr, None, None, True, call, type(run(call)).__name__))
    return cases


def operator_cases():
    """Every binary operator with an object of every class on the left and on the right, unary
    minus of every class, and every class called with no argument and with one."""
    cases = []
    for cls, obj in OBJECTS.items():
        for call in (f"{cls}()", f"{cls}(1)"):
            try:
                result = type(run(call)).__name__
            except TypeError:
                result = None
            cases.append((call, None, None, result is not None, call, result))
        try:
            result = type(-run(obj)).__name__
        except TypeError:
            result = None
        cases.append((f"-{cls}", None, None, result is not None, f"-({obj})", result))
        for op, fn in OPERATORS.items():
            for other in SCALARS:
                for left, right in ((obj, other), (other, obj)):
                    try:
                        result = type(fn(run(left), run(right))).__name__
                    except TypeError:
                        result = None
                    line = f"({left}) {op} ({right})"
                    cases.append((line, None, None, result is not None, line, result))
    return cases


# Each checker run on the generated file: its command, and how to read (line, message) from
# its report.
CHECKERS = {
    "mypy": (
        [sys.executable, "-m", "mypy", "--no-incremental", "--no-error-summary", "agreement.py"],
        r"agreement\.py:(\d+): error: (.*)",
    ),
    "basedpyright": (
        [
            Path(sys.executable).with_name("basedpyright"),
            "--pythonpath",
            sys.executable,
            "agreement.py",
        ],  # fmt: skip
        r".*agreement\.py:(\d+):\d+ - error: (.*)",
    ),
}
# basedpyright's own settings for the file: the standard checks, and expressions may stand alone.
PYRIGHT_CONFIG = '{"typeCheckingMode": "standard", "reportUnusedExpression": false}'
CHUNK = 50  # lines per function: one function of thousands is too complex for basedpyright


def checker_errors(checker, source, tmp_path):
    (tmp_path / "agreement.py").write_text(source)
    (tmp_path / "pyrightconfig.json").write_text(PYRIGHT_CONFIG)
    command, pattern = CHECKERS[checker]
    done = subprocess.run(command, capture_output=True, text=True, cwd=tmp_path)
    assert done.returncode in (0, 1), done.stdout + done.stderr
    lines = {}
    for line in done.stdout.splitlines():
        if m := re.match(pattern, line):
            lines.setdefault(int(m.group(1)), m.group(2))
    return lines


# Where no static type can follow the extension. A str is a Sequence[str] to a type checker,
# while the extension refuses a str where it takes a list, so that "ab" is not read as ["a", "b"].
# `number == series` is typed by the number's own __eq__ (any object, giving a bool): a checker
# never reaches the series' reflected comparison, which builds the BooleanSeries. And `str % x`
# and `bytes % x` are typed as formatting any value, which basedpyright takes as given.
def beyond_static_types(case, stub_refuses):
    sample, accepted, line = case[2], case[3], case[4]
    if sample is not None and sample.startswith('"') and not accepted and not stub_refuses:
        return True
    if re.match(r"\((\"|b')[a-z0-9]*'?\"?\) % ", line) and not accepted and not stub_refuses:
        return True
    number_left = re.match(r"\((1\.5|2|True|HasFloat\(\)|HasIndex\(\))\) [!=]= ", line)
    return bool(number_left) and accepted and stub_refuses


@pytest.fixture(scope="module")
def generated():
    """The cases, and the file that states each: case k on line `at[k]`."""
    cases = runtime_cases() + operator_cases()
    source, at = HEADER, []
    for k, (_, _, _, accepted, call, result) in enumerate(cases):
        if k % CHUNK == 0:
            source += f"def cases_{k}() -> None:\n"
        at.append(source.count("\n") + 1)
        source += "    " + (f"assert_type({call}, {result})" if accepted else call) + "\n"
    return cases, source, at


def test_every_callable_and_operator_is_tried(generated):
    cases, *_ = generated
    tried = {c[0] for c in cases}
    for fn_expr, _ in callables():
        assert fn_expr in tried
    assert len(tried) >= 145 + 16 + 1  # methods, functions, the constructor


@pytest.mark.parametrize("checker", CHECKERS)
def test_stubs_accept_what_the_extension_accepts(generated, checker, tmp_path):
    cases, source, at = generated
    errors = checker_errors(checker, source, tmp_path)
    wrong = []
    for case, line in zip(cases, at):
        stub_refuses = line in errors
        if stub_refuses != case[3]:
            continue  # both accept (with the same result class) or both refuse
        if beyond_static_types(case, stub_refuses):
            continue
        if stub_refuses:
            wrong.append(f"the stubs refuse what the extension takes: {case[4]}\n  {errors[line]}")
        else:
            wrong.append(f"the stubs take what the extension refuses: {case[4]}")
    assert not wrong, "\n".join(wrong[:40]) + f"\n({len(wrong)} in all)"
