// Every model type's declaration against its wire definition: the keys of each record in wire
// order with their types, the variants of each union in declaration order with their payload
// types, and the values of each enumeration. The tables cover the registry of declared types,
// and each type is checked through its descriptors alone, so one row is all a type needs.
//
// A row gives one or more type names, then `=` and their parts: `key:type` for a record,
// `variant:payload` for a union, the values of an enumeration; a line that begins with blanks
// goes on with the row above. A type reads as the declarations write it: a type's name, `string`,
// `i32`, `i64`, `f64`, `bool`, or `list<T>`, `set<T>`, `map<K,V>`, `optional<T>` of one; `{}` is
// the empty payload. A field's presence follows from its type: an optional is left out when
// absent, an optional list or map is written even when empty, a list, set or map is left out
// when empty.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "quarnel/compute/model/registry.h"
#include "to_json.h"

namespace qc::model {
namespace {

const char kRecords[] = R"(
Empty
Timestamp RunDuration = seconds:i64 nanos:i64
DurationNanoseconds = nanoseconds:IntegerConstant
DurationMilliseconds = milliseconds:IntegerConstant
DurationSeconds = seconds:IntegerConstant
DurationMinutes = minutes:IntegerConstant
DurationHours = hours:IntegerConstant
DurationDays = days:IntegerConstant
DurationAdd DurationSubtract = left:Duration right:Duration
DurationNegate = input:Duration
Reference = name:string
ForwardFillInterpolation = interpolationRadius:DurationConstant
Abs Negate Cos Sin Tan Acos Asin Ln Log10 Sqrt = x:NumericSeries
Add Subtract Multiply Divide FloorDivide Modulo = left:NumericSeries right:NumericSeries
Power = base:NumericSeries exponent:NumericSeries
Atan2 = y:NumericSeries x:NumericSeries
MaxSeries MeanSeries MinSeries SumSeries ProductSeries = inputs:list<NumericSeries>
  interpolationConfiguration:optional<InterpolationConfiguration>
NumericUnionSeries = input:list<NumericSeries> operation:optional<NumericUnionOperation>
NumericIfElseSeries = condition:BooleanSeries trueValue:NumericSeries falseValue:NumericSeries
OffsetSeries = input:NumericSeries scalar:DoubleConstant
ScaleSeries = input:NumericSeries scalar:DoubleConstant scalarUnit:optional<string>
UnitConversionSeries = input:NumericSeries outputUnit:string
ArithmeticSeries = inputs:map<LocalVariableName,NumericSeries> expression:string
  interpolationConfiguration:optional<InterpolationConfiguration>
UnaryArithmeticSeries = input:NumericSeries operation:UnaryArithmeticOperation
BinaryArithmeticSeries = input1:NumericSeries input2:NumericSeries
  operation:BinaryArithmeticOperation
  interpolationConfiguration:optional<InterpolationConfiguration>
BitAnd BitOr BitXor BitShiftRight BitShiftLeft = input:NumericSeries operand:IntegerConstant
BitTest = input:NumericSeries index:IntegerConstant
BitOperationSeries = input:NumericSeries function:BitOperationFunction
BitAndFunction BitOrFunction BitXorFunction = operand:i64
BitShiftRightFunction BitShiftLeftFunction = operand:i32
BitTestFunction = index:i32
GreaterThanSeries LessThanSeries EqualToSeries NotEqualToSeries GreaterThanOrEqualToSeries
  LessThanOrEqualToSeries = left:NumericSeries right:NumericSeries
AndSeries OrSeries = left:BooleanSeries right:BooleanSeries
ComputeNodeWithContext = seriesNode:ComputeNode context:Context
Context = variables:map<VariableName,VariableValue>
  functionVariables:optional<map<FunctionReference,FunctionVariables>>
  datasetReferences:map<DatasetReferenceName,Dataset> defaultFillStrategy:optional<FillStrategy>
  defaultAlignmentStrategy:optional<Alignment> applyDataScopeOffsets:optional<bool>
FunctionVariables = variables:map<VariableName,VariableValue>
  subFunctionVariables:map<FunctionReference,FunctionVariables>
FunctionDerivedSeries = moduleName:StringConstant functionName:StringConstant
  versionReference:ModuleVersionReference
  functionArgs:map<FunctionParameterName,FunctionParameterValue>
PinnedModuleVersionReference = version:StringConstant
SeriesVariable = select:SelectSeries groupByTags:set<StringConstant>
ForwardFill = limit:FillLimit
RollingTimeAggregationBuilder = input:Series window:Duration
RollingPointsAggregationBuilder = input:Series points:IntegerConstant
GroupByAggregationBuilder = input:Series tags:GroupByTags timestamp:GroupByTimestamp
GroupBySubsetTags = tags:set<StringConstant>
NumericAggregation = input:AggregationBuilder operator:NumericAggregationOperator
Percentile = percentile:DoubleConstant
NumericAggregationUdf EnumAggregationUdf = source:UdfSource
RustUdfSource = sourceCode:string
AggregateNumericSeries = input:NumericSeries function:NumericAggregationFunction
  groupByTags:set<StringConstant> aggregateByAllGroupings:optional<bool>
  interpolationConfiguration:optional<InterpolationConfiguration>
RollingOperationSeries = input:NumericSeries window:Window operator:NumericAggregationOperator
ZscoreSeries = input:NumericSeries groupByTags:set<StringConstant>
  interpolationConfiguration:optional<InterpolationConfiguration>
AggregateUnderRangesSeries = input:NumericSeries ranges:RangeSeries
  operation:NumericAggregationFunction
NumericFilterTransformationSeries = input:NumericSeries filter:RangeSeries
ScalarUdfSeries = inputs:list<Series> source:UdfSource
RefpropSeries = inputs:map<RefpropProperty,NumericSeries> outputProperty:RefpropProperty
  substance:RefpropSubstance interpolationConfiguration:optional<InterpolationConfiguration>
CumulativeSumSeries = input:NumericSeries startTimestamp:TimestampConstant
DerivativeSeries = input:NumericSeries timeUnit:optional<TimeUnit>
  negativeValuesConfiguration:optional<NegativeValueConfiguration>
IntegralSeries = input:NumericSeries startTimestamp:TimestampConstant timeUnit:optional<TimeUnit>
ValueDifferenceSeries = input:NumericSeries
  negativeValuesConfiguration:optional<NegativeValueConfiguration>
TimeDifferenceSeries = input:Series timeUnit:optional<TimeUnit>
AbsoluteTimestampSeries = input:Series timeUnit:TimeUnit
CurveFit = curveFitPlotType:CurveFitPlotType curveFitDetails:CurveFitDetails
  curveFitOptions:CurveFitOptions
TimeSeriesCurveFit = series:NumericSeries options:TimeSeriesFitOptions
TimeSeriesFitOptions CurveFitTimeVariable = timeUnit:optional<TimeUnit>
ScatterCurveFit = scatter:Scatter options:ScatterFitOptions
Scatter = x:NumericSeries y:NumericSeries
ScatterFitOptions = minX:optional<DoubleConstant> maxX:optional<DoubleConstant>
  minY:optional<DoubleConstant> maxY:optional<DoubleConstant>
PolynomialCurve = degree:IntegerConstant intercept:optional<DoubleConstant>
CurveFitOptions CurveFitRange = startTime:TimestampConstant endTime:TimestampConstant
CurveFitV2 = target:CurveFitTarget fitRange:CurveFitRange curveToFit:CurveFitV2Details
CurveFitSeriesVariable = series:NumericSeries boundsConfig:optional<CurveFitBoundsConfiguration>
CurveFitBoundsConfiguration = min:optional<DoubleConstant> max:optional<DoubleConstant>
BuiltInCurveFit = independentVariable:CurveFitVariable
PolynomialCurveFit = independentVariable:CurveFitVariable degree:IntegerConstant
  intercept:optional<DoubleConstant>
CustomCurveFit = formula:StringConstant variables:map<LocalVariableName,CurveFitVariable>
  parameters:map<string,DoubleConstant>
SignalFilterSeries = input:NumericSeries signalFilterConfiguration:SignalFilterConfiguration
  order:IntegerConstant samplingFrequency:optional<DoubleConstant>
LowPassConfiguration HighPassConfiguration = cutoffFrequency:DoubleConstant
BandPassConfiguration = lowPassbandFrequency:DoubleConstant highPassbandFrequency:DoubleConstant
BandStopConfiguration = lowStopbandFrequency:DoubleConstant highStopbandFrequency:DoubleConstant
NumericThresholdFilterSeries = input:NumericSeries threshold:DoubleConstant
  operator:ThresholdOperator
NumericApproximateFilterSeries = input:NumericSeries threshold:DoubleConstant
  tolerance:DoubleConstant operator:ApproximateThresholdOperator
NumericTimeRangeFilterSeries = input:NumericSeries startTime:optional<TimestampConstant>
  endTime:optional<TimestampConstant>
NumericNanFilter = input:NumericSeries
FilterByExpressionSeries = base:string inputs:map<LocalVariableName,NumericSeries> expression:string
  interpolationConfiguration:optional<InterpolationConfiguration>
NumericResampleSeries = input:NumericSeries resampleConfiguration:NumericResampleConfiguration
NumericNthPointDownsampleSeries = input:NumericSeries n:IntegerConstant
NumericLargestTriangleThreeBucketsSeries = input:NumericSeries maxPointsToReturn:IntegerConstant
SelectNewestPointsSeries SelectOldestPointsSeries = input:NumericSeries numPoints:IntegerConstant
NumericTimeShiftSeries = input:NumericSeries duration:DurationConstant
NumericTimeShiftSeriesV2 = input:NumericSeries duration:Duration
NumericToStartOfIntervalSeries = input:NumericSeries window:Duration
NumericResampleConfiguration = interval:DurationConstant
  interpolation:optional<NumericResampleInterpolationConfiguration>
NumericConstantResampleInterpolationConfiguration = constant:DoubleConstant
EveryNthPerSeriesSampling HashSubsampleSampling = n:IntegerConstant
TagByIntervalsSeries = input:NumericSeries intervals:IntervalSource
  timeShift:optional<TagByIntervalsTimeShift>
EventIntervalSource = query:ComputeEventQuery tagBy:list<EventTagSource>
RangeIntervalSource = ranges:RangeSeries tagBy:list<RangeTagSource>
EventPropertyTag = propertyName:StringConstant
EventLabelTag = label:StringConstant
EventTimeShift EventsSearchRanges = query:ComputeEventQuery
IntersectRanges UnionRanges = inputs:list<RangeSeries>
NotRanges = input:RangeSeries
LiteralRanges = literalRanges:list<LiteralRange>
LiteralRange = startTimestamp:optional<TimestampConstant> endTimestamp:optional<TimestampConstant>
  tags:optional<map<string,string>>
PaddedRanges = input:RangeSeries padding:DurationConstant
  paddingConfiguration:optional<RangePaddingConfiguration>
DurationFilterRanges = input:RangeSeries threshold:DurationConstant operator:ThresholdOperator
  unboundedBehavior:optional<UnboundedBehavior>
OnChangeRanges = input:Series
ThresholdingRanges = input:NumericSeries threshold:DoubleConstant operator:ThresholdOperator
  persistenceWindowConfiguration:optional<PersistenceWindowConfiguration>
ApproximateThresholdRanges = input:NumericSeries threshold:DoubleConstant tolerance:DoubleConstant
  operator:ApproximateThresholdOperator
  persistenceWindowConfiguration:optional<PersistenceWindowConfiguration>
MinMaxThresholdRanges = input:NumericSeries lowerBound:DoubleConstant upperBound:DoubleConstant
  operator:MinMaxThresholdOperator
  persistenceWindowConfiguration:optional<PersistenceWindowConfiguration>
PersistenceWindowConfiguration = minPoints:optional<IntegerConstant>
  minDuration:optional<DurationConstant> outputRangeStart:OutputRangeStart
PeakRanges = input:NumericSeries returnsPeaks:optional<bool> returnType:optional<PeakType>
  minimumProminence:optional<DoubleConstant>
StabilityDetectionRanges = input:NumericSeries windowConfiguration:StabilityWindowConfiguration
  threshold:Threshold
StabilityWindowConfiguration = minPoints:optional<IntegerConstant> duration:DurationConstant
AbsoluteThreshold PercentageThreshold = value:DoubleConstant
StaleRanges = input:Series threshold:DurationConstant startTimestamp:optional<TimestampConstant>
  endTimestamp:optional<TimestampConstant>
SeriesCrossoverRanges = inputA:NumericSeries inputB:NumericSeries
SeriesEqualityRanges = input:list<NumericSeries> equalityOperator:EqualityOperator
  tolerance:optional<DoubleConstant>
  persistenceWindowConfiguration:optional<PersistenceWindowConfiguration>
  interpolationConfiguration:optional<InterpolationConfiguration>
RangesNumericAggregation = ranges:RangeSeries input:NumericSeries
  operation:RangeAggregationOperation
EnumFilterRanges = input:EnumSeries operator:EnumFilterOperator values:StringSetConstant
  persistenceWindowConfiguration:optional<PersistenceWindowConfiguration>
EnumSeriesEqualityRanges = input:list<EnumSeries> equalityOperator:EqualityOperator
  persistenceWindowConfiguration:optional<PersistenceWindowConfiguration>
  interpolationConfiguration:optional<InterpolationConfiguration>
AggregateEnumSeries = input:EnumSeries function:EnumAggregationFunction
EnumResampleSeries = input:EnumSeries resampleConfiguration:EnumResampleConfiguration
EnumResampleConfiguration = interval:DurationConstant
  interpolation:optional<EnumResampleInterpolationConfiguration>
EnumConstantResampleInterpolationConfiguration = constant:StringConstant
EnumNthPointDownsampleSeries = input:EnumSeries n:IntegerConstant
EnumTimeRangeFilterSeries = input:EnumSeries startTime:optional<TimestampConstant>
  endTime:optional<TimestampConstant>
EnumTimeShiftSeries = input:EnumSeries duration:DurationConstant
EnumUnionSeries = input:list<EnumSeries> operation:EnumUnionOperation
EnumFilterTransformationSeries = input:EnumSeries filter:RangeSeries
SelectIndexFrom1dEnumArraySeries = input:Enum1dArraySeries index:IntegerConstant
EventsEnumSeries = query:ComputeEventQuery valueSource:EventsEnumValueSource
EnumAggregation = input:AggregationBuilder operator:EnumAggregationOperator
EnumTagFilterSeries = input:EnumSeries predicate:TagPredicate
EnumSelectTagsSeries = input:EnumSeries tagKeys:set<StringConstant>
EnumToStartOfIntervalSeries = input:EnumSeries window:Duration
ValueMapSeries = input:NumericSeries mapping:list<RangeMap> default:optional<StringConstant>
RangeMap = start:optional<DoubleConstant> end:optional<DoubleConstant> output:StringConstant
EnumToNumericSeries = input:EnumSeries mapping:map<string,DoubleConstant>
  defaultValue:optional<DoubleConstant>
EnumCountDuplicateSeries = inputs:list<EnumSeries>
CombineStructSeries = inputs:map<string,Series>
  interpolationConfiguration:optional<InterpolationConfiguration>
ExtractStructFromStructSeries ExtractEnumFromStructSeries ExtractEnum1dArrayFromStructSeries
  ExtractNumeric1dArrayFromStructSeries = input:StructSeries fieldPath:list<StringConstant>
ExtractNumericFromStructSeries = input:StructSeries fieldPath:list<StringConstant>
  dataType:optional<NumericDataType>
StructToStartOfIntervalSeries = input:StructSeries window:Duration
StructTimeShiftSeries = input:StructSeries duration:DurationConstant
StructTagFilterSeries = input:StructSeries predicate:TagPredicate
StructSelectTagsSeries = input:StructSeries tagKeys:set<StringConstant>
LogUnionSeries = input:list<LogSeries> operation:LogUnionOperation
LogFilterSeries = input:LogSeries operator:LogFilterOperator
LogRegexFilterOperator = regex:string
LogExactMatchCaseInsensitiveFilter = token:string
LogArgFilterOperator = key:StringConstant operator:LogRegexFilterOperator
LogTimeShiftSeries = input:LogSeries duration:DurationConstant
LogToStartOfIntervalSeries = input:LogSeries window:Duration
LogTagFilterSeries = input:LogSeries predicate:TagPredicate
LogSelectTagsSeries = input:LogSeries tagKeys:set<StringConstant>
Numeric1dArrayToStartOfIntervalSeries = input:Numeric1dArraySeries window:Duration
Enum1dArrayToStartOfIntervalSeries = input:Enum1dArraySeries window:Duration
Numeric1dArrayTimeShiftSeries = input:Numeric1dArraySeries duration:DurationConstant
Enum1dArrayTimeShiftSeries = input:Enum1dArraySeries duration:DurationConstant
Numeric1dArrayTagFilterSeries = input:Numeric1dArraySeries predicate:TagPredicate
Enum1dArrayTagFilterSeries = input:Enum1dArraySeries predicate:TagPredicate
Numeric1dArraySelectTagsSeries = input:Numeric1dArraySeries tagKeys:set<StringConstant>
Enum1dArraySelectTagsSeries = input:Enum1dArraySeries tagKeys:set<StringConstant>
SelectIndexFrom1dNumericArraySeries = input:Numeric1dArraySeries index:IntegerConstant
Asset Run SavedDataset = rid:StringConstant
DatasetReference = name:StringConstant
CombinedDataset = inputs:list<Dataset>
TaggedDataset = input:Dataset key:StringConstant value:StringConstant
FilteredDataset = input:Dataset predicate:TagPredicate
TimeShiftedDataset = input:Dataset offset:Duration
AnchorAlignedDataset = input:Dataset anchor:DatasetAnchor
WithSeriesDataset = input:Dataset series:list<NamedSeries>
NamedSeries = name:StringConstant definition:Series
SearchDataset = target:SearchTarget maxResults:optional<i32>
AssetsSearchTarget RunsSearchTarget = query:ResourceSearchQuery
PropertiesFilter = name:string values:list<PropertyValue>
LabelsFilter = operator:LabelsFilterOperator labels:list<Label>
SelectSeries = name:StringConstant dataset:optional<Dataset> sampling:optional<Sampling>
DataSourceChannel = dataSourceRid:StringConstant channel:StringConstant
  tags:map<string,StringConstant> tagFilters:optional<TagFilters> tagsToGroupBy:set<string>
  groupByTags:set<StringConstant>
AssetChannel = assetRid:StringConstant dataScopeName:StringConstant channel:StringConstant
  additionalTags:map<string,StringConstant> additionalTagFilters:optional<TagFilters>
  tagsToGroupBy:set<string> groupByTags:set<StringConstant>
RunChannel = runRid:StringConstant assetRid:optional<StringConstant> dataScopeName:StringConstant
  channel:StringConstant additionalTags:map<string,StringConstant>
  additionalTagFilters:optional<TagFilters> tagsToGroupBy:set<string>
  groupByTags:set<StringConstant>
TagFilter = key:StringConstant values:set<StringConstant> operator:TagFilterOperator
TagIn TagNotIn = key:StringConstant values:StringSetConstantV2
TagAnd = left:TagPredicate right:TagPredicate
NumericTagFilterSeries = input:NumericSeries predicate:TagPredicate
NumericSelectTagsSeries = input:NumericSeries tagKeys:set<StringConstant>
EventTimeFilter = timestamp:TimestampConstant timestampCondition:EventTimeFilterCondition
Property = name:StringConstant value:StringConstant
)";
const char kUnions[] = R"(
DoubleConstant = literal:f64 variable:string
IntegerConstant = literal:i32 variable:string
StringConstant = literal:string variable:string
StringSetConstant = literal:set<string> variable:string
StringSetConstantV2 = literal:set<StringConstant> variable:string
TimestampConstant = literal:Timestamp variable:string
DurationConstant = literal:RunDuration variable:string
ConstantNumericSeries = double:DoubleConstant
NumericSeries = abs:Abs negate:Negate cos:Cos sin:Sin tan:Tan acos:Acos asin:Asin ln:Ln log10:Log10
  sqrt:Sqrt add:Add subtract:Subtract multiply:Multiply divide:Divide floorDivide:FloorDivide
  power:Power modulo:Modulo atan2:Atan2 max:MaxSeries mean:MeanSeries min:MinSeries sum:SumSeries
  union:NumericUnionSeries product:ProductSeries constant:ConstantNumericSeries
  selectNewestPoints:SelectNewestPointsSeries selectNumeric:SelectSeries
  selectOldestPoints:SelectOldestPointsSeries bitAnd:BitAnd bitOr:BitOr bitXor:BitXor
  bitShiftRight:BitShiftRight bitShiftLeft:BitShiftLeft bitTest:BitTest ifElse:NumericIfElseSeries
  numericAggregation:NumericAggregation countDuplicate:EnumCountDuplicateSeries
  cumulativeSum:CumulativeSumSeries derivative:DerivativeSeries integral:IntegralSeries
  zScore:ZscoreSeries raw:Reference derived:DerivedSeries resample:NumericResampleSeries
  nthPointDownsample:NumericNthPointDownsampleSeries
  largestTriangleThreeBuckets:NumericLargestTriangleThreeBucketsSeries
  signalFilter:SignalFilterSeries timeDifference:TimeDifferenceSeries
  absoluteTimestamp:AbsoluteTimestampSeries timeRangeFilter:NumericTimeRangeFilterSeries
  timeShift:NumericTimeShiftSeries timeShiftV2:NumericTimeShiftSeriesV2
  unitConversion:UnitConversionSeries valueDifference:ValueDifferenceSeries
  filterTransformation:NumericFilterTransformationSeries
  thresholdFilter:NumericThresholdFilterSeries approximateFilter:NumericApproximateFilterSeries
  dropNan:NumericNanFilter select1dArrayIndex:SelectIndexFrom1dNumericArraySeries
  aggregateUnderRanges:AggregateUnderRangesSeries filterByExpression:FilterByExpressionSeries
  scalarUdf:ScalarUdfSeries enumToNumeric:EnumToNumericSeries refprop:RefpropSeries
  extractFromStruct:ExtractNumericFromStructSeries tagByIntervals:TagByIntervalsSeries
  filterByTag:NumericTagFilterSeries selectTags:NumericSelectTagsSeries
  toStartOfInterval:NumericToStartOfIntervalSeries aggregate:AggregateNumericSeries
  rollingOperation:RollingOperationSeries bitOperation:BitOperationSeries channel:ChannelSeries
  offset:OffsetSeries scale:ScaleSeries arithmetic:ArithmeticSeries
  unaryArithmetic:UnaryArithmeticSeries binaryArithmetic:BinaryArithmeticSeries
Duration = reference:Reference nanoseconds:DurationNanoseconds milliseconds:DurationMilliseconds
  seconds:DurationSeconds minutes:DurationMinutes hours:DurationHours days:DurationDays
  add:DurationAdd subtract:DurationSubtract negate:DurationNegate
InterpolationConfiguration = forwardFillInterpolation:ForwardFillInterpolation
BitOperationFunction = and:BitAndFunction or:BitOrFunction xor:BitXorFunction
  shiftRight:BitShiftRightFunction shiftLeft:BitShiftLeftFunction bitTest:BitTestFunction
BooleanSeries = greaterThan:GreaterThanSeries lessThan:LessThanSeries equalTo:EqualToSeries
  notEqualTo:NotEqualToSeries greaterThanOrEqualTo:GreaterThanOrEqualToSeries
  lessThanOrEqualTo:LessThanOrEqualToSeries and:AndSeries or:OrSeries
Series = raw:Reference enum:EnumSeries numeric:NumericSeries log:LogSeries array:ArraySeries
  struct:StructSeries video:Reference
ComputeNode = enum:EnumSeries numeric:NumericSeries log:LogSeries ranges:RangeSeries
  array:ArraySeries struct:StructSeries curveFit:CurveFit curveV2:CurveFitV2 video:Reference
  raw:Reference
VariableValue = double:f64 computeNode:ComputeNodeWithContext duration:RunDuration integer:i32
  channel:ChannelSeries derived:DerivedSeries series:SeriesVariable string:string
  stringSet:set<string> timestamp:Timestamp
FunctionParameterValue = variable:string value:VariableValue
DerivedSeries = function:FunctionDerivedSeries
ModuleVersionReference = pinned:PinnedModuleVersionReference
Alignment = driverSeries:{} union:{}
FillStrategy = forwardFill:ForwardFill
FillLimit Window = duration:DurationConstant
AggregationBuilder = rollingTime:RollingTimeAggregationBuilder
  rollingPoints:RollingPointsAggregationBuilder groupBy:GroupByAggregationBuilder
GroupByTags = current:{} subset:GroupBySubsetTags
GroupByTimestamp = current:{} every:Duration
NumericAggregationOperator = sum:{} average:{} min:{} max:{} count:{} standardDeviation:{}
  rootMeanSquare:{} percentile:Percentile udf:NumericAggregationUdf
EnumAggregationOperator = min:{} max:{} udf:EnumAggregationUdf
UdfSource = rust:RustUdfSource
NegativeValueConfiguration = allowNegativeValues:{} setNegativeValuesToZero:{}
  excludeNegativeValues:{}
CurveFitPlotType = timeSeries:TimeSeriesCurveFit scatter:ScatterCurveFit
CurveFitDetails = exponential:{} logarithmic:{} polynomial:PolynomialCurve power:{}
CurveFitTarget = numeric:CurveFitSeriesVariable
CurveFitV2Details = exponential:BuiltInCurveFit logarithmic:BuiltInCurveFit
  polynomial:PolynomialCurveFit power:BuiltInCurveFit custom:CustomCurveFit
CurveFitVariable = numeric:CurveFitSeriesVariable time:CurveFitTimeVariable
SignalFilterConfiguration = lowPass:LowPassConfiguration highPass:HighPassConfiguration
  bandPass:BandPassConfiguration bandStop:BandStopConfiguration
NumericResampleInterpolationConfiguration = forwardFillResampleInterpolationConfiguration:{}
  constantResampleInterpolationConfiguration:NumericConstantResampleInterpolationConfiguration
Sampling = everyNthPerSeries:EveryNthPerSeriesSampling hashSubsample:HashSubsampleSampling
IntervalSource = events:EventIntervalSource ranges:RangeIntervalSource
RangeTagSource = intervalIndex:{} rangeStartTimestamp:{}
EventTagSource = intervalIndex:{} level:{} property:EventPropertyTag label:EventLabelTag
  rangeStartTimestamp:{}
TagByIntervalsTimeShift = intervalStart:{} intervalEnd:{} eventTimeShift:EventTimeShift
RangeSeries = approximateThreshold:ApproximateThresholdRanges durationFilter:DurationFilterRanges
  enumFilter:EnumFilterRanges enumSeriesEqualityRangesNode:EnumSeriesEqualityRanges
  eventsSearch:EventsSearchRanges intersectRange:IntersectRanges literalRanges:LiteralRanges
  minMaxThreshold:MinMaxThresholdRanges not:NotRanges onChange:OnChangeRanges peak:PeakRanges
  rangeNumericAggregation:RangesNumericAggregation raw:Reference derived:DerivedSeries
  seriesCrossoverRangesNode:SeriesCrossoverRanges seriesEqualityRangesNode:SeriesEqualityRanges
  stabilityDetection:StabilityDetectionRanges staleRange:StaleRanges threshold:ThresholdingRanges
  unionRange:UnionRanges paddedRanges:PaddedRanges
OutputRangeStart = firstPointMatchingCondition:{} afterPersistenceWindow:{}
Threshold = absolute:AbsoluteThreshold percentage:PercentageThreshold
RangeAggregationOperation = sum:{} rootMeanSquare:{} average:{} min:{} max:{} standardDeviation:{}
  count:{} all:{}
EnumSeries = aggregate:AggregateEnumSeries raw:Reference channel:ChannelSeries derived:DerivedSeries
  resample:EnumResampleSeries nthPointDownsample:EnumNthPointDownsampleSeries
  timeRangeFilter:EnumTimeRangeFilterSeries timeShift:EnumTimeShiftSeries union:EnumUnionSeries
  filterTransformation:EnumFilterTransformationSeries valueMap:ValueMapSeries
  select1dArrayIndex:SelectIndexFrom1dEnumArraySeries extractFromStruct:ExtractEnumFromStructSeries
  eventAggregation:EventsEnumSeries enumAggregation:EnumAggregation selectEnum:SelectSeries
  filterByTag:EnumTagFilterSeries selectTags:EnumSelectTagsSeries scalarUdf:ScalarUdfSeries
  toStartOfInterval:EnumToStartOfIntervalSeries
EnumResampleInterpolationConfiguration = forwardFillResampleInterpolationConfiguration:{}
  constantResampleInterpolationConfiguration:EnumConstantResampleInterpolationConfiguration
EventsEnumValueSource = property:StringConstant level:{}
StructSeries = channel:ChannelSeries raw:Reference derived:DerivedSeries combine:CombineStructSeries
  selectStruct:SelectSeries extractFromStruct:ExtractStructFromStructSeries
  toStartOfInterval:StructToStartOfIntervalSeries timeShift:StructTimeShiftSeries
  filterByTag:StructTagFilterSeries selectTags:StructSelectTagsSeries
LogSeries = raw:Reference channel:ChannelSeries derived:DerivedSeries selectLogs:SelectSeries
  union:LogUnionSeries filter:LogFilterSeries timeShift:LogTimeShiftSeries
  toStartOfInterval:LogToStartOfIntervalSeries filterByTag:LogTagFilterSeries
  selectTags:LogSelectTagsSeries
LogFilterOperator = regexFilter:LogRegexFilterOperator
  exactMatchCaseInsensitiveFilter:LogExactMatchCaseInsensitiveFilter arg:LogArgFilterOperator
  and:list<LogFilterOperator> or:list<LogFilterOperator> not:LogFilterOperator
ArraySeries = numeric1d:Numeric1dArraySeries enum1d:Enum1dArraySeries
Numeric1dArraySeries = channel:ChannelSeries raw:Reference derived:DerivedSeries
  selectNumeric1dArray:SelectSeries extractFromStruct:ExtractNumeric1dArrayFromStructSeries
  toStartOfInterval:Numeric1dArrayToStartOfIntervalSeries timeShift:Numeric1dArrayTimeShiftSeries
  filterByTag:Numeric1dArrayTagFilterSeries selectTags:Numeric1dArraySelectTagsSeries
Enum1dArraySeries = channel:ChannelSeries raw:Reference derived:DerivedSeries
  selectEnum1dArray:SelectSeries extractFromStruct:ExtractEnum1dArrayFromStructSeries
  toStartOfInterval:Enum1dArrayToStartOfIntervalSeries timeShift:Enum1dArrayTimeShiftSeries
  filterByTag:Enum1dArrayTagFilterSeries selectTags:Enum1dArraySelectTagsSeries
Dataset = asset:Asset run:Run saved:SavedDataset search:SearchDataset combine:CombinedDataset
  tag:TaggedDataset filter:FilteredDataset timeShift:TimeShiftedDataset
  alignByAnchor:AnchorAlignedDataset withSeries:WithSeriesDataset reference:DatasetReference
DatasetAnchor = run:IntervalAnchor
IntervalAnchor = intervalStart:{} intervalEnd:{}
SearchTarget = assets:AssetsSearchTarget runs:RunsSearchTarget
ResourceSearchQuery = properties:PropertiesFilter labels:LabelsFilter workspace:StringConstant
  and:list<ResourceSearchQuery> or:list<ResourceSearchQuery> not:ResourceSearchQuery
ChannelSeries = dataSource:DataSourceChannel asset:AssetChannel run:RunChannel
TagFilters = single:TagFilter and:list<TagFilters>
TagPredicate = in:TagIn notIn:TagNotIn and:TagAnd
ComputeEventQuery = searchText:StringConstant after:TimestampConstant before:TimestampConstant
  advancedTimeFilter:EventTimeFilter asset:StringConstant template:StringConstant
  workbook:StringConstant dataReview:StringConstant originType:SearchEventOriginType
  dataReviewCheck:StringConstant dispositionStatus:EventDispositionStatus priority:StringConstant
  assignee:StringConstant eventType:EventType createdBy:StringConstant label:StringConstant
  property:Property and:list<ComputeEventQuery> or:list<ComputeEventQuery> not:ComputeEventQuery
  workspace:StringConstant procedure:StringConstant procedureExecution:StringConstant
  stepId:StringConstant
)";
const char kEnums[] = R"(
TimeUnit = DAYS HOURS MINUTES SECONDS MILLISECONDS MICROSECONDS NANOSECONDS
NumericDataType = INT64 FLOAT64 UINT64
NumericUnionOperation = MIN MAX MEAN SUM COUNT STANDARD_DEVIATION ROOT_MEAN_SQUARE THROW
UnaryArithmeticOperation = COS SIN TAN ABS ASIN ACOS LOG LN SQRT
BinaryArithmeticOperation = ATAN2
NumericAggregationFunction = SUM MEAN MIN MAX COUNT STANDARD_DEVIATION ROOT_MEAN_SQUARE
RefpropProperty = TEMPERATURE PRESSURE MASS_DENSITY MASS_SPECIFIC_ENTHALPY
  MASS_SPECIFIC_INTERNAL_ENERGY MASS_SPECIFIC_ENTROPY VISCOSITY
