// Frequency filtering of one numeric series, and the cut-off settings that choose the filter.
#pragma once

#include "quarnel/compute/model/decl.h"

namespace qc::model {

// input: NumericSeries; signalFilterConfiguration: SignalFilterConfiguration;
// order: IntegerConstant; samplingFrequency: DoubleConstant.
#define QC_SIGNAL_FILTER_SERIES_FIELDS(F)                                  \
  F(input, "input", Required)                                              \
  F(signalFilterConfiguration, "signalFilterConfiguration", Required)      \
  F(order, "order", Required)                                              \
  F(samplingFrequency, "samplingFrequency", Optional)
QC_RECORD(SignalFilterSeries, QC_SIGNAL_FILTER_SERIES_FIELDS)

// Low-pass and high-pass share their one member but stay distinct types: only the variant
// that holds them says which way the filter cuts.
#define QC_CUTOFF_CONFIGURATION_FIELDS(F) F(cutoffFrequency, "cutoffFrequency", Required)
QC_RECORD(LowPassConfiguration, QC_CUTOFF_CONFIGURATION_FIELDS)
QC_RECORD(HighPassConfiguration, QC_CUTOFF_CONFIGURATION_FIELDS)

// The wire keys spell "Passband" and "Stopband" as one word.
#define QC_BAND_PASS_CONFIGURATION_FIELDS(F)                     \
  F(lowPassbandFrequency, "lowPassbandFrequency", Required)      \
  F(highPassbandFrequency, "highPassbandFrequency", Required)
QC_RECORD(BandPassConfiguration, QC_BAND_PASS_CONFIGURATION_FIELDS)

#define QC_BAND_STOP_CONFIGURATION_FIELDS(F)                     \
  F(lowStopbandFrequency, "lowStopbandFrequency", Required)      \
  F(highStopbandFrequency, "highStopbandFrequency", Required)
QC_RECORD(BandStopConfiguration, QC_BAND_STOP_CONFIGURATION_FIELDS)

}  // namespace qc::model
