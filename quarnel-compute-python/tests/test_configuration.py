"""The configuration classes: Sampling, UdfSource, GroupByTags, GroupByTimestamp, RangeMap,
NegativeValueConfiguration and SignalFilterConfiguration."""

import pytest

from conftest import MINUTES_5, lit, node, obj, panics, type_error, var


def test_the_documented_examples(C):
    assert C.Sampling.HashSubsample(10).to_json() == '{"type":"hashSubsample","hashSubsample":{"n":{"type":"literal","literal":10}}}'
    assert C.UdfSource.Rust("").to_json() == '{"type":"rust","rust":{"sourceCode":""}}'
    assert C.GroupByTags.Current().to_json() == '{"type":"current","current":{}}'
    assert C.GroupByTimestamp.Current().to_json() == '{"type":"current","current":{}}'
    assert C.GroupByTags.Subset([]).to_json() == '{"type":"subset","subset":{}}'
    assert C.RangeMap("high").to_json() == '{"output":{"type":"literal","literal":"high"}}'
    assert C.NegativeValueConfiguration.SetNegativeValuesToZero().to_json() == \
        '{"type":"setNegativeValuesToZero","setNegativeValuesToZero":{}}'


def band(low_key, high_key, low, high):
    return obj((low_key, low), (high_key, high))


@pytest.mark.parametrize(
    "call,expected",
    [
        (lambda C: C.Sampling.EveryNthPerSeries(0), node("everyNthPerSeries", obj(("n", node("literal", "0"))))),
        (lambda C: C.Sampling.EveryNthPerSeries(n=C.IntegerConstant.Reference("k")),
         node("everyNthPerSeries", obj(("n", var("k"))))),
        (lambda C: C.Sampling.HashSubsample(-2147483648), node("hashSubsample", obj(("n", node("literal", "-2147483648"))))),
        (lambda C: C.UdfSource.Rust(source_code=' fn f() {\n"x"} '),
         node("rust", obj(("sourceCode", '" fn f() {\\n\\"x\\"} "')))),
        (lambda C: C.GroupByTags.Subset(["b", "a", "b"]), node("subset", obj(("tags", "[%s,%s]" % (lit("a"), lit("b")))))),
        (lambda C: C.GroupByTags.Subset((C.StringConstant.Reference("v"), "z")),
         node("subset", obj(("tags", "[%s,%s]" % (lit("z"), var("v")))))),
        (lambda C: C.GroupByTimestamp.Every(C.Duration.Minutes(5)), node("every", MINUTES_5)),
        (lambda C: C.RangeMap("x", None, None), obj(("output", lit("x")))),
        (lambda C: C.RangeMap(output="x"), obj(("output", lit("x")))),
        (lambda C: C.RangeMap("x", end=C.FloatConstant.Reference("e")), obj(("end", var("e")), ("output", lit("x")))),
        (lambda C: C.RangeMap("x", 1, 2), obj(("start", node("literal", "1.0")), ("end", node("literal", "2.0")),
                                               ("output", lit("x")))),
        (lambda C: C.RangeMap(C.StringConstant.Reference("o"), start=2.5),
         obj(("start", node("literal", "2.5")), ("output", var("o")))),
        (lambda C: C.RangeMap("x", 5, -5), obj(("start", node("literal", "5.0")), ("end", node("literal", "-5.0")),
                                                ("output", lit("x")))),
        (lambda C: C.NegativeValueConfiguration.AllowNegativeValues(), node("allowNegativeValues", "{}")),
        (lambda C: C.NegativeValueConfiguration.ExcludeNegativeValues(), node("excludeNegativeValues", "{}")),
        (lambda C: C.SignalFilterConfiguration.LowPass(10), node("lowPass", obj(("cutoffFrequency", node("literal", "10.0"))))),
        (lambda C: C.SignalFilterConfiguration.HighPass(cutoff_frequency=-0.5),
         node("highPass", obj(("cutoffFrequency", node("literal", "-0.5"))))),
        (lambda C: C.SignalFilterConfiguration.BandPass(high_passband_frequency=C.FloatConstant.Reference("h"),
                                                        low_passband_frequency=C.FloatConstant.Reference("l")),
         node("bandPass", band("lowPassbandFrequency", "highPassbandFrequency", var("l"), var("h")))),
        (lambda C: C.SignalFilterConfiguration.BandPass(5, 1),
         node("bandPass", band("lowPassbandFrequency", "highPassbandFrequency", node("literal", "5.0"), node("literal", "1.0")))),
        (lambda C: C.SignalFilterConfiguration.BandStop(1.5, C.FloatConstant.Literal(2.5)),
         node("bandStop", band("lowStopbandFrequency", "highStopbandFrequency", node("literal", "1.5"), node("literal", "2.5")))),
    ],
)
def test_calls(C, call, expected):
    assert call(C).to_json() == expected