RefpropSubstance = NITROGEN OXYGEN HELIUM HYDROGEN METHANE PROPANE BUTANE WATER XENON AIR
  CARBON_DIOXIDE ARGON CARBON_MONOXIDE
ThresholdOperator = GREATER_THAN GREATER_THAN_OR_EQUAL_TO LESS_THAN LESS_THAN_OR_EQUAL_TO EQUAL_TO
  NOT_EQUAL_TO
ApproximateThresholdOperator = EQUAL_TO NOT_EQUAL_TO
RangePaddingConfiguration = PAD_START PAD_END PAD_START_AND_END
UnboundedBehavior = INFINITY WINDOW_BOUND
MinMaxThresholdOperator = OUTSIDE_BOUNDS OUTSIDE_OR_EQUAL_TO_BOUNDS INSIDE_BOUNDS
  INSIDE_OR_EQUAL_TO_BOUNDS
PeakType = PEAK TROUGH BOTH
EqualityOperator = ALL_EQUAL NOT_ALL_EQUAL
EnumFilterOperator = IS_IN IS_NOT_IN
EnumAggregationFunction = MIN MAX
EnumUnionOperation = THROW MAX MIN
LogUnionOperation = KEEP_ALL
LabelsFilterOperator = AND OR
TagFilterOperator = IN NOT_IN
EventType = INFO FLAG ERROR SUCCESS
EventDispositionStatus = PENDING_REVIEW CLOSED_IGNORED CLOSED_REQUIRES_FURTHER_ACTION NO_DISPOSITION
SearchEventOriginType = WORKBOOK TEMPLATE API DATA_REVIEW PROCEDURE
EventTimeFilterCondition = START_TIME_BEFORE_INCLUSIVE START_TIME_BEFORE_EXCLUSIVE
  START_TIME_AFTER_INCLUSIVE START_TIME_AFTER_EXCLUSIVE END_TIME_BEFORE_INCLUSIVE
  END_TIME_BEFORE_EXCLUSIVE END_TIME_AFTER_INCLUSIVE END_TIME_AFTER_EXCLUSIVE
)";

