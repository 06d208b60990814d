"""Duration's static methods and the Dataset class."""

import pytest

from conftest import MINUTES_5, RUN_R1, check_builds, lit, node, obj, panics, type_error, var

UNITS = [("Nanoseconds", "nanoseconds"), ("Milliseconds", "milliseconds"), ("Seconds", "seconds"),
         ("Minutes", "minutes"), ("Hours", "hours"), ("Days", "days")]


def test_the_documented_examples(C):
    assert C.Duration.Seconds(5).to_json() == '{"type":"seconds","seconds":{"seconds":{"type":"literal","literal":5}}}'
    assert C.Duration.Days(C.IntegerConstant.Reference("n")).to_json() == \
        '{"type":"days","days":{"days":{"type":"variable","variable":"n"}}}'
    assert C.Duration.Reference("w").to_json() == '{"type":"reference","reference":{"name":"w"}}'
    assert C.Dataset.Run("r1").to_json() == '{"type":"run","run":{"rid":{"type":"literal","literal":"r1"}}}'
    assert C.Dataset.Combine([]).to_json() == '{"type":"combine","combine":{}}'


@pytest.mark.parametrize("method,variant", UNITS)
@pytest.mark.parametrize("count,written", [(0, "0"), (-3, "-3"), (120, "120"), (2147483647, "2147483647"),
                                           (-2147483648, "-2147483648")])
def test_counts_are_kept_as_given(C, method, variant, count, written):
    # No sign check, no conversion between units, no normalisation.
    make = getattr(C.Duration, method)
    assert make(count).to_json() == node(variant, obj((variant, node("literal", written))))
    assert make(**{variant: count}).to_json() == make(count).to_json()


@pytest.mark.parametrize("method,variant", UNITS)
def test_counts_beyond_32_bits_panic(C, method, variant):
    make = getattr(C.Duration, method)
    for count in (2147483648, -2147483649):
        assert panics(make, count) == "integer value exceeds i32 range: TryFromIntError(())"
    assert type_error(make) == "Duration.%s() missing 1 required positional argument: '%s'" % (method, variant)
    assert type_error(make, "5").startswith(
        "argument '%s': failed to extract enum IntegerConstantInput ('Wrapped | Native0')\n" % variant)


def test_there_is_no_microseconds_duration(C):
    assert not hasattr(C.Duration, "Microseconds")


def test_duration_reference_takes_plain_text_only(C):
    assert type_error(C.Duration.Reference, C.StringConstant.Literal("w")) == \
        "argument 'name': 'StringConstant' object is not an instance of 'str'"
    assert type_error(C.Duration.Reference, 1) == "argument 'name': 'int' object is not an instance of 'str'"


@pytest.mark.parametrize("method,variant", [("Asset", "asset"), ("Run", "run"), ("Saved", "saved")])
def test_resource_datasets(C, method, variant):
    make = getattr(C.Dataset, method)
    assert make("ri.x").to_json() == node(variant, obj(("rid", lit("ri.x"))))
    assert make(rid="").to_json() == node(variant, obj(("rid", lit(""))))
    assert make(C.StringConstant.Reference("v")).to_json() == node(variant, obj(("rid", var("v"))))
    assert type_error(make, 1).startswith("argument 'rid': failed to extract enum StringConstantInput ")


@pytest.mark.parametrize(
    "call,expected",
    [
        (lambda C, o: C.Dataset.Combine([o.d, C.Dataset.Asset("a"), o.d]),
         node("combine", obj(("inputs", "[%s,%s,%s]" % (RUN_R1, node("asset", obj(("rid", lit("a")))), RUN_R1))))),
        (lambda C, o: C.Dataset.Combine(inputs=(o.d,)), node("combine", obj(("inputs", "[%s]" % RUN_R1)))),
        (lambda C, o: o.d.tag("k", "v"), node("tag", obj(("input", RUN_R1), ("key", lit("k")), ("value", lit("v"))))),
        (lambda C, o: o.d.tag(value=C.StringConstant.Reference("v"), key="k"),
         node("tag", obj(("input", RUN_R1), ("key", lit("k")), ("value", var("v"))))),
        (lambda C, o: o.d.time_shift(o.dur), node("timeShift", obj(("input", RUN_R1), ("offset", MINUTES_5)))),
        (lambda C, o: o.d.time_shift(-o.dur),
         node("timeShift", obj(("input", RUN_R1), ("offset", node("negate", obj(("input", MINUTES_5))))))),
        (lambda C, o: o.d.tag("k", "v").time_shift(o.dur).tag("k", "w"), node("tag", obj(
            ("input", node("timeShift", obj(("input", node("tag", obj(("input", RUN_R1), ("key", lit("k")),
                                                                        ("value", lit("v"))))),
                                               ("offset", MINUTES_5)))),
            ("key", lit("k")), ("value", lit("w"))))),
    ],
)
def test_dataset_calls(C, o, call, expected):
    check_builds(o, lambda: call(C, o), C.Dataset, expected)


@pytest.mark.parametrize(
    "call,message",
    [
        (lambda C, o: C.Dataset.Combine("ab"), "argument 'inputs': Can't extract `str` to `Vec`"),
        (lambda C, o: C.Dataset.Combine([o.d, "r2"]), "argument 'inputs': 'str' object is not an instance of 'Dataset'"),
        (lambda C, o: o.d.time_shift(5), "argument 'offset': 'int' object is not an instance of 'Duration'"),
        (lambda C, o: o.d.tag("k"), "Dataset.tag() missing 1 required positional argument: 'value'"),
        (lambda C, o: o.d.tag(key="k", val="v"), "Dataset.tag() got an unexpected keyword argument 'val'"),
    ],
)
def test_dataset_refusals(C, o, call, message):
    with o.unchanged():
        assert type_error(call, C, o) == message


def test_tag_converts_the_key_first(C, o):
    for value in ("v", 2):
        assert type_error(o.d.tag, 1, value).startswith("argument 'key': failed to extract enum StringConstantInput ")
