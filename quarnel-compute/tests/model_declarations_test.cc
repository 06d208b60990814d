// Every model type's declaration against its wire definition: the keys of each record in wire
// order with their types, the variants of each union in declaration order with their payload
// types, and the values of each enumeration. The table covers the registry of declared types,
// and each type is checked through its descriptors alone, so one row is all a type needs.
//
// A type reads as the declarations write it: a type's name, `string`, `i32`, `i64`, `f64`,
// `bool`, or `list<T>`, `set<T>`, `map<K,V>`, `optional<T>` of one; `{}` is the empty payload.
// A field's presence follows from its type: an optional is left out when absent, an optional
// list or map is written even when empty, a list, set or map is left out when empty.
#include <gtest/gtest.h>

#include <iterator>
#include <map>
#include <set>
#include <span>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "quarnel/compute/model/aggregate_nodes_unions.h"
#include "quarnel/compute/model/aggregation_unions.h"
#include "quarnel/compute/model/bits_unions.h"
#include "quarnel/compute/model/boolean_unions.h"
#include "quarnel/compute/model/calculus_unions.h"
#include "quarnel/compute/model/curve_fit_unions.h"
#include "quarnel/compute/model/dataset_unions.h"
#include "quarnel/compute/model/durations_unions.h"
#include "quarnel/compute/model/event_query_unions.h"
#include "quarnel/compute/model/interpolation_unions.h"
#include "quarnel/compute/model/range_detection_unions.h"
#include "quarnel/compute/model/registry.h"
#include "quarnel/compute/model/resample_unions.h"
#include "quarnel/compute/model/series_unions.h"
#include "quarnel/compute/model/signal_filter_unions.h"
#include "quarnel/compute/model/tag_by_intervals_unions.h"
#include "quarnel/compute/model/units.h"

