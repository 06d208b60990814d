// Range nodes that detect ranges in categorical series.
#pragma once

#include "quarnel/compute/model/decl.h"

namespace qc::model {

#define QC_ENUM_FILTER_OPERATOR_VALUES(E) E(is_in, "IS_IN") E(is_not_in, "IS_NOT_IN")
QC_ENUM(EnumFilterOperator, QC_ENUM_FILTER_OPERATOR_VALUES)

#define QC_ENUM_FILTER_RANGES_FIELDS(F)                                          \
  F(input, "input", Required)        /* EnumSeries */                            \
  F(operator_, "operator", Required) /* EnumFilterOperator */                    \
  F(values, "values", Required)      /* StringSetConstant */                     \
  F(persistenceWindowConfiguration, "persistenceWindowConfiguration", Optional)
QC_RECORD(EnumFilterRanges, QC_ENUM_FILTER_RANGES_FIELDS)

// Like the numeric equality node the list is keyed "input", but there is no tolerance.
#define QC_ENUM_SERIES_EQUALITY_RANGES_FIELDS(F)                                         \
  F(input, "input", Collection)                     /* list of EnumSeries */             \
  F(equalityOperator, "equalityOperator", Required) /* EqualityOperator */               \
  F(persistenceWindowConfiguration, "persistenceWindowConfiguration", Optional)          \
  F(interpolationConfiguration, "interpolationConfiguration", Optional)
QC_RECORD(EnumSeriesEqualityRanges, QC_ENUM_SERIES_EQUALITY_RANGES_FIELDS)

}  // namespace qc::model
