"""The node every method, module function and operator builds, as the JSON that to_json()
writes."""

import json
import re

import pytest
from conftest import (
    AGG,
    CAT,
    DUR,
    RANGE,
    SERIES,
    SRC,
    STRUCT,
    TEXT,
    A,
    B,
    D,
    J,
    K,
    L,
    R,
    S,
    U,
    V,
    raw,
    run,
)
from quarnel.compute import _compute as C

UNARY = ["abs", "cos", "sin", "tan", "acos", "asin", "ln", "log10", "sqrt"]
LISTS = [
    (m, m.lower(), "input" if m == "Union" else "inputs")
    for m in ("Max", "Mean", "Min", "Sum", "Union", "Product")
]
INTEGER = [
    ("bit_and", "bitAnd", "operand"),
    ("bit_or", "bitOr", "operand"),
    ("bit_xor", "bitXor", "operand"),
    ("bit_shift_right", "bitShiftRight", "operand"),
    ("bit_shift_left", "bitShiftLeft", "operand"),
    ("bit_test", "bitTest", "index"),
    ("head", "selectOldestPoints", "numPoints"),
    ("tail", "selectNewestPoints", "numPoints"),
    ("nth_point_downsample", "nthPointDownsample", "n"),
    ("largest_triangle_three_buckets", "largestTriangleThreeBuckets", "maxPointsToReturn"),
]
ARITHMETIC = [
    ("+", "add", "left", "right"),
    ("-", "subtract", "left", "right"),
    ("*", "multiply", "left", "right"),
    ("/", "divide", "left", "right"),
    ("//", "floorDivide", "left", "right"),
    ("%", "modulo", "left", "right"),
    ("**", "power", "base", "exponent"),
]
COMPARISONS = [
    ("<", "lessThan", "greaterThan"),
    (">", "greaterThan", "lessThan"),
    ("==", "equalTo", "equalTo"),
    ("!=", "notEqualTo", "notEqualTo"),
    ("<=", "lessThanOrEqualTo", "greaterThanOrEqualTo"),
    (">=", "greaterThanOrEqualTo", "lessThanOrEqualTo"),
]
UNITS = ["days", "hours", "minutes", "seconds", "milliseconds", "microseconds", "nanoseconds"]
DURATIONS = ["Nanoseconds", "Milliseconds", "Seconds", "Minutes", "Hours", "Days"]
FIXED = [
    ("sum", "Sum", "sum"),
    ("average", "Average", "average"),
    ("min", "Min", "min"),
    ("max", "Max", "max"),
    ("count", "Count", "count"),
    ("standard_deviation", "StandardDeviation", "standardDeviation"),
    ("root_mean_square", "RootMeanSquare", "rootMeanSquare"),
]
M, SFC, NAN, CUR = R(output=L("x")), J("lowPass", cutoffFrequency=L(1.5)), L(None), J("current")
NVC, EXCLUDE, SMP = J("allowNegativeValues"), J("excludeNegativeValues"), J("hashSubsample", n=L(2))


def aggregated(operator):
    return J("numericAggregation", input=AGG, operator=operator)


