"""NumericSeries time, filter, tag, aggregation, selection and function methods."""

import json

import pytest
from hypothesis import given, strategies as st

from conftest import (
    ALLOW, CAT, HASH_2, LOW_PASS, MINUTES_5, ROLLING_3, RUN_R1, RUST_F, S, STRUCT, check_builds, lit, node, obj,
    panics, time_unit_error, type_error, value_error, var,
)


def test_the_documented_examples(C, o):
    s = o.s
    with o.unchanged():
        assert s.derivative("seconds").to_json() == (
            '{"type":"derivative","derivative":{"input":{"type":"raw","raw":{"name":"a"}},"timeUnit":"SECONDS"}}')
        assert s.time_difference().to_json() == (
            '{"type":"timeDifference","timeDifference":{"input":{"type":"numeric","numeric":'
            '{"type":"raw","raw":{"name":"a"}}}}}')
        assert s.select_tags(["b", "a", "b"]).to_json() == (
            '{"type":"selectTags","selectTags":{"input":{"type":"raw","raw":{"name":"a"}},"tagKeys":'
            '[{"type":"literal","literal":"a"},{"type":"literal","literal":"b"}]}}')
        assert s.rolling_points(10).to_json() == (
            '{"type":"rollingPoints","rollingPoints":{"input":{"type":"numeric","numeric":{"type":"raw","raw":'
            '{"name":"a"}}},"points":{"type":"literal","literal":10}}}')
        assert C.NumericSeries.RustUdf([s], "x").to_json() == (
            '{"type":"scalarUdf","scalarUdf":{"inputs":[{"type":"numeric","numeric":{"type":"raw","raw":'
            '{"name":"a"}}}],"source":{"type":"rust","rust":{"sourceCode":"x"}}}}')
        assert C.NumericSeries.SelectNumeric("x").to_json() == (
            '{"type":"selectNumeric","selectNumeric":{"name":{"type":"literal","literal":"x"}}}')


# (call, expected JSON); every call is made on the shared operands, which must stay unchanged.
CALLS = [
    # derivative: both parameters optional; None is the same as leaving one out.
    (lambda C, o: o.s.derivative(), node("derivative", obj(("input", S)))),
    (lambda C, o: o.s.derivative(None, None), node("derivative", obj(("input", S)))),
    (lambda C, o: o.s.derivative(negative_values_configuration=o.nvc),
     node("derivative", obj(("input", S), ("negativeValuesConfiguration", ALLOW)))),
    (lambda C, o: o.s.derivative("nanoseconds", o.nvc),
     node("derivative", obj(("input", S), ("timeUnit", '"NANOSECONDS"'), ("negativeValuesConfiguration", ALLOW)))),
    (lambda C, o: o.s.derivative(time_unit="days", negative_values_configuration=None),
     node("derivative", obj(("input", S), ("timeUnit", '"DAYS"')))),
    # time_shift always builds the second version of the node.
    (lambda C, o: o.s.time_shift(o.dur), node("timeShiftV2", obj(("input", S), ("duration", MINUTES_5)))),
    (lambda C, o: o.s.time_shift(duration=o.dur), node("timeShiftV2", obj(("input", S), ("duration", MINUTES_5)))),
    (lambda C, o: o.s.to_start_of_interval(o.dur),
     node("toStartOfInterval", obj(("input", S), ("window", MINUTES_5)))),
    # signal_filter
    (lambda C, o: o.s.signal_filter(o.sfc, 4),
     node("signalFilter", obj(("input", S), ("signalFilterConfiguration", LOW_PASS), ("order", node("literal", "4"))))),
    (lambda C, o: o.s.signal_filter(o.sfc, 4, None),
     node("signalFilter", obj(("input", S), ("signalFilterConfiguration", LOW_PASS), ("order", node("literal", "4"))))),
    (lambda C, o: o.s.signal_filter(o.sfc, C.IntegerConstant.Reference("k"), 100),
     node("signalFilter", obj(("input", S), ("signalFilterConfiguration", LOW_PASS), ("order", var("k")),
                              ("samplingFrequency", node("literal", "100.0"))))),
    (lambda C, o: o.s.signal_filter(sampling_frequency=C.FloatConstant.Reference("fs"), order=-2147483648,
                                    signal_filter_configuration=o.sfc),
     node("signalFilter", obj(("input", S), ("signalFilterConfiguration", LOW_PASS),
                              ("order", node("literal", "-2147483648")), ("samplingFrequency", var("fs"))))),
    # value_difference
    (lambda C, o: o.s.value_difference(), node("valueDifference", obj(("input", S)))),
    (lambda C, o: o.s.value_difference(None), node("valueDifference", obj(("input", S)))),
    (lambda C, o: o.s.value_difference(C.NegativeValueConfiguration.ExcludeNegativeValues()),
     node("valueDifference", obj(("input", S), ("negativeValuesConfiguration", node("excludeNegativeValues", "{}"))))),
    # Tag lists become sets: literals before variables, each by bytes, once each.
    (lambda C, o: o.s.z_score([]), node("zScore", obj(("input", S)))),
    (lambda C, o: o.s.z_score(("b", "a", "b")),
     node("zScore", obj(("input", S), ("groupByTags", "[%s,%s]" % (lit("a"), lit("b")))))),
    (lambda C, o: o.s.select_tags([C.StringConstant.Reference("v"), "z"]),
     node("selectTags", obj(("input", S), ("tagKeys", "[%s,%s]" % (lit("z"), var("v")))))),
    (lambda C, o: o.s.select_tags(["ab", "B", "a", C.StringConstant.Literal("a")]),
     node("selectTags", obj(("input", S), ("tagKeys", "[%s,%s,%s]" % (lit("B"), lit("a"), lit("ab")))))),
    (lambda C, o: o.s.select_tags(tag_keys=()), node("selectTags", obj(("input", S)))),
    # Selection by name.
    (lambda C, o: C.NumericSeries.SelectNumeric("x", None, None), node("selectNumeric", obj(("name", lit("x"))))),
    (lambda C, o: C.NumericSeries.SelectNumeric(C.StringConstant.Reference("n"), o.d, o.sampling),
     node("selectNumeric", obj(("name", var("n")), ("dataset", RUN_R1), ("sampling", HASH_2)))),
    (lambda C, o: C.NumericSeries.SelectNumeric(sampling=o.sampling, name=""),
     node("selectNumeric", obj(("name", lit("")), ("sampling", HASH_2)))),
    # Functions of several series.
    (lambda C, o: C.NumericSeries.Udf([], o.src), node("scalarUdf", obj(("source", RUST_F)))),
    (lambda C, o: C.NumericSeries.Udf([o.s, o.s], o.src),
     node("scalarUdf", obj(("inputs", "[%s,%s]" % (node("numeric", S), node("numeric", S))), ("source", RUST_F)))),
    (lambda C, o: C.NumericSeries.Udf((o.c, o.s, o.t), source=o.src),
     node("scalarUdf", obj(("inputs", "[%s,%s,%s]" % (node("enum", CAT), node("numeric", S), node("struct", STRUCT))),
                           ("source", RUST_F)))),
    (lambda C, o: C.NumericSeries.NumericAggregation(o.agg, C.NumericAggregationOperator.Count()),
     node("numericAggregation", obj(("input", ROLLING_3), ("operator", node("count", "{}"))))),
]


