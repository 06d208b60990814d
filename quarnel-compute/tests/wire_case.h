// Table-driven wire tests of model values. A row names a case, builds its value and gives the
// exact JSON text the value must write; every row also checks that a copy of the value writes
// the same text after the value it was copied from is gone, since copies share their nodes.
//
//   QC_WIRE_SUITE(ModelXWire)
//   INSTANTIATE_TEST_SUITE_P(Group, ModelXWire, testing::Values(WireCase{"name", make, json}, ...),
//                            wire_case_name);
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "quarnel/compute/model/value.h"

namespace qc {

struct WireCase {
  const char* name;
  Value (*make)();
  std::string json;
};

// Names a failing row instead of dumping its bytes.
inline void PrintTo(const WireCase& c, std::ostream* os) { *os << c.name; }

inline std::string wire_case_name(const ::testing::TestParamInfo<WireCase>& info) { return info.param.name; }

// The value writes `json`, and so does a copy taken from it once the value itself is dropped.
inline void expect_wire(Value (*make)(), const std::string& json) {
  std::optional<Value> source = make();
  EXPECT_EQ(to_json(*source), json);
  Value copy = *source;
  source.reset();
  EXPECT_EQ(to_json(copy), json);
}

// `{"type":"name","name":payload}`: a union holding the variant `name`.
inline std::string union_json(std::string_view name, std::string_view payload) {
  std::string n(name);
  return R"({"type":")" + n + R"(",")" + n + R"(":)" + std::string(payload) + "}";
}

class WireTest : public ::testing::TestWithParam<WireCase> {};

}  // namespace qc

// Declares the parametrised suite `Suite`, whose rows are WireCase values.
#define QC_WIRE_SUITE(Suite)              \
  class Suite : public ::qc::WireTest {}; \
  TEST_P(Suite, WritesAndCopies) { ::qc::expect_wire(GetParam().make, GetParam().json); }
