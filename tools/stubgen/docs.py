"""The texts of the stubs' docstrings: what each class holds, what each builder makes, what
each parameter means. Written by hand; the signatures and types beside them come from the
binding's tables, so only meaning lives here. Keys are the binding's builder names, so a
method and a module function that share a builder share their text."""

MODULE = """Typed builders for time-series compute expressions.

Every call builds one immutable node of an expression tree and returns a new object holding
it; nothing is evaluated. `to_json()` of any object writes its tree as compact JSON in the
wire form: a node of a union is {"type": variant, variant: payload}."""

CLASSES = {
    "NumericSeries": """A series of numbers: a named series, a constant, or an operation on other
series.

Arithmetic (`+ - * / // % **`, unary `-`) takes a NumericSeries or a plain number on either
side and builds a new NumericSeries; comparisons (`< <= == != > >=`) build a BooleanSeries.
Objects are made by the static methods (upper camel case), never by calling the class.""",
    "CategoricalSeries": """A series of string values (written as the wire's enum series).""",
    "RangeSeries": """A set of time ranges: named, inverted, or joined by union or intersection.""",
    "StructSeries": """Named series joined into one series of structured values.""",
    "ConstantNumericSeries": """A constant numeric series, from a FloatConstant or a number.""",
    "IntegerConstant": """A 32-bit integer: a literal, or a variable bound elsewhere.""",
    "StringConstant": """A string: a literal, or a variable bound elsewhere.""",
    "Dataset": """Where stored series are looked up: an asset, run or saved dataset by its
resource identifier, or the combination, tagging or time shift of others.""",
    "Sampling": """How a selected series is thinned: every n-th point, or by hash.""",
    "BooleanSeries": """A series of truth values: the result of comparing numeric series,
combined with `&` and `|`, and taken by IfElse.""",
    "AggregationBuilder": """Points grouped for an aggregation, as returned by `rolling_time`,
`rolling_points` and `group_by`; applying an aggregation yields a series again.""",
    "NumericAggregationOperator": """Which aggregate of numeric values is taken.""",
    "NegativeValueConfiguration": """What a derivative or value difference does with negative
results.""",
    "SignalFilterConfiguration": """Which frequencies a signal filter lets through.""",
    "FloatConstant": """A 64-bit float: a literal, or a variable bound elsewhere.""",
    "Duration": """A length of time: a count of one unit, a named reference, or the sum (`+`),
difference (`-`) or negation (unary `-`) of other durations.""",
    "UdfSource": """The source code of a user-defined function, recorded unchanged.""",
    "EnumAggregationOperator": """Which aggregate of categorical values is taken.""",
    "GroupByTags": """How an aggregation groups by tags: by the current tags, or by a subset.""",
    "GroupByTimestamp": """How an aggregation groups by time: by the current timestamps, or into
windows of a duration.""",
    "RangeMap": """One range of a value map: the values from `start` to `end` map to `output`.
The one class that is called directly: RangeMap(output, start=None, end=None).""",
}

# builder: (wire variant built, what it is, example or None). An example is doctest text run
# against the module by the tests, so its output is the real wire form.
_S = 'NumericSeries.Reference("a")'
_RAW = '{"type":"raw","raw":{"name":"a"}}'


def _unary(name, what):
    return (
        name,
        what,
        f""">>> {_S}.{name}().to_json()
'{{"type":"{name}","{name}":{{"x":{_RAW}}}}}'""",
    )


def _reduce(variant, what):
    return (variant, what + " Numbers in the list are constant series.", None)


