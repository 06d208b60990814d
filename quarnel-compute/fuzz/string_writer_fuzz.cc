// Fuzzes the writing of strings: any bytes, held in the value or in a block, alone and as a map
// key, are written as a JSON string that reads back to the same bytes, with exactly the control
// bytes, quotes and backslashes escaped, and copies write the same.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "../tests/to_json.h"
#include "quarnel/compute/model/json.h"

namespace {

[[noreturn]] void fail(const char* what, std::string_view text) {
  std::fprintf(stderr, "%s: %.*s\n", what, int(text.size() < 200 ? text.size() : 200), text.data());
  std::abort();
}

// Reads one written string from the front of `text`; false when it breaks the escaping rules.
bool read_string(std::string_view& text, std::string& out) {
  if (text.empty() || text[0] != '"') return false;
  size_t i = 1;
  for (;;) {
    if (i >= text.size()) return false;
    unsigned char c = static_cast<unsigned char>(text[i++]);
    if (c == '"') break;
    if (c < 0x20) return false;
    if (c != '\\') {
      out += char(c);
      continue;
    }
    if (i >= text.size()) return false;
    char e = text[i++];
    // The escapes with a short form, each followed by the byte it stands for.
    static constexpr std::string_view kShort = "\"\"\\\\b\bt\tn\nf\fr\r";
    if (size_t at = kShort.find(e); at != kShort.npos && at % 2 == 0) {
      out += kShort[at + 1];
      continue;
    }
    if (e != 'u' || i + 4 > text.size() || text.substr(i, 2) != "00") return false;
    unsigned v = unsigned(std::strtoul(std::string(text.substr(i + 2, 2)).c_str(), nullptr, 16));
    // Only the control bytes without a short form are written this way, in lower case.
    static constexpr char hex[] = "0123456789abcdef";
    if (v >= 0x20 || v == '\b' || v == '\t' || v == '\n' || v == '\f' || v == '\r' ||
        text[i + 2] != hex[v >> 4] || text[i + 3] != hex[v & 15])
      return false;
    out += char(v);
    i += 4;
  }
  text.remove_prefix(i);
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  qc::Value v = qc::Value::str(input);
  qc::Value copy = v;
  v = qc::Value();
  std::string alone = qc::to_json(copy);
  std::string_view rest = alone;
  std::string back;
  if (!read_string(rest, back) || !rest.empty() || back != input)
    fail("string written wrongly", alone);
  std::string keyed = qc::to_json(qc::string_map({{std::string(input), qc::Value::i32(1)}}));
  if (keyed != "{" + alone + ":1}") fail("key written unlike the value", keyed);
  return 0;
}
