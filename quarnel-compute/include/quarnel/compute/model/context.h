// Bindings of variable names, function references and dataset names, and the series computed
// by calling a function of a versioned module.
#pragma once

#include "quarnel/compute/model/decl.h"
#include "quarnel/compute/model/names.h"

namespace qc::model {

struct Alignment;
struct ComputeNode;
struct Context;
struct Dataset;
struct FillLimit;
struct FillStrategy;
struct FunctionParameterValue;
struct FunctionVariables;
struct ModuleVersionReference;
struct SelectSeries;
struct StringConstant;
struct VariableValue;

#define QC_FIELDS(F) \
  F(seriesNode, "seriesNode", ComputeNode) \
  F(context, "context", Context)
QC_RECORD(ComputeNodeWithContext, QC_FIELDS)
#undef QC_FIELDS

// "functionVariables" is the one map here that is written whenever present, even empty: an
// empty binding set for the functions is a statement of its own, unlike no statement at all.
#define QC_FIELDS(F) \
  F(variables, "variables", Map<VariableName, VariableValue>) \
  F(functionVariables, "functionVariables", Optional<Map<FunctionReference, FunctionVariables>>) \
  F(datasetReferences, "datasetReferences", Map<DatasetReferenceName, Dataset>) \
  F(defaultFillStrategy, "defaultFillStrategy", Optional<FillStrategy>) \
  F(defaultAlignmentStrategy, "defaultAlignmentStrategy", Optional<Alignment>) \
  F(applyDataScopeOffsets, "applyDataScopeOffsets", Optional<Bool>)
QC_RECORD(Context, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) \
  F(variables, "variables", Map<VariableName, VariableValue>) \
  F(subFunctionVariables, "subFunctionVariables", Map<FunctionReference, FunctionVariables>)
QC_RECORD(FunctionVariables, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) \
  F(moduleName, "moduleName", StringConstant) \
  F(functionName, "functionName", StringConstant) \
  F(versionReference, "versionReference", ModuleVersionReference) \
  F(functionArgs, "functionArgs", Map<FunctionParameterName, FunctionParameterValue>)
QC_RECORD(FunctionDerivedSeries, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) F(version, "version", StringConstant)
QC_RECORD(PinnedModuleVersionReference, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) \
  F(select, "select", SelectSeries) \
  F(groupByTags, "groupByTags", Set<StringConstant>)
QC_RECORD(SeriesVariable, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) F(limit, "limit", FillLimit)
QC_RECORD(ForwardFill, QC_FIELDS)
#undef QC_FIELDS

}  // namespace qc::model
