// The StructSeries class: named series joined into one series of structured values.
#include "numeric_series.h"
#include "series_methods.h"

namespace qc::py {
namespace {

namespace b = builders;
using StructSeriesObject = Held<ClassId::StructSeries>;
using Me = Self<ClassId::StructSeries>;

StructSeriesObject combine(SeriesDict inputs) { return {b::struct_series_combine(std::move(inputs.entries))}; }

NumericSeriesObject extract_numeric(Me self, std::vector<StringConstantInput> field_path,
                                    std::optional<b::NumericDataType> data_type) {
  Value input = self.value;
  return {b::struct_series_extract_numeric(std::move(input), string_constants(std::move(field_path)), data_type)};
}

}  // namespace

// Registered in this order; keep it when adding a method.
template <>
ClassDef class_def<ClassId::StructSeries>() {
  using T = Methods<ClassId::StructSeries>;
  using S = SeriesMethods<ClassId::StructSeries, b::series_from_struct_series>;
  static PyMethodDef methods[] = {
      T::def<"Combine", &combine, "inputs">(),
      S::def_time_difference(),
      S::def_absolute_timestamp(),
      T::def<"extract_numeric", &extract_numeric, "field_path", "data_type">(),
      S::def_rolling_time(),
      S::def_rolling_points(),
      S::def_group_by(),
      T::def<"to_json", &to_json<ClassId::StructSeries>>(),
      {},
  };
  return {methods};
}

}  // namespace qc::py