using Parts = std::vector<std::pair<std::string, std::string>>;  // name:type, or a value alone
using Rows = std::vector<std::pair<std::string, Parts>>;         // per type name

Rows rows_of(const char* table) {
  std::istringstream lines(table);
  std::vector<std::string> texts;
  for (std::string line; std::getline(lines, line);)
    if (!line.empty()) line[0] == ' ' ? texts.back() += line : texts.emplace_back(line);
  Rows out;
  for (const std::string& text : texts) {
    std::istringstream words(text);
    std::vector<std::string> names;
    std::string word;
    while (words >> word && word != "=") names.push_back(word);
    Parts parts;
    while (words >> word) {
      const size_t colon = word.find(':');
      parts.emplace_back(word.substr(0, colon), colon == word.npos ? "" : word.substr(colon + 1));
    }
    for (const std::string& name : names) out.emplace_back(name, parts);
  }
  return out;
}

const ModelType* declared(const std::string& name) {
  for (const ModelType* type : declared_types())
    if (type->name == name) return type;
  return nullptr;
}

const char* table_of(TypeKind kind) {
  return kind == TypeKind::Record  ? "kRecords"
         : kind == TypeKind::Union ? "kUnions"
         : kind == TypeKind::Enum  ? "kEnums"
                                   : "no table";
}

