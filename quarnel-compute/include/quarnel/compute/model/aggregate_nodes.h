// Numeric nodes that reduce or transform a series by an aggregate, a user-defined function or a
// thermodynamic property lookup, and the enumerations they name.
#pragma once

#include "quarnel/compute/model/decl.h"

namespace qc::model {

// The enumeration names the mean "MEAN" where the aggregation operator calls it "average":
// both words are part of the wire form and neither may be translated into the other.
#define QC_NUMERIC_AGGREGATION_FUNCTION_VALUES(E)                                      \
  E(sum, "SUM") E(mean, "MEAN") E(min, "MIN") E(max, "MAX") E(count, "COUNT")           \
  E(standardDeviation, "STANDARD_DEVIATION") E(rootMeanSquare, "ROOT_MEAN_SQUARE")
QC_ENUM(NumericAggregationFunction, QC_NUMERIC_AGGREGATION_FUNCTION_VALUES)

// The declaration order is also the key order of RefpropSeries.inputs.
#define QC_REFPROP_PROPERTY_VALUES(E)                                                  \
  E(temperature, "TEMPERATURE") E(pressure, "PRESSURE") E(massDensity, "MASS_DENSITY") \
  E(massSpecificEnthalpy, "MASS_SPECIFIC_ENTHALPY")                                    \
  E(massSpecificInternalEnergy, "MASS_SPECIFIC_INTERNAL_ENERGY")                       \
  E(massSpecificEntropy, "MASS_SPECIFIC_ENTROPY") E(viscosity, "VISCOSITY")
QC_ENUM(RefpropProperty, QC_REFPROP_PROPERTY_VALUES)

#define QC_REFPROP_SUBSTANCE_VALUES(E)                                                      \
  E(nitrogen, "NITROGEN") E(oxygen, "OXYGEN") E(helium, "HELIUM") E(hydrogen, "HYDROGEN")   \
  E(methane, "METHANE") E(propane, "PROPANE") E(butane, "BUTANE") E(water, "WATER")         \
  E(xenon, "XENON") E(air, "AIR") E(carbonDioxide, "CARBON_DIOXIDE") E(argon, "ARGON")      \
  E(carbonMonoxide, "CARBON_MONOXIDE")
QC_ENUM(RefpropSubstance, QC_REFPROP_SUBSTANCE_VALUES)

// input: NumericSeries; function: NumericAggregationFunction; groupByTags: set of
// StringConstant; aggregateByAllGroupings: boolean, written when false;
// interpolationConfiguration: InterpolationConfiguration.
#define QC_AGGREGATE_NUMERIC_SERIES_FIELDS(F)                                  \
  F(input, "input", Required) F(function, "function", Required)                \
  F(groupByTags, "groupByTags", Collection)                                    \
  F(aggregateByAllGroupings, "aggregateByAllGroupings", Optional)              \
  F(interpolationConfiguration, "interpolationConfiguration", Optional)
QC_RECORD(AggregateNumericSeries, QC_AGGREGATE_NUMERIC_SERIES_FIELDS)

// input: NumericSeries; window: Window; operator: NumericAggregationOperator.
#define QC_ROLLING_OPERATION_SERIES_FIELDS(F) \
  F(input, "input", Required) F(window, "window", Required) F(operator_, "operator", Required)
QC_RECORD(RollingOperationSeries, QC_ROLLING_OPERATION_SERIES_FIELDS)

// input: NumericSeries; groupByTags: set of StringConstant; interpolationConfiguration.
#define QC_ZSCORE_SERIES_FIELDS(F)                                  \
  F(input, "input", Required) F(groupByTags, "groupByTags", Collection) \
  F(interpolationConfiguration, "interpolationConfiguration", Optional)
QC_RECORD(ZscoreSeries, QC_ZSCORE_SERIES_FIELDS)

// input: NumericSeries; ranges: RangeSeries; operation: NumericAggregationFunction.
#define QC_AGGREGATE_UNDER_RANGES_SERIES_FIELDS(F) \
  F(input, "input", Required) F(ranges, "ranges", Required) F(operation, "operation", Required)
QC_RECORD(AggregateUnderRangesSeries, QC_AGGREGATE_UNDER_RANGES_SERIES_FIELDS)

// input: NumericSeries; filter: RangeSeries.
#define QC_NUMERIC_FILTER_TRANSFORMATION_SERIES_FIELDS(F) \
  F(input, "input", Required) F(filter, "filter", Required)
QC_RECORD(NumericFilterTransformationSeries, QC_NUMERIC_FILTER_TRANSFORMATION_SERIES_FIELDS)

// inputs: list of Series; source: UdfSource. Also the payload of a categorical variant.
#define QC_SCALAR_UDF_SERIES_FIELDS(F) F(inputs, "inputs", Collection) F(source, "source", Required)
QC_RECORD(ScalarUdfSeries, QC_SCALAR_UDF_SERIES_FIELDS)

// inputs: map from RefpropProperty to NumericSeries, built with qc::enum_map so that its keys
// follow the property's declaration order; outputProperty: RefpropProperty; substance:
// RefpropSubstance; interpolationConfiguration.
#define QC_REFPROP_SERIES_FIELDS(F)                                                    \
  F(inputs, "inputs", Collection) F(outputProperty, "outputProperty", Required)        \
  F(substance, "substance", Required)                                                  \
  F(interpolationConfiguration, "interpolationConfiguration", Optional)
QC_RECORD(RefpropSeries, QC_REFPROP_SERIES_FIELDS)

}  // namespace qc::model
