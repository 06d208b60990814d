// The size and the two ends of the large unions and enumerations, as declared. A variant left
// out, declared twice or out of place at either end is not seen by wire cases that each build
// one named variant.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <string_view>

#include "quarnel/compute/model/aggregation_unions.h"
#include "quarnel/compute/model/aggregate_nodes.h"
#include "quarnel/compute/model/array_series_unions.h"
#include "quarnel/compute/model/bits_unions.h"
#include "quarnel/compute/model/calculus_unions.h"
#include "quarnel/compute/model/boolean_unions.h"
#include "quarnel/compute/model/categorical_unions.h"
#include "quarnel/compute/model/context_unions.h"
#include "quarnel/compute/model/curve_fit_unions.h"
#include "quarnel/compute/model/dataset_unions.h"
#include "quarnel/compute/model/durations_unions.h"
#include "quarnel/compute/model/event_query_unions.h"
#include "quarnel/compute/model/log_series_unions.h"
#include "quarnel/compute/model/numeric_series_unions.h"
#include "quarnel/compute/model/range_detection_unions.h"
#include "quarnel/compute/model/ranges_unions.h"
#include "quarnel/compute/model/selection_unions.h"
#include "quarnel/compute/model/series_unions.h"
#include "quarnel/compute/model/signal_filter_unions.h"
#include "quarnel/compute/model/struct_series_unions.h"
#include "quarnel/compute/model/tag_by_intervals_unions.h"
#include "quarnel/compute/model/units.h"