// The declared type a row names, or a failure saying why the row does not fit one.
testing::AssertionResult declared_as(const std::string& name, TypeKind kind,
                                     const ModelType*& type) {
  type = declared(name);
  if (!type) return testing::AssertionFailure() << "no type " << name << " is declared";
  if (type->kind != kind)
    return testing::AssertionFailure() << name << " is declared for " << table_of(type->kind)
                                       << ", but its row is in " << table_of(kind);
  return testing::AssertionSuccess();
}

std::string joined(const std::vector<std::string>& names) {
  std::string out;
  for (const std::string& name : names) out += (out.empty() ? "" : " ") + name;
  return out;
}

// Where the names of a declaration's parts and of its row differ: each name that one has and
// the other lacks, or else their two orders. Empty when they agree.
std::string disagreement(const std::string& what, const std::vector<std::string>& declaration,
                         const Parts& row) {
  std::vector<std::string> listed;
  for (const auto& part : row) listed.push_back(part.first);
  auto lacks = [](const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) == names.end();
  };
  std::string out;
  for (const std::string& name : declaration)
    if (lacks(listed, name)) out += what + " " + name + ": declared, not in the row\n";
  for (const std::string& name : listed)
    if (lacks(declaration, name)) out += what + " " + name + ": in the row, not declared\n";
  if (out.empty() && declaration != listed)
    out = what + "s in another order: declared " + joined(declaration) + ", the row " +
          joined(listed) + "\n";
  return out;
}