# Per result class: the call, and the JSON of the node it returns.
TABLE = {
    "NumericSeries": [
        (
            "s + 2.0",
            '{"type":"add","add":{"left":{"type":"raw","raw":{"name":"a"}},"right":'
            '{"type":"constant","constant":{"type":"double","double":'
            '{"type":"literal","literal":2.0}}}}}',
        ),
        *[(f"s.{f}()", J(f, x=S)) for f in UNARY],
        *[(f"{f}(s)", J(f, x=S)) for f in UNARY],
        ("abs(True)", J("abs", x=K(1))),
        ("abs(Idx())", J("abs", x=K(3))),
        ("abs(Half(0.5))", J("abs", x=K(0.5))),
        ("s.drop_nan()", J("dropNan", input=S)),
        ("abs(float('nan'))", J("abs", x=J("constant", J("double", NAN)))),
        ("s.atan2(x=2.5)", J("atan2", y=S, x=K(2.5))),
        ("atan2(1, s)", J("atan2", y=K(1), x=S)),
        *[
            (f"NumericSeries.{m}([s, 1.5, s])", J(v, **{key: A(S, K(1.5), S)}))
            for m, v, key in LISTS
        ],
        *[(f"{v}((u, 1))", J(v, inputs=A(U, K(1)))) for _, v, _ in LISTS if v != "union"],
        ("mean(inputs=range(0))", J("mean")),
        ("sum(b'\\x01')", J("sum", inputs=A(K(1)))),
        # a length is only a hint
        *[
            (f"max(LiesLen({n}, [0.0, 1.0]))", J("max", inputs=A(K(0), K(1))))
            for n in ("0", "1", "sys.maxsize")
        ],
        ("max(RaisesLen(ValueError))", J("max", inputs=A(K(1)))),
        *[
            (f"NumericSeries.Constant({x})", J("constant", J("double", L(2.5))))
            for x in ("2.5", "cns")
        ],
        (
            "NumericSeries.Constant(ConstantNumericSeries.Float(fc))",
            J("constant", J("double", V("f"))),
        ),
        *[(f"s.{m}(3)", J(v, input=S, **{f: L(3)})) for m, v, f in INTEGER],
        ("s.bit_and(k)", J("bitAnd", input=S, operand=V("k"))),
        (
            "NumericSeries.IfElse(b, 1.5, s)",
            J("ifElse", condition=B, trueValue=K(1.5), falseValue=S),
        ),
        (
            "numeric_if_else(false_value=2, condition=b, true_value=u)",
            J("ifElse", condition=B, trueValue=U, falseValue=K(2)),
        ),
        # a keyword known by its text only, not by identity
        (
            "NumericSeries.IfElse(b, 2, **{''.join(['false_', 'value']): u})",
            J("ifElse", condition=B, trueValue=K(2), falseValue=U),
        ),
        ("NumericSeries.Reference('')", raw("")),
        ("NumericSeries.Reference(Name('n'))", raw("n")),
        ("s.unit_conversion('m')", J("unitConversion", input=S, outputUnit='"m"')),
        (
            "NumericSeries.SelectNumeric('x', sampling=smp)",
            J("selectNumeric", name=L("x"), sampling=SMP),
        ),
        (
            "NumericSeries.SelectNumeric(sc, d, smp)",
            J("selectNumeric", name=V("v"), dataset=D, sampling=SMP),
        ),
        ("NumericSeries.NumericAggregation(agg, nop)", aggregated(J("count"))),
        (
            "s.derivative(negative_values_configuration=nvc)",
            J("derivative", input=S, negativeValuesConfiguration=NVC),
        ),
        (
            "s.derivative('nanoseconds', nvc)",
            J("derivative", input=S, timeUnit='"NANOSECONDS"', negativeValuesConfiguration=NVC),
        ),
        ("s.z_score([])", J("zScore", input=S)),
        ("s.z_score(('b', 'a', 'b'))", J("zScore", input=S, groupByTags=A(L("a"), L("b")))),
        (
            "s.select_tags([sc, 'z', 'ab', 'B', 'a', StringConstant.Literal('a')])",
            J("selectTags", input=S, tagKeys=A(L("B"), L("a"), L("ab"), L("z"), V("v"))),
        ),
        (
            "s.signal_filter(sfc, 4)",
            J("signalFilter", input=S, signalFilterConfiguration=SFC, order=L(4)),
        ),
        (
            "s.signal_filter(sampling_frequency=fc, order=k, signal_filter_configuration=sfc)",
            J(
                "signalFilter",
                input=S,
                signalFilterConfiguration=SFC,
                order=V("k"),
                samplingFrequency=V("f"),
            ),
        ),
        (
            "s.signal_filter(sfc, -2, 100)",
            J(
                "signalFilter",
                input=S,
                signalFilterConfiguration=SFC,
                order=L(-2),
                samplingFrequency=L(100.0),
            ),
        ),
        ("s.time_shift(dur)", J("timeShiftV2", input=S, duration=DUR)),
        ("s.to_start_of_interval(window=dur)", J("toStartOfInterval", input=S, window=DUR)),
        (
            "s.value_difference(NegativeValueConfiguration.ExcludeNegativeValues())",
            J("valueDifference", input=S, negativeValuesConfiguration=EXCLUDE),
        ),
        ("NumericSeries.Udf([], src)", J("scalarUdf", source=SRC)),
        (
            "NumericSeries.Udf((c, s, t, s), source=src)",
            J(
                "scalarUdf",
                inputs=A(J("enum", CAT), J("numeric", S), J("struct", STRUCT), J("numeric", S)),
                source=SRC,
            ),
        ),
        (
            "NumericSeries.RustUdf([s], 'x')",
            J("scalarUdf", inputs=A(J("numeric", S)), source=J("rust", sourceCode='"x"')),
        ),
        *[(f"{x}.time_difference()", J("timeDifference", input=i)) for x, i in SERIES],
        *[
            (f"{x}.time_difference('days')", J("timeDifference", input=i, timeUnit='"DAYS"'))
            for x, i in SERIES
        ],
        *[
            (
                f"{x}.absolute_timestamp(time_unit='{u}')",
                J("absoluteTimestamp", input=i, timeUnit='"%s"' % u.upper()),
            )
            for (x, i), u in zip(SERIES * 3, UNITS)
        ],
        (
            "s.absolute_timestamp(Days())",
            J("absoluteTimestamp", input=J("numeric", S), timeUnit='"DAYS"'),
        ),
        (
            "t.extract_numeric(['a', sc, 'a'], 'uint64')",
            J(
                "extractFromStruct",
                input=STRUCT,
                fieldPath=A(L("a"), V("v"), L("a")),
                dataType='"UINT64"',
            ),
        ),
        (
            "t.extract_numeric([], 'int64')",
            J("extractFromStruct", input=STRUCT, dataType='"INT64"'),
        ),
        (
            "t.extract_numeric(('',), data_type='float64')",
            J("extractFromStruct", input=STRUCT, fieldPath=A(L("")), dataType='"FLOAT64"'),
        ),
        *[(f"agg.{m}()", aggregated(J(v))) for m, _, v in FIXED],
        ("agg.numeric_aggregation(operator=nop)", aggregated(J("count"))),
        ("agg.percentile(95)", aggregated(J("percentile", percentile=L(95.0)))),
        ("agg.percentile(fc)", aggregated(J("percentile", percentile=V("f")))),
        ("agg.udf(src)", aggregated(J("udf", source=SRC))),
        ("agg.rust_udf(source_code='f')", aggregated(J("udf", source=SRC))),
        *[(f"s {op} u", J(v, **{first: S, second: U})) for op, v, first, second in ARITHMETIC],
        *[(f"2 {op} s", J(v, **{first: K(2), second: S})) for op, v, first, second in ARITHMETIC],
        ("s + True", J("add", left=S, right=K(1))),
        ("-(-s)", J("negate", x=J("negate", x=S))),
        ("pow(s, 2)", J("power", base=S, exponent=K(2))),
    ],
    "BooleanSeries": [
        *[(f"s {op} 2", J(v, left=S, right=K(2))) for op, v, _ in COMPARISONS],
        *[(f"2.0 {op} s", J(mirrored, left=S, right=K(2))) for op, _, mirrored in COMPARISONS],
        ("0 < s < 1", B),
        ("b | b", J("or", left=B, right=B)),
        ("b & (s > u)", J("and", left=B, right=J("greaterThan", left=S, right=U))),
    ],
    "CategoricalSeries": [
        ("CategoricalSeries.Reference('')", raw("")),
        ("CategoricalSeries.ValueMap(s, [])", J("valueMap", input=S)),
        (
            "CategoricalSeries.ValueMap(2.5, [m], 'y')",
            J("valueMap", input=K(2.5), mapping=A(M), default=L("y")),
        ),
        (
            "CategoricalSeries.ValueMap(default=sc,"
            " mapping=(m, RangeMap('h', 10.0, 20), m), input=2)",
            J(
                "valueMap",
                input=K(2),
                mapping=A(M, R(start=L(10.0), end=L(20.0), output=L("h")), M),
                default=V("v"),
            ),
        ),
        (
            "CategoricalSeries.EnumAggregation(agg, eop)",
            J("enumAggregation", input=AGG, operator=J("min")),
        ),
        (
            "agg.enum_aggregation(EnumAggregationOperator.Udf(src))",
            J("enumAggregation", input=AGG, operator=J("udf", source=SRC)),
        ),
    ],
    "RangeSeries": [
        ("RangeSeries.Reference(name='')", raw("")),
        ("r.invert().invert()", J("not", input=J("not", input=RANGE))),
        ("RangeSeries.Union([])", J("unionRange")),
        ("RangeSeries.Intersect(())", J("intersectRange")),
        (
            "RangeSeries.Union((r, RangeSeries.Reference('q'), r))",
            J("unionRange", inputs=A(RANGE, raw("q"), RANGE)),
        ),
        (
            "RangeSeries.Intersect([r.invert()])",
            J("intersectRange", inputs=A(J("not", input=RANGE))),
        ),
    ],
    "StructSeries": [
        ("StructSeries.Combine({})", J("combine")),
        (
            "StructSeries.Combine({'b': s, 'aa': c, '': t, 'B': s, 'a': s})",
            J(
                "combine",
                inputs=R(
                    **{
                        "": J("struct", STRUCT),
                        "B": J("numeric", S),
                        "a": J("numeric", S),
                        "aa": J("enum", CAT),
                        "b": J("numeric", S),
                    }
                ),
            ),
        ),
        (
            "StructSeries.Combine({Twin('k'): s, 'j': c, Twin('k'): u})",
            J("combine", inputs=R(j=J("enum", CAT), k=J("numeric", U))),
        ),
    ],
    "FloatConstant": [
        ("FloatConstant.Literal(3)", L(3.0)),
        ("FloatConstant.Literal(True)", L(1.0)),
        ("FloatConstant.Literal(float('-inf'))", NAN),
        ("FloatConstant.Reference('f')", V("f")),
    ],
    "IntegerConstant": [
        ("IntegerConstant.Literal(True)", L(1)),
        ("IntegerConstant.Reference('')", V("")),
        ("IntegerConstant.Literal(-2147483648)", L(-2147483648)),
    ],
    "StringConstant": [
        ("StringConstant.Literal(' A b ')", L(" A b ")),
        ("StringConstant.Literal(TEXT)", L(TEXT)),
        ("StringConstant.Reference('v')", V("v")),
    ],
    "ConstantNumericSeries": [
        ("ConstantNumericSeries.Float(fc)", J("double", V("f"))),
        ("ConstantNumericSeries.Float(value=2)", J("double", L(2.0))),
    ],
    "Dataset": [
        *[(f"Dataset.{m}('ri.x')", J(m.lower(), rid=L("ri.x"))) for m in ("Asset", "Run", "Saved")],
        ("Dataset.Saved(sc)", J("saved", rid=V("v"))),
        ("Dataset.Combine([])", J("combine")),
        (
            "Dataset.Combine((d, Dataset.Asset(''), d))",
            J("combine", inputs=A(D, J("asset", rid=L("")), D)),
        ),
        ("d.tag(value=sc, key='k')", J("tag", input=D, key=L("k"), value=V("v"))),
        ("d.time_shift(-dur)", J("timeShift", input=D, offset=J("negate", input=DUR))),
    ],
    "Duration": [
        *[(f"Duration.{m}(-3)", J(m.lower(), **{m.lower(): L(-3)})) for m in DURATIONS],
        ("Duration.Days(days=k)", J("days", days=V("k"))),
        ("Duration.Milliseconds(2147483647)", J("milliseconds", milliseconds=L(2147483647))),
        ("dur + Duration.Reference('w')", J("add", left=DUR, right=J("reference", name='"w"'))),
        ("dur - dur", J("subtract", left=DUR, right=DUR)),
        ("-dur", J("negate", input=DUR)),
    ],
    "Sampling": [
        ("Sampling.EveryNthPerSeries(0)", J("everyNthPerSeries", n=L(0))),
        ("Sampling.HashSubsample(n=k)", J("hashSubsample", n=V("k"))),
    ],
    "UdfSource": [
        ("UdfSource.Rust('')", J("rust", sourceCode='""')),
        (
            "UdfSource.Rust(source_code=TEXT)",
            J("rust", sourceCode=json.dumps(TEXT, ensure_ascii=False)),
        ),
    ],
    "GroupByTags": [
        ("GroupByTags.Current()", CUR),
        ("GroupByTags.Subset([])", J("subset")),
        ("GroupByTags.Subset([sc, 'b', 'a', 'b'])", J("subset", tags=A(L("a"), L("b"), V("v")))),
    ],
    "GroupByTimestamp": [
        ("GroupByTimestamp.Current()", CUR),
        ("GroupByTimestamp.Every(dur)", J("every", DUR)),
    ],
    "RangeMap": [
        ("RangeMap('x', 5, -5)", R(start=L(5.0), end=L(-5.0), output=L("x"))),
        ("RangeMap(sc, end=fc)", R(end=V("f"), output=V("v"))),
        ("RangeMap(output='x', start=2.5)", R(start=L(2.5), output=L("x"))),
    ],
    "NegativeValueConfiguration": [
        (f"NegativeValueConfiguration.{m}()", J(m[0].lower() + m[1:]))
        for m in ("AllowNegativeValues", "SetNegativeValuesToZero", "ExcludeNegativeValues")
    ],
    "SignalFilterConfiguration": [
        ("SignalFilterConfiguration.LowPass(10)", J("lowPass", cutoffFrequency=L(10.0))),
        (
            "SignalFilterConfiguration.HighPass(cutoff_frequency=-0.5)",
            J("highPass", cutoffFrequency=L(-0.5)),
        ),
        (
            "SignalFilterConfiguration.BandPass("
            "high_passband_frequency=fc, low_passband_frequency=5)",
            J("bandPass", lowPassbandFrequency=L(5.0), highPassbandFrequency=V("f")),
        ),
        (
            "SignalFilterConfiguration.BandStop(1.5, FloatConstant.Literal(2.5))",
            J("bandStop", lowStopbandFrequency=L(1.5), highStopbandFrequency=L(2.5)),
        ),
    ],
    "AggregationBuilder": [
        ("t.rolling_points(10)", J("rollingPoints", input=J("struct", STRUCT), points=L(10))),
        *[
            row
            for x, i in SERIES
            for row in [
                (f"{x}.rolling_time(window=dur)", J("rollingTime", input=i, window=DUR)),
                (f"{x}.rolling_points(k)", J("rollingPoints", input=i, points=V("k"))),
            ]
        ],
        *[
            (
                f"{x}.group_by(timestamp=GroupByTimestamp.Every(dur),"
                " tags=GroupByTags.Subset(['t']))",
                J("groupBy", input=i, tags=J("subset", tags=A(L("t"))), timestamp=J("every", DUR)),
            )
            for x, i in SERIES
        ],
        ("s.group_by(tags, ts)", J("groupBy", input=J("numeric", S), tags=CUR, timestamp=CUR)),
    ],
    "NumericAggregationOperator": [
        *[(f"NumericAggregationOperator.{m}()", J(v)) for _, m, v in FIXED],
        ("NumericAggregationOperator.Percentile(-1)", J("percentile", percentile=L(-1.0))),
        ("NumericAggregationOperator.Udf(source=src)", J("udf", source=SRC)),
    ],
    "EnumAggregationOperator": [
        *[(f"EnumAggregationOperator.{m}()", J(m.lower())) for m in ("Min", "Max")],
        ("EnumAggregationOperator.Udf(src)", J("udf", source=SRC)),
    ],
}
ROWS = [(cls, call, expected) for cls, rows in TABLE.items() for call, expected in rows]


