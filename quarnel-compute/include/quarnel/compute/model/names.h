// Strings with a name of their own: they write and order exactly as their text, and the model
// keeps their names so that a map's key type reads as declared.
#pragma once

#include "quarnel/compute/model/handle.h"

namespace qc::model {

using VariableName = NamedString<"VariableName">;
using LocalVariableName = NamedString<"LocalVariableName">;
using FunctionReference = NamedString<"FunctionReference">;
using FunctionParameterName = NamedString<"FunctionParameterName">;
using DatasetReferenceName = NamedString<"DatasetReferenceName">;

namespace api {
using PropertyValue = NamedString<"PropertyValue">;
using Label = NamedString<"Label">;
}  // namespace api

}  // namespace qc::model
