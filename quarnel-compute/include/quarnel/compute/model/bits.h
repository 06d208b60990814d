// Bitwise operations on the values of a numeric series, in two families: dedicated nodes whose
// operand is an IntegerConstant, and the generic node whose function carries a plain integer
// (64-bit masks, 32-bit shift counts and bit index).
#pragma once

#include "quarnel/compute/model/decl.h"

namespace qc::model {

#define QC_BIT_OPERAND_FIELDS(F) F(input, "input", Required) F(operand, "operand", Required)
QC_RECORD(BitAnd, QC_BIT_OPERAND_FIELDS)
QC_RECORD(BitOr, QC_BIT_OPERAND_FIELDS)
QC_RECORD(BitXor, QC_BIT_OPERAND_FIELDS)
QC_RECORD(BitShiftRight, QC_BIT_OPERAND_FIELDS)
QC_RECORD(BitShiftLeft, QC_BIT_OPERAND_FIELDS)
#define QC_BIT_TEST_FIELDS(F) F(input, "input", Required) F(index, "index", Required)
QC_RECORD(BitTest, QC_BIT_TEST_FIELDS)

// "function" holds a BitOperationFunction.
#define QC_BIT_OPERATION_SERIES_FIELDS(F) F(input, "input", Required) F(function, "function", Required)
QC_RECORD(BitOperationSeries, QC_BIT_OPERATION_SERIES_FIELDS)

// Masks are Value::i64, shift counts and the index Value::i32.
#define QC_BIT_FUNCTION_OPERAND_FIELDS(F) F(operand, "operand", Required)
QC_RECORD(BitAndFunction, QC_BIT_FUNCTION_OPERAND_FIELDS)
QC_RECORD(BitOrFunction, QC_BIT_FUNCTION_OPERAND_FIELDS)
QC_RECORD(BitXorFunction, QC_BIT_FUNCTION_OPERAND_FIELDS)
QC_RECORD(BitShiftRightFunction, QC_BIT_FUNCTION_OPERAND_FIELDS)
QC_RECORD(BitShiftLeftFunction, QC_BIT_FUNCTION_OPERAND_FIELDS)
#define QC_BIT_TEST_FUNCTION_FIELDS(F) F(index, "index", Required)
QC_RECORD(BitTestFunction, QC_BIT_TEST_FUNCTION_FIELDS)

}  // namespace qc::model
