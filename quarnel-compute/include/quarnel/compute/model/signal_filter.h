// Frequency filtering of one numeric series, and the cut-off settings that choose the filter.
#pragma once

#include "quarnel/compute/model/decl.h"

namespace qc::model {

struct DoubleConstant;
struct IntegerConstant;
struct NumericSeries;
struct SignalFilterConfiguration;

#define QC_FIELDS(F) \
  F(input, "input", NumericSeries) \
  F(signalFilterConfiguration, "signalFilterConfiguration", SignalFilterConfiguration) \
  F(order, "order", IntegerConstant) \
  F(samplingFrequency, "samplingFrequency", Optional<DoubleConstant>)
QC_RECORD(SignalFilterSeries, QC_FIELDS)
#undef QC_FIELDS

// Low-pass and high-pass share their one member but stay distinct types: only the variant
// that holds them says which way the filter cuts.
#define QC_FIELDS(F) F(cutoffFrequency, "cutoffFrequency", DoubleConstant)
QC_RECORD(LowPassConfiguration, QC_FIELDS)
QC_RECORD(HighPassConfiguration, QC_FIELDS)
#undef QC_FIELDS

// The wire keys spell "Passband" and "Stopband" as one word.
#define QC_FIELDS(F) \
  F(lowPassbandFrequency, "lowPassbandFrequency", DoubleConstant) \
  F(highPassbandFrequency, "highPassbandFrequency", DoubleConstant)
QC_RECORD(BandPassConfiguration, QC_FIELDS)
#undef QC_FIELDS
#define QC_FIELDS(F) \
  F(lowStopbandFrequency, "lowStopbandFrequency", DoubleConstant) \
  F(highStopbandFrequency, "highStopbandFrequency", DoubleConstant)
QC_RECORD(BandStopConfiguration, QC_FIELDS)
#undef QC_FIELDS

}  // namespace qc::model
