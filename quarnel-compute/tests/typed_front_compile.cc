// The typed front refuses a node of the wrong kind, a record without a required field and a
// folded chain whose opening the writer has no room for: built with no REFUSE_ macro this file
// must compile; built with any one of them it must not.
#include "quarnel/compute/builders.h"
#include "quarnel/compute/model/json.h"
#include "quarnel/compute/model/series_unions.h"
#include "quarnel/compute/model/units.h"

namespace qc {

#if defined(REFUSE_LONG_CHAIN)
// Two levels of the longest variant name: their joined prefixes are longer than one opening.
#define QC_VARIANTS(V) \
  V(v, "vvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvv", LongNames)
struct LongNames;
QC_UNION(LongNames, QC_VARIANTS)
#undef QC_VARIANTS
#endif

void well_typed() {
  auto x = builders::numeric_series_reference("x");
  builders::numeric_series_add(builders::numeric_series_add(x, x), x);
  model::Series::numeric(x);
  model::NumericSeries::add({.left = x, .right = x});
  (void)model::MaxSeries{.inputs = {x}};  // the optional field left out
  (void)model::DerivativeSeries{
      .input = x, .timeUnit = Handle<model::api::TimeUnit>(model::api::TimeUnit::days)};
  builders::max({x});
}

void refused() {
#if defined(REFUSE_DURATION_AS_NUMERIC_SERIES)
  builders::numeric_series_add(builders::duration_add({}, {}), {});
#elif defined(REFUSE_BARE_VALUE_AS_PAYLOAD)
  model::Series::numeric(Value::i32(1));
#elif defined(REFUSE_BARE_VALUE_AS_OPERAND)
  builders::numeric_series_abs(Value::f64(1));
#elif defined(REFUSE_OTHER_RECORD_AS_PAYLOAD)
  model::NumericSeries::add(model::Subtract{.left = builders::numeric_series_reference("x"),
                                            .right = builders::numeric_series_reference("y")});
#elif defined(REFUSE_WRONG_FIELD_TYPE)
  model::Add{.left = builders::duration_add({}, {})};
#elif defined(REFUSE_WRONG_LIST_ELEMENT)
  builders::max({builders::duration_add({}, {})});
#elif defined(REFUSE_MISSING_REQUIRED_FIELD)
  model::NumericSeries::add({.left = builders::numeric_series_reference("x")});
#elif defined(REFUSE_EMPTY_REQUIRED_FIELD)
  model::Add{.left = {}, .right = builders::numeric_series_reference("x")};
#elif defined(REFUSE_OTHER_ENUMERATION)
  model::DerivativeSeries{
      .input = builders::numeric_series_reference("x"),
      .timeUnit = Handle<model::objects::NumericDataType>(model::objects::NumericDataType::int64)};
#elif defined(REFUSE_LONG_CHAIN)
  using V = Level<LongNames, LongNames::Variant::v>;
  FoldChain<V, V>::make(Value::i32(1));
#endif
}

}  // namespace qc
