// The types the builders take and make, each held by one class of the Python binding: in the
// order the module adds the classes, the name Python code knows the class by, then the model
// type it holds. builders.h declares a handle for each, and the binding a class; a new class is
// one line here and one source file of the binding defining its table.
#pragma once

#define QC_CLASSES(X) \
  X(NumericSeries, NumericSeries) \
  X(CategoricalSeries, EnumSeries) \
  X(RangeSeries, RangeSeries) \
  X(StructSeries, StructSeries) \
  X(ConstantNumericSeries, ConstantNumericSeries) \
  X(IntegerConstant, IntegerConstant) \
  X(StringConstant, StringConstant) \
  X(Dataset, Dataset) \
  X(Sampling, Sampling) \
  X(BooleanSeries, BooleanSeries) \
  X(AggregationBuilder, AggregationBuilder) \
  X(NumericAggregationOperator, NumericAggregationOperator) \
  X(NegativeValueConfiguration, NegativeValueConfiguration) \
  X(SignalFilterConfiguration, SignalFilterConfiguration) \
  X(FloatConstant, DoubleConstant) \
  X(Duration, Duration) \
  X(UdfSource, UdfSource) \
  X(EnumAggregationOperator, EnumAggregationOperator) \
  X(GroupByTags, GroupByTags) \
  X(GroupByTimestamp, GroupByTimestamp) \
  X(RangeMap, RangeMap)
