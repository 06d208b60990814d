// Range nodes that detect ranges in categorical series.
#pragma once

#include "quarnel/compute/model/decl.h"

namespace qc::model {

struct EnumSeries;
struct EqualityOperator;
struct InterpolationConfiguration;
struct PersistenceWindowConfiguration;
struct StringSetConstant;

#define QC_VALUES(E) \
  E(is_in, "IS_IN") \
  E(is_not_in, "IS_NOT_IN")
QC_ENUM(EnumFilterOperator, QC_VALUES)
#undef QC_VALUES

#define QC_FIELDS(F) \
  F(input, "input", EnumSeries) \
  F(operator_, "operator", EnumFilterOperator) \
  F(values, "values", StringSetConstant) \
  F(persistenceWindowConfiguration, "persistenceWindowConfiguration", Optional<PersistenceWindowConfiguration>)
QC_RECORD(EnumFilterRanges, QC_FIELDS)
#undef QC_FIELDS

// Like the numeric equality node the list is keyed "input", but there is no tolerance.
#define QC_FIELDS(F) \
  F(input, "input", List<EnumSeries>) \
  F(equalityOperator, "equalityOperator", EqualityOperator) \
  F(persistenceWindowConfiguration, "persistenceWindowConfiguration", Optional<PersistenceWindowConfiguration>) \
  F(interpolationConfiguration, "interpolationConfiguration", Optional<InterpolationConfiguration>)
QC_RECORD(EnumSeriesEqualityRanges, QC_FIELDS)
#undef QC_FIELDS

}  // namespace qc::model