@pytest.mark.parametrize("call,expected", CALLS)
def test_calls(C, o, call, expected):
    check_builds(o, lambda: call(C, o), C.NumericSeries, expected)


def test_equal_nodes_from_different_roads(C, o):
    with o.unchanged():
        assert C.NumericSeries.RustUdf([o.c, o.s], "f").to_json() == C.NumericSeries.Udf([o.c, o.s], o.src).to_json()
        for op in (C.NumericAggregationOperator.Sum(), C.NumericAggregationOperator.Percentile(0.5)):
            assert C.NumericSeries.NumericAggregation(o.agg, op).to_json() == o.agg.numeric_aggregation(op).to_json()
        rolling = o.s.rolling_time(o.dur)
        op = C.NumericAggregationOperator.Max()
        assert C.NumericSeries.NumericAggregation(input=rolling, operator=op).to_json() == \
            rolling.numeric_aggregation(op).to_json()


@pytest.mark.parametrize(
    "call,message",
    [
        (lambda C, o: o.s.time_shift(5), "argument 'duration': 'int' object is not an instance of 'Duration'"),
        (lambda C, o: o.s.to_start_of_interval("5m"), "argument 'window': 'str' object is not an instance of 'Duration'"),
        (lambda C, o: o.s.derivative("days", 5),
         "argument 'negative_values_configuration': 'int' object is not an instance of 'NegativeValueConfiguration'"),
        (lambda C, o: o.s.value_difference(o.sfc),
         "argument 'negative_values_configuration': "
         "'SignalFilterConfiguration' object is not an instance of 'NegativeValueConfiguration'"),
        (lambda C, o: o.s.signal_filter(None, 2),
         "argument 'signal_filter_configuration': 'None' is not an instance of 'SignalFilterConfiguration'"),
        (lambda C, o: o.s.select_tags("ab"), "argument 'tag_keys': Can't extract `str` to `Vec`"),
        (lambda C, o: o.s.z_score({"a"}), "argument 'group_by_tags': 'set' object is not an instance of 'Sequence'"),
        (lambda C, o: C.NumericSeries.SelectNumeric("x", 1), "argument 'dataset': 'int' object is not an instance of 'Dataset'"),
        (lambda C, o: C.NumericSeries.SelectNumeric("x", sampling=o.d),
         "argument 'sampling': 'Dataset' object is not an instance of 'Sampling'"),
        (lambda C, o: C.NumericSeries.Udf([o.s, 1.0], o.src),
         "argument 'inputs': Expected one of: enum (Class(CategoricalSeries)), numeric (Class(NumericSeries)), "
         "struct (Class(StructSeries))"),
        (lambda C, o: C.NumericSeries.Udf([o.s], "f"), "argument 'source': 'str' object is not an instance of 'UdfSource'"),
        (lambda C, o: C.NumericSeries.Udf([o.r], o.src),
         "argument 'inputs': Expected one of: enum (Class(CategoricalSeries)), numeric (Class(NumericSeries)), "
         "struct (Class(StructSeries))"),
        (lambda C, o: C.NumericSeries.NumericAggregation(o.agg, C.EnumAggregationOperator.Min()),
         "argument 'operator': 'EnumAggregationOperator' object is not an instance of 'NumericAggregationOperator'"),
        (lambda C, o: C.NumericSeries.NumericAggregation(o.s, C.NumericAggregationOperator.Min()),
         "argument 'input': 'NumericSeries' object is not an instance of 'AggregationBuilder'"),
        # Binding comes first, and its messages name the method.
        (lambda C, o: o.s.group_by(o.tags),
         "NumericSeries.group_by() missing 1 required positional argument: 'timestamp'"),
        (lambda C, o: o.s.signal_filter(o.sfc),
         "NumericSeries.signal_filter() missing 1 required positional argument: 'order'"),
        (lambda C, o: o.s.signal_filter(o.sfc, 1, 2, 3),
         "NumericSeries.signal_filter() takes from 2 to 3 positional arguments but 4 were given"),
        (lambda C, o: o.s.derivative(unit="days"),
         "NumericSeries.derivative() got an unexpected keyword argument 'unit'"),
        (lambda C, o: C.NumericSeries.Udf(),
         "NumericSeries.Udf() missing 2 required positional arguments: 'inputs' and 'source'"),
        (lambda C, o: C.NumericSeries.SelectNumeric("x", name="y"),
         "NumericSeries.SelectNumeric() got multiple values for argument 'name'"),
    ],
)
def test_refusals(C, o, call, message):
    with o.unchanged():
        assert type_error(call, C, o) == message


