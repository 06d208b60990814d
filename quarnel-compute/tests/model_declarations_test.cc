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
// Enumerations: their values in declaration order. Types of one shape share a row.
struct Group {
  std::vector<const ModelType*> types;
  const char* parts;
};
template <class... T>
Group rows(const char* parts) {
  return {{&model_type<T>...}, parts};
}
struct Row {
  const ModelType* type;
  const char* parts;
};
std::vector<Row> each(std::span<const Group> groups) {
  std::vector<Row> out;
  for (const Group& g : groups)
    for (const ModelType* type : g.types) out.push_back({type, g.parts});
  return out;
}

const Group kRecords[] = {
    // The empty payload, written {}
    rows<Empty>(""),
    // Constants and time literals
    rows<api::Timestamp, run::api::RunDuration>("seconds:i64 nanos:i64"),
    // Durations
    rows<DurationNanoseconds>("nanoseconds:IntegerConstant"),
    rows<DurationMilliseconds>("milliseconds:IntegerConstant"),
    rows<DurationSeconds>("seconds:IntegerConstant"),
    rows<DurationMinutes>("minutes:IntegerConstant"),
    rows<DurationHours>("hours:IntegerConstant"),
    rows<DurationDays>("days:IntegerConstant"),
    rows<DurationAdd, DurationSubtract>("left:Duration right:Duration"),
    rows<DurationNegate>("input:Duration"),
    rows<Reference>("name:string"),
    // Interpolation
    rows<ForwardFillInterpolation>("interpolationRadius:DurationConstant"),
    // Arithmetic and combination
    rows<Abs, Negate, Cos, Sin, Tan, Acos, Asin, Ln, Log10, Sqrt>("x:NumericSeries"),
    rows<Add, Subtract, Multiply, Divide, FloorDivide, Modulo>(
        "left:NumericSeries right:NumericSeries"),
    rows<Power>("base:NumericSeries exponent:NumericSeries"),
    rows<Atan2>("y:NumericSeries x:NumericSeries"),
    rows<MaxSeries, MeanSeries, MinSeries, SumSeries, ProductSeries>(
        "inputs:list<NumericSeries> "
        "interpolationConfiguration:optional<InterpolationConfiguration>"),
    rows<NumericUnionSeries>("input:list<NumericSeries> operation:optional<NumericUnionOperation>"),
    rows<NumericIfElseSeries>(
        "condition:BooleanSeries trueValue:NumericSeries falseValue:NumericSeries"),
    rows<OffsetSeries>("input:NumericSeries scalar:DoubleConstant"),
    rows<ScaleSeries>("input:NumericSeries scalar:DoubleConstant scalarUnit:optional<string>"),
    rows<UnitConversionSeries>("input:NumericSeries outputUnit:string"),
    rows<ArithmeticSeries>("inputs:map<LocalVariableName,NumericSeries> expression:string "
                           "interpolationConfiguration:optional<InterpolationConfiguration>"),
    rows<UnaryArithmeticSeries>("input:NumericSeries operation:UnaryArithmeticOperation"),
    rows<BinaryArithmeticSeries>(
        "input1:NumericSeries input2:NumericSeries operation:BinaryArithmeticOperation "
        "interpolationConfiguration:optional<InterpolationConfiguration>"),
    // Bit operations
    rows<BitAnd, BitOr, BitXor, BitShiftRight, BitShiftLeft>(
        "input:NumericSeries operand:IntegerConstant"),
    rows<BitTest>("input:NumericSeries index:IntegerConstant"),
    rows<BitOperationSeries>("input:NumericSeries function:BitOperationFunction"),
    rows<BitAndFunction, BitOrFunction, BitXorFunction>("operand:i64"),
    rows<BitShiftRightFunction, BitShiftLeftFunction>("operand:i32"),
    rows<BitTestFunction>("index:i32"),
    // Boolean series
    rows<GreaterThanSeries, LessThanSeries, EqualToSeries, NotEqualToSeries,
         GreaterThanOrEqualToSeries, LessThanOrEqualToSeries>(
        "left:NumericSeries right:NumericSeries"),
    rows<AndSeries, OrSeries>("left:BooleanSeries right:BooleanSeries"),
    // Context, variables and derived series
    rows<ComputeNodeWithContext>("seriesNode:ComputeNode context:Context"),
    rows<Context>(
        "variables:map<VariableName,VariableValue> "
        "functionVariables:optional<map<FunctionReference,FunctionVariables>> "
        "datasetReferences:map<DatasetReferenceName,Dataset> "
        "defaultFillStrategy:optional<FillStrategy> defaultAlignmentStrategy:optional<Alignment> "
        "applyDataScopeOffsets:optional<bool>"),
    rows<FunctionVariables>("variables:map<VariableName,VariableValue> "
                            "subFunctionVariables:map<FunctionReference,FunctionVariables>"),
    rows<FunctionDerivedSeries>("moduleName:StringConstant functionName:StringConstant "
                                "versionReference:ModuleVersionReference "
                                "functionArgs:map<FunctionParameterName,FunctionParameterValue>"),
    rows<PinnedModuleVersionReference>("version:StringConstant"),
    rows<SeriesVariable>("select:SelectSeries groupByTags:set<StringConstant>"),
    rows<ForwardFill>("limit:FillLimit"),
    // Aggregation builders and operators
    rows<RollingTimeAggregationBuilder>("input:Series window:Duration"),
    rows<RollingPointsAggregationBuilder>("input:Series points:IntegerConstant"),
    rows<GroupByAggregationBuilder>("input:Series tags:GroupByTags timestamp:GroupByTimestamp"),
    rows<GroupBySubsetTags>("tags:set<StringConstant>"),
    rows<NumericAggregation>("input:AggregationBuilder operator:NumericAggregationOperator"),
    rows<Percentile>("percentile:DoubleConstant"),
    rows<NumericAggregationUdf, EnumAggregationUdf>("source:UdfSource"),
    rows<RustUdfSource>("sourceCode:string"),
    // Aggregating, user-function and property nodes
    rows<AggregateNumericSeries>(
        "input:NumericSeries function:NumericAggregationFunction groupByTags:set<StringConstant> "
        "aggregateByAllGroupings:optional<bool> "
        "interpolationConfiguration:optional<InterpolationConfiguration>"),
    rows<RollingOperationSeries>(
        "input:NumericSeries window:Window operator:NumericAggregationOperator"),
    rows<ZscoreSeries>("input:NumericSeries groupByTags:set<StringConstant> "
                       "interpolationConfiguration:optional<InterpolationConfiguration>"),
    rows<AggregateUnderRangesSeries>(
        "input:NumericSeries ranges:RangeSeries operation:NumericAggregationFunction"),
    rows<NumericFilterTransformationSeries>("input:NumericSeries filter:RangeSeries"),
    rows<ScalarUdfSeries>("inputs:list<Series> source:UdfSource"),
    rows<RefpropSeries>("inputs:map<RefpropProperty,NumericSeries> outputProperty:RefpropProperty "
                        "substance:RefpropSubstance "
                        "interpolationConfiguration:optional<InterpolationConfiguration>"),
    // Calculus and time
    rows<CumulativeSumSeries>("input:NumericSeries startTimestamp:TimestampConstant"),
    rows<DerivativeSeries>("input:NumericSeries timeUnit:optional<TimeUnit> "
                           "negativeValuesConfiguration:optional<NegativeValueConfiguration>"),
    rows<IntegralSeries>(
        "input:NumericSeries startTimestamp:TimestampConstant timeUnit:optional<TimeUnit>"),
    rows<ValueDifferenceSeries>(
        "input:NumericSeries negativeValuesConfiguration:optional<NegativeValueConfiguration>"),
    rows<TimeDifferenceSeries>("input:Series timeUnit:optional<TimeUnit>"),
    rows<AbsoluteTimestampSeries>("input:Series timeUnit:TimeUnit"),
    // Curve fits
    rows<CurveFit>("curveFitPlotType:CurveFitPlotType curveFitDetails:CurveFitDetails "
                   "curveFitOptions:CurveFitOptions"),
    rows<TimeSeriesCurveFit>("series:NumericSeries options:TimeSeriesFitOptions"),
    rows<TimeSeriesFitOptions, CurveFitTimeVariable>("timeUnit:optional<TimeUnit>"),
    rows<ScatterCurveFit>("scatter:Scatter options:ScatterFitOptions"),
    rows<Scatter>("x:NumericSeries y:NumericSeries"),
    rows<ScatterFitOptions>("minX:optional<DoubleConstant> maxX:optional<DoubleConstant> "
                            "minY:optional<DoubleConstant> maxY:optional<DoubleConstant>"),
    rows<PolynomialCurve>("degree:IntegerConstant intercept:optional<DoubleConstant>"),
    rows<CurveFitOptions, CurveFitRange>("startTime:TimestampConstant endTime:TimestampConstant"),
    rows<CurveFitV2>("target:CurveFitTarget fitRange:CurveFitRange curveToFit:CurveFitV2Details"),
    rows<CurveFitSeriesVariable>(
        "series:NumericSeries boundsConfig:optional<CurveFitBoundsConfiguration>"),
    rows<CurveFitBoundsConfiguration>("min:optional<DoubleConstant> max:optional<DoubleConstant>"),
    rows<BuiltInCurveFit>("independentVariable:CurveFitVariable"),
    rows<PolynomialCurveFit>("independentVariable:CurveFitVariable degree:IntegerConstant "
                             "intercept:optional<DoubleConstant>"),
    rows<CustomCurveFit>("formula:StringConstant variables:map<LocalVariableName,CurveFitVariable> "
                         "parameters:map<string,DoubleConstant>"),
    // Signal filters
    rows<SignalFilterSeries>(
        "input:NumericSeries signalFilterConfiguration:SignalFilterConfiguration "
        "order:IntegerConstant samplingFrequency:optional<DoubleConstant>"),
    rows<LowPassConfiguration, HighPassConfiguration>("cutoffFrequency:DoubleConstant"),
    rows<BandPassConfiguration>(
        "lowPassbandFrequency:DoubleConstant highPassbandFrequency:DoubleConstant"),
    rows<BandStopConfiguration>(
        "lowStopbandFrequency:DoubleConstant highStopbandFrequency:DoubleConstant"),
    // Threshold and value filters
    rows<NumericThresholdFilterSeries>(
        "input:NumericSeries threshold:DoubleConstant operator:ThresholdOperator"),
    rows<NumericApproximateFilterSeries>(
        "input:NumericSeries threshold:DoubleConstant tolerance:DoubleConstant "
        "operator:ApproximateThresholdOperator"),
    rows<NumericTimeRangeFilterSeries>("input:NumericSeries startTime:optional<TimestampConstant> "
                                       "endTime:optional<TimestampConstant>"),
    rows<NumericNanFilter>("input:NumericSeries"),
    rows<FilterByExpressionSeries>(
        "base:string inputs:map<LocalVariableName,NumericSeries> expression:string "
        "interpolationConfiguration:optional<InterpolationConfiguration>"),
    // Resampling, downsampling, shifting and sampling
    rows<NumericResampleSeries>(
        "input:NumericSeries resampleConfiguration:NumericResampleConfiguration"),
    rows<NumericNthPointDownsampleSeries>("input:NumericSeries n:IntegerConstant"),
    rows<NumericLargestTriangleThreeBucketsSeries>(
        "input:NumericSeries maxPointsToReturn:IntegerConstant"),
    rows<SelectNewestPointsSeries, SelectOldestPointsSeries>(
        "input:NumericSeries numPoints:IntegerConstant"),
    rows<NumericTimeShiftSeries>("input:NumericSeries duration:DurationConstant"),
    rows<NumericTimeShiftSeriesV2>("input:NumericSeries duration:Duration"),
    rows<NumericToStartOfIntervalSeries>("input:NumericSeries window:Duration"),
    rows<NumericResampleConfiguration>(
        "interval:DurationConstant "
        "interpolation:optional<NumericResampleInterpolationConfiguration>"),
    rows<NumericConstantResampleInterpolationConfiguration>("constant:DoubleConstant"),
    rows<EveryNthPerSeriesSampling, HashSubsampleSampling>("n:IntegerConstant"),
    // Tagging by intervals
    rows<TagByIntervalsSeries>(
        "input:NumericSeries intervals:IntervalSource timeShift:optional<TagByIntervalsTimeShift>"),
    rows<EventIntervalSource>("query:ComputeEventQuery tagBy:list<EventTagSource>"),
    rows<RangeIntervalSource>("ranges:RangeSeries tagBy:list<RangeTagSource>"),
    rows<EventPropertyTag>("propertyName:StringConstant"),
    rows<EventLabelTag>("label:StringConstant"),
    rows<EventTimeShift>("query:ComputeEventQuery"),
    // Range series
    rows<IntersectRanges, UnionRanges>("inputs:list<RangeSeries>"),
    rows<NotRanges>("input:RangeSeries"),
    rows<LiteralRanges>("literalRanges:list<LiteralRange>"),
    rows<LiteralRange>(
        "startTimestamp:optional<TimestampConstant> endTimestamp:optional<TimestampConstant> "
        "tags:optional<map<string,string>>"),
    rows<PaddedRanges>("input:RangeSeries padding:DurationConstant "
                       "paddingConfiguration:optional<RangePaddingConfiguration>"),
    rows<DurationFilterRanges>(
        "input:RangeSeries threshold:DurationConstant operator:ThresholdOperator "
        "unboundedBehavior:optional<UnboundedBehavior>"),
    rows<OnChangeRanges>("input:Series"),
    rows<EventsSearchRanges>("query:ComputeEventQuery"),
    // Threshold and detection ranges
    rows<ThresholdingRanges>(
        "input:NumericSeries threshold:DoubleConstant operator:ThresholdOperator "
        "persistenceWindowConfiguration:optional<PersistenceWindowConfiguration>"),
    rows<ApproximateThresholdRanges>(
        "input:NumericSeries threshold:DoubleConstant tolerance:DoubleConstant "
        "operator:ApproximateThresholdOperator "
        "persistenceWindowConfiguration:optional<PersistenceWindowConfiguration>"),
    rows<MinMaxThresholdRanges>(
        "input:NumericSeries lowerBound:DoubleConstant upperBound:DoubleConstant "
        "operator:MinMaxThresholdOperator "
        "persistenceWindowConfiguration:optional<PersistenceWindowConfiguration>"),
    rows<PersistenceWindowConfiguration>(
        "minPoints:optional<IntegerConstant> minDuration:optional<DurationConstant> "
        "outputRangeStart:OutputRangeStart"),
    rows<PeakRanges>("input:NumericSeries returnsPeaks:optional<bool> "
                     "returnType:optional<PeakType> minimumProminence:optional<DoubleConstant>"),
    rows<StabilityDetectionRanges>(
        "input:NumericSeries windowConfiguration:StabilityWindowConfiguration threshold:Threshold"),
    rows<StabilityWindowConfiguration>(
        "minPoints:optional<IntegerConstant> duration:DurationConstant"),
    rows<AbsoluteThreshold, PercentageThreshold>("value:DoubleConstant"),
    rows<StaleRanges>(
        "input:Series threshold:DurationConstant startTimestamp:optional<TimestampConstant> "
        "endTimestamp:optional<TimestampConstant>"),
    rows<SeriesCrossoverRanges>("inputA:NumericSeries inputB:NumericSeries"),
    rows<SeriesEqualityRanges>(
        "input:list<NumericSeries> equalityOperator:EqualityOperator "
        "tolerance:optional<DoubleConstant> "
        "persistenceWindowConfiguration:optional<PersistenceWindowConfiguration> "
        "interpolationConfiguration:optional<InterpolationConfiguration>"),
    rows<RangesNumericAggregation>(
        "ranges:RangeSeries input:NumericSeries operation:RangeAggregationOperation"),
    // Categorical range nodes
    rows<EnumFilterRanges>(
        "input:EnumSeries operator:EnumFilterOperator values:StringSetConstant "
        "persistenceWindowConfiguration:optional<PersistenceWindowConfiguration>"),
    rows<EnumSeriesEqualityRanges>(
        "input:list<EnumSeries> equalityOperator:EqualityOperator "
        "persistenceWindowConfiguration:optional<PersistenceWindowConfiguration> "
        "interpolationConfiguration:optional<InterpolationConfiguration>"),
    // Categorical series
    rows<AggregateEnumSeries>("input:EnumSeries function:EnumAggregationFunction"),
    rows<EnumResampleSeries>("input:EnumSeries resampleConfiguration:EnumResampleConfiguration"),
    rows<EnumResampleConfiguration>(
        "interval:DurationConstant interpolation:optional<EnumResampleInterpolationConfiguration>"),
    rows<EnumConstantResampleInterpolationConfiguration>("constant:StringConstant"),
    rows<EnumNthPointDownsampleSeries>("input:EnumSeries n:IntegerConstant"),
    rows<EnumTimeRangeFilterSeries>("input:EnumSeries startTime:optional<TimestampConstant> "
                                    "endTime:optional<TimestampConstant>"),
    rows<EnumTimeShiftSeries>("input:EnumSeries duration:DurationConstant"),
    rows<EnumUnionSeries>("input:list<EnumSeries> operation:EnumUnionOperation"),
    rows<EnumFilterTransformationSeries>("input:EnumSeries filter:RangeSeries"),
    rows<SelectIndexFrom1dEnumArraySeries>("input:Enum1dArraySeries index:IntegerConstant"),
    rows<EventsEnumSeries>("query:ComputeEventQuery valueSource:EventsEnumValueSource"),
    rows<EnumAggregation>("input:AggregationBuilder operator:EnumAggregationOperator"),
    rows<EnumTagFilterSeries>("input:EnumSeries predicate:TagPredicate"),
    rows<EnumSelectTagsSeries>("input:EnumSeries tagKeys:set<StringConstant>"),
    rows<EnumToStartOfIntervalSeries>("input:EnumSeries window:Duration"),
    // Value maps and categorical conversions
    rows<ValueMapSeries>(
        "input:NumericSeries mapping:list<RangeMap> default:optional<StringConstant>"),
    rows<RangeMap>(
        "start:optional<DoubleConstant> end:optional<DoubleConstant> output:StringConstant"),
    rows<EnumToNumericSeries>("input:EnumSeries mapping:map<string,DoubleConstant> "
                              "defaultValue:optional<DoubleConstant>"),
    rows<EnumCountDuplicateSeries>("inputs:list<EnumSeries>"),
    // Struct series
    rows<CombineStructSeries>("inputs:map<string,Series> "
                              "interpolationConfiguration:optional<InterpolationConfiguration>"),
    rows<ExtractStructFromStructSeries, ExtractEnumFromStructSeries,
         ExtractEnum1dArrayFromStructSeries, ExtractNumeric1dArrayFromStructSeries>(
        "input:StructSeries fieldPath:list<StringConstant>"),
    rows<ExtractNumericFromStructSeries>(
        "input:StructSeries fieldPath:list<StringConstant> dataType:optional<NumericDataType>"),
    rows<StructToStartOfIntervalSeries>("input:StructSeries window:Duration"),
    rows<StructTimeShiftSeries>("input:StructSeries duration:DurationConstant"),
    rows<StructTagFilterSeries>("input:StructSeries predicate:TagPredicate"),
    rows<StructSelectTagsSeries>("input:StructSeries tagKeys:set<StringConstant>"),
    // Log series
    rows<LogUnionSeries>("input:list<LogSeries> operation:LogUnionOperation"),
    rows<LogFilterSeries>("input:LogSeries operator:LogFilterOperator"),
    rows<LogRegexFilterOperator>("regex:string"),
    rows<LogExactMatchCaseInsensitiveFilter>("token:string"),
    rows<LogArgFilterOperator>("key:StringConstant operator:LogRegexFilterOperator"),
    rows<LogTimeShiftSeries>("input:LogSeries duration:DurationConstant"),
    rows<LogToStartOfIntervalSeries>("input:LogSeries window:Duration"),
    rows<LogTagFilterSeries>("input:LogSeries predicate:TagPredicate"),
    rows<LogSelectTagsSeries>("input:LogSeries tagKeys:set<StringConstant>"),
    // Array series
    rows<Numeric1dArrayToStartOfIntervalSeries>("input:Numeric1dArraySeries window:Duration"),
    rows<Enum1dArrayToStartOfIntervalSeries>("input:Enum1dArraySeries window:Duration"),
    rows<Numeric1dArrayTimeShiftSeries>("input:Numeric1dArraySeries duration:DurationConstant"),
    rows<Enum1dArrayTimeShiftSeries>("input:Enum1dArraySeries duration:DurationConstant"),
    rows<Numeric1dArrayTagFilterSeries>("input:Numeric1dArraySeries predicate:TagPredicate"),
    rows<Enum1dArrayTagFilterSeries>("input:Enum1dArraySeries predicate:TagPredicate"),
    rows<Numeric1dArraySelectTagsSeries>("input:Numeric1dArraySeries tagKeys:set<StringConstant>"),
    rows<Enum1dArraySelectTagsSeries>("input:Enum1dArraySeries tagKeys:set<StringConstant>"),
    rows<SelectIndexFrom1dNumericArraySeries>("input:Numeric1dArraySeries index:IntegerConstant"),
    // Datasets and resource search
    rows<Asset, Run, SavedDataset>("rid:StringConstant"),
    rows<DatasetReference>("name:StringConstant"),
    rows<CombinedDataset>("inputs:list<Dataset>"),
    rows<TaggedDataset>("input:Dataset key:StringConstant value:StringConstant"),
    rows<FilteredDataset>("input:Dataset predicate:TagPredicate"),
    rows<TimeShiftedDataset>("input:Dataset offset:Duration"),
    rows<AnchorAlignedDataset>("input:Dataset anchor:DatasetAnchor"),
    rows<WithSeriesDataset>("input:Dataset series:list<NamedSeries>"),
    rows<NamedSeries>("name:StringConstant definition:Series"),
    rows<SearchDataset>("target:SearchTarget maxResults:optional<i32>"),
    rows<AssetsSearchTarget, RunsSearchTarget>("query:ResourceSearchQuery"),
    rows<rids::api::PropertiesFilter>("name:string values:list<PropertyValue>"),
    rows<rids::api::LabelsFilter>("operator:LabelsFilterOperator labels:list<Label>"),
    // Selection, channels and tag filters
    rows<SelectSeries>("name:StringConstant dataset:optional<Dataset> sampling:optional<Sampling>"),
    rows<DataSourceChannel>("dataSourceRid:StringConstant channel:StringConstant "
                            "tags:map<string,StringConstant> tagFilters:optional<TagFilters> "
                            "tagsToGroupBy:set<string> groupByTags:set<StringConstant>"),
    rows<AssetChannel>(
        "assetRid:StringConstant dataScopeName:StringConstant channel:StringConstant "
        "additionalTags:map<string,StringConstant> additionalTagFilters:optional<TagFilters> "
        "tagsToGroupBy:set<string> groupByTags:set<StringConstant>"),
    rows<RunChannel>(
        "runRid:StringConstant assetRid:optional<StringConstant> dataScopeName:StringConstant "
        "channel:StringConstant additionalTags:map<string,StringConstant> "
        "additionalTagFilters:optional<TagFilters> tagsToGroupBy:set<string> "
        "groupByTags:set<StringConstant>"),
    rows<TagFilter>("key:StringConstant values:set<StringConstant> operator:TagFilterOperator"),
    rows<TagIn, TagNotIn>("key:StringConstant values:StringSetConstantV2"),
    rows<TagAnd>("left:TagPredicate right:TagPredicate"),
    rows<NumericTagFilterSeries>("input:NumericSeries predicate:TagPredicate"),
    rows<NumericSelectTagsSeries>("input:NumericSeries tagKeys:set<StringConstant>"),
    // Event queries
    rows<rids::api::EventTimeFilter>(
        "timestamp:TimestampConstant timestampCondition:EventTimeFilterCondition"),
    rows<rids::api::Property>("name:StringConstant value:StringConstant"),
};

