// The registry of model types, found by walking the part types from the root of a request.
#include "quarnel/compute/model/registry.h"

#include <algorithm>
#include <string>
#include <vector>

#include "quarnel/compute/every_model_header.h"  // made by CMake

namespace qc {

std::string type_text(const ModelType& type) {
  std::string out(type.name);
  if (type.kind >= TypeKind::List) {
    out += '<';
    bool first = true;
    for (const ModelType* part : type.part_types()) {
      if (!first) out += ',';
      first = false;
      out += type_text(*part);
    }
    out += '>';
  }
  return out;
}

namespace model {

std::span<const ModelType* const> declared_types() {
  static const std::vector<const ModelType*> types = [] {
    std::vector<const ModelType*> found, pending{&model_type<ComputeNodeWithContext>};
    while (!pending.empty()) {
      const ModelType* type = pending.back();
      pending.pop_back();
      bool declared = type->kind <= TypeKind::Enum;
      if (declared && std::find(found.begin(), found.end(), type) != found.end()) continue;
      if (declared) found.push_back(type);
      auto parts = type->part_types();
      for (auto it = parts.rbegin(); it != parts.rend(); ++it) pending.push_back(*it);
    }
    return found;
  }();
  return types;
}

}  // namespace model
}  // namespace qc
