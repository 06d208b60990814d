// Arithmetic and combination nodes of numeric series, and their operation enumerations. The
// records that share a shape stay distinct types, the variant name alone telling them apart on
// the wire.
#pragma once

#include "quarnel/compute/model/decl.h"
#include "quarnel/compute/model/names.h"

namespace qc::model {

struct BooleanSeries;
struct DoubleConstant;
struct InterpolationConfiguration;
struct NumericSeries;

// Functions of one series.
#define QC_FIELDS(F) F(x, "x", NumericSeries)
QC_RECORD(Abs, QC_FIELDS)
QC_RECORD(Negate, QC_FIELDS)
QC_RECORD(Cos, QC_FIELDS)
QC_RECORD(Sin, QC_FIELDS)
QC_RECORD(Tan, QC_FIELDS)
QC_RECORD(Acos, QC_FIELDS)
QC_RECORD(Asin, QC_FIELDS)
QC_RECORD(Ln, QC_FIELDS)
QC_RECORD(Log10, QC_FIELDS)
QC_RECORD(Sqrt, QC_FIELDS)
#undef QC_FIELDS

// Operations of two series.
#define QC_FIELDS(F) \
  F(left, "left", NumericSeries) \
  F(right, "right", NumericSeries)
QC_RECORD(Add, QC_FIELDS)
QC_RECORD(Subtract, QC_FIELDS)
QC_RECORD(Multiply, QC_FIELDS)
QC_RECORD(Divide, QC_FIELDS)
QC_RECORD(FloorDivide, QC_FIELDS)
QC_RECORD(Modulo, QC_FIELDS)
#undef QC_FIELDS
#define QC_FIELDS(F) \
  F(base, "base", NumericSeries) \
  F(exponent, "exponent", NumericSeries)
QC_RECORD(Power, QC_FIELDS)
#undef QC_FIELDS
// The wire form puts "y" before "x", as the function's argument order does.
#define QC_FIELDS(F) \
  F(y, "y", NumericSeries) \
  F(x, "x", NumericSeries)
QC_RECORD(Atan2, QC_FIELDS)
#undef QC_FIELDS

// Variadic combinations.
#define QC_FIELDS(F) \
  F(inputs, "inputs", List<NumericSeries>) \
  F(interpolationConfiguration, "interpolationConfiguration", Optional<InterpolationConfiguration>)
QC_RECORD(MaxSeries, QC_FIELDS)
QC_RECORD(MeanSeries, QC_FIELDS)
QC_RECORD(MinSeries, QC_FIELDS)
QC_RECORD(SumSeries, QC_FIELDS)
QC_RECORD(ProductSeries, QC_FIELDS)
#undef QC_FIELDS

#define QC_VALUES(E) \
  E(min, "MIN") \
  E(max, "MAX") \
  E(mean, "MEAN") \
  E(sum, "SUM") \
  E(count, "COUNT") \
  E(standard_deviation, "STANDARD_DEVIATION") \
  E(root_mean_square, "ROOT_MEAN_SQUARE") \
  E(throw_, "THROW")
QC_ENUM(NumericUnionOperation, QC_VALUES)
#undef QC_VALUES

// The list key is singular here, unlike the variadic records above.
#define QC_FIELDS(F) \
  F(input, "input", List<NumericSeries>) \
  F(operation, "operation", Optional<NumericUnionOperation>)
QC_RECORD(NumericUnionSeries, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) \
  F(condition, "condition", BooleanSeries) \
  F(trueValue, "trueValue", NumericSeries) \
  F(falseValue, "falseValue", NumericSeries)
QC_RECORD(NumericIfElseSeries, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) \
  F(input, "input", NumericSeries) \
  F(scalar, "scalar", DoubleConstant)
QC_RECORD(OffsetSeries, QC_FIELDS)
#undef QC_FIELDS
#define QC_FIELDS(F) \
  F(input, "input", NumericSeries) \
  F(scalar, "scalar", DoubleConstant) \
  F(scalarUnit, "scalarUnit", Optional<String>)
QC_RECORD(ScaleSeries, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) \
  F(input, "input", NumericSeries) \
  F(outputUnit, "outputUnit", String)
QC_RECORD(UnitConversionSeries, QC_FIELDS)
#undef QC_FIELDS

// "inputs" binds the names the expression uses to the series they stand for.
#define QC_FIELDS(F) \
  F(inputs, "inputs", Map<LocalVariableName, NumericSeries>) \
  F(expression, "expression", String) \
  F(interpolationConfiguration, "interpolationConfiguration", Optional<InterpolationConfiguration>)
QC_RECORD(ArithmeticSeries, QC_FIELDS)
#undef QC_FIELDS

// LOG and LN are distinct values; there is no base-10 value.
#define QC_VALUES(E) \
  E(cos, "COS") \
  E(sin, "SIN") \
  E(tan, "TAN") \
  E(abs, "ABS") \
  E(asin, "ASIN") \
  E(acos, "ACOS") \
  E(log, "LOG") \
  E(ln, "LN") \
  E(sqrt, "SQRT")
QC_ENUM(UnaryArithmeticOperation, QC_VALUES)
#undef QC_VALUES

#define QC_FIELDS(F) \
  F(input, "input", NumericSeries) \
  F(operation, "operation", UnaryArithmeticOperation)
QC_RECORD(UnaryArithmeticSeries, QC_FIELDS)
#undef QC_FIELDS

#define QC_VALUES(E) E(atan2, "ATAN2")
QC_ENUM(BinaryArithmeticOperation, QC_VALUES)
#undef QC_VALUES

#define QC_FIELDS(F) \
  F(input1, "input1", NumericSeries) \
  F(input2, "input2", NumericSeries) \
  F(operation, "operation", BinaryArithmeticOperation) \
  F(interpolationConfiguration, "interpolationConfiguration", Optional<InterpolationConfiguration>)
QC_RECORD(BinaryArithmeticSeries, QC_FIELDS)
#undef QC_FIELDS

}  // namespace qc::model
