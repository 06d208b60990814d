// Classes whose only method so far is to_json. A class that gains methods moves out of here
// into its own source file, with its own class_def.
#include "binder.h"

namespace qc::py {

#define QC_PLAIN_CLASS(Name)                                \
  template <>                                               \
  ClassDef class_def<ClassId::Name>() {                     \
    using T = Methods<ClassId::Name>;                       \
    static PyMethodDef methods[] = {                        \
        T::def<"to_json", &to_json<ClassId::Name>>(),       \
        {},                                                 \
    };                                                      \
    return {methods};                                       \
  }

QC_PLAIN_CLASS(CategoricalSeries)
QC_PLAIN_CLASS(RangeSeries)
QC_PLAIN_CLASS(Dataset)
QC_PLAIN_CLASS(Sampling)
QC_PLAIN_CLASS(AggregationBuilder)
QC_PLAIN_CLASS(NumericAggregationOperator)
QC_PLAIN_CLASS(NegativeValueConfiguration)
QC_PLAIN_CLASS(SignalFilterConfiguration)
QC_PLAIN_CLASS(UdfSource)
QC_PLAIN_CLASS(EnumAggregationOperator)
QC_PLAIN_CLASS(GroupByTags)
QC_PLAIN_CLASS(GroupByTimestamp)

}  // namespace qc::py