namespace qc::model {
namespace {

// Records: `key:type` in wire order. Unions: `variant:payload` in declaration order.
// Enumerations: their values in declaration order.
struct Row {
  const ModelType* type;
  const char* parts;
};
template <class T>
Row row(const char* parts) {
  return {&model_type<T>, parts};
}

const Row kRecords[] = {
    // The empty payload, written {}
    row<Empty>(""),
    // Constants and time literals
    row<api::Timestamp>("seconds:i64 nanos:i64"),
    row<run::api::RunDuration>("seconds:i64 nanos:i64"),
    // Durations
    row<DurationNanoseconds>("nanoseconds:IntegerConstant"),
    row<DurationMilliseconds>("milliseconds:IntegerConstant"),
    row<DurationSeconds>("seconds:IntegerConstant"),
    row<DurationMinutes>("minutes:IntegerConstant"),
    row<DurationHours>("hours:IntegerConstant"),
    row<DurationDays>("days:IntegerConstant"),
    row<DurationAdd>("left:Duration right:Duration"),
    row<DurationSubtract>("left:Duration right:Duration"),
    row<DurationNegate>("input:Duration"),
    row<Reference>("name:string"),
    // Interpolation
    row<ForwardFillInterpolation>("interpolationRadius:DurationConstant"),
    // Arithmetic and combination
    row<Abs>("x:NumericSeries"),
    row<Negate>("x:NumericSeries"),
    row<Cos>("x:NumericSeries"),
    row<Sin>("x:NumericSeries"),
    row<Tan>("x:NumericSeries"),
    row<Acos>("x:NumericSeries"),
    row<Asin>("x:NumericSeries"),
    row<Ln>("x:NumericSeries"),
    row<Log10>("x:NumericSeries"),
    row<Sqrt>("x:NumericSeries"),
    row<Add>("left:NumericSeries right:NumericSeries"),
    row<Subtract>("left:NumericSeries right:NumericSeries"),
    row<Multiply>("left:NumericSeries right:NumericSeries"),
    row<Divide>("left:NumericSeries right:NumericSeries"),
    row<FloorDivide>("left:NumericSeries right:NumericSeries"),
    row<Modulo>("left:NumericSeries right:NumericSeries"),
    row<Power>("base:NumericSeries exponent:NumericSeries"),
    row<Atan2>("y:NumericSeries x:NumericSeries"),
    row<MaxSeries>("inputs:list<NumericSeries> "
                   "interpolationConfiguration:optional<InterpolationConfiguration>"),
    row<MeanSeries>("inputs:list<NumericSeries> "
                    "interpolationConfiguration:optional<InterpolationConfiguration>"),
    row<MinSeries>("inputs:list<NumericSeries> "
                   "interpolationConfiguration:optional<InterpolationConfiguration>"),
    row<SumSeries>("inputs:list<NumericSeries> "
                   "interpolationConfiguration:optional<InterpolationConfiguration>"),
    row<ProductSeries>("inputs:list<NumericSeries> "
                       "interpolationConfiguration:optional<InterpolationConfiguration>"),
    row<NumericUnionSeries>("input:list<NumericSeries> operation:optional<NumericUnionOperation>"),
    row<NumericIfElseSeries>(
        "condition:BooleanSeries trueValue:NumericSeries falseValue:NumericSeries"),
    row<OffsetSeries>("input:NumericSeries scalar:DoubleConstant"),
    row<ScaleSeries>("input:NumericSeries scalar:DoubleConstant scalarUnit:optional<string>"),
    row<UnitConversionSeries>("input:NumericSeries outputUnit:string"),
    row<ArithmeticSeries>("inputs:map<LocalVariableName,NumericSeries> expression:string "
                          "interpolationConfiguration:optional<InterpolationConfiguration>"),
    row<UnaryArithmeticSeries>("input:NumericSeries operation:UnaryArithmeticOperation"),
    row<BinaryArithmeticSeries>(
        "input1:NumericSeries input2:NumericSeries operation:BinaryArithmeticOperation "
        "interpolationConfiguration:optional<InterpolationConfiguration>"),
    // Bit operations
    row<BitAnd>("input:NumericSeries operand:IntegerConstant"),
    row<BitOr>("input:NumericSeries operand:IntegerConstant"),
    row<BitXor>("input:NumericSeries operand:IntegerConstant"),
    row<BitShiftRight>("input:NumericSeries operand:IntegerConstant"),
    row<BitShiftLeft>("input:NumericSeries operand:IntegerConstant"),
    row<BitTest>("input:NumericSeries index:IntegerConstant"),
    row<BitOperationSeries>("input:NumericSeries function:BitOperationFunction"),
    row<BitAndFunction>("operand:i64"),
    row<BitOrFunction>("operand:i64"),
    row<BitXorFunction>("operand:i64"),
    row<BitShiftRightFunction>("operand:i32"),
    row<BitShiftLeftFunction>("operand:i32"),
    row<BitTestFunction>("index:i32"),
    // Boolean series
    row<GreaterThanSeries>("left:NumericSeries right:NumericSeries"),
    row<LessThanSeries>("left:NumericSeries right:NumericSeries"),
    row<EqualToSeries>("left:NumericSeries right:NumericSeries"),
    row<NotEqualToSeries>("left:NumericSeries right:NumericSeries"),
    row<GreaterThanOrEqualToSeries>("left:NumericSeries right:NumericSeries"),
    row<LessThanOrEqualToSeries>("left:NumericSeries right:NumericSeries"),
    row<AndSeries>("left:BooleanSeries right:BooleanSeries"),
    row<OrSeries>("left:BooleanSeries right:BooleanSeries"),
    // Context, variables and derived series
    row<ComputeNodeWithContext>("seriesNode:ComputeNode context:Context"),
    row<Context>(
        "variables:map<VariableName,VariableValue> "
        "functionVariables:optional<map<FunctionReference,FunctionVariables>> "
        "datasetReferences:map<DatasetReferenceName,Dataset> "
        "defaultFillStrategy:optional<FillStrategy> "
        "defaultAlignmentStrategy:optional<Alignment> applyDataScopeOffsets:optional<bool>"),
    row<FunctionVariables>("variables:map<VariableName,VariableValue> "
                           "subFunctionVariables:map<FunctionReference,FunctionVariables>"),
    row<FunctionDerivedSeries>("moduleName:StringConstant functionName:StringConstant "
                               "versionReference:ModuleVersionReference "
                               "functionArgs:map<FunctionParameterName,FunctionParameterValue>"),
    row<PinnedModuleVersionReference>("version:StringConstant"),
    row<SeriesVariable>("select:SelectSeries groupByTags:set<StringConstant>"),
    row<ForwardFill>("limit:FillLimit"),
    // Aggregation builders and operators
    row<RollingTimeAggregationBuilder>("input:Series window:Duration"),
    row<RollingPointsAggregationBuilder>("input:Series points:IntegerConstant"),
    row<GroupByAggregationBuilder>("input:Series tags:GroupByTags timestamp:GroupByTimestamp"),
    row<GroupBySubsetTags>("tags:set<StringConstant>"),
    row<NumericAggregation>("input:AggregationBuilder operator:NumericAggregationOperator"),
    row<Percentile>("percentile:DoubleConstant"),
    row<NumericAggregationUdf>("source:UdfSource"),
    row<EnumAggregationUdf>("source:UdfSource"),
    row<RustUdfSource>("sourceCode:string"),
    // Aggregating, user-function and property nodes
    row<AggregateNumericSeries>(
        "input:NumericSeries function:NumericAggregationFunction groupByTags:set<StringConstant> "
        "aggregateByAllGroupings:optional<bool> "
        "interpolationConfiguration:optional<InterpolationConfiguration>"),
    row<RollingOperationSeries>(
        "input:NumericSeries window:Window operator:NumericAggregationOperator"),
    row<ZscoreSeries>("input:NumericSeries groupByTags:set<StringConstant> "
                      "interpolationConfiguration:optional<InterpolationConfiguration>"),
    row<AggregateUnderRangesSeries>(
        "input:NumericSeries ranges:RangeSeries operation:NumericAggregationFunction"),
    row<NumericFilterTransformationSeries>("input:NumericSeries filter:RangeSeries"),
    row<ScalarUdfSeries>("inputs:list<Series> source:UdfSource"),
    row<RefpropSeries>("inputs:map<RefpropProperty,NumericSeries> outputProperty:RefpropProperty "
                       "substance:RefpropSubstance "
                       "interpolationConfiguration:optional<InterpolationConfiguration>"),
    // Calculus and time
    row<CumulativeSumSeries>("input:NumericSeries startTimestamp:TimestampConstant"),
    row<DerivativeSeries>("input:NumericSeries timeUnit:optional<TimeUnit> "
                          "negativeValuesConfiguration:optional<NegativeValueConfiguration>"),
    row<IntegralSeries>(
        "input:NumericSeries startTimestamp:TimestampConstant timeUnit:optional<TimeUnit>"),
    row<ValueDifferenceSeries>(
        "input:NumericSeries negativeValuesConfiguration:optional<NegativeValueConfiguration>"),
    row<TimeDifferenceSeries>("input:Series timeUnit:optional<TimeUnit>"),
    row<AbsoluteTimestampSeries>("input:Series timeUnit:TimeUnit"),
    // Curve fits
    row<CurveFit>("curveFitPlotType:CurveFitPlotType curveFitDetails:CurveFitDetails "
                  "curveFitOptions:CurveFitOptions"),
    row<TimeSeriesCurveFit>("series:NumericSeries options:TimeSeriesFitOptions"),
    row<TimeSeriesFitOptions>("timeUnit:optional<TimeUnit>"),
    row<ScatterCurveFit>("scatter:Scatter options:ScatterFitOptions"),
    row<Scatter>("x:NumericSeries y:NumericSeries"),
    row<ScatterFitOptions>("minX:optional<DoubleConstant> maxX:optional<DoubleConstant> "
                           "minY:optional<DoubleConstant> maxY:optional<DoubleConstant>"),
    row<PolynomialCurve>("degree:IntegerConstant intercept:optional<DoubleConstant>"),
    row<CurveFitOptions>("startTime:TimestampConstant endTime:TimestampConstant"),
    row<CurveFitV2>("target:CurveFitTarget fitRange:CurveFitRange curveToFit:CurveFitV2Details"),
    row<CurveFitRange>("startTime:TimestampConstant endTime:TimestampConstant"),
    row<CurveFitSeriesVariable>(
        "series:NumericSeries boundsConfig:optional<CurveFitBoundsConfiguration>"),
    row<CurveFitBoundsConfiguration>("min:optional<DoubleConstant> max:optional<DoubleConstant>"),
    row<CurveFitTimeVariable>("timeUnit:optional<TimeUnit>"),
    row<BuiltInCurveFit>("independentVariable:CurveFitVariable"),
    row<PolynomialCurveFit>("independentVariable:CurveFitVariable degree:IntegerConstant "
                            "intercept:optional<DoubleConstant>"),
    row<CustomCurveFit>("formula:StringConstant variables:map<LocalVariableName,CurveFitVariable> "
                        "parameters:map<string,DoubleConstant>"),
    // Signal filters
    row<SignalFilterSeries>(
        "input:NumericSeries signalFilterConfiguration:SignalFilterConfiguration "
        "order:IntegerConstant samplingFrequency:optional<DoubleConstant>"),
    row<LowPassConfiguration>("cutoffFrequency:DoubleConstant"),
    row<HighPassConfiguration>("cutoffFrequency:DoubleConstant"),
    row<BandPassConfiguration>(
        "lowPassbandFrequency:DoubleConstant highPassbandFrequency:DoubleConstant"),
    row<BandStopConfiguration>(
        "lowStopbandFrequency:DoubleConstant highStopbandFrequency:DoubleConstant"),
    // Threshold and value filters
    row<NumericThresholdFilterSeries>(
        "input:NumericSeries threshold:DoubleConstant operator:ThresholdOperator"),
    row<NumericApproximateFilterSeries>("input:NumericSeries threshold:DoubleConstant "
                                        "tolerance:DoubleConstant "
                                        "operator:ApproximateThresholdOperator"),
    row<NumericTimeRangeFilterSeries>("input:NumericSeries startTime:optional<TimestampConstant> "
                                      "endTime:optional<TimestampConstant>"),
    row<NumericNanFilter>("input:NumericSeries"),
    row<FilterByExpressionSeries>(
        "base:string inputs:map<LocalVariableName,NumericSeries> expression:string "
        "interpolationConfiguration:optional<InterpolationConfiguration>"),
    // Resampling, downsampling, shifting and sampling
    row<NumericResampleSeries>(
        "input:NumericSeries resampleConfiguration:NumericResampleConfiguration"),
    row<NumericNthPointDownsampleSeries>("input:NumericSeries n:IntegerConstant"),
    row<NumericLargestTriangleThreeBucketsSeries>(
        "input:NumericSeries maxPointsToReturn:IntegerConstant"),
    row<SelectNewestPointsSeries>("input:NumericSeries numPoints:IntegerConstant"),
    row<SelectOldestPointsSeries>("input:NumericSeries numPoints:IntegerConstant"),
    row<NumericTimeShiftSeries>("input:NumericSeries duration:DurationConstant"),
    row<NumericTimeShiftSeriesV2>("input:NumericSeries duration:Duration"),
    row<NumericToStartOfIntervalSeries>("input:NumericSeries window:Duration"),
    row<NumericResampleConfiguration>(
        "interval:DurationConstant "
        "interpolation:optional<NumericResampleInterpolationConfiguration>"),
    row<NumericConstantResampleInterpolationConfiguration>("constant:DoubleConstant"),
    row<EveryNthPerSeriesSampling>("n:IntegerConstant"),
    row<HashSubsampleSampling>("n:IntegerConstant"),
    // Tagging by intervals
    row<TagByIntervalsSeries>("input:NumericSeries intervals:IntervalSource "
                              "timeShift:optional<TagByIntervalsTimeShift>"),
    row<EventIntervalSource>("query:ComputeEventQuery tagBy:list<EventTagSource>"),
    row<RangeIntervalSource>("ranges:RangeSeries tagBy:list<RangeTagSource>"),
    row<EventPropertyTag>("propertyName:StringConstant"),
    row<EventLabelTag>("label:StringConstant"),
    row<EventTimeShift>("query:ComputeEventQuery"),
    // Range series
    row<IntersectRanges>("inputs:list<RangeSeries>"),
    row<UnionRanges>("inputs:list<RangeSeries>"),
    row<NotRanges>("input:RangeSeries"),
    row<LiteralRanges>("literalRanges:list<LiteralRange>"),
    row<LiteralRange>("startTimestamp:optional<TimestampConstant> "
                      "endTimestamp:optional<TimestampConstant> tags:optional<map<string,string>>"),
    row<PaddedRanges>("input:RangeSeries padding:DurationConstant "
                      "paddingConfiguration:optional<RangePaddingConfiguration>"),
    row<DurationFilterRanges>("input:RangeSeries threshold:DurationConstant "
                              "operator:ThresholdOperator "
                              "unboundedBehavior:optional<UnboundedBehavior>"),
    row<OnChangeRanges>("input:Series"),
    row<EventsSearchRanges>("query:ComputeEventQuery"),
    // Threshold and detection ranges
    row<ThresholdingRanges>(
        "input:NumericSeries threshold:DoubleConstant operator:ThresholdOperator "
        "persistenceWindowConfiguration:optional<PersistenceWindowConfiguration>"),
    row<ApproximateThresholdRanges>(
        "input:NumericSeries threshold:DoubleConstant tolerance:DoubleConstant "
        "operator:ApproximateThresholdOperator "
        "persistenceWindowConfiguration:optional<PersistenceWindowConfiguration>"),
    row<MinMaxThresholdRanges>(
        "input:NumericSeries lowerBound:DoubleConstant upperBound:DoubleConstant "
        "operator:MinMaxThresholdOperator "
        "persistenceWindowConfiguration:optional<PersistenceWindowConfiguration>"),
    row<PersistenceWindowConfiguration>("minPoints:optional<IntegerConstant> "
                                        "minDuration:optional<DurationConstant> "
                                        "outputRangeStart:OutputRangeStart"),
    row<PeakRanges>("input:NumericSeries returnsPeaks:optional<bool> "
                    "returnType:optional<PeakType> minimumProminence:optional<DoubleConstant>"),
    row<StabilityDetectionRanges>(
        "input:NumericSeries windowConfiguration:StabilityWindowConfiguration "
        "threshold:Threshold"),
    row<StabilityWindowConfiguration>(
        "minPoints:optional<IntegerConstant> duration:DurationConstant"),
    row<AbsoluteThreshold>("value:DoubleConstant"),
    row<PercentageThreshold>("value:DoubleConstant"),
    row<StaleRanges>("input:Series threshold:DurationConstant "
                     "startTimestamp:optional<TimestampConstant> "
                     "endTimestamp:optional<TimestampConstant>"),
    row<SeriesCrossoverRanges>("inputA:NumericSeries inputB:NumericSeries"),
    row<SeriesEqualityRanges>(
        "input:list<NumericSeries> equalityOperator:EqualityOperator "
        "tolerance:optional<DoubleConstant> "
        "persistenceWindowConfiguration:optional<PersistenceWindowConfiguration> "
        "interpolationConfiguration:optional<InterpolationConfiguration>"),
    row<RangesNumericAggregation>(
        "ranges:RangeSeries input:NumericSeries operation:RangeAggregationOperation"),
    // Categorical range nodes
    row<EnumFilterRanges>(
        "input:EnumSeries operator:EnumFilterOperator values:StringSetConstant "
        "persistenceWindowConfiguration:optional<PersistenceWindowConfiguration>"),
    row<EnumSeriesEqualityRanges>(
        "input:list<EnumSeries> equalityOperator:EqualityOperator "
        "persistenceWindowConfiguration:optional<PersistenceWindowConfiguration> "
        "interpolationConfiguration:optional<InterpolationConfiguration>"),
    // Categorical series
    row<AggregateEnumSeries>("input:EnumSeries function:EnumAggregationFunction"),
    row<EnumResampleSeries>("input:EnumSeries resampleConfiguration:EnumResampleConfiguration"),
    row<EnumResampleConfiguration>(
        "interval:DurationConstant interpolation:optional<EnumResampleInterpolationConfiguration>"),
    row<EnumConstantResampleInterpolationConfiguration>("constant:StringConstant"),
    row<EnumNthPointDownsampleSeries>("input:EnumSeries n:IntegerConstant"),
    row<EnumTimeRangeFilterSeries>("input:EnumSeries startTime:optional<TimestampConstant> "
                                   "endTime:optional<TimestampConstant>"),
    row<EnumTimeShiftSeries>("input:EnumSeries duration:DurationConstant"),
    row<EnumUnionSeries>("input:list<EnumSeries> operation:EnumUnionOperation"),
    row<EnumFilterTransformationSeries>("input:EnumSeries filter:RangeSeries"),
    row<SelectIndexFrom1dEnumArraySeries>("input:Enum1dArraySeries index:IntegerConstant"),
    row<EventsEnumSeries>("query:ComputeEventQuery valueSource:EventsEnumValueSource"),
    row<EnumAggregation>("input:AggregationBuilder operator:EnumAggregationOperator"),
    row<EnumTagFilterSeries>("input:EnumSeries predicate:TagPredicate"),
    row<EnumSelectTagsSeries>("input:EnumSeries tagKeys:set<StringConstant>"),
    row<EnumToStartOfIntervalSeries>("input:EnumSeries window:Duration"),
    // Value maps and categorical conversions
    row<ValueMapSeries>(
        "input:NumericSeries mapping:list<RangeMap> default:optional<StringConstant>"),
    row<RangeMap>(
        "start:optional<DoubleConstant> end:optional<DoubleConstant> output:StringConstant"),
    row<EnumToNumericSeries>("input:EnumSeries mapping:map<string,DoubleConstant> "
                             "defaultValue:optional<DoubleConstant>"),
    row<EnumCountDuplicateSeries>("inputs:list<EnumSeries>"),
    // Struct series
    row<CombineStructSeries>("inputs:map<string,Series> "
                             "interpolationConfiguration:optional<InterpolationConfiguration>"),
    row<ExtractStructFromStructSeries>("input:StructSeries fieldPath:list<StringConstant>"),
    row<ExtractEnumFromStructSeries>("input:StructSeries fieldPath:list<StringConstant>"),
    row<ExtractEnum1dArrayFromStructSeries>("input:StructSeries fieldPath:list<StringConstant>"),
    row<ExtractNumeric1dArrayFromStructSeries>("input:StructSeries fieldPath:list<StringConstant>"),
    row<ExtractNumericFromStructSeries>("input:StructSeries fieldPath:list<StringConstant> "
                                        "dataType:optional<NumericDataType>"),
    row<StructToStartOfIntervalSeries>("input:StructSeries window:Duration"),
    row<StructTimeShiftSeries>("input:StructSeries duration:DurationConstant"),
    row<StructTagFilterSeries>("input:StructSeries predicate:TagPredicate"),
    row<StructSelectTagsSeries>("input:StructSeries tagKeys:set<StringConstant>"),
    // Log series
    row<LogUnionSeries>("input:list<LogSeries> operation:LogUnionOperation"),
    row<LogFilterSeries>("input:LogSeries operator:LogFilterOperator"),
    row<LogRegexFilterOperator>("regex:string"),
    row<LogExactMatchCaseInsensitiveFilter>("token:string"),
    row<LogArgFilterOperator>("key:StringConstant operator:LogRegexFilterOperator"),
    row<LogTimeShiftSeries>("input:LogSeries duration:DurationConstant"),
    row<LogToStartOfIntervalSeries>("input:LogSeries window:Duration"),
    row<LogTagFilterSeries>("input:LogSeries predicate:TagPredicate"),
    row<LogSelectTagsSeries>("input:LogSeries tagKeys:set<StringConstant>"),
    // Array series
    row<Numeric1dArrayToStartOfIntervalSeries>("input:Numeric1dArraySeries window:Duration"),
    row<Enum1dArrayToStartOfIntervalSeries>("input:Enum1dArraySeries window:Duration"),
    row<Numeric1dArrayTimeShiftSeries>("input:Numeric1dArraySeries duration:DurationConstant"),
    row<Enum1dArrayTimeShiftSeries>("input:Enum1dArraySeries duration:DurationConstant"),
    row<Numeric1dArrayTagFilterSeries>("input:Numeric1dArraySeries predicate:TagPredicate"),
    row<Enum1dArrayTagFilterSeries>("input:Enum1dArraySeries predicate:TagPredicate"),
    row<Numeric1dArraySelectTagsSeries>("input:Numeric1dArraySeries tagKeys:set<StringConstant>"),
    row<Enum1dArraySelectTagsSeries>("input:Enum1dArraySeries tagKeys:set<StringConstant>"),
    row<SelectIndexFrom1dNumericArraySeries>("input:Numeric1dArraySeries index:IntegerConstant"),
    // Datasets and resource search
    row<Asset>("rid:StringConstant"),
    row<Run>("rid:StringConstant"),
    row<SavedDataset>("rid:StringConstant"),
    row<DatasetReference>("name:StringConstant"),
    row<CombinedDataset>("inputs:list<Dataset>"),
    row<TaggedDataset>("input:Dataset key:StringConstant value:StringConstant"),
    row<FilteredDataset>("input:Dataset predicate:TagPredicate"),
    row<TimeShiftedDataset>("input:Dataset offset:Duration"),
    row<AnchorAlignedDataset>("input:Dataset anchor:DatasetAnchor"),
    row<WithSeriesDataset>("input:Dataset series:list<NamedSeries>"),
    row<NamedSeries>("name:StringConstant definition:Series"),
    row<SearchDataset>("target:SearchTarget maxResults:optional<i32>"),
    row<AssetsSearchTarget>("query:ResourceSearchQuery"),
    row<RunsSearchTarget>("query:ResourceSearchQuery"),
    row<rids::api::PropertiesFilter>("name:string values:list<PropertyValue>"),
    row<rids::api::LabelsFilter>("operator:LabelsFilterOperator labels:list<Label>"),
    // Selection, channels and tag filters
    row<SelectSeries>("name:StringConstant dataset:optional<Dataset> sampling:optional<Sampling>"),
    row<DataSourceChannel>("dataSourceRid:StringConstant channel:StringConstant "
                           "tags:map<string,StringConstant> tagFilters:optional<TagFilters> "
                           "tagsToGroupBy:set<string> groupByTags:set<StringConstant>"),
    row<AssetChannel>("assetRid:StringConstant dataScopeName:StringConstant "
                      "channel:StringConstant additionalTags:map<string,StringConstant> "
                      "additionalTagFilters:optional<TagFilters> tagsToGroupBy:set<string> "
                      "groupByTags:set<StringConstant>"),
    row<RunChannel>("runRid:StringConstant assetRid:optional<StringConstant> "
                    "dataScopeName:StringConstant channel:StringConstant "
                    "additionalTags:map<string,StringConstant> "
                    "additionalTagFilters:optional<TagFilters> tagsToGroupBy:set<string> "
                    "groupByTags:set<StringConstant>"),
    row<TagFilter>("key:StringConstant values:set<StringConstant> operator:TagFilterOperator"),
    row<TagIn>("key:StringConstant values:StringSetConstantV2"),
    row<TagNotIn>("key:StringConstant values:StringSetConstantV2"),
    row<TagAnd>("left:TagPredicate right:TagPredicate"),
    row<NumericTagFilterSeries>("input:NumericSeries predicate:TagPredicate"),
    row<NumericSelectTagsSeries>("input:NumericSeries tagKeys:set<StringConstant>"),
    // Event queries
    row<rids::api::EventTimeFilter>(
        "timestamp:TimestampConstant timestampCondition:EventTimeFilterCondition"),
    row<rids::api::Property>("name:StringConstant value:StringConstant"),
};

const Row kUnions[] = {
    row<DoubleConstant>("literal:f64 variable:string"),
    row<IntegerConstant>("literal:i32 variable:string"),
    row<StringConstant>("literal:string variable:string"),
    row<StringSetConstant>("literal:set<string> variable:string"),
    row<StringSetConstantV2>("literal:set<StringConstant> variable:string"),
    row<TimestampConstant>("literal:Timestamp variable:string"),
    row<DurationConstant>("literal:RunDuration variable:string"),
    row<ConstantNumericSeries>("double:DoubleConstant"),
    row<NumericSeries>(
        "abs:Abs negate:Negate cos:Cos sin:Sin tan:Tan acos:Acos asin:Asin ln:Ln log10:Log10 "
        "sqrt:Sqrt add:Add subtract:Subtract multiply:Multiply divide:Divide "
        "floorDivide:FloorDivide power:Power modulo:Modulo atan2:Atan2 max:MaxSeries "
        "mean:MeanSeries min:MinSeries sum:SumSeries union:NumericUnionSeries "
        "product:ProductSeries constant:ConstantNumericSeries "
        "selectNewestPoints:SelectNewestPointsSeries selectNumeric:SelectSeries "
        "selectOldestPoints:SelectOldestPointsSeries bitAnd:BitAnd bitOr:BitOr bitXor:BitXor "
        "bitShiftRight:BitShiftRight bitShiftLeft:BitShiftLeft bitTest:BitTest "
        "ifElse:NumericIfElseSeries numericAggregation:NumericAggregation "
        "countDuplicate:EnumCountDuplicateSeries cumulativeSum:CumulativeSumSeries "
        "derivative:DerivativeSeries integral:IntegralSeries zScore:ZscoreSeries raw:Reference "
        "derived:DerivedSeries resample:NumericResampleSeries "
        "nthPointDownsample:NumericNthPointDownsampleSeries "
        "largestTriangleThreeBuckets:NumericLargestTriangleThreeBucketsSeries "
        "signalFilter:SignalFilterSeries timeDifference:TimeDifferenceSeries "
        "absoluteTimestamp:AbsoluteTimestampSeries timeRangeFilter:NumericTimeRangeFilterSeries "
        "timeShift:NumericTimeShiftSeries timeShiftV2:NumericTimeShiftSeriesV2 "
        "unitConversion:UnitConversionSeries valueDifference:ValueDifferenceSeries "
        "filterTransformation:NumericFilterTransformationSeries "
        "thresholdFilter:NumericThresholdFilterSeries "
        "approximateFilter:NumericApproximateFilterSeries dropNan:NumericNanFilter "
        "select1dArrayIndex:SelectIndexFrom1dNumericArraySeries "
        "aggregateUnderRanges:AggregateUnderRangesSeries "
        "filterByExpression:FilterByExpressionSeries scalarUdf:ScalarUdfSeries "
        "enumToNumeric:EnumToNumericSeries refprop:RefpropSeries "
        "extractFromStruct:ExtractNumericFromStructSeries tagByIntervals:TagByIntervalsSeries "
        "filterByTag:NumericTagFilterSeries selectTags:NumericSelectTagsSeries "
        "toStartOfInterval:NumericToStartOfIntervalSeries aggregate:AggregateNumericSeries "
        "rollingOperation:RollingOperationSeries bitOperation:BitOperationSeries "
        "channel:ChannelSeries offset:OffsetSeries scale:ScaleSeries "
        "arithmetic:ArithmeticSeries unaryArithmetic:UnaryArithmeticSeries "
        "binaryArithmetic:BinaryArithmeticSeries"),
    row<Duration>("reference:Reference nanoseconds:DurationNanoseconds "
                  "milliseconds:DurationMilliseconds seconds:DurationSeconds "
                  "minutes:DurationMinutes hours:DurationHours days:DurationDays "
                  "add:DurationAdd subtract:DurationSubtract negate:DurationNegate"),
    row<InterpolationConfiguration>("forwardFillInterpolation:ForwardFillInterpolation"),
    row<BitOperationFunction>("and:BitAndFunction or:BitOrFunction xor:BitXorFunction "
                              "shiftRight:BitShiftRightFunction shiftLeft:BitShiftLeftFunction "
                              "bitTest:BitTestFunction"),
    row<BooleanSeries>("greaterThan:GreaterThanSeries lessThan:LessThanSeries "
                       "equalTo:EqualToSeries notEqualTo:NotEqualToSeries "
                       "greaterThanOrEqualTo:GreaterThanOrEqualToSeries "
                       "lessThanOrEqualTo:LessThanOrEqualToSeries and:AndSeries or:OrSeries"),
    row<Series>("raw:Reference enum:EnumSeries numeric:NumericSeries log:LogSeries "
                "array:ArraySeries struct:StructSeries video:Reference"),
    row<ComputeNode>("enum:EnumSeries numeric:NumericSeries log:LogSeries ranges:RangeSeries "
                     "array:ArraySeries struct:StructSeries curveFit:CurveFit "
                     "curveV2:CurveFitV2 video:Reference raw:Reference"),
    row<VariableValue>("double:f64 computeNode:ComputeNodeWithContext duration:RunDuration "
                       "integer:i32 channel:ChannelSeries derived:DerivedSeries "
                       "series:SeriesVariable string:string stringSet:set<string> "
                       "timestamp:Timestamp"),
    row<FunctionParameterValue>("variable:string value:VariableValue"),
    row<DerivedSeries>("function:FunctionDerivedSeries"),
    row<ModuleVersionReference>("pinned:PinnedModuleVersionReference"),
    row<Alignment>("driverSeries:{} union:{}"),
    row<FillStrategy>("forwardFill:ForwardFill"),
    row<FillLimit>("duration:DurationConstant"),
    row<AggregationBuilder>("rollingTime:RollingTimeAggregationBuilder "
                            "rollingPoints:RollingPointsAggregationBuilder "
                            "groupBy:GroupByAggregationBuilder"),
    row<GroupByTags>("current:{} subset:GroupBySubsetTags"),
    row<GroupByTimestamp>("current:{} every:Duration"),
    row<NumericAggregationOperator>("sum:{} average:{} min:{} max:{} count:{} "
                                    "standardDeviation:{} rootMeanSquare:{} "
                                    "percentile:Percentile udf:NumericAggregationUdf"),
    row<EnumAggregationOperator>("min:{} max:{} udf:EnumAggregationUdf"),
    row<UdfSource>("rust:RustUdfSource"),
    row<Window>("duration:DurationConstant"),
    row<NegativeValueConfiguration>(
        "allowNegativeValues:{} setNegativeValuesToZero:{} excludeNegativeValues:{}"),
    row<CurveFitPlotType>("timeSeries:TimeSeriesCurveFit scatter:ScatterCurveFit"),
    row<CurveFitDetails>("exponential:{} logarithmic:{} polynomial:PolynomialCurve power:{}"),
    row<CurveFitTarget>("numeric:CurveFitSeriesVariable"),
    row<CurveFitV2Details>("exponential:BuiltInCurveFit logarithmic:BuiltInCurveFit "
                           "polynomial:PolynomialCurveFit power:BuiltInCurveFit "
                           "custom:CustomCurveFit"),
    row<CurveFitVariable>("numeric:CurveFitSeriesVariable time:CurveFitTimeVariable"),
    row<SignalFilterConfiguration>("lowPass:LowPassConfiguration highPass:HighPassConfiguration "
                                   "bandPass:BandPassConfiguration bandStop:BandStopConfiguration"),
    row<NumericResampleInterpolationConfiguration>(
        "forwardFillResampleInterpolationConfiguration:{} "
        "constantResampleInterpolationConfiguration:"
        "NumericConstantResampleInterpolationConfiguration"),
    row<Sampling>("everyNthPerSeries:EveryNthPerSeriesSampling "
                  "hashSubsample:HashSubsampleSampling"),
    row<IntervalSource>("events:EventIntervalSource ranges:RangeIntervalSource"),
    row<RangeTagSource>("intervalIndex:{} rangeStartTimestamp:{}"),
    row<EventTagSource>("intervalIndex:{} level:{} property:EventPropertyTag label:EventLabelTag "
                        "rangeStartTimestamp:{}"),
    row<TagByIntervalsTimeShift>("intervalStart:{} intervalEnd:{} eventTimeShift:EventTimeShift"),
    row<RangeSeries>(
        "approximateThreshold:ApproximateThresholdRanges durationFilter:DurationFilterRanges "
        "enumFilter:EnumFilterRanges enumSeriesEqualityRangesNode:EnumSeriesEqualityRanges "
        "eventsSearch:EventsSearchRanges intersectRange:IntersectRanges "
        "literalRanges:LiteralRanges minMaxThreshold:MinMaxThresholdRanges not:NotRanges "
        "onChange:OnChangeRanges peak:PeakRanges "
        "rangeNumericAggregation:RangesNumericAggregation raw:Reference derived:DerivedSeries "
        "seriesCrossoverRangesNode:SeriesCrossoverRanges "
        "seriesEqualityRangesNode:SeriesEqualityRanges "
        "stabilityDetection:StabilityDetectionRanges staleRange:StaleRanges "
        "threshold:ThresholdingRanges unionRange:UnionRanges paddedRanges:PaddedRanges"),
    row<OutputRangeStart>("firstPointMatchingCondition:{} afterPersistenceWindow:{}"),
    row<Threshold>("absolute:AbsoluteThreshold percentage:PercentageThreshold"),
    row<RangeAggregationOperation>("sum:{} rootMeanSquare:{} average:{} min:{} max:{} "
                                   "standardDeviation:{} count:{} all:{}"),
    row<EnumSeries>(
        "aggregate:AggregateEnumSeries raw:Reference channel:ChannelSeries derived:DerivedSeries "
        "resample:EnumResampleSeries nthPointDownsample:EnumNthPointDownsampleSeries "
        "timeRangeFilter:EnumTimeRangeFilterSeries timeShift:EnumTimeShiftSeries "
        "union:EnumUnionSeries filterTransformation:EnumFilterTransformationSeries "
        "valueMap:ValueMapSeries select1dArrayIndex:SelectIndexFrom1dEnumArraySeries "
        "extractFromStruct:ExtractEnumFromStructSeries eventAggregation:EventsEnumSeries "
        "enumAggregation:EnumAggregation selectEnum:SelectSeries "
        "filterByTag:EnumTagFilterSeries selectTags:EnumSelectTagsSeries "
        "scalarUdf:ScalarUdfSeries toStartOfInterval:EnumToStartOfIntervalSeries"),
    row<EnumResampleInterpolationConfiguration>("forwardFillResampleInterpolationConfiguration:{} "
                                                "constantResampleInterpolationConfiguration:"
                                                "EnumConstantResampleInterpolationConfiguration"),
    row<EventsEnumValueSource>("property:StringConstant level:{}"),
    row<StructSeries>(
        "channel:ChannelSeries raw:Reference derived:DerivedSeries combine:CombineStructSeries "
        "selectStruct:SelectSeries extractFromStruct:ExtractStructFromStructSeries "
        "toStartOfInterval:StructToStartOfIntervalSeries timeShift:StructTimeShiftSeries "
        "filterByTag:StructTagFilterSeries selectTags:StructSelectTagsSeries"),
    row<LogSeries>("raw:Reference channel:ChannelSeries derived:DerivedSeries "
                   "selectLogs:SelectSeries union:LogUnionSeries filter:LogFilterSeries "
                   "timeShift:LogTimeShiftSeries toStartOfInterval:LogToStartOfIntervalSeries "
                   "filterByTag:LogTagFilterSeries selectTags:LogSelectTagsSeries"),
    row<LogFilterOperator>(
        "regexFilter:LogRegexFilterOperator "
        "exactMatchCaseInsensitiveFilter:LogExactMatchCaseInsensitiveFilter "
        "arg:LogArgFilterOperator and:list<LogFilterOperator> or:list<LogFilterOperator> "
        "not:LogFilterOperator"),
    row<ArraySeries>("numeric1d:Numeric1dArraySeries enum1d:Enum1dArraySeries"),
    row<Numeric1dArraySeries>(
        "channel:ChannelSeries raw:Reference derived:DerivedSeries "
        "selectNumeric1dArray:SelectSeries extractFromStruct:ExtractNumeric1dArrayFromStructSeries "
        "toStartOfInterval:Numeric1dArrayToStartOfIntervalSeries "
        "timeShift:Numeric1dArrayTimeShiftSeries filterByTag:Numeric1dArrayTagFilterSeries "
        "selectTags:Numeric1dArraySelectTagsSeries"),
    row<Enum1dArraySeries>(
        "channel:ChannelSeries raw:Reference derived:DerivedSeries "
        "selectEnum1dArray:SelectSeries extractFromStruct:ExtractEnum1dArrayFromStructSeries "
        "toStartOfInterval:Enum1dArrayToStartOfIntervalSeries "
        "timeShift:Enum1dArrayTimeShiftSeries filterByTag:Enum1dArrayTagFilterSeries "
        "selectTags:Enum1dArraySelectTagsSeries"),
    row<Dataset>("asset:Asset run:Run saved:SavedDataset search:SearchDataset "
                 "combine:CombinedDataset tag:TaggedDataset filter:FilteredDataset "
                 "timeShift:TimeShiftedDataset alignByAnchor:AnchorAlignedDataset "
                 "withSeries:WithSeriesDataset reference:DatasetReference"),
    row<DatasetAnchor>("run:IntervalAnchor"),
    row<IntervalAnchor>("intervalStart:{} intervalEnd:{}"),
    row<SearchTarget>("assets:AssetsSearchTarget runs:RunsSearchTarget"),
    row<ResourceSearchQuery>("properties:PropertiesFilter labels:LabelsFilter "
                             "workspace:StringConstant and:list<ResourceSearchQuery> "
                             "or:list<ResourceSearchQuery> not:ResourceSearchQuery"),
    row<ChannelSeries>("dataSource:DataSourceChannel asset:AssetChannel run:RunChannel"),
    row<TagFilters>("single:TagFilter and:list<TagFilters>"),
    row<TagPredicate>("in:TagIn notIn:TagNotIn and:TagAnd"),
    row<rids::api::ComputeEventQuery>(
        "searchText:StringConstant after:TimestampConstant before:TimestampConstant "
        "advancedTimeFilter:EventTimeFilter asset:StringConstant template:StringConstant "
        "workbook:StringConstant dataReview:StringConstant originType:SearchEventOriginType "
        "dataReviewCheck:StringConstant dispositionStatus:EventDispositionStatus "
        "priority:StringConstant assignee:StringConstant eventType:EventType "
        "createdBy:StringConstant label:StringConstant property:Property "
        "and:list<ComputeEventQuery> or:list<ComputeEventQuery> not:ComputeEventQuery "
        "workspace:StringConstant procedure:StringConstant procedureExecution:StringConstant "
        "stepId:StringConstant"),
};

const Row kEnums[] = {
    row<api::TimeUnit>("DAYS HOURS MINUTES SECONDS MILLISECONDS MICROSECONDS NANOSECONDS"),
    row<objects::NumericDataType>("INT64 FLOAT64 UINT64"),
    row<NumericUnionOperation>("MIN MAX MEAN SUM COUNT STANDARD_DEVIATION ROOT_MEAN_SQUARE THROW"),
    row<UnaryArithmeticOperation>("COS SIN TAN ABS ASIN ACOS LOG LN SQRT"),
    row<BinaryArithmeticOperation>("ATAN2"),
    row<NumericAggregationFunction>("SUM MEAN MIN MAX COUNT STANDARD_DEVIATION ROOT_MEAN_SQUARE"),
    row<RefpropProperty>("TEMPERATURE PRESSURE MASS_DENSITY MASS_SPECIFIC_ENTHALPY "
                         "MASS_SPECIFIC_INTERNAL_ENERGY MASS_SPECIFIC_ENTROPY VISCOSITY"),
    row<RefpropSubstance>("NITROGEN OXYGEN HELIUM HYDROGEN METHANE PROPANE BUTANE WATER XENON "
                          "AIR CARBON_DIOXIDE ARGON CARBON_MONOXIDE"),
    row<ThresholdOperator>("GREATER_THAN GREATER_THAN_OR_EQUAL_TO LESS_THAN "
                           "LESS_THAN_OR_EQUAL_TO EQUAL_TO NOT_EQUAL_TO"),
    row<ApproximateThresholdOperator>("EQUAL_TO NOT_EQUAL_TO"),
    row<RangePaddingConfiguration>("PAD_START PAD_END PAD_START_AND_END"),
    row<UnboundedBehavior>("INFINITY WINDOW_BOUND"),
    row<MinMaxThresholdOperator>("OUTSIDE_BOUNDS OUTSIDE_OR_EQUAL_TO_BOUNDS INSIDE_BOUNDS "
                                 "INSIDE_OR_EQUAL_TO_BOUNDS"),
    row<PeakType>("PEAK TROUGH BOTH"),
    row<EqualityOperator>("ALL_EQUAL NOT_ALL_EQUAL"),
    row<EnumFilterOperator>("IS_IN IS_NOT_IN"),
    row<EnumAggregationFunction>("MIN MAX"),
    row<EnumUnionOperation>("THROW MAX MIN"),
    row<LogUnionOperation>("KEEP_ALL"),
    row<LabelsFilterOperator>("AND OR"),
    row<TagFilterOperator>("IN NOT_IN"),
    row<rids::api::EventType>("INFO FLAG ERROR SUCCESS"),
    row<rids::api::EventDispositionStatus>(
        "PENDING_REVIEW CLOSED_IGNORED CLOSED_REQUIRES_FURTHER_ACTION NO_DISPOSITION"),
    row<rids::api::SearchEventOriginType>("WORKBOOK TEMPLATE API DATA_REVIEW PROCEDURE"),
    row<rids::api::EventTimeFilterCondition>(
        "START_TIME_BEFORE_INCLUSIVE START_TIME_BEFORE_EXCLUSIVE START_TIME_AFTER_INCLUSIVE "
        "START_TIME_AFTER_EXCLUSIVE END_TIME_BEFORE_INCLUSIVE END_TIME_BEFORE_EXCLUSIVE "
        "END_TIME_AFTER_INCLUSIVE END_TIME_AFTER_EXCLUSIVE"),
};

std::vector<std::string> words(const char* text) {
  std::istringstream in(text);
  return {std::istream_iterator<std::string>(in), {}};
}

// "name:type" -> {name, type}
std::pair<std::string, std::string> split(const std::string& part) {
  const size_t colon = part.find(':');
  return {part.substr(0, colon), part.substr(colon + 1)};
}

// How a field of the given type is written: `!` always, `?` when present, `*` when not empty,
// `~` when present even if empty.
char presence(const std::string& type) {
  auto collection = [](std::string_view t) {
    return t.starts_with("list<") || t.starts_with("set<") || t.starts_with("map<");
  };
  if (type.starts_with("optional<"))
    return collection(std::string_view(type).substr(9)) ? '~' : '?';
  return collection(type) ? '*' : '!';
}

// A record node holding `slots`, built slot by slot as the runtime builds one.
Value record(const TypeDesc* desc, const std::vector<Value>& slots) {
  Value out;
  Value* s = new_node(desc, 0, uint32_t(slots.size()), out);
  for (const Value& v : slots) new (s++) Value(v);
  return out;
}

// The object a record writes when field i holds value(i, presence) as JSON text, "" leaving it
// out.
template <class F>
std::string object(const std::vector<std::pair<std::string, std::string>>& fields, F value) {
  std::string out;
  for (size_t i = 0; i < fields.size(); ++i) {
    std::string v = value(i, presence(fields[i].second));
    if (!v.empty()) out += (out.empty() ? "\"" : ",\"") + fields[i].first + "\":" + v;
  }
  return "{" + out + "}";
}
std::string numbered(const std::vector<std::pair<std::string, std::string>>& fields) {
  return object(fields, [](size_t i, char) { return std::to_string(i); });
}
std::vector<Value> numbers(size_t n) {
  std::vector<Value> out;
  for (size_t i = 0; i < n; ++i) out.push_back(Value::i32(int32_t(i)));
  return out;
}
std::string wire(const std::string& name, const std::string& payload) {
  return R"({"type":")" + name + R"(",")" + name + R"(":)" + payload + "}";
}

std::vector<std::pair<std::string, std::string>> parts_of(const Row& row) {
  std::vector<std::pair<std::string, std::string>> out;
  for (const std::string& w : words(row.parts)) out.push_back(split(w));
  return out;
}

TEST(ModelDeclarations, TheTablesCoverTheRegistryOnce) {
  std::set<const ModelType*> rows, registry;
  for (const auto& table : {std::span<const Row>(kRecords), std::span<const Row>(kUnions),
                            std::span<const Row>(kEnums)})
    for (const Row& r : table) EXPECT_TRUE(rows.insert(r.type).second) << r.type->name;
  for (const ModelType* type : declared_types()) {
    EXPECT_TRUE(registry.insert(type).second) << type->name;
    EXPECT_TRUE(rows.count(type)) << "no row for " << type->name;
  }
  for (const ModelType* type : rows)
    EXPECT_TRUE(registry.count(type)) << "unreachable " << type->name;
}

// Each row runs on its own, so that one faulty row does not hide the next.
TEST(ModelDeclarations, RecordsWriteTheirTypedFieldsInOrderByPresence) {
  for (const Row& row : kRecords)
    [&] {
      SCOPED_TRACE(row.type->name);
      const auto fields = parts_of(row);
      const TypeDesc* desc = row.type->node;
      ASSERT_EQ(row.type->kind, TypeKind::Record);
      ASSERT_EQ(desc->field_count, fields.size());
      const auto types = row.type->part_types();
      for (size_t i = 0; i < fields.size(); ++i) {
        EXPECT_EQ(desc->fields[i].key, "\"" + fields[i].first + "\":");
        EXPECT_EQ(type_text(*types[i]), fields[i].second) << fields[i].first;
      }
      EXPECT_EQ(to_json(record(desc, numbers(fields.size()))), numbered(fields));
      // Left unset, only the required fields appear; as empty lists, only collections vanish.
      EXPECT_EQ(to_json(record(desc, std::vector<Value>(fields.size()))),
                object(fields, [](size_t, char p) { return p == '!' ? "null" : ""; }));
      EXPECT_EQ(to_json(record(desc, std::vector<Value>(fields.size(), list({})))),
                object(fields, [](size_t, char p) { return p == '*' ? "" : "[]"; }));
    }();
}

TEST(ModelDeclarations, UnionsNameTheirVariantsInOrderWithTheirPayloads) {
  std::map<std::string_view, const Row*> records;
  for (const Row& r : kRecords) records.emplace(r.type->name, &r);
  for (const Row& row : kUnions)
    [&] {
      SCOPED_TRACE(row.type->name);
      const auto variants = parts_of(row);
      const TypeDesc* desc = row.type->node;
      ASSERT_EQ(row.type->kind, TypeKind::Union);
      ASSERT_EQ(desc->variant_count, variants.size());
      const auto payloads = row.type->part_types();
      EXPECT_EQ(to_json(make_unknown(*desc, "later", Any(1))), wire("later", "1"));
      for (uint16_t i = 0; i < variants.size(); ++i)
        [&] {
          const auto& [name, payload] = variants[i];
          SCOPED_TRACE(name);
          const TypeDesc* inline_record = desc->variants[i].record;
          if (payload == "{}") {
            ASSERT_EQ(payloads[i]->kind, TypeKind::Record);
            ASSERT_TRUE(inline_record && inline_record->field_count == 0);
            EXPECT_EQ(to_json(union_from_record(*desc, i, record(inline_record, {}))),
                      wire(name, "{}"));
            return;
          }
          EXPECT_EQ(type_text(*payloads[i]), payload);
          auto it = records.find(payload);
          if (it != records.end()) {
            ASSERT_EQ(inline_record, it->second->type->node);
            const auto fields = parts_of(*it->second);
            EXPECT_EQ(
                to_json(union_from_record(*desc, i, record(inline_record, numbers(fields.size())))),
                wire(name, numbered(fields)));
          } else {
            ASSERT_EQ(inline_record, nullptr);
            EXPECT_EQ(to_json(make_union(*desc, i, Value::i32(7))), wire(name, "7"));
          }
        }();
    }();
}

TEST(ModelDeclarations, EnumerationsWriteTheirValuesInOrder) {
  for (const Row& row : kEnums)
    [&] {
      SCOPED_TRACE(row.type->name);
      const std::vector<std::string> values = words(row.parts);
      const EnumDesc* desc = row.type->enumeration;
      ASSERT_EQ(row.type->kind, TypeKind::Enum);
      ASSERT_EQ(desc->count, values.size());
      for (uint32_t i = 0; i < values.size(); ++i)
        EXPECT_EQ(to_json(Value::enumeration(desc, i)), "\"" + values[i] + "\"");
    }();
}

}  // namespace
}  // namespace qc::model
