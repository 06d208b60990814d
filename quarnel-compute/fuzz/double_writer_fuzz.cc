// Fuzzes the double writer: every bit pattern is written within its space contract; non-finite
// values as null; finite ones read back with strtod to the same bits, laid out by the float
// rule for their decimal exponent, with the shortest significand that reads back, and of the
// shortest ones the nearest to the exact value.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "quarnel/compute/model/json.h"

namespace {

// A non-zero finite double as written: its significand digits d1..dn and the exponent E of d1.
struct Decimal {
  std::string digits;
  int exp = 0;
};

// The digits and exponent of a written number, whatever its layout; leading and trailing zeros
// are not significant.
Decimal parse(std::string_view s) {
  const size_t e = std::min(s.find('e'), s.size());
  std::string all;
  int whole = -1;  // digits before the point
  for (char c : s.substr(0, e))
    if (c == '.')
      whole = int(all.size());
    else if (c != '-')
      all += c;
  if (whole < 0) whole = int(all.size());
  Decimal out{all,
              whole - 1 + (e < s.size() ? std::atoi(std::string(s.substr(e + 1)).c_str()) : 0)};
  const size_t first = out.digits.find_first_not_of('0');
  if (first == std::string::npos) return {};
  out.digits = out.digits.substr(first, out.digits.find_last_not_of('0') + 1 - first);
  out.exp -= int(first);
  return out;
}

// The float rule's layout of a decimal: plain for exponents from -5 to 15 (a whole number ends
// in ".0"), scientific outside with a signed exponent.
std::string layout(const Decimal& x, bool negative) {
  const std::string& g = x.digits;
  const int e = x.exp, n = int(g.size());
  std::string out = negative ? "-" : "";
  if (e < -5 || e > 15)
    return out + g.substr(0, 1) + (n > 1 ? "." + g.substr(1) : "") + (e < 0 ? "e-" : "e+") +
           std::to_string(std::abs(e));
  if (e < 0) return out + "0." + std::string(size_t(-e - 1), '0') + g;
  if (n <= e + 1) return out + g + std::string(size_t(e + 1 - n), '0') + ".0";
  return out + g.substr(0, size_t(e) + 1) + "." + g.substr(size_t(e) + 1);
}

// The nearest decimal of `n` significant digits to |d|, as glibc rounds it (exactly).
Decimal nearest(double d, int n) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*e", n - 1, std::fabs(d));
  Decimal out;
  const char* p = buf;
  for (; *p != 'e'; ++p)
    if (*p != '.') out.digits += *p;
  out.exp = std::atoi(p + 1);
  return out;
}

bool reads_back(const Decimal& x, double d) {
  std::string text = x.digits.substr(0, 1) + "." + x.digits.substr(1) + "e" + std::to_string(x.exp);
  return std::strtod(text.c_str(), nullptr) == std::fabs(d);
}

// True when |d| lies exactly halfway between two decimals of n significant digits.
bool halfway(double d, int n) {
  static char exact[1200];
  std::snprintf(exact, sizeof exact, "%.1100e", std::fabs(d));  // every digit of a double
  std::string_view rest(exact);
  rest = rest.substr(0, rest.find('e'));
  rest.remove_prefix(size_t(n) + 1);  // the first n digits and the point
  return !rest.empty() && rest[0] == '5' &&
         rest.find_first_not_of('0', 1) == std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < sizeof(double)) return 0;
  double d;
  std::memcpy(&d, data, sizeof d);
  char buf[qc::kDoubleSpace + 1];
  size_t n = qc::write_double(buf, d);
  if (n == 0 || n > qc::kDoubleSpace) std::abort();
  buf[n] = '\0';
  std::string_view text(buf, n);
  if (!std::isfinite(d)) {
    if (text != "null") std::abort();
    return 0;
  }
  char* end = nullptr;
  double back = std::strtod(buf, &end);
  if (end != buf + n || std::memcmp(&back, &d, sizeof d) != 0) std::abort();
  if ((text[0] == '-') != std::signbit(d)) std::abort();
  if (d == 0) {
    if (text != (std::signbit(d) ? "-0.0" : "0.0")) std::abort();
    return 0;
  }
  const Decimal written = parse(text);
  if (written.digits.empty() || layout(written, std::signbit(d)) != text) std::abort();
  int digits = int(written.digits.size());
  if (digits > 17) std::abort();
  // Shortest: no decimal with one digit fewer reads back (the nearest is the one to try).
  if (digits > 1 && reads_back(nearest(d, digits - 1), d)) std::abort();
  // Nearest of the shortest: glibc's correctly rounded one, unless it is a tie.
  Decimal best = nearest(d, digits);
  if (reads_back(best, d) && (best.digits != written.digits || best.exp != written.exp) &&
      !halfway(d, digits))
    std::abort();
  return 0;
}