// The part names a declaration writes: from pre-rendered `"key":`, `{"type":"name","name":`
// and `"VALUE"`.
std::vector<std::string> keys_of(const TypeDesc& desc) {
  std::vector<std::string> out;
  for (uint32_t i = 0; i < desc.field_count; ++i) {
    std::string_view key = desc.fields[i].key;
    out.emplace_back(key.substr(1, key.size() - 3));
  }
  return out;
}
std::vector<std::string> variants_of(const TypeDesc& desc) {
  std::vector<std::string> out;
  for (uint32_t i = 0; i < desc.variant_count; ++i) {
    std::string_view prefix = desc.variants[i].prefix.substr(std::size(R"({"type":")") - 1);
    out.emplace_back(prefix.substr(0, prefix.find('"')));
  }
  return out;
}
std::vector<std::string> values_of(const EnumDesc& desc) {
  std::vector<std::string> out;
  for (uint32_t i = 0; i < desc.count; ++i)
    out.emplace_back(desc.values[i].substr(1, desc.values[i].size() - 2));
  return out;
}

// How a field of the given type is written: `!` always, `?` when present, `*` when not empty,
// `~` when present even if empty.
char presence(const std::string& type) {
  auto collection = [](const std::string& t) {
    return t.starts_with("list<") || t.starts_with("set<") || t.starts_with("map<");
  };
  if (type.starts_with("optional<")) return collection(type.substr(9)) ? '~' : '?';
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
std::string object(const Parts& fields, F value) {
  std::string out;
  for (size_t i = 0; i < fields.size(); ++i) {
    std::string v = value(i, presence(fields[i].second));
    if (!v.empty()) out += (out.empty() ? "\"" : ",\"") + fields[i].first + "\":" + v;
  }
  return "{" + out + "}";
}
std::string numbered(const Parts& fields) {
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

TEST(ModelDeclarations, TheTablesCoverTheRegistryOnce) {
  std::map<std::string, std::vector<std::string>> rows;  // per type name, the tables listing it
  for (auto [table, label] : {std::pair{kRecords, "kRecords"}, std::pair{kUnions, "kUnions"},
                              std::pair{kEnums, "kEnums"}})
    for (const auto& row : rows_of(table)) rows[row.first].push_back(label);
  std::string problems;
  for (const ModelType* type : declared_types()) {
    const std::string name(type->name);
    auto listed = rows.extract(name);
    const std::vector<std::string> found = listed ? listed.mapped() : std::vector<std::string>{};
    if (found != std::vector<std::string>{table_of(type->kind)})
      problems += name + ": declared for " + table_of(type->kind) + ", " +
                  (found.empty() ? "but without a row" : "rows in " + joined(found)) + "\n";
  }
  for (const auto& [name, tables] : rows)
    problems += name + ": a row in " + joined(tables) + ", but no type of that name is declared\n";
  EXPECT_TRUE(problems.empty()) << problems;
}

// Each row runs on its own, so that one faulty row does not hide the next. A row whose names
// disagree with the declaration fails before any node is built from it.
TEST(ModelDeclarations, RecordsWriteTheirTypedFieldsInOrderByPresence) {
  // Each row by name: a lambda cannot capture a structured binding before clang 16.
  for (const auto& row : rows_of(kRecords))
    [&, &name = row.first, &fields = row.second] {
      SCOPED_TRACE("the row of " + name);
      const ModelType* type;
      ASSERT_TRUE(declared_as(name, TypeKind::Record, type));
      const TypeDesc* desc = type->node;
      const std::string problems = disagreement("field", keys_of(*desc), fields);
      ASSERT_TRUE(problems.empty()) << problems;
      const auto types = type->part_types();
      for (size_t i = 0; i < fields.size(); ++i) {
        EXPECT_EQ(desc->fields[i].key, "\"" + fields[i].first + "\":");
        EXPECT_EQ(type_text(*types[i]), fields[i].second) << fields[i].first;
      }
      EXPECT_EQ(to_json(record(desc, numbers(fields.size()))), numbered(fields));
      // Left unset, a required field is refused rather than written as null, and any other
      // field is left out; as empty lists, only collections vanish.
      const Value unset = record(desc, std::vector<Value>(fields.size()));
      if (std::any_of(fields.begin(), fields.end(),
                      [](const auto& f) { return presence(f.second) == '!'; }))
        EXPECT_THROW(to_json(unset), std::logic_error);
      else
        EXPECT_EQ(to_json(unset), "{}");
      EXPECT_EQ(to_json(record(desc, std::vector<Value>(fields.size(), list({})))),
                object(fields, [](size_t, char p) { return p == '*' ? "" : "[]"; }));
    }();
}

TEST(ModelDeclarations, UnionsNameTheirVariantsInOrderWithTheirPayloads) {
  const Rows record_rows = rows_of(kRecords);
  const std::map<std::string, Parts> records(record_rows.begin(), record_rows.end());
  for (const auto& row : rows_of(kUnions))
    [&, &name = row.first, &variants = row.second] {
      SCOPED_TRACE("the row of " + name);
      const ModelType* type;
      ASSERT_TRUE(declared_as(name, TypeKind::Union, type));
      const TypeDesc* desc = type->node;
      const std::string problems = disagreement("variant", variants_of(*desc), variants);
      ASSERT_TRUE(problems.empty()) << problems;
      const auto payloads = type->part_types();
      EXPECT_EQ(to_json(make_unknown(*desc, "later", Any(1))), wire("later", "1"));
      for (uint16_t i = 0; i < variants.size(); ++i)
        [&] {
          const auto& [variant, payload] = variants[i];
          SCOPED_TRACE("variant " + variant);
          const TypeDesc* inline_record = desc->variants[i].record;
          if (payload == "{}") {
            ASSERT_EQ(payloads[i]->kind, TypeKind::Record);
            ASSERT_TRUE(inline_record && inline_record->field_count == 0);
            EXPECT_EQ(to_json(union_from_record(*desc, i, record(inline_record, {}))),
                      wire(variant, "{}"));
            return;
          }
          EXPECT_EQ(type_text(*payloads[i]), payload);
          if (auto it = records.find(payload); it != records.end()) {
            const ModelType* record_type;
            ASSERT_TRUE(declared_as(payload, TypeKind::Record, record_type));
            ASSERT_EQ(inline_record, record_type->node) << "the payload is held inline";
            // Built to its declaration's size: a stale row of the record fails here, by its
            // text, and by name in the records' test.
            EXPECT_EQ(to_json(union_from_record(
                          *desc, i, record(inline_record, numbers(inline_record->field_count)))),
                      wire(variant, numbered(it->second)));
          } else {
            ASSERT_EQ(inline_record, nullptr)
                << payload << " is held inline as a record, but has no row in kRecords";
            EXPECT_EQ(to_json(make_union(*desc, i, Value::i32(7))), wire(variant, "7"));
          }
        }();
    }();
}

TEST(ModelDeclarations, EnumerationsWriteTheirValuesInOrder) {
  for (const auto& row : rows_of(kEnums))
    [&, &name = row.first, &values = row.second] {
      SCOPED_TRACE("the row of " + name);
      const ModelType* type;
      ASSERT_TRUE(declared_as(name, TypeKind::Enum, type));
      const EnumDesc* desc = type->enumeration;
      const std::string problems = disagreement("value", values_of(*desc), values);
      ASSERT_TRUE(problems.empty()) << problems;
      for (uint32_t i = 0; i < values.size(); ++i)
        EXPECT_EQ(to_json(Value::enumeration(desc, i)), "\"" + values[i].first + "\"");
    }();
}

}  // namespace
}  // namespace qc::model
