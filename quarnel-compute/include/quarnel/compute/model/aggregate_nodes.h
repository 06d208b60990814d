// Numeric nodes that reduce or transform a series by an aggregate, a user-defined function or a
// thermodynamic property lookup, and the enumerations they name.
#pragma once

#include "quarnel/compute/model/decl.h"

namespace qc::model {

struct InterpolationConfiguration;
struct NumericAggregationOperator;
struct NumericSeries;
struct RangeSeries;
struct Series;
struct StringConstant;
struct UdfSource;
struct Window;

// The enumeration names the mean "MEAN" where the aggregation operator calls it "average":
// both words are part of the wire form and neither may be translated into the other.
#define QC_VALUES(E) \
  E(sum, "SUM") \
  E(mean, "MEAN") \
  E(min, "MIN") \
  E(max, "MAX") \
  E(count, "COUNT") \
  E(standard_deviation, "STANDARD_DEVIATION") \
  E(root_mean_square, "ROOT_MEAN_SQUARE")
QC_ENUM(NumericAggregationFunction, QC_VALUES)
#undef QC_VALUES

// The declaration order is also the key order of RefpropSeries.inputs.
#define QC_VALUES(E) \
  E(temperature, "TEMPERATURE") \
  E(pressure, "PRESSURE") \
  E(mass_density, "MASS_DENSITY") \
  E(mass_specific_enthalpy, "MASS_SPECIFIC_ENTHALPY") \
  E(mass_specific_internal_energy, "MASS_SPECIFIC_INTERNAL_ENERGY") \
  E(mass_specific_entropy, "MASS_SPECIFIC_ENTROPY") \
  E(viscosity, "VISCOSITY")
QC_ENUM(RefpropProperty, QC_VALUES)
#undef QC_VALUES

#define QC_VALUES(E) \
  E(nitrogen, "NITROGEN") \
  E(oxygen, "OXYGEN") \
  E(helium, "HELIUM") \
  E(hydrogen, "HYDROGEN") \
  E(methane, "METHANE") \
  E(propane, "PROPANE") \
  E(butane, "BUTANE") \
  E(water, "WATER") \
  E(xenon, "XENON") \
  E(air, "AIR") \
  E(carbon_dioxide, "CARBON_DIOXIDE") \
  E(argon, "ARGON") \
  E(carbon_monoxide, "CARBON_MONOXIDE")
QC_ENUM(RefpropSubstance, QC_VALUES)
#undef QC_VALUES

// "aggregateByAllGroupings" is optional, so a present false is written.
#define QC_FIELDS(F) \
  F(input, "input", NumericSeries) \
  F(function, "function", NumericAggregationFunction) \
  F(groupByTags, "groupByTags", Set<StringConstant>) \
  F(aggregateByAllGroupings, "aggregateByAllGroupings", Optional<Bool>) \
  F(interpolationConfiguration, "interpolationConfiguration", Optional<InterpolationConfiguration>)
QC_RECORD(AggregateNumericSeries, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) \
  F(input, "input", NumericSeries) \
  F(window, "window", Window) \
  F(operator_, "operator", NumericAggregationOperator)
QC_RECORD(RollingOperationSeries, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) \
  F(input, "input", NumericSeries) \
  F(groupByTags, "groupByTags", Set<StringConstant>) \
  F(interpolationConfiguration, "interpolationConfiguration", Optional<InterpolationConfiguration>)
QC_RECORD(ZscoreSeries, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) \
  F(input, "input", NumericSeries) \
  F(ranges, "ranges", RangeSeries) \
  F(operation, "operation", NumericAggregationFunction)
QC_RECORD(AggregateUnderRangesSeries, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) \
  F(input, "input", NumericSeries) \
  F(filter, "filter", RangeSeries)
QC_RECORD(NumericFilterTransformationSeries, QC_FIELDS)
#undef QC_FIELDS

// Also the payload of a categorical variant.
#define QC_FIELDS(F) \
  F(inputs, "inputs", List<Series>) \
  F(source, "source", UdfSource)
QC_RECORD(ScalarUdfSeries, QC_FIELDS)
#undef QC_FIELDS

// "inputs" is keyed by property, in the property's declaration order.
#define QC_FIELDS(F) \
  F(inputs, "inputs", Map<RefpropProperty, NumericSeries>) \
  F(outputProperty, "outputProperty", RefpropProperty) \
  F(substance, "substance", RefpropSubstance) \
  F(interpolationConfiguration, "interpolationConfiguration", Optional<InterpolationConfiguration>)
QC_RECORD(RefpropSeries, QC_FIELDS)
#undef QC_FIELDS

}  // namespace qc::model