@pytest.mark.parametrize("cls,call,expected", ROWS, ids=[call for _, call, _ in ROWS])
def test_json(o, cls, call, expected):
    with o.unchanged():
        result = run(o, call)
        assert type(result) is getattr(C, cls)
        assert result.to_json() == expected
        assert run(o, call).to_json() == expected


def test_the_table_calls_every_method_and_function():
    calls = " ".join(call for _, call, _ in ROWS)
    for name in C.__all__:
        entry = getattr(C, name)
        methods = (
            [m for m in vars(entry) if m[0] != "_" and m != "to_json"]
            if isinstance(entry, type)
            else [None]
        )
        for m in methods:
            assert re.search(r"\.%s\(" % m if m else r"(^|[^\w.])%s\(" % name, calls), (name, m)


OPTIONAL = [
    ("s.derivative(None, None)", "s.derivative()"),
    (
        "s.derivative(time_unit=None, negative_values_configuration=nvc)",
        "s.derivative(negative_values_configuration=nvc)",
    ),
    ("s.signal_filter(sfc, 4, None)", "s.signal_filter(sfc, 4)"),
    ("s.value_difference(None)", "s.value_difference()"),
    (
        "NumericSeries.SelectNumeric('x', dataset=None, sampling=smp)",
        "NumericSeries.SelectNumeric('x', sampling=smp)",
    ),
    *[(f"{x}.time_difference(None)", f"{x}.time_difference()") for x, _ in SERIES],
    ("CategoricalSeries.ValueMap(s, [m], None)", "CategoricalSeries.ValueMap(s, [m])"),
    ("t.extract_numeric(['x'], None)", "t.extract_numeric(['x'])"),
    ("RangeMap('x', start=None, end=2)", "RangeMap('x', end=2)"),
]


@pytest.mark.parametrize("given,omitted", OPTIONAL, ids=[g for g, _ in OPTIONAL])
def test_none_is_an_omitted_optional_argument(o, given, omitted):
    assert run(o, given).to_json() == run(o, omitted).to_json()