BUILDERS = {
    "": ("", "The held tree as compact JSON text, in the wire form.", None),
    "numeric_series_abs": _unary("abs", "The absolute value of each point."),
    "numeric_series_cos": _unary("cos", "The cosine of each point (radians)."),
    "numeric_series_sin": _unary("sin", "The sine of each point (radians)."),
    "numeric_series_tan": _unary("tan", "The tangent of each point (radians)."),
    "numeric_series_acos": _unary("acos", "The arc cosine of each point, in radians."),
    "numeric_series_asin": _unary("asin", "The arc sine of each point, in radians."),
    "numeric_series_ln": _unary("ln", "The natural logarithm of each point."),
    "numeric_series_log10": _unary("log10", "The base-10 logarithm of each point."),
    "numeric_series_sqrt": _unary("sqrt", "The square root of each point."),
    "atan2": (
        "atan2",
        "The two-argument arc tangent of y and x, point by point, in radians.",
        None,
    ),
    "max": _reduce("max", "The largest of the inputs at each point."),
    "mean": _reduce("mean", "The mean of the inputs at each point."),
    "min": _reduce("min", "The smallest of the inputs at each point."),
    "sum": (
        "sum",
        "The sum of the inputs at each point. Numbers in the list are constant series.",
        """>>> sum([]).to_json()
'{"type":"sum","sum":{}}'""",
    ),
    "product": _reduce("product", "The product of the inputs at each point."),
    "numeric_series_union": (
        "union",
        "The points of all inputs in one series. Numbers in the list are constant series.",
        None,
    ),
    "numeric_series_constant": (
        "constant",
        "A series that is one constant value.",
        """>>> NumericSeries.Constant(2.5).to_json()
'{"type":"constant","constant":{"type":"double","double":{"type":"literal","literal":2.5}}}'""",
    ),
    "numeric_series_tail": ("selectNewestPoints", "The newest points of the series.", None),
    "numeric_series_head": (
        "selectOldestPoints",
        "The oldest points of the series.",
        None,
    ),
    "numeric_series_select_numeric": (
        "selectNumeric",
        "A stored numeric series selected by name, from a dataset, optionally sampled.",
        """>>> NumericSeries.SelectNumeric("speed").to_json()
'{"type":"selectNumeric","selectNumeric":{"name":{"type":"literal","literal":"speed"}}}'""",
    ),
    "numeric_series_bit_and": ("bitAnd", "The bitwise AND of each point with the operand.", None),
    "numeric_series_bit_or": ("bitOr", "The bitwise OR of each point with the operand.", None),
    "numeric_series_bit_xor": ("bitXor", "The bitwise XOR of each point with the operand.", None),
    "numeric_series_bit_shift_right": (
        "bitShiftRight",
        "Each point shifted right by the operand's number of bits.",
        None,
    ),
    "numeric_series_bit_shift_left": (
        "bitShiftLeft",
        "Each point shifted left by the operand's number of bits.",
        None,
    ),
    "numeric_series_bit_test": (
        "bitTest",
        "Whether the bit at `index` of each point is set.",
        None,
    ),
    "numeric_if_else": (
        "ifElse",
        "Where the condition holds, the true value; elsewhere, the false value.",
        None,
    ),
    "numeric_series_numeric_aggregation": (
        "numericAggregation",
        "The grouped points aggregated by a numeric aggregation operator.",
        None,
    ),
    "numeric_series_derivative": (
        "derivative",
        "The rate of change of the series, per time unit.",
        None,
    ),
    "numeric_series_z_score": (
        "zScore",
        "How many standard deviations each point lies from the mean, within each group of tags.",
        None,
    ),
    "numeric_series_reference": (
        "raw",
        "The series of that name, bound elsewhere.",
        f""">>> {_S}.to_json()
'{_RAW}'""",
    ),
    "numeric_series_nth_point_downsample": (
        "nthPointDownsample",
        "Every n-th point of the series.",
        None,
    ),
    "numeric_series_largest_triangle_three_buckets": (
        "largestTriangleThreeBuckets",
        "The series thinned to at most the given number of points by largest-triangle-three-"
        "buckets.",
        None,
    ),
    "numeric_series_signal_filter": (
        "signalFilter",
        "The series passed through a signal filter of the given order.",
        None,
    ),
    "numeric_series_time_shift": (
        "timeShiftV2",
        "The series moved in time by a duration.",
        None,
    ),
    "numeric_series_unit_conversion": (
        "unitConversion",
        "The series converted to another unit of measure, named by text.",
        f""">>> {_S}.unit_conversion("m").to_json()
'{{"type":"unitConversion","unitConversion":{{"input":{_RAW},"outputUnit":"m"}}}}'""",
    ),
    "numeric_series_value_difference": (
        "valueDifference",
        "The difference between each point and the one before it.",
        None,
    ),
    "numeric_series_drop_nan": (
        "dropNan",
        "The series without its NaN points.",
        f""">>> {_S}.drop_nan().to_json()
'{{"type":"dropNan","dropNan":{{"input":{_RAW}}}}}'""",
    ),
    "numeric_series_udf": (
        "scalarUdf",
        "A user-defined function applied point by point to the input series.",
        None,
    ),
    "numeric_series_select_tags": (
        "selectTags",
        "The series keeping only the given tag keys.",
        None,
    ),
    "numeric_series_to_start_of_interval": (
        "toStartOfInterval",
        "Each timestamp moved back to the start of its window.",
        None,
    ),
    "numeric_series_time_difference": (
        "timeDifference",
        "The time between each point and the one before it.",
        None,
    ),
    "numeric_series_absolute_timestamp": (
        "absoluteTimestamp",
        "Each point's timestamp as a number, in the given time unit.",
        None,
    ),
    "numeric_series_scalar_udf_rust": (
        "scalarUdf",
        "A user-defined function given by its Rust source code, applied point by point; the "
        "same node as Udf with UdfSource.Rust(source_code).",
        None,
    ),
    "aggregation_builder_rolling_time": (
        "rollingTime",
        "Groups the points in a window of time that rolls along the series; apply an "
        "aggregation to the result.",
        None,
    ),
    "aggregation_builder_rolling_points": (
        "rollingPoints",
        "Groups a rolling window of a number of points; apply an aggregation to the result.",
        None,
    ),
    "aggregation_builder_group_by": (
        "groupBy",
        "Groups the points by tags and by timestamp; apply an aggregation to the result.",
        None,
    ),
    "categorical_series_reference": (
        "raw",
        "The categorical series of that name, bound elsewhere.",
        None,
    ),
    "categorical_series_value_map": (
        "valueMap",
        "A categorical series made from a numeric one: each value takes the output of the first "
        "range map that covers it, else the default.",
        None,
    ),
    "categorical_series_enum_aggregation": (
        "enumAggregation",
        "The grouped points aggregated by a categorical aggregation operator.",
        None,
    ),
    "range_series_intersect": ("intersectRange", "The ranges common to all inputs.", None),
    "range_series_not": ("not", "The complement of the ranges.", None),
    "range_series_reference": (
        "raw",
        "The range series of that name, bound elsewhere.",
        """>>> RangeSeries.Reference("alarm").to_json()
'{"type":"raw","raw":{"name":"alarm"}}'""",
    ),
    "range_series_union": ("unionRange", "The ranges covered by any input.", None),
    "struct_series_combine": (
        "combine",
        "The series of the dict joined under their names. The names are written sorted; of two "
        "equal names the later wins.",
        None,
    ),
    "struct_series_extract_numeric": (
        "extractFromStruct",
        "The numeric field at a path of field names, read from each structured value.",
        None,
    ),
    "constant_numeric_series_double": ("double", "A constant series of a float value.", None),
    "integer_constant_literal": (
        "literal",
        "The integer itself.",
        """>>> IntegerConstant.Literal(7).to_json()
'{"type":"literal","literal":7}'""",
    ),
    "integer_constant_variable": ("variable", "The integer variable of that name.", None),
    "string_constant_literal": (
        "literal",
        "The string itself.",
        """>>> StringConstant.Literal("north").to_json()
'{"type":"literal","literal":"north"}'""",
    ),
    "string_constant_variable": (
        "variable",
        "The string variable of that name.",
        """>>> StringConstant.Reference("site").to_json()
'{"type":"variable","variable":"site"}'""",
    ),
    "double_constant_literal": (
        "literal",
        "The float itself.",
        """>>> FloatConstant.Literal(2).to_json()
'{"type":"literal","literal":2.0}'""",
    ),
    "double_constant_variable": ("variable", "The float variable of that name.", None),
    "dataset_asset": (
        "asset",
        "The dataset of an asset.",
        """>>> Dataset.Asset("ri.asset.1").to_json()
'{"type":"asset","asset":{"rid":{"type":"literal","literal":"ri.asset.1"}}}'""",
    ),
    "dataset_run": ("run", "The dataset of a run.", None),
    "dataset_saved": ("saved", "A saved dataset.", None),
    "dataset_combine": ("combine", "The datasets together, in the given order.", None),
    "dataset_tag": ("tag", "The dataset with the tag key=value.", None),
    "dataset_time_shift": ("timeShift", "The dataset moved in time by a duration.", None),
    "sampling_every_nth_per_series": (
        "everyNthPerSeries",
        "Every n-th point of each series.",
        """>>> Sampling.EveryNthPerSeries(10).to_json()
'{"type":"everyNthPerSeries","everyNthPerSeries":{"n":{"type":"literal","literal":10}}}'""",
    ),
    "sampling_hash_subsample": (
        "hashSubsample",
        "A subsample of the points, chosen by hash with the parameter n.",
        None,
    ),
    "numeric_series_numeric_aggregation_sum": (
        "numericAggregation",
        'The sum of each group (operator "sum").',
        None,
    ),
    "numeric_series_numeric_aggregation_average": (
        "numericAggregation",
        'The mean of each group (operator "average").',
        None,
    ),
    "numeric_series_numeric_aggregation_min": (
        "numericAggregation",
        'The smallest value of each group (operator "min").',
        None,
    ),
    "numeric_series_numeric_aggregation_max": (
        "numericAggregation",
        'The largest value of each group (operator "max").',
        None,
    ),
    "numeric_series_numeric_aggregation_count": (
        "numericAggregation",
        'The number of points of each group (operator "count").',
        None,
    ),
    "numeric_series_numeric_aggregation_standard_deviation": (
        "numericAggregation",
        'The standard deviation of each group (operator "standardDeviation").',
        None,
    ),
    "numeric_series_numeric_aggregation_root_mean_square": (
        "numericAggregation",
        'The root mean square of each group (operator "rootMeanSquare").',
        None,
    ),
    "numeric_series_numeric_aggregation_percentile": (
        "numericAggregation",
        'A percentile of each group (operator "percentile").',
        None,
    ),
    "numeric_series_numeric_aggregation_udf": (
        "numericAggregation",
        'A user-defined aggregate of each group (operator "udf").',
        None,
    ),
    "numeric_series_numeric_aggregation_udf_rust": (
        "numericAggregation",
        'A user-defined aggregate of each group, given by its Rust source code (operator "udf").',
        None,
    ),
    "numeric_aggregation_operator_sum": (
        "sum",
        "The sum.",
        """>>> NumericAggregationOperator.Sum().to_json()
'{"type":"sum","sum":{}}'""",
    ),
    "numeric_aggregation_operator_average": ("average", "The mean.", None),
    "numeric_aggregation_operator_min": ("min", "The smallest value.", None),
    "numeric_aggregation_operator_max": ("max", "The largest value.", None),
    "numeric_aggregation_operator_count": ("count", "The number of points.", None),
    "numeric_aggregation_operator_standard_deviation": (
        "standardDeviation",
        "The standard deviation.",
        None,
    ),
    "numeric_aggregation_operator_root_mean_square": (
        "rootMeanSquare",
        "The root mean square.",
        None,
    ),
    "numeric_aggregation_operator_percentile": ("percentile", "A percentile.", None),
    "numeric_aggregation_operator_udf": ("udf", "A user-defined aggregate.", None),
    "negative_value_configuration_allow_negative_values": (
        "allowNegativeValues",
        "Negative results are kept.",
        None,
    ),
    "negative_value_configuration_set_negative_values_to_zero": (
        "setNegativeValuesToZero",
        "Negative results become zero.",
        None,
    ),
    "negative_value_configuration_exclude_negative_values": (
        "excludeNegativeValues",
        "Negative results are left out.",
        None,
    ),
    "signal_filter_configuration_low_pass": (
        "lowPass",
        "Lets frequencies below the cutoff through.",
        None,
    ),
    "signal_filter_configuration_high_pass": (
        "highPass",
        "Lets frequencies above the cutoff through.",
        None,
    ),
    "signal_filter_configuration_band_pass": (
        "bandPass",
        "Lets the frequencies of the band through.",
        None,
    ),
    "signal_filter_configuration_band_stop": (
        "bandStop",
        "Stops the frequencies of the band.",
        None,
    ),
    "duration_reference": ("reference", "The duration of that name, bound elsewhere.", None),
    "duration_nanoseconds": ("nanoseconds", "A number of nanoseconds.", None),
    "duration_milliseconds": ("milliseconds", "A number of milliseconds.", None),
    "duration_seconds": (
        "seconds",
        "A number of seconds.",
        """>>> Duration.Seconds(5).to_json()
'{"type":"seconds","seconds":{"seconds":{"type":"literal","literal":5}}}'""",
    ),
    "duration_minutes": ("minutes", "A number of minutes.", None),
    "duration_hours": ("hours", "A number of hours.", None),
    "duration_days": ("days", "A number of days.", None),
    "udf_source_rust": (
        "rust",
        "Rust source code, recorded unchanged (not checked or compiled).",
        """>>> UdfSource.Rust("fn f() {}").to_json()
'{"type":"rust","rust":{"sourceCode":"fn f() {}"}}'""",
    ),
    "enum_aggregation_operator_min": ("min", "The smallest value.", None),
    "enum_aggregation_operator_max": ("max", "The largest value.", None),
    "enum_aggregation_operator_udf": ("udf", "A user-defined aggregate.", None),
    "group_by_tags_current": (
        "current",
        "Group by the series' current tags.",
        """>>> GroupByTags.Current().to_json()
'{"type":"current","current":{}}'""",
    ),
    "group_by_tags_subset": (
        "subset",
        "Group by the given tag keys only (sorted, without duplicates).",
        None,
    ),
    "group_by_timestamp_current": ("current", "Group by the current timestamps.", None),
    "group_by_timestamp_every": ("every", "Group into consecutive windows of a duration.", None),
    "range_map_create": (
        "",
        "Makes a range map (a record; its JSON members are written start, end, output).",
        """>>> RangeMap("low", end=10).to_json()
'{"end":{"type":"literal","literal":10.0},"output":{"type":"literal","literal":"low"}}'""",
    ),
}