const Group kUnions[] = {
    rows<DoubleConstant>("literal:f64 variable:string"),
    rows<IntegerConstant>("literal:i32 variable:string"),
    rows<StringConstant>("literal:string variable:string"),
    rows<StringSetConstant>("literal:set<string> variable:string"),
    rows<StringSetConstantV2>("literal:set<StringConstant> variable:string"),
    rows<TimestampConstant>("literal:Timestamp variable:string"),
    rows<DurationConstant>("literal:RunDuration variable:string"),
    rows<ConstantNumericSeries>("double:DoubleConstant"),
    rows<NumericSeries>(
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
        "channel:ChannelSeries offset:OffsetSeries scale:ScaleSeries arithmetic:ArithmeticSeries "
        "unaryArithmetic:UnaryArithmeticSeries binaryArithmetic:BinaryArithmeticSeries"),
    rows<Duration>(
        "reference:Reference nanoseconds:DurationNanoseconds milliseconds:DurationMilliseconds "
        "seconds:DurationSeconds minutes:DurationMinutes hours:DurationHours days:DurationDays "
        "add:DurationAdd subtract:DurationSubtract negate:DurationNegate"),
    rows<InterpolationConfiguration>("forwardFillInterpolation:ForwardFillInterpolation"),
    rows<BitOperationFunction>(
        "and:BitAndFunction or:BitOrFunction xor:BitXorFunction shiftRight:BitShiftRightFunction "
        "shiftLeft:BitShiftLeftFunction bitTest:BitTestFunction"),
    rows<BooleanSeries>(
        "greaterThan:GreaterThanSeries lessThan:LessThanSeries equalTo:EqualToSeries "
        "notEqualTo:NotEqualToSeries greaterThanOrEqualTo:GreaterThanOrEqualToSeries "
        "lessThanOrEqualTo:LessThanOrEqualToSeries and:AndSeries or:OrSeries"),
    rows<Series>("raw:Reference enum:EnumSeries numeric:NumericSeries log:LogSeries "
                 "array:ArraySeries struct:StructSeries video:Reference"),
    rows<ComputeNode>(
        "enum:EnumSeries numeric:NumericSeries log:LogSeries ranges:RangeSeries array:ArraySeries "
        "struct:StructSeries curveFit:CurveFit curveV2:CurveFitV2 video:Reference raw:Reference"),
    rows<VariableValue>(
        "double:f64 computeNode:ComputeNodeWithContext duration:RunDuration integer:i32 "
        "channel:ChannelSeries derived:DerivedSeries series:SeriesVariable string:string "
        "stringSet:set<string> timestamp:Timestamp"),
    rows<FunctionParameterValue>("variable:string value:VariableValue"),
    rows<DerivedSeries>("function:FunctionDerivedSeries"),
    rows<ModuleVersionReference>("pinned:PinnedModuleVersionReference"),
    rows<Alignment>("driverSeries:{} union:{}"),
    rows<FillStrategy>("forwardFill:ForwardFill"),
    rows<FillLimit, Window>("duration:DurationConstant"),
    rows<AggregationBuilder>(
        "rollingTime:RollingTimeAggregationBuilder rollingPoints:RollingPointsAggregationBuilder "
        "groupBy:GroupByAggregationBuilder"),
    rows<GroupByTags>("current:{} subset:GroupBySubsetTags"),
    rows<GroupByTimestamp>("current:{} every:Duration"),
    rows<NumericAggregationOperator>(
        "sum:{} average:{} min:{} max:{} count:{} standardDeviation:{} rootMeanSquare:{} "
        "percentile:Percentile udf:NumericAggregationUdf"),
    rows<EnumAggregationOperator>("min:{} max:{} udf:EnumAggregationUdf"),
    rows<UdfSource>("rust:RustUdfSource"),
    rows<NegativeValueConfiguration>(
        "allowNegativeValues:{} setNegativeValuesToZero:{} excludeNegativeValues:{}"),
    rows<CurveFitPlotType>("timeSeries:TimeSeriesCurveFit scatter:ScatterCurveFit"),
    rows<CurveFitDetails>("exponential:{} logarithmic:{} polynomial:PolynomialCurve power:{}"),
    rows<CurveFitTarget>("numeric:CurveFitSeriesVariable"),
    rows<CurveFitV2Details>(
        "exponential:BuiltInCurveFit logarithmic:BuiltInCurveFit polynomial:PolynomialCurveFit "
        "power:BuiltInCurveFit custom:CustomCurveFit"),
    rows<CurveFitVariable>("numeric:CurveFitSeriesVariable time:CurveFitTimeVariable"),
    rows<SignalFilterConfiguration>(
        "lowPass:LowPassConfiguration highPass:HighPassConfiguration "
        "bandPass:BandPassConfiguration bandStop:BandStopConfiguration"),
    rows<NumericResampleInterpolationConfiguration>(
        "forwardFillResampleInterpolationConfiguration:{} "
        "constantResampleInterpolationConfiguration:"
        "NumericConstantResampleInterpolationConfiguration"),
    rows<Sampling>(
        "everyNthPerSeries:EveryNthPerSeriesSampling hashSubsample:HashSubsampleSampling"),
    rows<IntervalSource>("events:EventIntervalSource ranges:RangeIntervalSource"),
    rows<RangeTagSource>("intervalIndex:{} rangeStartTimestamp:{}"),
    rows<EventTagSource>("intervalIndex:{} level:{} property:EventPropertyTag label:EventLabelTag "
                         "rangeStartTimestamp:{}"),
    rows<TagByIntervalsTimeShift>("intervalStart:{} intervalEnd:{} eventTimeShift:EventTimeShift"),
    rows<RangeSeries>(
        "approximateThreshold:ApproximateThresholdRanges durationFilter:DurationFilterRanges "
        "enumFilter:EnumFilterRanges enumSeriesEqualityRangesNode:EnumSeriesEqualityRanges "
        "eventsSearch:EventsSearchRanges intersectRange:IntersectRanges "
        "literalRanges:LiteralRanges minMaxThreshold:MinMaxThresholdRanges not:NotRanges "
        "onChange:OnChangeRanges peak:PeakRanges rangeNumericAggregation:RangesNumericAggregation "
        "raw:Reference derived:DerivedSeries seriesCrossoverRangesNode:SeriesCrossoverRanges "
        "seriesEqualityRangesNode:SeriesEqualityRanges stabilityDetection:StabilityDetectionRanges "
        "staleRange:StaleRanges threshold:ThresholdingRanges unionRange:UnionRanges "
        "paddedRanges:PaddedRanges"),
    rows<OutputRangeStart>("firstPointMatchingCondition:{} afterPersistenceWindow:{}"),
    rows<Threshold>("absolute:AbsoluteThreshold percentage:PercentageThreshold"),
    rows<RangeAggregationOperation>(
        "sum:{} rootMeanSquare:{} average:{} min:{} max:{} standardDeviation:{} count:{} all:{}"),
    rows<EnumSeries>(
        "aggregate:AggregateEnumSeries raw:Reference channel:ChannelSeries derived:DerivedSeries "
        "resample:EnumResampleSeries nthPointDownsample:EnumNthPointDownsampleSeries "
        "timeRangeFilter:EnumTimeRangeFilterSeries timeShift:EnumTimeShiftSeries "
        "union:EnumUnionSeries filterTransformation:EnumFilterTransformationSeries "
        "valueMap:ValueMapSeries select1dArrayIndex:SelectIndexFrom1dEnumArraySeries "
        "extractFromStruct:ExtractEnumFromStructSeries eventAggregation:EventsEnumSeries "
        "enumAggregation:EnumAggregation selectEnum:SelectSeries filterByTag:EnumTagFilterSeries "
        "selectTags:EnumSelectTagsSeries scalarUdf:ScalarUdfSeries "
        "toStartOfInterval:EnumToStartOfIntervalSeries"),
    rows<EnumResampleInterpolationConfiguration>("forwardFillResampleInterpolationConfiguration:{} "
                                                 "constantResampleInterpolationConfiguration:"
                                                 "EnumConstantResampleInterpolationConfiguration"),
    rows<EventsEnumValueSource>("property:StringConstant level:{}"),
    rows<StructSeries>(
        "channel:ChannelSeries raw:Reference derived:DerivedSeries combine:CombineStructSeries "
        "selectStruct:SelectSeries extractFromStruct:ExtractStructFromStructSeries "
        "toStartOfInterval:StructToStartOfIntervalSeries timeShift:StructTimeShiftSeries "
        "filterByTag:StructTagFilterSeries selectTags:StructSelectTagsSeries"),
    rows<LogSeries>("raw:Reference channel:ChannelSeries derived:DerivedSeries "
                    "selectLogs:SelectSeries union:LogUnionSeries filter:LogFilterSeries "
                    "timeShift:LogTimeShiftSeries toStartOfInterval:LogToStartOfIntervalSeries "
                    "filterByTag:LogTagFilterSeries selectTags:LogSelectTagsSeries"),
    rows<LogFilterOperator>("regexFilter:LogRegexFilterOperator "
                            "exactMatchCaseInsensitiveFilter:LogExactMatchCaseInsensitiveFilter "
                            "arg:LogArgFilterOperator and:list<LogFilterOperator> "
                            "or:list<LogFilterOperator> not:LogFilterOperator"),
    rows<ArraySeries>("numeric1d:Numeric1dArraySeries enum1d:Enum1dArraySeries"),
    rows<Numeric1dArraySeries>(
        "channel:ChannelSeries raw:Reference derived:DerivedSeries "
        "selectNumeric1dArray:SelectSeries extractFromStruct:ExtractNumeric1dArrayFromStructSeries "
        "toStartOfInterval:Numeric1dArrayToStartOfIntervalSeries "
        "timeShift:Numeric1dArrayTimeShiftSeries filterByTag:Numeric1dArrayTagFilterSeries "
        "selectTags:Numeric1dArraySelectTagsSeries"),
    rows<Enum1dArraySeries>(
        "channel:ChannelSeries raw:Reference derived:DerivedSeries selectEnum1dArray:SelectSeries "
        "extractFromStruct:ExtractEnum1dArrayFromStructSeries "
        "toStartOfInterval:Enum1dArrayToStartOfIntervalSeries timeShift:Enum1dArrayTimeShiftSeries "
        "filterByTag:Enum1dArrayTagFilterSeries selectTags:Enum1dArraySelectTagsSeries"),
    rows<Dataset>("asset:Asset run:Run saved:SavedDataset search:SearchDataset "
                  "combine:CombinedDataset tag:TaggedDataset filter:FilteredDataset "
                  "timeShift:TimeShiftedDataset alignByAnchor:AnchorAlignedDataset "
                  "withSeries:WithSeriesDataset reference:DatasetReference"),
    rows<DatasetAnchor>("run:IntervalAnchor"),
    rows<IntervalAnchor>("intervalStart:{} intervalEnd:{}"),
    rows<SearchTarget>("assets:AssetsSearchTarget runs:RunsSearchTarget"),
    rows<ResourceSearchQuery>(
        "properties:PropertiesFilter labels:LabelsFilter workspace:StringConstant "
        "and:list<ResourceSearchQuery> or:list<ResourceSearchQuery> not:ResourceSearchQuery"),
    rows<ChannelSeries>("dataSource:DataSourceChannel asset:AssetChannel run:RunChannel"),
    rows<TagFilters>("single:TagFilter and:list<TagFilters>"),
    rows<TagPredicate>("in:TagIn notIn:TagNotIn and:TagAnd"),
    rows<rids::api::ComputeEventQuery>(
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

const Group kEnums[] = {
    rows<api::TimeUnit>("DAYS HOURS MINUTES SECONDS MILLISECONDS MICROSECONDS NANOSECONDS"),
    rows<objects::NumericDataType>("INT64 FLOAT64 UINT64"),
    rows<NumericUnionOperation>("MIN MAX MEAN SUM COUNT STANDARD_DEVIATION ROOT_MEAN_SQUARE THROW"),
    rows<UnaryArithmeticOperation>("COS SIN TAN ABS ASIN ACOS LOG LN SQRT"),
    rows<BinaryArithmeticOperation>("ATAN2"),
    rows<NumericAggregationFunction>("SUM MEAN MIN MAX COUNT STANDARD_DEVIATION ROOT_MEAN_SQUARE"),
    rows<RefpropProperty>("TEMPERATURE PRESSURE MASS_DENSITY MASS_SPECIFIC_ENTHALPY "
                          "MASS_SPECIFIC_INTERNAL_ENERGY MASS_SPECIFIC_ENTROPY VISCOSITY"),
    rows<RefpropSubstance>("NITROGEN OXYGEN HELIUM HYDROGEN METHANE PROPANE BUTANE WATER XENON AIR "
                           "CARBON_DIOXIDE ARGON CARBON_MONOXIDE"),
    rows<ThresholdOperator>("GREATER_THAN GREATER_THAN_OR_EQUAL_TO LESS_THAN LESS_THAN_OR_EQUAL_TO "
                            "EQUAL_TO NOT_EQUAL_TO"),
    rows<ApproximateThresholdOperator>("EQUAL_TO NOT_EQUAL_TO"),
    rows<RangePaddingConfiguration>("PAD_START PAD_END PAD_START_AND_END"),
    rows<UnboundedBehavior>("INFINITY WINDOW_BOUND"),
    rows<MinMaxThresholdOperator>(
        "OUTSIDE_BOUNDS OUTSIDE_OR_EQUAL_TO_BOUNDS INSIDE_BOUNDS INSIDE_OR_EQUAL_TO_BOUNDS"),
    rows<PeakType>("PEAK TROUGH BOTH"),
    rows<EqualityOperator>("ALL_EQUAL NOT_ALL_EQUAL"),
    rows<EnumFilterOperator>("IS_IN IS_NOT_IN"),
    rows<EnumAggregationFunction>("MIN MAX"),
    rows<EnumUnionOperation>("THROW MAX MIN"),
    rows<LogUnionOperation>("KEEP_ALL"),
    rows<LabelsFilterOperator>("AND OR"),
    rows<TagFilterOperator>("IN NOT_IN"),
    rows<rids::api::EventType>("INFO FLAG ERROR SUCCESS"),
    rows<rids::api::EventDispositionStatus>(
        "PENDING_REVIEW CLOSED_IGNORED CLOSED_REQUIRES_FURTHER_ACTION NO_DISPOSITION"),
    rows<rids::api::SearchEventOriginType>("WORKBOOK TEMPLATE API DATA_REVIEW PROCEDURE"),
    rows<rids::api::EventTimeFilterCondition>(
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
  for (std::span<const Group> table :
       {std::span<const Group>(kRecords), std::span<const Group>(kUnions),
        std::span<const Group>(kEnums)})
    for (const Row& r : each(table)) EXPECT_TRUE(rows.insert(r.type).second) << r.type->name;
  for (const ModelType* type : declared_types()) {
    EXPECT_TRUE(registry.insert(type).second) << type->name;
    EXPECT_TRUE(rows.count(type)) << "no row for " << type->name;
  }
  for (const ModelType* type : rows)
    EXPECT_TRUE(registry.count(type)) << "unreachable " << type->name;
}

// Each row runs on its own, so that one faulty row does not hide the next.
TEST(ModelDeclarations, RecordsWriteTheirTypedFieldsInOrderByPresence) {
  for (const Row& row : each(kRecords))
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
  std::map<std::string_view, Row> records;
  for (const Row& r : each(kRecords)) records.emplace(r.type->name, r);
  for (const Row& row : each(kUnions))
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
            ASSERT_EQ(inline_record, it->second.type->node);
            const auto fields = parts_of(it->second);
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
  for (const Row& row : each(kEnums))
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
