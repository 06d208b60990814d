// Event queries: every criterion, the four enumerations, and nested and/or/not trees.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "quarnel/compute/model/constants.h"
#include "quarnel/compute/model/event_query_unions.h"

#include "wire_case.h"

namespace qc::model::rids::api {
namespace {

using Q = ComputeEventQuery;

Value ts_literal(int64_t seconds, int64_t nanos) {
  return TimestampConstant::make(TimestampConstant::literal, timestamp(seconds, nanos));
}
Value label(std::string_view text) { return Q::make(Q::label, string_literal(text)); }
Value asset(std::string_view rid) { return Q::make(Q::asset, string_literal(rid)); }
Value and_of(std::vector<Value> qs) { return Q::make(Q::and_, list(std::move(qs))); }
Value or_of(std::vector<Value> qs) { return Q::make(Q::or_, list(std::move(qs))); }
Value not_of(Value q) { return Q::make(Q::not_, std::move(q)); }

constexpr const char* kLabelA = R"({"type":"label","label":{"type":"literal","literal":"a"}})";
constexpr const char* kLabelB = R"({"type":"label","label":{"type":"literal","literal":"b"}})";
constexpr const char* kAssetR = R"({"type":"asset","asset":{"type":"literal","literal":"r"}})";

QC_WIRE_SUITE(ModelEEventQuery)

// One case per string criterion: same payload shape, only the variant name differs.
#define QC_STRING_CRITERION_CASE(id, wire)                           \
  WireCase{wire, [] { return Q::make(Q::id, string_literal("v")); }, \
           R"({"type":")" wire R"(",")" wire R"(":{"type":"literal","literal":"v"}})"}

INSTANTIATE_TEST_SUITE_P(
    ModelEStringCriteria, ModelEEventQuery,
    testing::Values(QC_STRING_CRITERION_CASE(searchText, "searchText"),
                    QC_STRING_CRITERION_CASE(asset, "asset"),
                    QC_STRING_CRITERION_CASE(template_, "template"),
                    QC_STRING_CRITERION_CASE(workbook, "workbook"),
                    QC_STRING_CRITERION_CASE(dataReview, "dataReview"),
                    QC_STRING_CRITERION_CASE(dataReviewCheck, "dataReviewCheck"),
                    QC_STRING_CRITERION_CASE(priority, "priority"),
                    QC_STRING_CRITERION_CASE(assignee, "assignee"),
                    QC_STRING_CRITERION_CASE(createdBy, "createdBy"),
                    QC_STRING_CRITERION_CASE(label, "label"),
                    QC_STRING_CRITERION_CASE(workspace, "workspace"),
                    QC_STRING_CRITERION_CASE(procedure, "procedure"),
                    QC_STRING_CRITERION_CASE(procedureExecution, "procedureExecution"),
                    QC_STRING_CRITERION_CASE(stepId, "stepId")),
    wire_case_name);

INSTANTIATE_TEST_SUITE_P(
    ModelEOtherCriteria, ModelEEventQuery,
    testing::Values(
        WireCase{"after", [] { return Q::make(Q::after, ts_literal(100, 5)); },
                 R"({"type":"after","after":{"type":"literal","literal":{"seconds":100,"nanos":5}}})"},
        WireCase{"before_variable",
                 [] { return Q::make(Q::before, TimestampConstant::make(TimestampConstant::variable, Value::str("end"))); },
                 R"({"type":"before","before":{"type":"variable","variable":"end"}})"},
        // "timestamp" precedes "timestampCondition" on the wire.
        WireCase{"advanced_time_filter",
                 [] {
                   return Q::make(Q::advancedTimeFilter,
                                  EventTimeFilter{.timestamp = ts_literal(1, 0),
                                                  .timestampCondition = EventTimeFilterCondition::make(
                                                      EventTimeFilterCondition::end_time_after_exclusive)});
                 },
                 R"({"type":"advancedTimeFilter","advancedTimeFilter":{"timestamp":{"type":"literal",)"
                 R"("literal":{"seconds":1,"nanos":0}},"timestampCondition":"END_TIME_AFTER_EXCLUSIVE"}})"},
        WireCase{"origin_type", [] { return Q::make(Q::originType, SearchEventOriginType::make(SearchEventOriginType::api)); },
                 R"({"type":"originType","originType":"API"})"},
        WireCase{"disposition_status",
                 [] {
                   return Q::make(Q::dispositionStatus,
                                  EventDispositionStatus::make(EventDispositionStatus::no_disposition));
                 },
                 R"({"type":"dispositionStatus","dispositionStatus":"NO_DISPOSITION"})"},
        WireCase{"event_type", [] { return Q::make(Q::eventType, EventType::make(EventType::flag)); },
                 R"({"type":"eventType","eventType":"FLAG"})"},
        WireCase{"property",
                 [] { return Q::make(Q::property, Property{.name = string_literal("site"), .value = string_variable("s")}); },
                 R"({"type":"property","property":{"name":{"type":"literal","literal":"site"},)"
                 R"("value":{"type":"variable","variable":"s"}}})"},
        // A priority is a string constant: the text 1 stays a JSON string.
        WireCase{"priority_digit_is_string", [] { return Q::make(Q::priority, string_literal("1")); },
                 R"({"type":"priority","priority":{"type":"literal","literal":"1"}})"},
        WireCase{"unknown", [] { return Q::unknown("severity", Any{{"min", 2}}); },
                 R"({"type":"severity","severity":{"min":2}})"},
        // Unknown enumeration strings are written back as stored, case and all.
        WireCase{"unknown_disposition",
                 [] { return Q::make(Q::dispositionStatus, EventDispositionStatus::unknown("escalated")); },
                 R"({"type":"dispositionStatus","dispositionStatus":"escalated"})"},
        WireCase{"unknown_origin", [] { return Q::make(Q::originType, SearchEventOriginType::unknown("CHECKLIST")); },
                 R"({"type":"originType","originType":"CHECKLIST"})"},
        WireCase{"unknown_event_type", [] { return Q::make(Q::eventType, EventType::unknown("Warning")); },
                 R"({"type":"eventType","eventType":"Warning"})"},
        WireCase{"unknown_condition",
                 [] {
                   return Q::make(Q::advancedTimeFilter,
                                  EventTimeFilter{.timestamp = ts_literal(0, 0),
                                                  .timestampCondition = EventTimeFilterCondition::unknown("AT")});
                 },
                 R"({"type":"advancedTimeFilter","advancedTimeFilter":{"timestamp":{"type":"literal",)"
                 R"("literal":{"seconds":0,"nanos":0}},"timestampCondition":"AT"}})"}),
    wire_case_name);

INSTANTIATE_TEST_SUITE_P(
    ModelECombinations, ModelEEventQuery,
    testing::Values(
        // The payload member of "and"/"or" is always present, even for an empty list.
        WireCase{"and_empty", [] { return and_of({}); }, R"({"type":"and","and":[]})"},
        WireCase{"or_empty", [] { return or_of({}); }, R"({"type":"or","or":[]})"},
        WireCase{"or_one", [] { return or_of({label("a")}); }, std::string(R"({"type":"or","or":[)") + kLabelA + "]}"},
        WireCase{"and_keeps_order_and_duplicates", [] { return and_of({label("b"), label("a"), label("b")}); },
                 std::string(R"({"type":"and","and":[)") + kLabelB + "," + kLabelA + "," + kLabelB + "]}"},
        WireCase{"not_of_and",
                 [] { return not_of(and_of({label("a"), asset("r")})); },
                 std::string(R"({"type":"not","not":{"type":"and","and":[)") + kLabelA + "," + kAssetR + "]}}"},
        WireCase{"not_not", [] { return not_of(not_of(label("a"))); },
                 std::string(R"({"type":"not","not":{"type":"not","not":)") + kLabelA + "}}"},
        // and[ or[ not(a), and[ b, not(or[]) ] ], r ]
        WireCase{"mixed_four_levels",
                 [] {
                   return and_of({or_of({not_of(label("a")), and_of({label("b"), not_of(or_of({}))})}), asset("r")});
                 },
                 std::string(R"({"type":"and","and":[{"type":"or","or":[{"type":"not","not":)") + kLabelA +
                     R"(},{"type":"and","and":[)" + kLabelB +
                     R"(,{"type":"not","not":{"type":"or","or":[]}}]}]},)" + kAssetR + "]}"},
        // An unknown criterion nested in known combinators is carried along unchanged.
        WireCase{"unknown_inside_or",
                 [] { return or_of({Q::unknown("future", Any::array({1, "x"})), label("a")}); },
                 std::string(R"({"type":"or","or":[{"type":"future","future":[1,"x"]},)") + kLabelA + "]}"}),
    wire_case_name);

#undef QC_STRING_CRITERION_CASE

struct EnumCase {
  Value value;
  const char* json;
};

TEST(ModelEEventQueryEnums, EveryValueInDeclarationOrder) {
  const EnumCase cases[] = {
      {EventType::make(EventType::info), R"("INFO")"},
      {EventType::make(EventType::flag), R"("FLAG")"},
      {EventType::make(EventType::error), R"("ERROR")"},
      {EventType::make(EventType::success), R"("SUCCESS")"},
      {EventDispositionStatus::make(EventDispositionStatus::pending_review), R"("PENDING_REVIEW")"},
      {EventDispositionStatus::make(EventDispositionStatus::closed_ignored), R"("CLOSED_IGNORED")"},
      {EventDispositionStatus::make(EventDispositionStatus::closed_requires_further_action),
       R"("CLOSED_REQUIRES_FURTHER_ACTION")"},
      {EventDispositionStatus::make(EventDispositionStatus::no_disposition), R"("NO_DISPOSITION")"},
      {SearchEventOriginType::make(SearchEventOriginType::workbook), R"("WORKBOOK")"},
      {SearchEventOriginType::make(SearchEventOriginType::template_), R"("TEMPLATE")"},
      {SearchEventOriginType::make(SearchEventOriginType::api), R"("API")"},
      {SearchEventOriginType::make(SearchEventOriginType::data_review), R"("DATA_REVIEW")"},
      {SearchEventOriginType::make(SearchEventOriginType::procedure), R"("PROCEDURE")"},
      {EventTimeFilterCondition::make(EventTimeFilterCondition::start_time_before_inclusive),
       R"("START_TIME_BEFORE_INCLUSIVE")"},
      {EventTimeFilterCondition::make(EventTimeFilterCondition::start_time_before_exclusive),
       R"("START_TIME_BEFORE_EXCLUSIVE")"},
      {EventTimeFilterCondition::make(EventTimeFilterCondition::start_time_after_inclusive),
       R"("START_TIME_AFTER_INCLUSIVE")"},
      {EventTimeFilterCondition::make(EventTimeFilterCondition::start_time_after_exclusive),
       R"("START_TIME_AFTER_EXCLUSIVE")"},
      {EventTimeFilterCondition::make(EventTimeFilterCondition::end_time_before_inclusive),
       R"("END_TIME_BEFORE_INCLUSIVE")"},
      {EventTimeFilterCondition::make(EventTimeFilterCondition::end_time_before_exclusive),
       R"("END_TIME_BEFORE_EXCLUSIVE")"},
      {EventTimeFilterCondition::make(EventTimeFilterCondition::end_time_after_inclusive),
       R"("END_TIME_AFTER_INCLUSIVE")"},
      {EventTimeFilterCondition::make(EventTimeFilterCondition::end_time_after_exclusive),
       R"("END_TIME_AFTER_EXCLUSIVE")"},
  };
  for (const auto& c : cases) EXPECT_EQ(to_json(c.value), c.json);
  // A value missing from a list above would leave its enumeration longer than checked here.
  EXPECT_EQ(EventType::value_count, 4u);
  EXPECT_EQ(EventDispositionStatus::value_count, 4u);
  EXPECT_EQ(SearchEventOriginType::value_count, 5u);
  EXPECT_EQ(EventTimeFilterCondition::value_count, 8u);
  EXPECT_EQ(Q::variant_count, 24u);
}

TEST(ModelEEventQueryEnums, UnknownStringsWrittenVerbatim) {
  for (const char* text : {"", "info", "Flag", "NOT YET", "FLAG "}) {
    const std::string expected = std::string("\"") + text + "\"";
    EXPECT_EQ(to_json(EventType::unknown(text)), expected);
    EXPECT_EQ(to_json(EventDispositionStatus::unknown(text)), expected);
    EXPECT_EQ(to_json(SearchEventOriginType::unknown(text)), expected);
    EXPECT_EQ(to_json(EventTimeFilterCondition::unknown(text)), expected);
  }
}

// Three levels of "and" lists: the copy outlives the source and keeps every list in order.
TEST(ModelEEventQueryTrees, CopyOfThreeLevelAndTreeIsIndependent) {
  Value copy;
  {
    Value source = and_of({and_of({and_of({label("a"), label("b")}), asset("r")}), label("b")});
    copy = source;
  }
  EXPECT_EQ(to_json(copy), std::string(R"({"type":"and","and":[{"type":"and","and":[{"type":"and","and":[)") +
                               kLabelA + "," + kLabelB + "]}," + kAssetR + "]}," + kLabelB + "]}");
}

// A very deep alternation of not/and/or writes completely: the depth is unlimited.
TEST(ModelEEventQueryTrees, DeepNestingWritesCompletely) {
  constexpr int kDepth = 30000;
  Value q = label("a");
  std::vector<std::string> opens;  // outermost last
  std::string close;
  for (int i = 0; i < kDepth; ++i) {
    switch (i % 3) {
      case 0:
        q = not_of(q);
        opens.push_back(R"({"type":"not","not":)");
        close += "}";
        break;
      case 1:
        q = and_of({q});
        opens.push_back(R"({"type":"and","and":[)");
        close += "]}";
        break;
      default:
        q = or_of({asset("r"), q});
        opens.push_back(std::string(R"({"type":"or","or":[)") + kAssetR + ",");
        close += "]}";
        break;
    }
  }
  std::string open;
  for (auto it = opens.rbegin(); it != opens.rend(); ++it) open += *it;
  Value copy = q;
  q = Value{};
  EXPECT_EQ(to_json(copy), open + kLabelA + close);
}

}  // namespace
}  // namespace qc::model::rids::api
