// The whole wire form of a value as one string, as the tests and fuzzers compare it: the writer
// run to its end, its pieces joined. A value the writer refuses throws as the writer does.
#pragma once

#include <string>
#include <string_view>

#include "quarnel/compute/model/json.h"

namespace qc {

inline std::string to_json(const Value& v) {
  std::string out;
  Buffer buffer;
  auto append = [](void* to, std::string_view piece) {
    static_cast<std::string*>(to)->append(piece);
    return true;
  };
  write_json(buffer, v, Drain{append, &out});
  return out.append(buffer.view());
}

}  // namespace qc
