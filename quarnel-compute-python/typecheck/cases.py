# Calls as a user writes them, checked by mypy --strict and basedpyright (tools/typecheck.sh).
# assert_type pins each result. A line ending in "# type: ignore[...]  # pyright: ignore[...]"
# is a call both checkers must refuse: each reports an ignore comment that suppresses nothing,
# so a stub that starts accepting the call fails the check. The names come as a star import
# gives them, by the package's __all__, so both checkers must read that list in full.
# ruff: noqa: F403, F405
from fractions import Fraction

from quarnel.compute import *
from typing_extensions import assert_type

s = NumericSeries.Reference("speed")
t = NumericSeries.SelectNumeric("temp", Dataset.Run("ri.run.1"), Sampling.HashSubsample(10))
c = CategoricalSeries.Reference("mode")

# Arithmetic: a series or a number on either side; comparisons give boolean series.
assert_type(s + 1, NumericSeries)
assert_type(2.5 * s, NumericSeries)
assert_type(True - s, NumericSeries)
assert_type(Fraction(1, 3) / s, NumericSeries)
assert_type(s // t % 3, NumericSeries)
assert_type(s**2, NumericSeries)
assert_type(2**s, NumericSeries)
assert_type(-s, NumericSeries)
assert_type(s > 0, BooleanSeries)
assert_type(1 <= s, BooleanSeries)
assert_type(s == t, BooleanSeries)
assert_type(s != 1.5, BooleanSeries)
assert_type(s == "x", bool)
assert_type((s > 0) & (t < 1) | (s == t), BooleanSeries)
assert_type(numeric_if_else(s > t, s, 0), NumericSeries)
assert_type(NumericSeries.IfElse(s > t, 1, t), NumericSeries)

# Module functions take numbers wherever a series goes.
assert_type(abs(-2), NumericSeries)
assert_type(atan2(s, 1.0), NumericSeries)
assert_type(max([s, 1, t, 2.5]), NumericSeries)
assert_type(NumericSeries.Sum((s, t)), NumericSeries)
assert_type(cos(s) + sin(0.5) - tan(s) * acos(s) / asin(1), NumericSeries)
assert_type(ln(s) + log10(10) ** sqrt(s), NumericSeries)
assert_type(mean([s, 1]) - min((s, t)) + sum([2.5]) * product([s, s]), NumericSeries)
assert_type(NumericSeries.Constant(ConstantNumericSeries.Float(2)), NumericSeries)

# Aggregation: group first, then aggregate.
window = s.rolling_time(Duration.Minutes(5))
assert_type(window, AggregationBuilder)
assert_type(window.percentile(95), NumericSeries)
assert_type(
    window.numeric_aggregation(NumericAggregationOperator.StandardDeviation()), NumericSeries
)
assert_type(c.rolling_points(10).enum_aggregation(EnumAggregationOperator.Max()), CategoricalSeries)
tags = GroupByTags.Subset(["site", StringConstant.Reference("k")])
grouped = s.group_by(tags, GroupByTimestamp.Every(Duration.Hours(1)))
assert_type(grouped.max(), NumericSeries)
assert_type(s.rolling_points(IntegerConstant.Reference("n")).rust_udf("fn f() {}"), NumericSeries)

# Ranges, value maps, structs.
ranges = [RangeSeries.Reference("a"), RangeSeries.Reference("b")]
assert_type(RangeSeries.Union(ranges).invert(), RangeSeries)
assert_type(RangeSeries.Intersect((RangeSeries.Reference("c"),)), RangeSeries)
mapped = CategoricalSeries.ValueMap(s, [RangeMap("low", end=10), RangeMap("high", 10)], "other")
assert_type(mapped, CategoricalSeries)
assert_type(StructSeries.Combine({"speed": s, "mode": c}), StructSeries)
speeds = {"speed": s}
assert_type(StructSeries.Combine(speeds).extract_numeric(["a", "b"], "float64"), NumericSeries)

# Time units and durations.
to_zero = NegativeValueConfiguration.SetNegativeValuesToZero()
assert_type(s.derivative("seconds", to_zero), NumericSeries)
assert_type(s.derivative(), NumericSeries)
assert_type(c.time_difference(time_unit="milliseconds"), NumericSeries)
assert_type(s.absolute_timestamp("nanoseconds"), NumericSeries)
assert_type(Duration.Days(1) - Duration.Hours(2) + -Duration.Seconds(30), Duration)
assert_type(s.time_shift(Duration.Reference("lag")), NumericSeries)

# Datasets, constants, configurations.
assert_type(Dataset.Combine([Dataset.Asset("a"), Dataset.Saved("s")]).tag("k", "v"), Dataset)
assert_type(Dataset.Run("r").time_shift(Duration.Milliseconds(5)), Dataset)
band = SignalFilterConfiguration.BandPass(1, 2.5)
assert_type(s.signal_filter(band, 4, FloatConstant.Literal(100)), NumericSeries)
assert_type(NumericSeries.Udf([s, c], UdfSource.Rust("fn f() {}")), NumericSeries)
assert_type(NumericSeries.Constant(2.5).to_json(), str)

# Nodes of every kind together: each is a Node, and writes its tree.
nodes: list[Node] = [s, c, s > t, window, tags, band, RangeMap("x"), Duration.Days(1), *ranges]
assert_type([node.to_json() for node in nodes], list[str])


def written(value: object) -> str:
    return value.to_json() if isinstance(value, Node) else ""


# Refused: an int where a series object is required.
RangeSeries.Union([1])  # type: ignore[list-item]  # pyright: ignore[reportArgumentType]
NumericSeries.IfElse(1, s, t)  # type: ignore[arg-type]  # pyright: ignore[reportArgumentType]
s.time_shift(5)  # type: ignore[arg-type]  # pyright: ignore[reportArgumentType]
# Refused: an unknown time-unit or data-type name.
s.derivative("weeks")  # type: ignore[arg-type]  # pyright: ignore[reportArgumentType]
s.absolute_timestamp("Days")  # type: ignore[arg-type]  # pyright: ignore[reportArgumentType]
StructSeries.Combine({}).extract_numeric([], "int32")  # type: ignore[arg-type]  # pyright: ignore[reportArgumentType]
# Refused: a Duration where a NumericSeries is required, and other wrong objects.
s + Duration.Days(1)  # type: ignore[operator]  # pyright: ignore[reportOperatorIssue]
abs(Duration.Days(1))  # type: ignore[arg-type]  # pyright: ignore[reportArgumentType]
Duration.Days(1) + 1  # type: ignore[operator]  # pyright: ignore[reportOperatorIssue]
s.head(1.5)  # type: ignore[arg-type]  # pyright: ignore[reportArgumentType]
StructSeries.Combine({"a": RangeSeries.Reference("r")})  # type: ignore[dict-item]  # pyright: ignore[reportArgumentType, reportCallIssue]
# Refused: a value that is no node among nodes.
not_nodes: list[Node] = [s, 1.5]  # type: ignore[list-item]  # pyright: ignore[reportAssignmentType]
# Refused: a class that cannot be called, and a wrong keyword.
NumericSeries()  # type: ignore[call-arg]  # pyright: ignore[reportCallIssue]
s.head(count=3)  # type: ignore[call-arg]  # pyright: ignore[reportCallIssue]
RangeMap("x", begin=1)  # type: ignore[call-arg]  # pyright: ignore[reportCallIssue]
