// What a parameter means, by its name, in the stubs and the reference, where its table line
// says nothing of it (About::args). Read by the stub generator alone (tools/stubgen), never
// built into the module: a table line with a parameter named nowhere fails the generator,
// which names the entry to add here.
#pragma once

namespace qc::py {

struct ParamText {
  const char* name;
  const char* text;
};

inline constexpr ParamText kParamTexts[] = {
    {"x", "the series (or number)"},
    {"y", "the series (or number) on the y side"},
    {"inputs", "the inputs, in order; duplicates are kept"},
    {"constant", "the constant value"},
    {"num_points", "how many points"},
    {"name", "the name, written unchanged"},
    {"dataset", "the dataset to look in; None for none"},
    {"sampling", "how the selected series is thinned; None for not at all"},
    {"operand", "the integer operand"},
    {"index", "the index of the bit tested"},
    {"condition", "where to take the true value"},
    {"true_value", "the value where the condition holds"},
    {"false_value", "the value elsewhere"},
    {"input", "the grouped points (from rolling_time, rolling_points or group_by)"},
    {"operator", "the aggregation applied to each group"},
    {"time_unit", "the time unit of the result; None leaves it to the service"},
    {"negative_values_configuration",
     "what is done with negative results; None leaves it to the service"},
    {"group_by_tags",
     "the tag keys whose groups are scored separately (sorted, without duplicates)"},
    {"n", "take every n-th point"},
    {"max_points_to_return", "at most this many points"},
    {"signal_filter_configuration", "the frequencies let through"},
    {"order", "the order of the filter"},
    {"sampling_frequency", "the sampling frequency of the series; None leaves it to the service"},
    {"duration", "how far to move; a negative duration moves back"},
    {"output_unit", "the unit of measure converted to, written unchanged"},
    {"source", "the function's source"},
    {"source_code", "the function's source code, recorded unchanged"},
    {"tag_keys", "the tag keys kept (sorted, without duplicates)"},
    {"window", "the length of the window"},
    {"points", "how many points each window holds"},
    {"tags", "how the points are grouped by tags"},
    {"timestamp", "how the points are grouped by time"},
    {"mapping", "the ranges, tried in order"},
    {"default", "the value outside every range; None for none"},
    {"field_path", "the field names from the outer value inwards; order and duplicates kept"},
    {"data_type", "the numeric type the field is read as; None leaves it to the service"},
    {"value", "the constant value"},
    {"literal", "the value itself"},
    {"variable", "the variable's name"},
    {"rid", "the resource identifier"},
    {"key", "the tag key"},
    {"offset", "how far to move; a negative duration moves back"},
    {"percentile", "which percentile, as a number (95 for the 95th); written as given"},
    {"cutoff_frequency", "the cutoff frequency"},
    {"low_passband_frequency", "the lower edge of the band"},
    {"high_passband_frequency", "the upper edge of the band"},
    {"low_stopband_frequency", "the lower edge of the band"},
    {"high_stopband_frequency", "the upper edge of the band"},
    {"nanoseconds", "the number of nanoseconds"},
    {"milliseconds", "the number of milliseconds"},
    {"seconds", "the number of seconds"},
    {"minutes", "the number of minutes"},
    {"hours", "the number of hours"},
    {"days", "the number of days"},
    {"every", "the length of each window"},
    {"output", "the category of the values in the range"},
    {"start", "the lower bound of the range; None for unbounded"},
    {"end", "the upper bound of the range; None for unbounded"},
};

}  // namespace qc::py
