// The StructSeries class: named series joined into one series of structured values.
#include "series_methods.h"

namespace qc::py {

template <>
ClassDef class_def<ClassId::StructSeries>() {
  using Table = Methods<ClassId::StructSeries>;
  using Shared = SeriesMethods<ClassId::StructSeries>;
  static const Line methods[] = {
      Table::factory<"Combine", &builders::struct_series_combine, "inputs">(
          {.node = "combine",
           .text = "The series of the dict joined under their names. The names are written "
                   "sorted; of two equal names the later wins.",
           .args = "inputs: the member series by name"}),
      Shared::time_difference(),
      Shared::absolute_timestamp(),
      Table::method<"extract_numeric", &builders::struct_series_extract_numeric, "field_path",
                    "data_type">(
          {.node = "extractFromStruct",
           .text = "The numeric field at a path of field names, read from each structured "
                   "value."}),
      Shared::rolling_time(),
      Shared::rolling_points(),
      Shared::group_by(),
      {},
  };
  return {.about = "Named series joined into one series of structured values.", .methods = methods};
}

}  // namespace qc::py
