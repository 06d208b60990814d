"""The node every method, module function and operator builds, as the JSON that to_json()
writes."""

# The classes come from their star import (classes.py), by the module's __all__.
# ruff: noqa: F405

import inspect
import json
import operator
import sys

import pytest
from classes import *  # noqa: F403
from conftest import (
    AGG,
    CAT,
    DUR,
    RANGE,
    SERIES,
    SRC,
    STRUCT,
    TEXT,
    B,
    D,
    Days,
    Half,
    Index,
    Name,
    S,
    Twin,
    U,
    array,
    literal,
    node,
    number,
    raw,
    record,
    variable,
)
from hostile import LiesLen, RaisesLen
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
    ("+", operator.add, "add", "left", "right"),
    ("-", operator.sub, "subtract", "left", "right"),
    ("*", operator.mul, "multiply", "left", "right"),
    ("/", operator.truediv, "divide", "left", "right"),
    ("//", operator.floordiv, "floorDivide", "left", "right"),
    ("%", operator.mod, "modulo", "left", "right"),
    ("**", operator.pow, "power", "base", "exponent"),
]
COMPARISONS = [
    ("<", operator.lt, "lessThan", "greaterThan"),
    (">", operator.gt, "greaterThan", "lessThan"),
    ("==", operator.eq, "equalTo", "equalTo"),
    ("!=", operator.ne, "notEqualTo", "notEqualTo"),
    ("<=", operator.le, "lessThanOrEqualTo", "greaterThanOrEqualTo"),
    (">=", operator.ge, "greaterThanOrEqualTo", "lessThanOrEqualTo"),
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
M, NAN, CUR = record(output=literal("x")), literal(None), node("current")
SFC, SMP = node("lowPass", cutoffFrequency=literal(1.5)), node("hashSubsample", n=literal(2))
NVC, EXCLUDE = node("allowNegativeValues"), node("excludeNegativeValues")


def aggregated(operator):
    return node("numericAggregation", input=AGG, operator=operator)


def method(operand, name, *args, **kwargs):
    """The call of a method named by its text on one of the operands."""
    return lambda o: getattr(getattr(o, operand), name)(*args, **kwargs)


# Per result class: the call as it reads, the call, and the JSON of the node it returns.
TABLE = {
    "NumericSeries": [
        (
            "s + 2.0",
            lambda o: o.s + 2.0,
            '{"type":"add","add":{"left":{"type":"raw","raw":{"name":"a"}},"right":'
            '{"type":"constant","constant":{"type":"double","double":'
            '{"type":"literal","literal":2.0}}}}}',
        ),
        *[(f"s.{f}()", method("s", f), node(f, x=S)) for f in UNARY],
        *[(f"{f}(s)", lambda o, f=f: getattr(C, f)(o.s), node(f, x=S)) for f in UNARY],
        ("abs(True)", lambda o: C.abs(True), node("abs", x=number(1))),
        ("abs(Index())", lambda o: C.abs(Index()), node("abs", x=number(3))),
        ("abs(Half(0.5))", lambda o: C.abs(Half(0.5)), node("abs", x=number(0.5))),
        ("s.drop_nan()", lambda o: o.s.drop_nan(), node("dropNan", input=S)),
        (
            "abs(float('nan'))",
            lambda o: C.abs(float("nan")),
            node("abs", x=node("constant", node("double", NAN))),
        ),
        ("s.atan2(x=2.5)", lambda o: o.s.atan2(x=2.5), node("atan2", y=S, x=number(2.5))),
        ("atan2(1, s)", lambda o: C.atan2(1, o.s), node("atan2", y=number(1), x=S)),
        *[
            (
                f"NumericSeries.{m}([s, 1.5, s])",
                lambda o, m=m: getattr(NumericSeries, m)([o.s, 1.5, o.s]),
                node(v, **{key: array(S, number(1.5), S)}),
            )
            for m, v, key in LISTS
        ],
        *[
            (
                f"{v}((u, 1))",
                lambda o, v=v: getattr(C, v)((o.u, 1)),
                node(v, inputs=array(U, number(1))),
            )
            for _, v, _ in LISTS
            if v != "union"
        ],
        ("mean(inputs=range(0))", lambda o: C.mean(inputs=range(0)), node("mean")),
        ("sum(b'\\x01')", lambda o: C.sum(b"\x01"), node("sum", inputs=array(number(1)))),
        # a length is only a hint
        *[
            (
                f"max(LiesLen({text}, [0.0, 1.0]))",
                lambda o, n=n: C.max(LiesLen(n, [0.0, 1.0])),
                node("max", inputs=array(number(0), number(1))),
            )
            for text, n in (("0", 0), ("1", 1), ("sys.maxsize", sys.maxsize))
        ],
        (
            "max(RaisesLen(ValueError))",
            lambda o: C.max(RaisesLen(ValueError)),
            node("max", inputs=array(number(1))),
        ),
        (
            "NumericSeries.Constant(2.5)",
            lambda o: NumericSeries.Constant(2.5),
            node("constant", node("double", literal(2.5))),
        ),
        (
            "NumericSeries.Constant(cns)",
            lambda o: NumericSeries.Constant(o.cns),
            node("constant", node("double", literal(2.5))),
        ),
        (
            "NumericSeries.Constant(ConstantNumericSeries.Float(fc))",
            lambda o: NumericSeries.Constant(ConstantNumericSeries.Float(o.fc)),
            node("constant", node("double", variable("f"))),
        ),
        *[
            (f"s.{m}(3)", method("s", m, 3), node(v, input=S, **{f: literal(3)}))
            for m, v, f in INTEGER
        ],
        (
            "s.bit_and(k)",
            lambda o: o.s.bit_and(o.k),
            node("bitAnd", input=S, operand=variable("k")),
        ),
        (
            "NumericSeries.IfElse(b, 1.5, s)",
            lambda o: NumericSeries.IfElse(o.b, 1.5, o.s),
            node("ifElse", condition=B, trueValue=number(1.5), falseValue=S),
        ),
        (
            "numeric_if_else(false_value=2, condition=b, true_value=u)",
            lambda o: C.numeric_if_else(false_value=2, condition=o.b, true_value=o.u),
            node("ifElse", condition=B, trueValue=U, falseValue=number(2)),
        ),
        # a keyword known by its text only, not by identity
        (
            "NumericSeries.IfElse(b, 2, **{''.join(['false_', 'value']): u})",
            lambda o: NumericSeries.IfElse(o.b, 2, **{"".join(["false_", "value"]): o.u}),
            node("ifElse", condition=B, trueValue=number(2), falseValue=U),
        ),
        ("NumericSeries.Reference('')", lambda o: NumericSeries.Reference(""), raw("")),
        (
            "NumericSeries.Reference(Name('n'))",
            lambda o: NumericSeries.Reference(Name("n")),
            raw("n"),
        ),
        (
            "s.unit_conversion('m')",
            lambda o: o.s.unit_conversion("m"),
            node("unitConversion", input=S, outputUnit='"m"'),
        ),
        (
            "NumericSeries.SelectNumeric('x', sampling=smp)",
            lambda o: NumericSeries.SelectNumeric("x", sampling=o.smp),
            node("selectNumeric", name=literal("x"), sampling=SMP),
        ),
        (
            "NumericSeries.SelectNumeric(sc, d, smp)",
            lambda o: NumericSeries.SelectNumeric(o.sc, o.d, o.smp),
            node("selectNumeric", name=variable("v"), dataset=D, sampling=SMP),
        ),
        (
            "NumericSeries.NumericAggregation(agg, nop)",
            lambda o: NumericSeries.NumericAggregation(o.agg, o.nop),
            aggregated(node("count")),
        ),
        (
            "s.derivative(negative_values_configuration=nvc)",
            lambda o: o.s.derivative(negative_values_configuration=o.nvc),
            node("derivative", input=S, negativeValuesConfiguration=NVC),
        ),
        (
            "s.derivative('nanoseconds', nvc)",
            lambda o: o.s.derivative("nanoseconds", o.nvc),
            node(
                "derivative",
                input=S,
                timeUnit='"NANOSECONDS"',
                negativeValuesConfiguration=NVC,
            ),
        ),
        ("s.z_score([])", lambda o: o.s.z_score([]), node("zScore", input=S)),
        (
            "s.z_score(('b', 'a', 'b'))",
            lambda o: o.s.z_score(("b", "a", "b")),
            node("zScore", input=S, groupByTags=array(literal("a"), literal("b"))),
        ),
        (
            "s.select_tags([sc, 'z', 'ab', 'B', 'a', StringConstant.Literal('a')])",
            lambda o: o.s.select_tags([o.sc, "z", "ab", "B", "a", StringConstant.Literal("a")]),
            node(
                "selectTags",
                input=S,
                tagKeys=array(
                    literal("B"), literal("a"), literal("ab"), literal("z"), variable("v")
                ),
            ),
        ),
        (
            "s.signal_filter(sfc, 4)",
            lambda o: o.s.signal_filter(o.sfc, 4),
            node("signalFilter", input=S, signalFilterConfiguration=SFC, order=literal(4)),
        ),
        (
            "s.signal_filter(sampling_frequency=fc, order=k, signal_filter_configuration=sfc)",
            lambda o: o.s.signal_filter(
                sampling_frequency=o.fc, order=o.k, signal_filter_configuration=o.sfc
            ),
            node(
                "signalFilter",
                input=S,
                signalFilterConfiguration=SFC,
                order=variable("k"),
                samplingFrequency=variable("f"),
            ),
        ),
        (
            "s.signal_filter(sfc, -2, 100)",
            lambda o: o.s.signal_filter(o.sfc, -2, 100),
            node(
                "signalFilter",
                input=S,
                signalFilterConfiguration=SFC,
                order=literal(-2),
                samplingFrequency=literal(100.0),
            ),
        ),
        (
            "s.time_shift(dur)",
            lambda o: o.s.time_shift(o.dur),
            node("timeShiftV2", input=S, duration=DUR),
        ),
        (
            "s.to_start_of_interval(window=dur)",
            lambda o: o.s.to_start_of_interval(window=o.dur),
            node("toStartOfInterval", input=S, window=DUR),
        ),
        (
            "s.value_difference(NegativeValueConfiguration.ExcludeNegativeValues())",
            lambda o: o.s.value_difference(NegativeValueConfiguration.ExcludeNegativeValues()),
            node("valueDifference", input=S, negativeValuesConfiguration=EXCLUDE),
        ),
        (
            "NumericSeries.Udf([], src)",
            lambda o: NumericSeries.Udf([], o.src),
            node("scalarUdf", source=SRC),
        ),
        (
            "NumericSeries.Udf((c, s, t, s), source=src)",
            lambda o: NumericSeries.Udf((o.c, o.s, o.t, o.s), source=o.src),
            node(
                "scalarUdf",
                inputs=array(
                    node("enum", CAT),
                    node("numeric", S),
                    node("struct", STRUCT),
                    node("numeric", S),
                ),
                source=SRC,
            ),
        ),
        (
            "NumericSeries.RustUdf([s], 'x')",
            lambda o: NumericSeries.RustUdf([o.s], "x"),
            node(
                "scalarUdf",
                inputs=array(node("numeric", S)),
                source=node("rust", sourceCode='"x"'),
            ),
        ),
        *[
            (
                f"{x}.time_difference()",
                method(x, "time_difference"),
                node("timeDifference", input=i),
            )
            for x, i in SERIES
        ],
        *[
            (
                f"{x}.time_difference('days')",
                method(x, "time_difference", "days"),
                node("timeDifference", input=i, timeUnit='"DAYS"'),
            )
            for x, i in SERIES
        ],
        *[
            (
                f"{x}.absolute_timestamp(time_unit='{u}')",
                method(x, "absolute_timestamp", time_unit=u),
                node("absoluteTimestamp", input=i, timeUnit='"%s"' % u.upper()),
            )
            for (x, i), u in zip(SERIES * 3, UNITS)
        ],
        (
            "s.absolute_timestamp(Days())",
            lambda o: o.s.absolute_timestamp(Days()),
            node("absoluteTimestamp", input=node("numeric", S), timeUnit='"DAYS"'),
        ),
        (
            "t.extract_numeric(['a', sc, 'a'], 'uint64')",
            lambda o: o.t.extract_numeric(["a", o.sc, "a"], "uint64"),
            node(
                "extractFromStruct",
                input=STRUCT,
                fieldPath=array(literal("a"), variable("v"), literal("a")),
                dataType='"UINT64"',
            ),
        ),
        (
            "t.extract_numeric([], 'int64')",
            lambda o: o.t.extract_numeric([], "int64"),
            node("extractFromStruct", input=STRUCT, dataType='"INT64"'),
        ),
        (
            "t.extract_numeric(('',), data_type='float64')",
            lambda o: o.t.extract_numeric(("",), data_type="float64"),
            node(
                "extractFromStruct",
                input=STRUCT,
                fieldPath=array(literal("")),
                dataType='"FLOAT64"',
            ),
        ),
        *[(f"agg.{m}()", method("agg", m), aggregated(node(v))) for m, _, v in FIXED],
        (
            "agg.numeric_aggregation(operator=nop)",
            lambda o: o.agg.numeric_aggregation(operator=o.nop),
            aggregated(node("count")),
        ),
        (
            "agg.percentile(95)",
            lambda o: o.agg.percentile(95),
            aggregated(node("percentile", percentile=literal(95.0))),
        ),
        (
            "agg.percentile(fc)",
            lambda o: o.agg.percentile(o.fc),
            aggregated(node("percentile", percentile=variable("f"))),
        ),
        ("agg.udf(src)", lambda o: o.agg.udf(o.src), aggregated(node("udf", source=SRC))),
        (
            "agg.rust_udf(source_code='f')",
            lambda o: o.agg.rust_udf(source_code="f"),
            aggregated(node("udf", source=SRC)),
        ),
        *[
            (f"s {op} u", lambda o, f=f: f(o.s, o.u), node(v, **{first: S, second: U}))
            for op, f, v, first, second in ARITHMETIC
        ],
        *[
            (f"2 {op} s", lambda o, f=f: f(2, o.s), node(v, **{first: number(2), second: S}))
            for op, f, v, first, second in ARITHMETIC
        ],
        ("s + True", lambda o: o.s + True, node("add", left=S, right=number(1))),
        ("-(-s)", lambda o: operator.neg(-o.s), node("negate", x=node("negate", x=S))),
        ("pow(s, 2)", lambda o: pow(o.s, 2), node("power", base=S, exponent=number(2))),
    ],
    "BooleanSeries": [
        *[
            (f"s {op} 2", lambda o, f=f: f(o.s, 2), node(v, left=S, right=number(2)))
            for op, f, v, _ in COMPARISONS
        ],
        *[
            (f"2.0 {op} s", lambda o, f=f: f(2.0, o.s), node(mirrored, left=S, right=number(2)))
            for op, f, _, mirrored in COMPARISONS
        ],
        ("0 < s < 1", lambda o: 0 < o.s < 1, B),
        ("b | b", lambda o: o.b | o.b, node("or", left=B, right=B)),
        (
            "b & (s > u)",
            lambda o: o.b & (o.s > o.u),
            node("and", left=B, right=node("greaterThan", left=S, right=U)),
        ),
    ],
    "CategoricalSeries": [
        ("CategoricalSeries.Reference('')", lambda o: CategoricalSeries.Reference(""), raw("")),
        (
            "CategoricalSeries.ValueMap(s, [])",
            lambda o: CategoricalSeries.ValueMap(o.s, []),
            node("valueMap", input=S),
        ),
        (
            "CategoricalSeries.ValueMap(2.5, [m], 'y')",
            lambda o: CategoricalSeries.ValueMap(2.5, [o.m], "y"),
            node("valueMap", input=number(2.5), mapping=array(M), default=literal("y")),
        ),
        (
            "CategoricalSeries.ValueMap(default=sc,"
            " mapping=(m, RangeMap('h', 10.0, 20), m), input=2)",
            lambda o: CategoricalSeries.ValueMap(
                default=o.sc, mapping=(o.m, RangeMap("h", 10.0, 20), o.m), input=2
            ),
            node(
                "valueMap",
                input=number(2),
                mapping=array(
                    M, record(start=literal(10.0), end=literal(20.0), output=literal("h")), M
                ),
                default=variable("v"),
            ),
        ),
        (
            "CategoricalSeries.EnumAggregation(agg, eop)",
            lambda o: CategoricalSeries.EnumAggregation(o.agg, o.eop),
            node("enumAggregation", input=AGG, operator=node("min")),
        ),
        (
            "agg.enum_aggregation(EnumAggregationOperator.Udf(src))",
            lambda o: o.agg.enum_aggregation(EnumAggregationOperator.Udf(o.src)),
            node("enumAggregation", input=AGG, operator=node("udf", source=SRC)),
        ),
    ],
    "RangeSeries": [
        ("RangeSeries.Reference(name='')", lambda o: RangeSeries.Reference(name=""), raw("")),
        (
            "r.invert().invert()",
            lambda o: o.r.invert().invert(),
            node("not", input=node("not", input=RANGE)),
        ),
        ("RangeSeries.Union([])", lambda o: RangeSeries.Union([]), node("unionRange")),
        ("RangeSeries.Intersect(())", lambda o: RangeSeries.Intersect(()), node("intersectRange")),
        (
            "RangeSeries.Union((r, RangeSeries.Reference('q'), r))",
            lambda o: RangeSeries.Union((o.r, RangeSeries.Reference("q"), o.r)),
            node("unionRange", inputs=array(RANGE, raw("q"), RANGE)),
        ),
        (
            "RangeSeries.Intersect([r.invert()])",
            lambda o: RangeSeries.Intersect([o.r.invert()]),
            node("intersectRange", inputs=array(node("not", input=RANGE))),
        ),
    ],
    "StructSeries": [
        ("StructSeries.Combine({})", lambda o: StructSeries.Combine({}), node("combine")),
        (
            "StructSeries.Combine({'b': s, 'aa': c, '': t, 'B': s, 'a': s})",
            lambda o: StructSeries.Combine({"b": o.s, "aa": o.c, "": o.t, "B": o.s, "a": o.s}),
            node(
                "combine",
                inputs=record(
                    **{
                        "": node("struct", STRUCT),
                        "B": node("numeric", S),
                        "a": node("numeric", S),
                        "aa": node("enum", CAT),
                        "b": node("numeric", S),
                    }
                ),
            ),
        ),
        (
            "StructSeries.Combine({Twin('k'): s, 'j': c, Twin('k'): u})",
            lambda o: StructSeries.Combine({Twin("k"): o.s, "j": o.c, Twin("k"): o.u}),
            node("combine", inputs=record(j=node("enum", CAT), k=node("numeric", U))),
        ),
    ],
    "FloatConstant": [
        ("FloatConstant.Literal(3)", lambda o: FloatConstant.Literal(3), literal(3.0)),
        ("FloatConstant.Literal(True)", lambda o: FloatConstant.Literal(True), literal(1.0)),
        (
            "FloatConstant.Literal(float('-inf'))",
            lambda o: FloatConstant.Literal(float("-inf")),
            NAN,
        ),
        ("FloatConstant.Reference('f')", lambda o: FloatConstant.Reference("f"), variable("f")),
    ],
    "IntegerConstant": [
        ("IntegerConstant.Literal(True)", lambda o: IntegerConstant.Literal(True), literal(1)),
        ("IntegerConstant.Reference('')", lambda o: IntegerConstant.Reference(""), variable("")),
        (
            "IntegerConstant.Literal(-2147483648)",
            lambda o: IntegerConstant.Literal(-2147483648),
            literal(-2147483648),
        ),
    ],
    "StringConstant": [
        (
            "StringConstant.Literal(' A b ')",
            lambda o: StringConstant.Literal(" A b "),
            literal(" A b "),
        ),
        ("StringConstant.Literal(TEXT)", lambda o: StringConstant.Literal(TEXT), literal(TEXT)),
        ("StringConstant.Reference('v')", lambda o: StringConstant.Reference("v"), variable("v")),
    ],
    "ConstantNumericSeries": [
        (
            "ConstantNumericSeries.Float(fc)",
            lambda o: ConstantNumericSeries.Float(o.fc),
            node("double", variable("f")),
        ),
        (
            "ConstantNumericSeries.Float(value=2)",
            lambda o: ConstantNumericSeries.Float(value=2),
            node("double", literal(2.0)),
        ),
    ],
    "Dataset": [
        *[
            (
                f"Dataset.{m}('ri.x')",
                lambda o, m=m: getattr(Dataset, m)("ri.x"),
                node(m.lower(), rid=literal("ri.x")),
            )
            for m in ("Asset", "Run", "Saved")
        ],
        ("Dataset.Saved(sc)", lambda o: Dataset.Saved(o.sc), node("saved", rid=variable("v"))),
        ("Dataset.Combine([])", lambda o: Dataset.Combine([]), node("combine")),
        (
            "Dataset.Combine((d, Dataset.Asset(''), d))",
            lambda o: Dataset.Combine((o.d, Dataset.Asset(""), o.d)),
            node("combine", inputs=array(D, node("asset", rid=literal("")), D)),
        ),
        (
            "d.tag(value=sc, key='k')",
            lambda o: o.d.tag(value=o.sc, key="k"),
            node("tag", input=D, key=literal("k"), value=variable("v")),
        ),
        (
            "d.time_shift(-dur)",
            lambda o: o.d.time_shift(-o.dur),
            node("timeShift", input=D, offset=node("negate", input=DUR)),
        ),
    ],
    "Duration": [
        *[
            (
                f"Duration.{m}(-3)",
                lambda o, m=m: getattr(Duration, m)(-3),
                node(m.lower(), **{m.lower(): literal(-3)}),
            )
            for m in DURATIONS
        ],
        (
            "Duration.Days(days=k)",
            lambda o: Duration.Days(days=o.k),
            node("days", days=variable("k")),
        ),
        (
            "Duration.Milliseconds(2147483647)",
            lambda o: Duration.Milliseconds(2147483647),
            node("milliseconds", milliseconds=literal(2147483647)),
        ),
        (
            "dur + Duration.Reference('w')",
            lambda o: o.dur + Duration.Reference("w"),
            node("add", left=DUR, right=node("reference", name='"w"')),
        ),
        ("dur - dur", lambda o: o.dur - o.dur, node("subtract", left=DUR, right=DUR)),
        ("-dur", lambda o: -o.dur, node("negate", input=DUR)),
    ],
    "Sampling": [
        (
            "Sampling.EveryNthPerSeries(0)",
            lambda o: Sampling.EveryNthPerSeries(0),
            node("everyNthPerSeries", n=literal(0)),
        ),
        (
            "Sampling.HashSubsample(n=k)",
            lambda o: Sampling.HashSubsample(n=o.k),
            node("hashSubsample", n=variable("k")),
        ),
    ],
    "UdfSource": [
        ("UdfSource.Rust('')", lambda o: UdfSource.Rust(""), node("rust", sourceCode='""')),
        (
            "UdfSource.Rust(source_code=TEXT)",
            lambda o: UdfSource.Rust(source_code=TEXT),
            node("rust", sourceCode=json.dumps(TEXT, ensure_ascii=False)),
        ),
    ],
    "GroupByTags": [
        ("GroupByTags.Current()", lambda o: GroupByTags.Current(), CUR),
        ("GroupByTags.Subset([])", lambda o: GroupByTags.Subset([]), node("subset")),
        (
            "GroupByTags.Subset([sc, 'b', 'a', 'b'])",
            lambda o: GroupByTags.Subset([o.sc, "b", "a", "b"]),
            node("subset", tags=array(literal("a"), literal("b"), variable("v"))),
        ),
    ],
    "GroupByTimestamp": [
        ("GroupByTimestamp.Current()", lambda o: GroupByTimestamp.Current(), CUR),
        (
            "GroupByTimestamp.Every(dur)",
            lambda o: GroupByTimestamp.Every(o.dur),
            node("every", DUR),
        ),
    ],
    "RangeMap": [
        (
            "RangeMap('x', 5, -5)",
            lambda o: RangeMap("x", 5, -5),
            record(start=literal(5.0), end=literal(-5.0), output=literal("x")),
        ),
        (
            "RangeMap(sc, end=fc)",
            lambda o: RangeMap(o.sc, end=o.fc),
            record(end=variable("f"), output=variable("v")),
        ),
        (
            "RangeMap(output='x', start=2.5)",
            lambda o: RangeMap(output="x", start=2.5),
            record(start=literal(2.5), output=literal("x")),
        ),
    ],
    "NegativeValueConfiguration": [
        (
            f"NegativeValueConfiguration.{m}()",
            lambda o, m=m: getattr(NegativeValueConfiguration, m)(),
            node(m[0].lower() + m[1:]),
        )
        for m in ("AllowNegativeValues", "SetNegativeValuesToZero", "ExcludeNegativeValues")
    ],
    "SignalFilterConfiguration": [
        (
            "SignalFilterConfiguration.LowPass(10)",
            lambda o: SignalFilterConfiguration.LowPass(10),
            node("lowPass", cutoffFrequency=literal(10.0)),
        ),
        (
            "SignalFilterConfiguration.HighPass(cutoff_frequency=-0.5)",
            lambda o: SignalFilterConfiguration.HighPass(cutoff_frequency=-0.5),
            node("highPass", cutoffFrequency=literal(-0.5)),
        ),
        (
            "SignalFilterConfiguration.BandPass("
            "high_passband_frequency=fc, low_passband_frequency=5)",
            lambda o: SignalFilterConfiguration.BandPass(
                high_passband_frequency=o.fc, low_passband_frequency=5
            ),
            node(
                "bandPass",
                lowPassbandFrequency=literal(5.0),
                highPassbandFrequency=variable("f"),
            ),
        ),
        (
            "SignalFilterConfiguration.BandStop(1.5, FloatConstant.Literal(2.5))",
            lambda o: SignalFilterConfiguration.BandStop(1.5, FloatConstant.Literal(2.5)),
            node(
                "bandStop",
                lowStopbandFrequency=literal(1.5),
                highStopbandFrequency=literal(2.5),
            ),
        ),
    ],
    "AggregationBuilder": [
        (
            "t.rolling_points(10)",
            lambda o: o.t.rolling_points(10),
            node("rollingPoints", input=node("struct", STRUCT), points=literal(10)),
        ),
        *[
            row
            for x, i in SERIES
            for row in [
                (
                    f"{x}.rolling_time(window=dur)",
                    lambda o, x=x: getattr(o, x).rolling_time(window=o.dur),
                    node("rollingTime", input=i, window=DUR),
                ),
                (
                    f"{x}.rolling_points(k)",
                    lambda o, x=x: getattr(o, x).rolling_points(o.k),
                    node("rollingPoints", input=i, points=variable("k")),
                ),
            ]
        ],
        *[
            (
                f"{x}.group_by(timestamp=GroupByTimestamp.Every(dur),"
                " tags=GroupByTags.Subset(['t']))",
                lambda o, x=x: getattr(o, x).group_by(
                    timestamp=GroupByTimestamp.Every(o.dur), tags=GroupByTags.Subset(["t"])
                ),
                node(
                    "groupBy",
                    input=i,
                    tags=node("subset", tags=array(literal("t"))),
                    timestamp=node("every", DUR),
                ),
            )
            for x, i in SERIES
        ],
        (
            "s.group_by(tags, ts)",
            lambda o: o.s.group_by(o.tags, o.ts),
            node("groupBy", input=node("numeric", S), tags=CUR, timestamp=CUR),
        ),
    ],
    "NumericAggregationOperator": [
        *[
            (
                f"NumericAggregationOperator.{m}()",
                lambda o, m=m: getattr(NumericAggregationOperator, m)(),
                node(v),
            )
            for _, m, v in FIXED
        ],
        (
            "NumericAggregationOperator.Percentile(-1)",
            lambda o: NumericAggregationOperator.Percentile(-1),
            node("percentile", percentile=literal(-1.0)),
        ),
        (
            "NumericAggregationOperator.Udf(source=src)",
            lambda o: NumericAggregationOperator.Udf(source=o.src),
            node("udf", source=SRC),
        ),
    ],
    "EnumAggregationOperator": [
        *[
            (
                f"EnumAggregationOperator.{m}()",
                lambda o, m=m: getattr(EnumAggregationOperator, m)(),
                node(m.lower()),
            )
            for m in ("Min", "Max")
        ],
        (
            "EnumAggregationOperator.Udf(src)",
            lambda o: EnumAggregationOperator.Udf(o.src),
            node("udf", source=SRC),
        ),
    ],
}
ROWS = [(cls, *row) for cls, rows in TABLE.items() for row in rows]


@pytest.mark.parametrize(
    "cls,call,expected", [r[:1] + r[2:] for r in ROWS], ids=[r[1] for r in ROWS]
)
def test_json(o, cls, call, expected):
    with o.unchanged():
        result = call(o)
        assert type(result) is getattr(C, cls)
        assert result.to_json() == expected
        assert call(o).to_json() == expected


def reached(calls, o):
    """The module's methods and functions that the calls enter, as "Class.method" or "function"
    texts, seen by the profiler as they are called."""
    entries = {}
    for name in C.__all__:
        entry = getattr(C, name)
        if not isinstance(entry, type):
            entries[id(entry)] = name
            continue
        for method_name, member in vars(entry).items():
            if isinstance(member, staticmethod):
                entries[id(member.__func__)] = f"{name}.{method_name}"
    found = set()

    def profile(frame, event, arg):
        if event != "c_call":
            return
        owner = type(getattr(arg, "__self__", None))
        if getattr(C, owner.__name__, None) is owner:
            found.add(f"{owner.__name__}.{arg.__name__}")
        elif id(arg) in entries:
            found.add(entries[id(arg)])

    previous = sys.getprofile()
    sys.setprofile(profile)
    try:
        for call in calls:
            call(o)
    finally:
        sys.setprofile(previous)
    return found


def test_the_table_calls_every_method_and_function(o):
    everything = set()
    for name in C.__all__:
        entry = getattr(C, name)
        if not isinstance(entry, type):
            everything.add(name)
            continue
        everything |= {f"{name}.{m}" for m in vars(entry) if m[0] != "_" and m != "to_json"}
    missing = everything - reached([call for _, _, call, _ in ROWS], o)
    assert not missing, "\n".join(
        f"no row of TABLE calls {name}: add one (the call as it reads, the call, the JSON of its "
        "node) to TABLE[<the class it returns>] in tests/test_json.py"
        for name in sorted(missing)
    )


def keywords():
    """Every parameter of every method, static method, constructor and function of the module,
    as its text signature names it: {"Class.method": ((owner, attribute), parameters)}, where
    the owner is the module for a function, this file for the constructor (its rows call the
    class by its name here), and an instance method's first parameter is self."""
    out = {}
    for name in C.__all__:
        entry = getattr(C, name)
        if not isinstance(entry, type):
            out[name] = ((C, name), list(inspect.signature(entry).parameters))
            continue
        if entry.__text_signature__:
            out[name] = ((sys.modules[__name__], name), list(inspect.signature(entry).parameters))
        for attr in vars(entry):
            if not attr.startswith("_"):
                params = list(inspect.signature(getattr(entry, attr)).parameters)
                out[f"{name}.{attr}"] = ((entry, attr), params)
    return out


def test_the_table_gives_every_keyword_a_value(o, monkeypatch):
    """A keyword that the builder took and then dropped would show only as a key missing from
    the JSON: so each is given a value (not None) by some row, whose JSON must then carry it.
    Each callable is replaced, while the rows run, by one that notes the keywords given."""
    given = set()

    def noting(entry, params, original):
        def call(*args, **kwargs):
            named = {**dict(zip(params, args)), **kwargs}
            given.update(f"{entry}({k})" for k, v in named.items() if v is not None)
            return original(*args, **kwargs)

        return call

    everything = set()
    for entry, ((owner, attr), params) in keywords().items():
        everything |= {f"{entry}({p})" for p in params if p != "self"}
        member = vars(owner)[attr]
        if isinstance(member, staticmethod):
            member = staticmethod(noting(entry, params, getattr(owner, attr)))
        else:
            member = noting(entry, params, member)
        monkeypatch.setattr(owner, attr, member)
    for _, _, call, _ in ROWS:
        call(o)
    monkeypatch.undo()
    missing = everything - given
    assert not missing, "\n".join(
        f"no row of TABLE gives {name} a value: add one (the call as it reads, the call, the JSON"
        " of its node, with the key that the keyword fills) in tests/test_json.py"
        for name in sorted(missing)
    )


OPTIONAL = [
    ("s.derivative(None, None)", lambda o: o.s.derivative(None, None), method("s", "derivative")),
    (
        "s.derivative(time_unit=None, negative_values_configuration=nvc)",
        lambda o: o.s.derivative(time_unit=None, negative_values_configuration=o.nvc),
        lambda o: o.s.derivative(negative_values_configuration=o.nvc),
    ),
    (
        "s.signal_filter(sfc, 4, None)",
        lambda o: o.s.signal_filter(o.sfc, 4, None),
        lambda o: o.s.signal_filter(o.sfc, 4),
    ),
    (
        "s.value_difference(None)",
        method("s", "value_difference", None),
        method("s", "value_difference"),
    ),
    (
        "NumericSeries.SelectNumeric('x', dataset=None, sampling=smp)",
        lambda o: NumericSeries.SelectNumeric("x", dataset=None, sampling=o.smp),
        lambda o: NumericSeries.SelectNumeric("x", sampling=o.smp),
    ),
    *[
        (
            f"{x}.time_difference(None)",
            method(x, "time_difference", None),
            method(x, "time_difference"),
        )
        for x, _ in SERIES
    ],
    (
        "CategoricalSeries.ValueMap(s, [m], None)",
        lambda o: CategoricalSeries.ValueMap(o.s, [o.m], None),
        lambda o: CategoricalSeries.ValueMap(o.s, [o.m]),
    ),
    (
        "t.extract_numeric(['x'], None)",
        method("t", "extract_numeric", ["x"], None),
        method("t", "extract_numeric", ["x"]),
    ),
    (
        "RangeMap('x', start=None, end=2)",
        lambda o: RangeMap("x", start=None, end=2),
        lambda o: RangeMap("x", end=2),
    ),
]


@pytest.mark.parametrize("given,omitted", [c[1:] for c in OPTIONAL], ids=[c[0] for c in OPTIONAL])
def test_none_is_an_omitted_optional_argument(o, given, omitted):
    assert given(o).to_json() == omitted(o).to_json()
