// Fuzzes reading the two enumerations from JSON text: any input gives a value or an error,
// and a value read back from its own written form is the same value.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "../tests/to_json.h"
#include "quarnel/compute/model/units.h"

namespace {

template <class E>
void check(std::string_view text) {
  qc::EnumReadOf<E> r = qc::deserialize<E>(text);
  if (!r.ok()) {
    if (r.error.empty()) std::abort();
    return;
  }
  std::string written = qc::to_json(r.value.value());
  if (written.size() < 2 || written.front() != '"' || written.back() != '"') std::abort();
  qc::EnumReadOf<E> again = qc::deserialize<E>(written);
  if (!again.ok() || qc::to_json(again.value.value()) != written) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  check<qc::model::api::TimeUnit>(text);
  check<qc::model::objects::NumericDataType>(text);
  return 0;
}
