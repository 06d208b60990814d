// The constant classes: a literal value or the name of a variable bound elsewhere.
#include "binder.h"

namespace qc::py {

template <>
ClassDef class_def<ClassId::FloatConstant>() {
  using Table = Methods<ClassId::FloatConstant>;
  static PyMethodDef methods[] = {
      Table::factory<"Literal", &builders::double_constant_literal, "literal">(),
      Table::factory<"Reference", &builders::double_constant_variable, "variable">(),
      {},
  };
  return {methods};
}

template <>
ClassDef class_def<ClassId::StringConstant>() {
  using Table = Methods<ClassId::StringConstant>;
  static PyMethodDef methods[] = {
      Table::factory<"Literal", &builders::string_constant_literal, "literal">(),
      Table::factory<"Reference", &builders::string_constant_variable, "variable">(),
      {},
  };
  return {methods};
}

// The literal is a plain int, narrowed to 32 bits.
template <>
ClassDef class_def<ClassId::IntegerConstant>() {
  using Table = Methods<ClassId::IntegerConstant>;
  static PyMethodDef methods[] = {
      Table::factory<"Literal", &builders::integer_constant_literal, "literal">(),
      Table::factory<"Reference", &builders::integer_constant_variable, "variable">(),
      {},
  };
  return {methods};
}

template <>
ClassDef class_def<ClassId::ConstantNumericSeries>() {
  using Table = Methods<ClassId::ConstantNumericSeries>;
  static PyMethodDef methods[] = {
      Table::factory<"Float", &builders::constant_numeric_series_double, "value">(),
      {},
  };
  return {methods};
}

}  // namespace qc::py