# What a parameter means, by name; (builder, name) where one name means different things.
PARAMS = {
    "x": "the series (or number)",
    "y": "the series (or number) on the y side",
    "inputs": "the inputs, in order; duplicates are kept",
    "constant": "the constant value",
    "num_points": "how many points",
    "name": "the name, written unchanged",
    "dataset": "the dataset to look in; None for none",
    "sampling": "how the selected series is thinned; None for not at all",
    "operand": "the integer operand",
    "index": "the index of the bit tested",
    "condition": "where to take the true value",
    "true_value": "the value where the condition holds",
    "false_value": "the value elsewhere",
    "input": "the grouped points (from rolling_time, rolling_points or group_by)",
    "operator": "the aggregation applied to each group",
    "time_unit": "the time unit of the result; None leaves it to the service",
    "negative_values_configuration": (
        "what is done with negative results; None leaves it to the service"
    ),
    "group_by_tags": "the tag keys whose groups are scored separately (sorted, without duplicates)",
    "n": "take every n-th point",
    "max_points_to_return": "at most this many points",
    "signal_filter_configuration": "the frequencies let through",
    "order": "the order of the filter",
    "sampling_frequency": "the sampling frequency of the series; None leaves it to the service",
    "duration": "how far to move; a negative duration moves back",
    "output_unit": "the unit of measure converted to, written unchanged",
    "source": "the function's source",
    "source_code": "the function's source code, recorded unchanged",
    "tag_keys": "the tag keys kept (sorted, without duplicates)",
    "window": "the length of the window",
    "points": "how many points each window holds",
    "tags": "how the points are grouped by tags",
    "timestamp": "how the points are grouped by time",
    "mapping": "the ranges, tried in order",
    "default": "the value outside every range; None for none",
    "field_path": "the field names from the outer value inwards; order and duplicates kept",
    "data_type": "the numeric type the field is read as; None leaves it to the service",
    "value": "the constant value",
    "literal": "the value itself",
    "variable": "the variable's name",
    "rid": "the resource identifier",
    "key": "the tag key",
    "offset": "how far to move; a negative duration moves back",
    "percentile": "which percentile, as a number (95 for the 95th); written as given",
    "cutoff_frequency": "the cutoff frequency",
    "low_passband_frequency": "the lower edge of the band",
    "high_passband_frequency": "the upper edge of the band",
    "low_stopband_frequency": "the lower edge of the band",
    "high_stopband_frequency": "the upper edge of the band",
    "nanoseconds": "the number of nanoseconds",
    "milliseconds": "the number of milliseconds",
    "seconds": "the number of seconds",
    "minutes": "the number of minutes",
    "hours": "the number of hours",
    "days": "the number of days",
    "every": "the length of each window",
    "output": "the category of the values in the range",
    "start": "the lower bound of the range; None for unbounded",
    "end": "the upper bound of the range; None for unbounded",
    ("atan2", "x"): "the series (or number) on the x side",
    ("struct_series_combine", "inputs"): "the member series by name",
    ("dataset_tag", "value"): "the tag value",
    ("categorical_series_value_map", "input"): "the numeric series (or number) mapped",
    ("group_by_tags_subset", "tags"): "the tag keys grouped by (sorted, without duplicates)",
    ("numeric_series_select_numeric", "name"): "the name of the stored series",
}

# Binary operator slots: the dunder's stem, the operator, the wire variant built, what it gives.
BINARY_SLOTS = {
    "nb_add": ("add", "+", "add", "the sum"),
    "nb_subtract": ("sub", "-", "subtract", "the difference"),
    "nb_multiply": ("mul", "*", "multiply", "the product"),
    "nb_true_divide": ("truediv", "/", "divide", "the quotient"),
    "nb_floor_divide": ("floordiv", "//", "floorDivide", "the floor of the quotient"),
    "nb_remainder": ("mod", "%", "modulo", "the remainder"),
    "nb_power": ("pow", "**", "power", "the power (pow() with a modulus is refused)"),
    "nb_and": ("and", "&", "and", "where both hold"),
    "nb_or": ("or", "|", "or", "where either holds"),
}
# The comparisons of the rich-comparison slot: operator and wire variant built.
COMPARISONS = {
    "__lt__": ("<", "lessThan"),
    "__le__": ("<=", "lessThanOrEqualTo"),
    "__eq__": ("==", "equalTo"),
    "__ne__": ("!=", "notEqualTo"),
    "__gt__": (">", "greaterThan"),
    "__ge__": (">=", "greaterThanOrEqualTo"),
}
