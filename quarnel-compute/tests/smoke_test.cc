#include <gtest/gtest.h>

#include "quarnel/compute/model/constants.h"
#include "quarnel/compute/model/units.h"

namespace qc::model {
namespace {
#define QC_T_FIELDS(F) F(x, "x", Required) F(tags, "tags", Collection) F(opt, "opt", Optional)
QC_RECORD(TRec, QC_T_FIELDS)
#define QC_T_VARIANTS(V) V(rec, "rec", TRec) V(constant, "constant", ConstantNumericSeries)
QC_UNION(TUnion, QC_T_VARIANTS)

TEST(Smoke, Writes) {
  Value c = ConstantNumericSeries::make(ConstantNumericSeries::double_, double_literal(2.0));
  Value u = TUnion::make(TUnion::constant, c);
  EXPECT_EQ(to_json(u),
            R"({"type":"constant","constant":{"type":"double","double":{"type":"literal","literal":2.0}}})");
  Value r = TUnion::make(TUnion::rec, TRec{.x = u, .tags = list({})});
  EXPECT_EQ(to_json(r).substr(0, 27), R"({"type":"rec","rec":{"x":{")");
  EXPECT_EQ(to_json(api::TimeUnit::deserialize("\"DAYS\"").value), "\"DAYS\"");
}
}  // namespace
}  // namespace qc::model
