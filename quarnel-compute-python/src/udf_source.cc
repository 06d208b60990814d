// The UdfSource class: the source code of a user-defined function, recorded unchanged.
#include "method_shapes.h"
#include "quarnel/compute/model/aggregation_unions.h"

namespace qc::py {
namespace {

namespace m = model;

// The text is neither parsed nor checked; an empty one is kept and written as "".
Held<ClassId::UdfSource> rust(std::string source_code) {
  return {m::UdfSource::make(m::UdfSource::rust, m::RustUdfSource{.sourceCode = Value::str(source_code)})};
}

}  // namespace

template <>
ClassDef class_def<ClassId::UdfSource>() {
  using T = Methods<ClassId::UdfSource>;
  static PyMethodDef methods[] = {
      T::def<"Rust", &rust, "source_code">(),
      T::def<"to_json", &to_json<ClassId::UdfSource>>(),
      {},
  };
  return {methods};
}

}  // namespace qc::py
