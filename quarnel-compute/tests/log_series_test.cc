// Wire form of log series and of their nested filter conditions.
#include <gtest/gtest.h>

#include <string>

#include <nlohmann/json.hpp>

#include "quarnel/compute/model/constants.h"
#include "quarnel/compute/model/durations_unions.h"
#include "quarnel/compute/model/log_series_unions.h"
#include "quarnel/compute/model/selection_unions.h"

#include "wire_case.h"

namespace qc::model {
namespace {

#define LIT(text) "{\"type\":\"literal\",\"literal\":\"" text "\"}"
#define RAW(name) "{\"type\":\"raw\",\"raw\":{\"name\":\"" name "\"}}"
#define REGEX(text) "{\"type\":\"regexFilter\",\"regexFilter\":{\"regex\":\"" text "\"}}"

Value raw_log(const char* name) { return LogSeries::make(LogSeries::raw, Reference{.name = Value::str(name)}); }
Value regex(const char* text) {
  return LogFilterOperator::make(LogFilterOperator::regexFilter, LogRegexFilterOperator{.regex = Value::str(text)});
}
Value conditions(LogFilterOperator::Variant v, std::vector<Value> items) {
  return LogFilterOperator::make(v, list(std::move(items)));
}
Value negate(Value condition) { return LogFilterOperator::make(LogFilterOperator::not_, std::move(condition)); }
Value keep_all() { return LogUnionOperation::make(LogUnionOperation::keep_all); }

QC_WIRE_SUITE(ModelF1LogWire)

INSTANTIATE_TEST_SUITE_P(
    ModelF1LogVariants, ModelF1LogWire,
    testing::Values(
        WireCase{"raw", [] { return raw_log("app"); }, RAW("app")},
        WireCase{"channel",
                 [] {
                   return LogSeries::make(
                       LogSeries::channel,
                       ChannelSeries::make(ChannelSeries::dataSource,
                                           DataSourceChannel{.dataSourceRid = string_literal("ri.ds"),
                                                             .channel = string_literal("c")}));
                 },
                 R"({"type":"channel","channel":{"type":"dataSource","dataSource":{"dataSourceRid":)" LIT("ri.ds")
                 R"(,"channel":)" LIT("c") "}}}"},
        WireCase{"select_logs",
                 [] { return LogSeries::make(LogSeries::selectLogs, SelectSeries{.name = string_literal("l")}); },
                 R"({"type":"selectLogs","selectLogs":{"name":)" LIT("l") "}}"},
        WireCase{"union_of_nothing_still_writes_its_operation",
                 [] { return LogSeries::make(LogSeries::union_, LogUnionSeries{.input = list({}), .operation = keep_all()}); },
                 R"({"type":"union","union":{"operation":"KEEP_ALL"}})"},
        WireCase{"union_input_keeps_order_and_duplicates",
                 [] {
                   return LogSeries::make(
                       LogSeries::union_,
                       LogUnionSeries{.input = list({raw_log("b"), raw_log("a"), raw_log("b")}), .operation = keep_all()});
                 },
                 R"({"type":"union","union":{"input":[)" RAW("b") "," RAW("a") "," RAW("b")
                 R"(],"operation":"KEEP_ALL"}})"},
        WireCase{"union_unknown_operation_is_escaped",
                 [] {
                   return LogSeries::make(LogSeries::union_,
                                          LogUnionSeries{.operation = LogUnionOperation::unknown("KEEP_\"FIRST\"")});
                 },
                 R"({"type":"union","union":{"operation":"KEEP_\"FIRST\""}})"},
        WireCase{"filter",
                 [] { return LogSeries::make(LogSeries::filter, LogFilterSeries{.input = raw_log("app"), .operator_ = regex("x")}); },
                 R"({"type":"filter","filter":{"input":)" RAW("app") R"(,"operator":)" REGEX("x") "}}"},
        WireCase{"time_shift_by_literal",
                 [] {
                   return LogSeries::make(
                       LogSeries::timeShift,
                       LogTimeShiftSeries{.input = raw_log("app"),
                                          .duration = DurationConstant::make(DurationConstant::literal, run_duration(-1, 5))});
                 },
                 R"({"type":"timeShift","timeShift":{"input":)" RAW("app")
                 R"(,"duration":{"type":"literal","literal":{"seconds":-1,"nanos":5}}}})"},
        WireCase{"to_start_of_interval_by_reference",
                 [] {
                   return LogSeries::make(
                       LogSeries::toStartOfInterval,
                       LogToStartOfIntervalSeries{.input = raw_log("app"),
                                                  .window = Duration::make(Duration::reference,
                                                                           Reference{.name = Value::str("w")})});
                 },
                 R"({"type":"toStartOfInterval","toStartOfInterval":{"input":)" RAW("app")
                 R"(,"window":{"type":"reference","reference":{"name":"w"}}}})"},
        WireCase{"filter_by_tag",
                 [] {
                   Value values = StringSetConstantV2::make(StringSetConstantV2::variable, Value::str("vs"));
                   return LogSeries::make(
                       LogSeries::filterByTag,
                       LogTagFilterSeries{.input = raw_log("app"),
                                          .predicate = TagPredicate::make(
                                              TagPredicate::notIn, TagNotIn{.key = string_literal("k"), .values = values})});
                 },
                 R"({"type":"filterByTag","filterByTag":{"input":)" RAW("app") R"(,"predicate":{"type":"notIn","notIn":)"
                 R"({"key":)" LIT("k") R"(,"values":{"type":"variable","variable":"vs"}}}}})"},
        WireCase{"select_tags_with_empty_set_writes_input_only",
                 [] {
                   return LogSeries::make(LogSeries::selectTags,
                                          LogSelectTagsSeries{.input = raw_log("app"), .tagKeys = string_constant_set({})});
                 },
                 R"({"type":"selectTags","selectTags":{"input":)" RAW("app") "}}"},
        WireCase{"select_tags_literals_before_variables",
                 [] {
                   return LogSeries::make(LogSeries::selectTags,
                                          LogSelectTagsSeries{.input = raw_log("app"),
                                                              .tagKeys = string_constant_set(
                                                                  {string_variable("a"), string_literal("z")})});
                 },
                 R"({"type":"selectTags","selectTags":{"input":)" RAW("app") R"(,"tagKeys":[)" LIT("z")
                 R"(,{"type":"variable","variable":"a"}]}})"},
        WireCase{"unknown", [] { return LogSeries::unknown("video", Any::array({1, "x"})); },
                 R"({"type":"video","video":[1,"x"]})"}),
    wire_case_name);

