// Bindings of variable names, function references and dataset names, and the series computed
// by calling a function of a versioned module. The unions are in context_unions.h.
#pragma once

#include "quarnel/compute/model/decl.h"

namespace qc::model {

#define QC_COMPUTE_NODE_WITH_CONTEXT_FIELDS(F)        \
  F(seriesNode, "seriesNode", Required) /* ComputeNode */ \
  F(context, "context", Required)       /* Context */
QC_RECORD(ComputeNodeWithContext, QC_COMPUTE_NODE_WITH_CONTEXT_FIELDS)

// "functionVariables" is the one map here that is written whenever present, even empty: an
// empty binding set for the functions is a statement of its own, unlike no statement at all.
#define QC_CONTEXT_FIELDS(F)                                                                       \
  F(variables, "variables", Collection)                   /* VariableName -> VariableValue */     \
  F(functionVariables, "functionVariables", OptionalCollection) /* FunctionReference -> FunctionVariables */ \
  F(datasetReferences, "datasetReferences", Collection)   /* DatasetReferenceName -> Dataset */   \
  F(defaultFillStrategy, "defaultFillStrategy", Optional) /* FillStrategy */                      \
  F(defaultAlignmentStrategy, "defaultAlignmentStrategy", Optional) /* Alignment */               \
  F(applyDataScopeOffsets, "applyDataScopeOffsets", Optional) /* boolean: absent, false or true */
QC_RECORD(Context, QC_CONTEXT_FIELDS)

#define QC_FUNCTION_VARIABLES_FIELDS(F)                                                  \
  F(variables, "variables", Collection)                       /* VariableName -> VariableValue */ \
  F(subFunctionVariables, "subFunctionVariables", Collection) /* FunctionReference -> FunctionVariables */
QC_RECORD(FunctionVariables, QC_FUNCTION_VARIABLES_FIELDS)

#define QC_FUNCTION_DERIVED_SERIES_FIELDS(F)                                             \
  F(moduleName, "moduleName", Required)             /* StringConstant */                 \
  F(functionName, "functionName", Required)         /* StringConstant */                 \
  F(versionReference, "versionReference", Required) /* ModuleVersionReference */         \
  F(functionArgs, "functionArgs", Collection)       /* FunctionParameterName -> FunctionParameterValue */
QC_RECORD(FunctionDerivedSeries, QC_FUNCTION_DERIVED_SERIES_FIELDS)

#define QC_PINNED_MODULE_VERSION_REFERENCE_FIELDS(F) F(version, "version", Required) /* StringConstant */
QC_RECORD(PinnedModuleVersionReference, QC_PINNED_MODULE_VERSION_REFERENCE_FIELDS)

#define QC_SERIES_VARIABLE_FIELDS(F)                                                   \
  F(select, "select", Required)           /* SelectSeries */                           \
  F(groupByTags, "groupByTags", Collection) /* set of StringConstant */
QC_RECORD(SeriesVariable, QC_SERIES_VARIABLE_FIELDS)

#define QC_FORWARD_FILL_FIELDS(F) F(limit, "limit", Required) /* FillLimit */
QC_RECORD(ForwardFill, QC_FORWARD_FILL_FIELDS)

// The two alignment strategies carry nothing but their variant name.
#define QC_ALIGNMENT_STRATEGY_FIELDS(F)
QC_RECORD(DriverSeriesAlignment, QC_ALIGNMENT_STRATEGY_FIELDS)
QC_RECORD(UnionAlignment, QC_ALIGNMENT_STRATEGY_FIELDS)

}  // namespace qc::model
