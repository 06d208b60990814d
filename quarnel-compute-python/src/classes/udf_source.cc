// The UdfSource class: the source code of a user-defined function, recorded unchanged.
#include "binder.h"

namespace qc::py {

template <>
ClassDef class_def<ClassId::UdfSource>() {
  using Table = Methods<ClassId::UdfSource>;
  static const Line methods[] = {
      Table::factory<"Rust", &builders::udf_source_rust, "source_code">(
          {.node = "rust",
           .text = "Rust source code, recorded unchanged (not checked or compiled).",
           .example = R"doc(>>> UdfSource.Rust("fn f() {}").to_json()
'{"type":"rust","rust":{"sourceCode":"fn f() {}"}}')doc"}),
      {},
  };
  return {.about = "The source code of a user-defined function, recorded unchanged.",
          .methods = methods};
}

}  // namespace qc::py
