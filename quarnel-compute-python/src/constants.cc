// The constant classes: a literal value or the name of a variable bound elsewhere.
#include "binder.h"
#include "quarnel/compute/model/constants.h"

namespace qc::py {
namespace {

namespace m = model;

template <ClassId C, class Union>
Held<C> variable(std::string name) {
  return {Union::make(Union::variable, Value::str(name))};
}

Held<ClassId::FloatConstant> float_literal(double literal) { return {m::double_literal(literal)}; }
Held<ClassId::StringConstant> string_literal(std::string literal) { return {m::string_literal(literal)}; }
Held<ClassId::IntegerConstant> integer_literal(PlainInteger literal) {
  return {m::integer_literal(narrow_i32(literal.value))};
}

Held<ClassId::ConstantNumericSeries> float_series(FloatConstantInput value) {
  return {m::ConstantNumericSeries::make(m::ConstantNumericSeries::double_, double_constant(std::move(value)))};
}

}  // namespace

// The three classes of a literal and a variable form share one table.
template <ClassId C, class Union, auto Literal>
ClassDef constant_class() {
  using T = Methods<C>;
  static PyMethodDef methods[] = {
      T::template def<"Literal", Literal, "literal">(),
      T::template def<"Reference", &variable<C, Union>, "variable">(),
      T::template def<"to_json", &to_json<C>>(),
      {},
  };
  return {methods};
}

template <>
ClassDef class_def<ClassId::FloatConstant>() {
  return constant_class<ClassId::FloatConstant, m::DoubleConstant, &float_literal>();
}

template <>
ClassDef class_def<ClassId::StringConstant>() {
  return constant_class<ClassId::StringConstant, m::StringConstant, &string_literal>();
}

template <>
ClassDef class_def<ClassId::IntegerConstant>() {
  return constant_class<ClassId::IntegerConstant, m::IntegerConstant, &integer_literal>();
}

template <>
ClassDef class_def<ClassId::ConstantNumericSeries>() {
  using T = Methods<ClassId::ConstantNumericSeries>;
  static PyMethodDef methods[] = {
      T::def<"Float", &float_series, "value">(),
      T::def<"to_json", &to_json<ClassId::ConstantNumericSeries>>(),
      {},
  };
  return {methods};
}

}  // namespace qc::py
