// The constant classes: a literal value or the name of a variable bound elsewhere.
#include "binder.h"

namespace qc::py {

template <>
ClassDef class_def<ClassId::FloatConstant>() {
  using Table = Methods<ClassId::FloatConstant>;
  static const Line methods[] = {
      Table::factory<"Literal", &builders::double_constant_literal, "literal">(
          {.node = "literal",
           .text = "The float itself.",
           .example = R"doc(>>> FloatConstant.Literal(2).to_json()
'{"type":"literal","literal":2.0}')doc"}),
      Table::factory<"Reference", &builders::double_constant_variable, "variable">(
          {.node = "variable", .text = "The float variable of that name."}),
      {},
  };
  return {.about = "A 64-bit float: a literal, or a variable bound elsewhere.", .methods = methods};
}

template <>
ClassDef class_def<ClassId::StringConstant>() {
  using Table = Methods<ClassId::StringConstant>;
  static const Line methods[] = {
      Table::factory<"Literal", &builders::string_constant_literal, "literal">(
          {.node = "literal",
           .text = "The string itself.",
           .example = R"doc(>>> StringConstant.Literal("north").to_json()
'{"type":"literal","literal":"north"}')doc"}),
      Table::factory<"Reference", &builders::string_constant_variable, "variable">(
          {.node = "variable",
           .text = "The string variable of that name.",
           .example = R"doc(>>> StringConstant.Reference("site").to_json()
'{"type":"variable","variable":"site"}')doc"}),
      {},
  };
  return {.about = "A string: a literal, or a variable bound elsewhere.", .methods = methods};
}

// The literal is a plain int, narrowed to 32 bits.
template <>
ClassDef class_def<ClassId::IntegerConstant>() {
  using Table = Methods<ClassId::IntegerConstant>;
  static const Line methods[] = {
      Table::factory<"Literal", &builders::integer_constant_literal, "literal">(
          {.node = "literal",
           .text = "The integer itself.",
           .example = R"doc(>>> IntegerConstant.Literal(7).to_json()
'{"type":"literal","literal":7}')doc"}),
      Table::factory<"Reference", &builders::integer_constant_variable, "variable">(
          {.node = "variable", .text = "The integer variable of that name."}),
      {},
  };
  return {.about = "A 32-bit integer: a literal, or a variable bound elsewhere.",
          .methods = methods};
}

template <>
ClassDef class_def<ClassId::ConstantNumericSeries>() {
  using Table = Methods<ClassId::ConstantNumericSeries>;
  static const Line methods[] = {
      Table::factory<"Float", &builders::constant_numeric_series_double, "value">(
          {.node = "double", .text = "A constant series of a float value."}),
      {},
  };
  return {.about = "A constant numeric series, from a FloatConstant or a number.",
          .methods = methods};
}

}  // namespace qc::py