INSTANTIATE_TEST_SUITE_P(
    ModelF1FilterConditions, ModelF1LogWire,
    testing::Values(
        WireCase{"regex", [] { return regex("a.*"); }, REGEX("a.*")},
        WireCase{"exact_match_case_insensitive",
                 [] {
                   return LogFilterOperator::make(LogFilterOperator::exactMatchCaseInsensitiveFilter,
                                                  LogExactMatchCaseInsensitiveFilter{.token = Value::str("error")});
                 },
                 R"({"type":"exactMatchCaseInsensitiveFilter","exactMatchCaseInsensitiveFilter":{"token":"error"}})"},
        WireCase{"arg_applies_a_regex_to_a_named_argument",
                 [] {
                   return LogFilterOperator::make(
                       LogFilterOperator::arg,
                       LogArgFilterOperator{.key = string_literal("level"),
                                            .operator_ = LogRegexFilterOperator{.regex = Value::str("err")}.build()});
                 },
                 R"({"type":"arg","arg":{"key":)" LIT("level") R"(,"operator":{"regex":"err"}}})"},
        WireCase{"not_of_and", [] { return negate(conditions(LogFilterOperator::and_, {regex("a"), regex("b")})); },
                 R"({"type":"not","not":{"type":"and","and":[)" REGEX("a") "," REGEX("b") "]}}"},
        WireCase{"empty_or_writes_an_empty_array", [] { return conditions(LogFilterOperator::or_, {}); },
                 R"({"type":"or","or":[]})"},
        WireCase{"empty_and_writes_an_empty_array", [] { return conditions(LogFilterOperator::and_, {}); },
                 R"({"type":"and","and":[]})"},
        WireCase{"or_keeps_duplicates", [] { return conditions(LogFilterOperator::or_, {regex("a"), regex("a")}); },
                 R"({"type":"or","or":[)" REGEX("a") "," REGEX("a") "]}"},
        WireCase{"unknown_among_known_siblings",
                 [] {
                   return conditions(LogFilterOperator::and_,
                                     {regex("a"), LogFilterOperator::unknown("fuzzy", Any::object({{"d", 2}})), regex("b")});
                 },
                 R"({"type":"and","and":[)" REGEX("a") R"(,{"type":"fuzzy","fuzzy":{"d":2}},)" REGEX("b") "]}"}),
    wire_case_name);

// Conditions nested through every recursive variant, level after level: the copy outlives its
// source and writes each level inside its parent.
TEST(ModelF1LogDepth, NestedConditionsCopyAndWriteToFullDepth) {
  Value condition = regex("x");
  std::string expected = REGEX("x");
  for (int level = 0; level < 4; ++level) {
    condition = negate(conditions(LogFilterOperator::or_,
                                  {regex("y"), conditions(LogFilterOperator::and_, {condition})}));
    expected = R"({"type":"not","not":{"type":"or","or":[)" REGEX("y") R"(,{"type":"and","and":[)" + expected +
               "]}]}}";
  }
  Value filtered = LogSeries::make(LogSeries::filter, LogFilterSeries{.input = raw_log("app"), .operator_ = condition});
  Value copy = filtered;
  filtered = Value{};
  condition = Value{};
  EXPECT_EQ(to_json(copy), R"({"type":"filter","filter":{"input":)" RAW("app") R"(,"operator":)" + expected + "}}");
}

}  // namespace
}  // namespace qc::model
