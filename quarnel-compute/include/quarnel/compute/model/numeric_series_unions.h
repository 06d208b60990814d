// The NumericSeries union: every node that yields a numeric series, in wire declaration order.
#pragma once

#include "quarnel/compute/model/aggregate_nodes.h"
#include "quarnel/compute/model/aggregation.h"
#include "quarnel/compute/model/arithmetic.h"
#include "quarnel/compute/model/array_series.h"
#include "quarnel/compute/model/bits.h"
#include "quarnel/compute/model/calculus.h"
#include "quarnel/compute/model/constants.h"
#include "quarnel/compute/model/context_unions.h"
#include "quarnel/compute/model/reference.h"
#include "quarnel/compute/model/resample.h"
#include "quarnel/compute/model/selection_unions.h"
#include "quarnel/compute/model/signal_filter.h"
#include "quarnel/compute/model/struct_series.h"
#include "quarnel/compute/model/tag_by_intervals.h"
#include "quarnel/compute/model/value_filter.h"
#include "quarnel/compute/model/value_map.h"

namespace qc::model {

#define QC_VARIANTS(V) \
  V(abs, "abs", Abs) \
  V(negate, "negate", Negate) \
  V(cos, "cos", Cos) \
  V(sin, "sin", Sin) \
  V(tan, "tan", Tan) \
  V(acos, "acos", Acos) \
  V(asin, "asin", Asin) \
  V(ln, "ln", Ln) \
  V(log10, "log10", Log10) \
  V(sqrt, "sqrt", Sqrt) \
  V(add, "add", Add) \
  V(subtract, "subtract", Subtract) \
  V(multiply, "multiply", Multiply) \
  V(divide, "divide", Divide) \
  V(floorDivide, "floorDivide", FloorDivide) \
  V(power, "power", Power) \
  V(modulo, "modulo", Modulo) \
  V(atan2, "atan2", Atan2) \
  V(max, "max", MaxSeries) \
  V(mean, "mean", MeanSeries) \
  V(min, "min", MinSeries) \
  V(sum, "sum", SumSeries) \
  V(union_, "union", NumericUnionSeries) \
  V(product, "product", ProductSeries) \
  V(constant, "constant", ConstantNumericSeries) \
  V(selectNewestPoints, "selectNewestPoints", SelectNewestPointsSeries) \
  V(selectNumeric, "selectNumeric", SelectSeries) \
  V(selectOldestPoints, "selectOldestPoints", SelectOldestPointsSeries) \
  V(bitAnd, "bitAnd", BitAnd) \
  V(bitOr, "bitOr", BitOr) \
  V(bitXor, "bitXor", BitXor) \
  V(bitShiftRight, "bitShiftRight", BitShiftRight) \
  V(bitShiftLeft, "bitShiftLeft", BitShiftLeft) \
  V(bitTest, "bitTest", BitTest) \
  V(ifElse, "ifElse", NumericIfElseSeries) \
  V(numericAggregation, "numericAggregation", NumericAggregation) \
  V(countDuplicate, "countDuplicate", EnumCountDuplicateSeries) \
  V(cumulativeSum, "cumulativeSum", CumulativeSumSeries) \
  V(derivative, "derivative", DerivativeSeries) \
  V(integral, "integral", IntegralSeries) \
  V(zScore, "zScore", ZscoreSeries) \
  V(raw, "raw", Reference) \
  V(derived, "derived", DerivedSeries) \
  V(resample, "resample", NumericResampleSeries) \
  V(nthPointDownsample, "nthPointDownsample", NumericNthPointDownsampleSeries) \
  V(largestTriangleThreeBuckets, "largestTriangleThreeBuckets", NumericLargestTriangleThreeBucketsSeries) \
  V(signalFilter, "signalFilter", SignalFilterSeries) \
  V(timeDifference, "timeDifference", TimeDifferenceSeries) \
  V(absoluteTimestamp, "absoluteTimestamp", AbsoluteTimestampSeries) \
  V(timeRangeFilter, "timeRangeFilter", NumericTimeRangeFilterSeries) \
  V(timeShift, "timeShift", NumericTimeShiftSeries) \
  V(timeShiftV2, "timeShiftV2", NumericTimeShiftSeriesV2) \
  V(unitConversion, "unitConversion", UnitConversionSeries) \
  V(valueDifference, "valueDifference", ValueDifferenceSeries) \
  V(filterTransformation, "filterTransformation", NumericFilterTransformationSeries) \
  V(thresholdFilter, "thresholdFilter", NumericThresholdFilterSeries) \
  V(approximateFilter, "approximateFilter", NumericApproximateFilterSeries) \
  V(dropNan, "dropNan", NumericNanFilter) \
  V(select1dArrayIndex, "select1dArrayIndex", SelectIndexFrom1dNumericArraySeries) \
  V(aggregateUnderRanges, "aggregateUnderRanges", AggregateUnderRangesSeries) \
  V(filterByExpression, "filterByExpression", FilterByExpressionSeries) \
  V(scalarUdf, "scalarUdf", ScalarUdfSeries) \
  V(enumToNumeric, "enumToNumeric", EnumToNumericSeries) \
  V(refprop, "refprop", RefpropSeries) \
  V(extractFromStruct, "extractFromStruct", ExtractNumericFromStructSeries) \
  V(tagByIntervals, "tagByIntervals", TagByIntervalsSeries) \
  V(filterByTag, "filterByTag", NumericTagFilterSeries) \
  V(selectTags, "selectTags", NumericSelectTagsSeries) \
  V(toStartOfInterval, "toStartOfInterval", NumericToStartOfIntervalSeries) \
  V(aggregate, "aggregate", AggregateNumericSeries) \
  V(rollingOperation, "rollingOperation", RollingOperationSeries) \
  V(bitOperation, "bitOperation", BitOperationSeries) \
  V(channel, "channel", ChannelSeries) \
  V(offset, "offset", OffsetSeries) \
  V(scale, "scale", ScaleSeries) \
  V(arithmetic, "arithmetic", ArithmeticSeries) \
  V(unaryArithmetic, "unaryArithmetic", UnaryArithmeticSeries) \
  V(binaryArithmetic, "binaryArithmetic", BinaryArithmeticSeries)
QC_UNION(NumericSeries, QC_VARIANTS)
#undef QC_VARIANTS

}  // namespace qc::model
