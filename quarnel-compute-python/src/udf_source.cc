// The UdfSource class: the source code of a user-defined function, recorded unchanged.
#include "binder.h"

namespace qc::py {

template <>
ClassDef class_def<ClassId::UdfSource>() {
  using Table = Methods<ClassId::UdfSource>;
  static PyMethodDef methods[] = {
      Table::factory<"Rust", &builders::udf_source_rust, "source_code">(),
      {},
  };
  return {methods};
}

}  // namespace qc::py