namespace qc::model {
namespace {

// What a type declares: how many variants (or values) and the wire text of the first and last.
struct Declared {
  uint32_t count;
  std::string_view first;
  std::string_view last;
};

template <class U>
Declared union_shape() {
  return {U::variant_count, U::desc.variants[0].prefix, U::desc.variants[U::variant_count - 1].prefix};
}
template <class E>
Declared enum_shape() {
  return {E::value_count, E::desc.values[0], E::desc.values[E::value_count - 1]};
}

struct Row {
  const char* name;
  Declared (*declared)();
  uint32_t count;
  const char* first;
  const char* last;
};
void PrintTo(const Row& r, std::ostream* os) { *os << r.name; }

std::string variant_prefix(std::string_view name) {
  std::string n(name);
  return R"({"type":")" + n + R"(",")" + n + R"(":)";
}

class AuditVariantCounts : public testing::TestWithParam<Row> {};

TEST_P(AuditVariantCounts, UnionSizeAndEnds) {
  const Row& row = GetParam();
  Declared d = row.declared();
  EXPECT_EQ(d.count, row.count);
  EXPECT_EQ(d.first, variant_prefix(row.first));
  EXPECT_EQ(d.last, variant_prefix(row.last));
}

class AuditValueCounts : public testing::TestWithParam<Row> {};

TEST_P(AuditValueCounts, EnumerationSizeAndEnds) {
  const Row& row = GetParam();
  Declared d = row.declared();
  EXPECT_EQ(d.count, row.count);
  EXPECT_EQ(d.first, "\"" + std::string(row.first) + "\"");
  EXPECT_EQ(d.last, "\"" + std::string(row.last) + "\"");
}

auto row_name = [](const testing::TestParamInfo<Row>& info) { return std::string(info.param.name); };

INSTANTIATE_TEST_SUITE_P(
    AuditUnions, AuditVariantCounts,
    testing::Values(
        Row{"NumericSeries", union_shape<NumericSeries>, 78, "abs", "binaryArithmetic"},
        Row{"RangeSeries", union_shape<RangeSeries>, 21, "approximateThreshold", "paddedRanges"},
        Row{"EnumSeries", union_shape<EnumSeries>, 20, "aggregate", "toStartOfInterval"},
        Row{"StructSeries", union_shape<StructSeries>, 10, "channel", "selectTags"},
        Row{"LogSeries", union_shape<LogSeries>, 10, "raw", "selectTags"},
        Row{"Numeric1dArraySeries", union_shape<Numeric1dArraySeries>, 9, "channel", "selectTags"},
        Row{"Enum1dArraySeries", union_shape<Enum1dArraySeries>, 9, "channel", "selectTags"},
        Row{"ArraySeries", union_shape<ArraySeries>, 2, "numeric1d", "enum1d"},
        Row{"Series", union_shape<Series>, 7, "raw", "video"},
        Row{"ComputeNode", union_shape<ComputeNode>, 10, "enum", "raw"},
        Row{"BooleanSeries", union_shape<BooleanSeries>, 8, "greaterThan", "or"},
        Row{"Dataset", union_shape<Dataset>, 11, "asset", "reference"},
        Row{"ComputeEventQuery", union_shape<rids::api::ComputeEventQuery>, 24, "searchText", "stepId"},
        Row{"Duration", union_shape<Duration>, 10, "reference", "negate"},
        Row{"VariableValue", union_shape<VariableValue>, 10, "double", "timestamp"},
        Row{"AggregationBuilder", union_shape<AggregationBuilder>, 3, "rollingTime", "groupBy"},
        Row{"NumericAggregationOperator", union_shape<NumericAggregationOperator>, 9, "sum", "udf"},
        Row{"EnumAggregationOperator", union_shape<EnumAggregationOperator>, 3, "min", "udf"},
        Row{"RangeAggregationOperation", union_shape<RangeAggregationOperation>, 8, "sum", "all"},
        Row{"BitOperationFunction", union_shape<BitOperationFunction>, 6, "and", "bitTest"},
        Row{"LogFilterOperator", union_shape<LogFilterOperator>, 6, "regexFilter", "not"},
        Row{"ResourceSearchQuery", union_shape<ResourceSearchQuery>, 6, "properties", "not"},
        Row{"ChannelSeries", union_shape<ChannelSeries>, 3, "dataSource", "run"},
        Row{"TagPredicate", union_shape<TagPredicate>, 3, "in", "and"},
        Row{"EventTagSource", union_shape<EventTagSource>, 5, "intervalIndex", "rangeStartTimestamp"},
        Row{"TagByIntervalsTimeShift", union_shape<TagByIntervalsTimeShift>, 3, "intervalStart", "eventTimeShift"},
        Row{"CurveFitDetails", union_shape<CurveFitDetails>, 4, "exponential", "power"},
        Row{"CurveFitV2Details", union_shape<CurveFitV2Details>, 5, "exponential", "custom"},
        Row{"SignalFilterConfiguration", union_shape<SignalFilterConfiguration>, 4, "lowPass", "bandStop"},
        Row{"NegativeValueConfiguration", union_shape<NegativeValueConfiguration>, 3, "allowNegativeValues",
            "excludeNegativeValues"}),
    row_name);

INSTANTIATE_TEST_SUITE_P(
    AuditEnumerations, AuditValueCounts,
    testing::Values(
        Row{"TimeUnit", enum_shape<api::TimeUnit>, 7, "DAYS", "NANOSECONDS"},
        Row{"NumericDataType", enum_shape<objects::NumericDataType>, 3, "INT64", "UINT64"},
        Row{"NumericUnionOperation", enum_shape<NumericUnionOperation>, 8, "MIN", "THROW"},
        Row{"UnaryArithmeticOperation", enum_shape<UnaryArithmeticOperation>, 9, "COS", "SQRT"},
        Row{"NumericAggregationFunction", enum_shape<NumericAggregationFunction>, 7, "SUM", "ROOT_MEAN_SQUARE"},
        Row{"RefpropProperty", enum_shape<RefpropProperty>, 7, "TEMPERATURE", "VISCOSITY"},
        Row{"RefpropSubstance", enum_shape<RefpropSubstance>, 13, "NITROGEN", "CARBON_MONOXIDE"},
        Row{"ThresholdOperator", enum_shape<ThresholdOperator>, 6, "GREATER_THAN", "NOT_EQUAL_TO"},
        Row{"EventTimeFilterCondition", enum_shape<rids::api::EventTimeFilterCondition>, 8,
            "START_TIME_BEFORE_INCLUSIVE", "END_TIME_AFTER_EXCLUSIVE"},
        Row{"SearchEventOriginType", enum_shape<rids::api::SearchEventOriginType>, 5, "WORKBOOK", "PROCEDURE"}),
    row_name);

}  // namespace
}  // namespace qc::model
