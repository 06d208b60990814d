// Arithmetic and combination nodes of numeric series, and their operation enumerations.
// Series operands are NumericSeries values (the condition of an if-else a BooleanSeries);
// the records that share a shape stay distinct types, the variant name alone telling them
// apart on the wire.
#pragma once

#include "quarnel/compute/model/decl.h"

namespace qc::model {

// Functions of one series.
#define QC_NUMERIC_FUNCTION_FIELDS(F) F(x, "x", Required)
QC_RECORD(Abs, QC_NUMERIC_FUNCTION_FIELDS)
QC_RECORD(Negate, QC_NUMERIC_FUNCTION_FIELDS)
QC_RECORD(Cos, QC_NUMERIC_FUNCTION_FIELDS)
QC_RECORD(Sin, QC_NUMERIC_FUNCTION_FIELDS)
QC_RECORD(Tan, QC_NUMERIC_FUNCTION_FIELDS)
QC_RECORD(Acos, QC_NUMERIC_FUNCTION_FIELDS)
QC_RECORD(Asin, QC_NUMERIC_FUNCTION_FIELDS)
QC_RECORD(Ln, QC_NUMERIC_FUNCTION_FIELDS)
QC_RECORD(Log10, QC_NUMERIC_FUNCTION_FIELDS)
QC_RECORD(Sqrt, QC_NUMERIC_FUNCTION_FIELDS)

// Operations of two series.
#define QC_NUMERIC_BINARY_FIELDS(F) F(left, "left", Required) F(right, "right", Required)
QC_RECORD(Add, QC_NUMERIC_BINARY_FIELDS)
QC_RECORD(Subtract, QC_NUMERIC_BINARY_FIELDS)
QC_RECORD(Multiply, QC_NUMERIC_BINARY_FIELDS)
QC_RECORD(Divide, QC_NUMERIC_BINARY_FIELDS)
QC_RECORD(FloorDivide, QC_NUMERIC_BINARY_FIELDS)
QC_RECORD(Modulo, QC_NUMERIC_BINARY_FIELDS)
#define QC_POWER_FIELDS(F) F(base, "base", Required) F(exponent, "exponent", Required)
QC_RECORD(Power, QC_POWER_FIELDS)
// The wire form puts "y" before "x", as the function's argument order does.
#define QC_ATAN2_FIELDS(F) F(y, "y", Required) F(x, "x", Required)
QC_RECORD(Atan2, QC_ATAN2_FIELDS)

// Variadic combinations: a list of series and an optional InterpolationConfiguration.
#define QC_NUMERIC_VARIADIC_FIELDS(F) \
  F(inputs, "inputs", Collection) F(interpolationConfiguration, "interpolationConfiguration", Optional)
QC_RECORD(MaxSeries, QC_NUMERIC_VARIADIC_FIELDS)
QC_RECORD(MeanSeries, QC_NUMERIC_VARIADIC_FIELDS)
QC_RECORD(MinSeries, QC_NUMERIC_VARIADIC_FIELDS)
QC_RECORD(SumSeries, QC_NUMERIC_VARIADIC_FIELDS)
QC_RECORD(ProductSeries, QC_NUMERIC_VARIADIC_FIELDS)

#define QC_NUMERIC_UNION_OPERATION_VALUES(E)                                       \
  E(min, "MIN") E(max, "MAX") E(mean, "MEAN") E(sum, "SUM") E(count, "COUNT")      \
  E(standard_deviation, "STANDARD_DEVIATION") E(root_mean_square, "ROOT_MEAN_SQUARE") \
  E(throw_, "THROW")
QC_ENUM(NumericUnionOperation, QC_NUMERIC_UNION_OPERATION_VALUES)

// The list key is singular here, unlike the variadic records above.
#define QC_NUMERIC_UNION_SERIES_FIELDS(F) F(input, "input", Collection) F(operation, "operation", Optional)
QC_RECORD(NumericUnionSeries, QC_NUMERIC_UNION_SERIES_FIELDS)

#define QC_NUMERIC_IF_ELSE_SERIES_FIELDS(F) \
  F(condition, "condition", Required) F(trueValue, "trueValue", Required) F(falseValue, "falseValue", Required)
QC_RECORD(NumericIfElseSeries, QC_NUMERIC_IF_ELSE_SERIES_FIELDS)

// The scalar is a DoubleConstant.
#define QC_OFFSET_SERIES_FIELDS(F) F(input, "input", Required) F(scalar, "scalar", Required)
QC_RECORD(OffsetSeries, QC_OFFSET_SERIES_FIELDS)
#define QC_SCALE_SERIES_FIELDS(F) \
  F(input, "input", Required) F(scalar, "scalar", Required) F(scalarUnit, "scalarUnit", Optional)
QC_RECORD(ScaleSeries, QC_SCALE_SERIES_FIELDS)

#define QC_UNIT_CONVERSION_SERIES_FIELDS(F) F(input, "input", Required) F(outputUnit, "outputUnit", Required)
QC_RECORD(UnitConversionSeries, QC_UNIT_CONVERSION_SERIES_FIELDS)

// "inputs" maps local variable names (string_map) to the series the expression refers to.
#define QC_ARITHMETIC_SERIES_FIELDS(F)                            \
  F(inputs, "inputs", Collection) F(expression, "expression", Required) \
  F(interpolationConfiguration, "interpolationConfiguration", Optional)
QC_RECORD(ArithmeticSeries, QC_ARITHMETIC_SERIES_FIELDS)

// LOG and LN are distinct values; there is no base-10 value.
#define QC_UNARY_ARITHMETIC_OPERATION_VALUES(E)                                              \
  E(cos, "COS") E(sin, "SIN") E(tan, "TAN") E(abs, "ABS") E(asin, "ASIN") E(acos, "ACOS")    \
  E(log, "LOG") E(ln, "LN") E(sqrt, "SQRT")
QC_ENUM(UnaryArithmeticOperation, QC_UNARY_ARITHMETIC_OPERATION_VALUES)

#define QC_UNARY_ARITHMETIC_SERIES_FIELDS(F) F(input, "input", Required) F(operation, "operation", Required)
QC_RECORD(UnaryArithmeticSeries, QC_UNARY_ARITHMETIC_SERIES_FIELDS)

#define QC_BINARY_ARITHMETIC_OPERATION_VALUES(E) E(atan2, "ATAN2")
QC_ENUM(BinaryArithmeticOperation, QC_BINARY_ARITHMETIC_OPERATION_VALUES)

#define QC_BINARY_ARITHMETIC_SERIES_FIELDS(F)                                          \
  F(input1, "input1", Required) F(input2, "input2", Required)                          \
  F(operation, "operation", Required)                                                  \
  F(interpolationConfiguration, "interpolationConfiguration", Optional)
QC_RECORD(BinaryArithmeticSeries, QC_BINARY_ARITHMETIC_SERIES_FIELDS)

}  // namespace qc::model
