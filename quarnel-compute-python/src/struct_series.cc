// The StructSeries class: named series joined into one series of structured values.
#include "series_methods.h"

namespace qc::py {

template <>
ClassDef class_def<ClassId::StructSeries>() {
  using Table = Methods<ClassId::StructSeries>;
  using Shared = SeriesMethods<ClassId::StructSeries>;
  static PyMethodDef methods[] = {
      Table::factory<"Combine", &builders::struct_series_combine, "inputs">(),
      Shared::time_difference(),
      Shared::absolute_timestamp(),
      Table::method<"extract_numeric", &builders::struct_series_extract_numeric, "field_path",
                    "data_type">(),
      Shared::rolling_time(),
      Shared::rolling_points(),
      Shared::group_by(),
      {},
  };
  return {methods};
}

}  // namespace qc::py
