// Fuzzes the double writer: every bit pattern is written within its space contract; non-finite
// values as null; finite ones read back with strtod to the same bits, laid out by the float
// rule for their decimal exponent, with the shortest significand that reads back, and of the
// shortest ones the nearest to the exact value.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "quarnel/compute/model/value.h"

namespace {

bool is_digits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

// A written non-zero finite double: its significand digits d1..dn and the exponent E of d1.
struct Decimal {
  std::string digits;
  int exp = 0;
};

// Reads the text back into its digits and exponent, checking the layout that the exponent
// calls for: plain from -5 to 15, scientific outside; no leading or trailing zeros in the
// significand. False for text laid out otherwise.
bool read_layout(std::string_view s, Decimal& out) {
  if (!s.empty() && s[0] == '-') s.remove_prefix(1);
  size_t e = s.find('e');
  if (e != std::string_view::npos) {
    std::string_view mant = s.substr(0, e), ex = s.substr(e + 1);
    if (mant.empty() || mant[0] < '1' || mant[0] > '9') return false;
    out.digits = mant.substr(0, 1);
    if (mant.size() > 1) {
      if (mant[1] != '.' || !is_digits(mant.substr(2))) return false;
      out.digits += mant.substr(2);
      if (out.digits.back() == '0') return false;
    }
    if (ex.size() < 2 || (ex[0] != '+' && ex[0] != '-') || ex[1] == '0' || !is_digits(ex.substr(1)))
      return false;
    out.exp = std::atoi(std::string(ex.substr(1)).c_str()) * (ex[0] == '-' ? -1 : 1);
    return out.exp < -5 || out.exp > 15;
  }
  size_t dot = s.find('.');
  if (dot == std::string_view::npos) return false;
  std::string_view whole = s.substr(0, dot), frac = s.substr(dot + 1);
  if (!is_digits(whole) || !is_digits(frac)) return false;
  if (whole == "0") {  // 0.000ddd
    size_t first = frac.find_first_not_of('0');
    if (first == std::string_view::npos || frac.back() == '0') return false;
    out.digits = frac.substr(first);
    out.exp = -int(first) - 1;
    return out.exp >= -5;
  }
  if (whole[0] == '0' || whole.size() > 16) return false;
  out.exp = int(whole.size()) - 1;
  if (frac == "0") {  // ddd000.0
    out.digits = whole.substr(0, whole.find_last_not_of('0') + 1);
    return true;
  }
  if (frac.back() == '0') return false;
  out.digits = std::string(whole) + std::string(frac);
  return true;
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
  Decimal written;
  if (!read_layout(text, written)) std::abort();
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