def test_an_optional_argument_that_does_not_convert_is_no_absent_value(C, o):
    message = type_error(o.s.signal_filter, o.sfc, 2, "fast")
    assert message.startswith("argument 'sampling_frequency': failed to extract enum FloatConstantInput "
                              "('Wrapped | Native0')\n- variant Wrapped (Wrapped): ")


def test_time_units_are_converted_in_parameter_order(C, o):
    with o.unchanged():
        # The unit comes before the configuration, so its ValueError is what is reported.
        assert value_error(o.s.derivative, "Days", 5) == time_unit_error("Days")
        assert value_error(o.s.derivative, "Seconds") == time_unit_error("Seconds")
        assert value_error(o.s.derivative, negative_values_configuration=o.nvc, time_unit="sec") == \
            time_unit_error("sec")


def test_the_order_is_narrowed_after_every_argument_converted(C, o):
    with o.unchanged():
        with pytest.raises(TypeError, match="^argument 'sampling_frequency': "):
            o.s.signal_filter(o.sfc, 2**31, "x")
        with pytest.raises(TypeError, match="^argument 'signal_filter_configuration': "):
            o.s.signal_filter(1, 2**31)
        assert panics(o.s.signal_filter, o.sfc, 2**31, 1.0) == "integer value exceeds i32 range: TryFromIntError(())"
        assert panics(o.s.signal_filter, o.sfc, -(2**31) - 1) == "integer value exceeds i32 range: TryFromIntError(())"
        # Beyond 64 bits the int fails in conversion, where the overflow only shows in the text.
        assert ", caused by OverflowError: " in type_error(o.s.signal_filter, o.sfc, 2**64)


def test_a_failing_tag_reports_that_element(C, o):
    assert type_error(o.s.select_tags, ["a", 1]).startswith(
        "argument 'tag_keys': failed to extract enum StringConstantInput ('Wrapped | Native0')\n")


@given(st.lists(st.text(st.characters(blacklist_categories=("Cs",)), max_size=4)))
def test_tag_sets_are_sorted_by_utf8_bytes_without_duplicates(tags):
    from quarnel.compute import _compute as C

    written = json.loads(C.NumericSeries.Reference("a").z_score(tags).to_json())["zScore"].get("groupByTags", [])
    expected = sorted(set(tags), key=lambda t: t.encode("utf-8"))
    assert [w["literal"] for w in written] == expected
    assert all(w["type"] == "literal" for w in written)
