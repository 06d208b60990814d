// Bitwise operations on the values of a numeric series, in two families: dedicated nodes whose
// operand is an IntegerConstant, and the generic node whose function carries a plain integer
// (64-bit masks, 32-bit shift counts and bit index).
#pragma once

#include "quarnel/compute/model/decl.h"

namespace qc::model {

struct BitOperationFunction;
struct IntegerConstant;
struct NumericSeries;

#define QC_FIELDS(F) \
  F(input, "input", NumericSeries) \
  F(operand, "operand", IntegerConstant)
QC_RECORD(BitAnd, QC_FIELDS)
QC_RECORD(BitOr, QC_FIELDS)
QC_RECORD(BitXor, QC_FIELDS)
QC_RECORD(BitShiftRight, QC_FIELDS)
QC_RECORD(BitShiftLeft, QC_FIELDS)
#undef QC_FIELDS
#define QC_FIELDS(F) \
  F(input, "input", NumericSeries) \
  F(index, "index", IntegerConstant)
QC_RECORD(BitTest, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) \
  F(input, "input", NumericSeries) \
  F(function, "function", BitOperationFunction)
QC_RECORD(BitOperationSeries, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) F(operand, "operand", I64)
QC_RECORD(BitAndFunction, QC_FIELDS)
QC_RECORD(BitOrFunction, QC_FIELDS)
QC_RECORD(BitXorFunction, QC_FIELDS)
#undef QC_FIELDS
#define QC_FIELDS(F) F(operand, "operand", I32)
QC_RECORD(BitShiftRightFunction, QC_FIELDS)
QC_RECORD(BitShiftLeftFunction, QC_FIELDS)
#undef QC_FIELDS
#define QC_FIELDS(F) F(index, "index", I32)
QC_RECORD(BitTestFunction, QC_FIELDS)
#undef QC_FIELDS

}  // namespace qc::model
