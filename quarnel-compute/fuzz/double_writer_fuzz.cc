// Fuzzes the double writer: every bit pattern is written within its space contract, finite
// values read back to the same bits, and the text is a JSON number or null.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "quarnel/compute/model/value.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < sizeof(double)) return 0;
  double d;
  std::memcpy(&d, data, sizeof d);
  char buf[qc::kDoubleSpace + 1];
  size_t n = qc::write_double(buf, d);
  if (n == 0 || n > qc::kDoubleSpace) std::abort();
  buf[n] = '\0';
  if (!std::isfinite(d)) {
    if (std::strcmp(buf, "null") != 0) std::abort();
    return 0;
  }
  // A JSON number that a reader cannot take for an integer: a point or an exponent.
  if (!std::strchr(buf, '.') && !std::strchr(buf, 'e')) std::abort();
  char* end = nullptr;
  double back = std::strtod(buf, &end);
  if (end != buf + n || std::memcmp(&back, &d, sizeof d) != 0) std::abort();
  return 0;
}