@pytest.mark.parametrize(
    "cls,method",
    [("GroupByTags", "Current"), ("GroupByTimestamp", "Current"), ("NegativeValueConfiguration", "AllowNegativeValues"),
     ("NegativeValueConfiguration", "SetNegativeValuesToZero"), ("NegativeValueConfiguration", "ExcludeNegativeValues")],
)
def test_statics_without_parameters(C, cls, method):
    make = getattr(getattr(C, cls), method)
    first = make()
    assert type(first) is getattr(C, cls)
    assert make().to_json() == first.to_json()
    assert getattr(first, method)().to_json() == first.to_json()  # callable on an object as well
    with pytest.raises(TypeError):
        make(1)
    with pytest.raises(TypeError):
        make(x=1)


@pytest.mark.parametrize(
    "call,message",
    [
        (lambda C: C.UdfSource.Rust(C.StringConstant.Literal("f")),
         "argument 'source_code': 'StringConstant' object is not an instance of 'str'"),
        (lambda C: C.GroupByTimestamp.Every(5), "argument 'every': 'int' object is not an instance of 'Duration'"),
        (lambda C: C.GroupByTags.Subset("ab"), "argument 'tags': Can't extract `str` to `Vec`"),
        (lambda C: C.RangeMap(), "RangeMap.__new__() missing 1 required positional argument: 'output'"),
        (lambda C: C.RangeMap("x", 1.0, 2.0, 3.0), "RangeMap.__new__() takes from 1 to 3 positional arguments but 4 were given"),
        (lambda C: C.SignalFilterConfiguration.BandStop(1.0),
         "SignalFilterConfiguration.BandStop() missing 1 required positional argument: 'high_stopband_frequency'"),
        (lambda C: C.Sampling.HashSubsample(), "Sampling.HashSubsample() missing 1 required positional argument: 'n'"),
    ],
)
def test_refusals(C, call, message):
    assert type_error(call, C) == message


@pytest.mark.parametrize(
    "call,param,kind",
    [
        (lambda C: C.SignalFilterConfiguration.LowPass("10"), "cutoff_frequency", "FloatConstantInput"),
        (lambda C: C.SignalFilterConfiguration.BandPass(1, "2"), "high_passband_frequency", "FloatConstantInput"),
        (lambda C: C.SignalFilterConfiguration.BandStop("1", "2"), "low_stopband_frequency", "FloatConstantInput"),
        (lambda C: C.RangeMap(1), "output", "StringConstantInput"),
        (lambda C: C.RangeMap("x", "0"), "start", "FloatConstantInput"),
        (lambda C: C.RangeMap("x", 0, C.IntegerConstant.Literal(1)), "end", "FloatConstantInput"),
        (lambda C: C.GroupByTags.Subset(["a", 1]), "tags", "StringConstantInput"),
        (lambda C: C.Sampling.EveryNthPerSeries(1.0), "n", "IntegerConstantInput"),
    ],
)
def test_two_way_refusals_name_their_parameter(C, call, param, kind):
    assert type_error(call, C).startswith("argument '%s': failed to extract enum %s ('Wrapped | Native0')\n" % (param, kind))


def test_sampling_counts_are_narrowed(C):
    for make in (C.Sampling.EveryNthPerSeries, C.Sampling.HashSubsample):
        assert panics(make, 2147483648) == "integer value exceeds i32 range: TryFromIntError(())"
        assert make(2147483647).to_json().endswith('{"n":{"type":"literal","literal":2147483647}}}')
