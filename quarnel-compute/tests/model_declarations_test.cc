// Every model type's declaration against its wire definition: the keys of each record in wire
// order with their presence, the variants of each union in declaration order with their payload
// records, and the values of each enumeration. Each type is checked through its descriptor
// alone, by writing nodes made from it, so one row is all a type needs.
#include <gtest/gtest.h>

#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "quarnel/compute/model/aggregate_nodes_unions.h"
#include "quarnel/compute/model/aggregation_unions.h"
#include "quarnel/compute/model/arithmetic.h"
#include "quarnel/compute/model/array_series_unions.h"
#include "quarnel/compute/model/bits_unions.h"
#include "quarnel/compute/model/boolean_unions.h"
#include "quarnel/compute/model/calculus_unions.h"
#include "quarnel/compute/model/categorical_ranges.h"
#include "quarnel/compute/model/categorical_unions.h"
#include "quarnel/compute/model/constants.h"
#include "quarnel/compute/model/context_unions.h"
#include "quarnel/compute/model/curve_fit_unions.h"
#include "quarnel/compute/model/dataset_unions.h"
#include "quarnel/compute/model/durations_unions.h"
#include "quarnel/compute/model/event_query_unions.h"
#include "quarnel/compute/model/interpolation_unions.h"
#include "quarnel/compute/model/log_series_unions.h"
#include "quarnel/compute/model/numeric_series_unions.h"
#include "quarnel/compute/model/range_detection_unions.h"
#include "quarnel/compute/model/ranges_unions.h"
#include "quarnel/compute/model/reference.h"
#include "quarnel/compute/model/resample_unions.h"
#include "quarnel/compute/model/selection_unions.h"
#include "quarnel/compute/model/series_unions.h"
#include "quarnel/compute/model/signal_filter_unions.h"
#include "quarnel/compute/model/struct_series_unions.h"
#include "quarnel/compute/model/tag_by_intervals_unions.h"
#include "quarnel/compute/model/units.h"
#include "quarnel/compute/model/value_filter.h"
#include "quarnel/compute/model/value_map.h"

namespace qc::model {
namespace {

// Keys in wire order, each marked `!` required, `?` optional (an optional collection too) or
// `*` collection.
struct RecordRow { const TypeDesc* desc; const char* fields; };
// Variants in declaration order: `name:Record` for a record payload, `name{}` for the empty
// payload, a bare name for any other payload (a union, a scalar, a list).
struct UnionRow { const TypeDesc* desc; const char* variants; };
struct EnumRow { const EnumDesc* desc; const char* values; };

#define R(T, fields) RecordRow{&T::desc, fields}
#define U(T, variants) UnionRow{&T::desc, variants}
#define E(T, values) EnumRow{&T::desc, values}

const RecordRow kRecords[] = {
    R(api::Timestamp, "seconds! nanos!"), R(run::api::RunDuration, "seconds! nanos!"),
    R(DurationNanoseconds, "nanoseconds!"), R(DurationMilliseconds, "milliseconds!"), R(DurationSeconds, "seconds!"),
    R(DurationMinutes, "minutes!"), R(DurationHours, "hours!"), R(DurationDays, "days!"),
    R(DurationAdd, "left! right!"), R(DurationSubtract, "left! right!"), R(DurationNegate, "input!"),
    R(Reference, "name!"), R(ForwardFillInterpolation, "interpolationRadius!"), R(Abs, "x!"), R(Negate, "x!"),
    R(Cos, "x!"), R(Sin, "x!"), R(Tan, "x!"), R(Acos, "x!"), R(Asin, "x!"), R(Ln, "x!"), R(Log10, "x!"), R(Sqrt, "x!"),
    R(Add, "left! right!"), R(Subtract, "left! right!"), R(Multiply, "left! right!"), R(Divide, "left! right!"),
    R(FloorDivide, "left! right!"), R(Modulo, "left! right!"), R(Power, "base! exponent!"), R(Atan2, "y! x!"),
    R(MaxSeries, "inputs* interpolationConfiguration?"), R(MeanSeries, "inputs* interpolationConfiguration?"),
    R(MinSeries, "inputs* interpolationConfiguration?"), R(SumSeries, "inputs* interpolationConfiguration?"),
    R(ProductSeries, "inputs* interpolationConfiguration?"), R(NumericUnionSeries, "input* operation?"),
    R(NumericIfElseSeries, "condition! trueValue! falseValue!"), R(OffsetSeries, "input! scalar!"),
    R(ScaleSeries, "input! scalar! scalarUnit?"), R(UnitConversionSeries, "input! outputUnit!"),
    R(ArithmeticSeries, "inputs* expression! interpolationConfiguration?"),
    R(UnaryArithmeticSeries, "input! operation!"),
    R(BinaryArithmeticSeries, "input1! input2! operation! interpolationConfiguration?"), R(BitAnd, "input! operand!"),
    R(BitOr, "input! operand!"), R(BitXor, "input! operand!"), R(BitShiftRight, "input! operand!"),
    R(BitShiftLeft, "input! operand!"), R(BitTest, "input! index!"), R(BitOperationSeries, "input! function!"),
    R(BitAndFunction, "operand!"), R(BitOrFunction, "operand!"), R(BitXorFunction, "operand!"),
    R(BitShiftRightFunction, "operand!"), R(BitShiftLeftFunction, "operand!"), R(BitTestFunction, "index!"),
    R(GreaterThanSeries, "left! right!"), R(LessThanSeries, "left! right!"), R(EqualToSeries, "left! right!"),
    R(NotEqualToSeries, "left! right!"), R(GreaterThanOrEqualToSeries, "left! right!"),
    R(LessThanOrEqualToSeries, "left! right!"), R(AndSeries, "left! right!"), R(OrSeries, "left! right!"),
    R(ComputeNodeWithContext, "seriesNode! context!"),
    R(Context, "variables* functionVariables? datasetReferences* defaultFillStrategy? defaultAlignmentStrategy? "
      "applyDataScopeOffsets?"),
    R(FunctionVariables, "variables* subFunctionVariables*"),
    R(FunctionDerivedSeries, "moduleName! functionName! versionReference! functionArgs*"),
    R(PinnedModuleVersionReference, "version!"), R(SeriesVariable, "select! groupByTags*"), R(ForwardFill, "limit!"),
    R(RollingTimeAggregationBuilder, "input! window!"), R(RollingPointsAggregationBuilder, "input! points!"),
    R(GroupByAggregationBuilder, "input! tags! timestamp!"), R(GroupBySubsetTags, "tags*"),
    R(NumericAggregation, "input! operator!"), R(Percentile, "percentile!"), R(NumericAggregationUdf, "source!"),
    R(EnumAggregationUdf, "source!"), R(RustUdfSource, "sourceCode!"),
    R(AggregateNumericSeries, "input! function! groupByTags* aggregateByAllGroupings? interpolationConfiguration?"),
    R(RollingOperationSeries, "input! window! operator!"),
    R(ZscoreSeries, "input! groupByTags* interpolationConfiguration?"),
    R(AggregateUnderRangesSeries, "input! ranges! operation!"), R(NumericFilterTransformationSeries, "input! filter!"),
    R(ScalarUdfSeries, "inputs* source!"),
    R(RefpropSeries, "inputs* outputProperty! substance! interpolationConfiguration?"),
    R(CumulativeSumSeries, "input! startTimestamp!"),
    R(DerivativeSeries, "input! timeUnit? negativeValuesConfiguration?"),
    R(IntegralSeries, "input! startTimestamp! timeUnit?"),
    R(ValueDifferenceSeries, "input! negativeValuesConfiguration?"), R(TimeDifferenceSeries, "input! timeUnit?"),
    R(AbsoluteTimestampSeries, "input! timeUnit!"), R(CurveFit, "curveFitPlotType! curveFitDetails! curveFitOptions!"),
    R(TimeSeriesCurveFit, "series! options!"), R(TimeSeriesFitOptions, "timeUnit?"),
    R(ScatterCurveFit, "scatter! options!"), R(Scatter, "x! y!"), R(ScatterFitOptions, "minX? maxX? minY? maxY?"),
    R(PolynomialCurve, "degree! intercept?"), R(CurveFitOptions, "startTime! endTime!"),
    R(CurveFitV2, "target! fitRange! curveToFit!"), R(CurveFitRange, "startTime! endTime!"),
    R(CurveFitSeriesVariable, "series! boundsConfig?"), R(CurveFitBoundsConfiguration, "min? max?"),
    R(CurveFitTimeVariable, "timeUnit?"), R(BuiltInCurveFit, "independentVariable!"),
    R(PolynomialCurveFit, "independentVariable! degree! intercept?"),
    R(CustomCurveFit, "formula! variables* parameters*"),
    R(SignalFilterSeries, "input! signalFilterConfiguration! order! samplingFrequency?"),
    R(LowPassConfiguration, "cutoffFrequency!"), R(HighPassConfiguration, "cutoffFrequency!"),
    R(BandPassConfiguration, "lowPassbandFrequency! highPassbandFrequency!"),
    R(BandStopConfiguration, "lowStopbandFrequency! highStopbandFrequency!"),
    R(NumericThresholdFilterSeries, "input! threshold! operator!"),
    R(NumericApproximateFilterSeries, "input! threshold! tolerance! operator!"),
    R(NumericTimeRangeFilterSeries, "input! startTime? endTime?"), R(NumericNanFilter, "input!"),
    R(FilterByExpressionSeries, "base! inputs* expression! interpolationConfiguration?"),
    R(NumericResampleSeries, "input! resampleConfiguration!"), R(NumericNthPointDownsampleSeries, "input! n!"),
    R(NumericLargestTriangleThreeBucketsSeries, "input! maxPointsToReturn!"),
    R(SelectNewestPointsSeries, "input! numPoints!"), R(SelectOldestPointsSeries, "input! numPoints!"),
    R(NumericTimeShiftSeries, "input! duration!"), R(NumericTimeShiftSeriesV2, "input! duration!"),
    R(NumericToStartOfIntervalSeries, "input! window!"), R(NumericResampleConfiguration, "interval! interpolation?"),
    R(NumericConstantResampleInterpolationConfiguration, "constant!"), R(EveryNthPerSeriesSampling, "n!"),
    R(HashSubsampleSampling, "n!"), R(TagByIntervalsSeries, "input! intervals! timeShift?"),
    R(EventIntervalSource, "query! tagBy*"), R(RangeIntervalSource, "ranges! tagBy*"),
    R(EventPropertyTag, "propertyName!"), R(EventLabelTag, "label!"), R(EventTimeShift, "query!"),
    R(IntersectRanges, "inputs*"), R(UnionRanges, "inputs*"), R(NotRanges, "input!"),
    R(LiteralRanges, "literalRanges*"), R(LiteralRange, "startTimestamp? endTimestamp? tags?"),
    R(PaddedRanges, "input! padding! paddingConfiguration?"),
    R(DurationFilterRanges, "input! threshold! operator! unboundedBehavior?"), R(OnChangeRanges, "input!"),
    R(EventsSearchRanges, "query!"),
    R(ThresholdingRanges, "input! threshold! operator! persistenceWindowConfiguration?"),
    R(ApproximateThresholdRanges, "input! threshold! tolerance! operator! persistenceWindowConfiguration?"),
    R(MinMaxThresholdRanges, "input! lowerBound! upperBound! operator! persistenceWindowConfiguration?"),
    R(PersistenceWindowConfiguration, "minPoints? minDuration? outputRangeStart!"),
    R(PeakRanges, "input! returnsPeaks? returnType? minimumProminence?"),
    R(StabilityDetectionRanges, "input! windowConfiguration! threshold!"),
    R(StabilityWindowConfiguration, "minPoints? duration!"), R(AbsoluteThreshold, "value!"),
    R(PercentageThreshold, "value!"), R(StaleRanges, "input! threshold! startTimestamp? endTimestamp?"),
    R(SeriesCrossoverRanges, "inputA! inputB!"),
    R(SeriesEqualityRanges, "input* equalityOperator! tolerance? persistenceWindowConfiguration? "
      "interpolationConfiguration?"),
    R(RangesNumericAggregation, "ranges! input! operation!"),
    R(EnumFilterRanges, "input! operator! values! persistenceWindowConfiguration?"),
    R(EnumSeriesEqualityRanges, "input* equalityOperator! persistenceWindowConfiguration? interpolationConfiguration?"),
    R(AggregateEnumSeries, "input! function!"), R(EnumResampleSeries, "input! resampleConfiguration!"),
    R(EnumResampleConfiguration, "interval! interpolation?"),
    R(EnumConstantResampleInterpolationConfiguration, "constant!"), R(EnumNthPointDownsampleSeries, "input! n!"),
    R(EnumTimeRangeFilterSeries, "input! startTime? endTime?"), R(EnumTimeShiftSeries, "input! duration!"),
    R(EnumUnionSeries, "input* operation!"), R(EnumFilterTransformationSeries, "input! filter!"),
    R(SelectIndexFrom1dEnumArraySeries, "input! index!"), R(EventsEnumSeries, "query! valueSource!"),
    R(EnumAggregation, "input! operator!"), R(EnumTagFilterSeries, "input! predicate!"),
    R(EnumSelectTagsSeries, "input! tagKeys*"), R(EnumToStartOfIntervalSeries, "input! window!"),
    R(ValueMapSeries, "input! mapping* default?"), R(RangeMap, "start? end? output!"),
    R(EnumToNumericSeries, "input! mapping* defaultValue?"), R(EnumCountDuplicateSeries, "inputs*"),
    R(CombineStructSeries, "inputs* interpolationConfiguration?"),
    R(ExtractStructFromStructSeries, "input! fieldPath*"), R(ExtractEnumFromStructSeries, "input! fieldPath*"),
    R(ExtractEnum1dArrayFromStructSeries, "input! fieldPath*"),
    R(ExtractNumeric1dArrayFromStructSeries, "input! fieldPath*"),
    R(ExtractNumericFromStructSeries, "input! fieldPath* dataType?"),
    R(StructToStartOfIntervalSeries, "input! window!"), R(StructTimeShiftSeries, "input! duration!"),
    R(StructTagFilterSeries, "input! predicate!"), R(StructSelectTagsSeries, "input! tagKeys*"),
    R(LogUnionSeries, "input* operation!"), R(LogFilterSeries, "input! operator!"), R(LogRegexFilterOperator, "regex!"),
    R(LogExactMatchCaseInsensitiveFilter, "token!"), R(LogArgFilterOperator, "key! operator!"),
    R(LogTimeShiftSeries, "input! duration!"), R(LogToStartOfIntervalSeries, "input! window!"),
    R(LogTagFilterSeries, "input! predicate!"), R(LogSelectTagsSeries, "input! tagKeys*"),
    R(Numeric1dArrayToStartOfIntervalSeries, "input! window!"), R(Enum1dArrayToStartOfIntervalSeries, "input! window!"),
    R(Numeric1dArrayTimeShiftSeries, "input! duration!"), R(Enum1dArrayTimeShiftSeries, "input! duration!"),
    R(Numeric1dArrayTagFilterSeries, "input! predicate!"), R(Enum1dArrayTagFilterSeries, "input! predicate!"),
    R(Numeric1dArraySelectTagsSeries, "input! tagKeys*"), R(Enum1dArraySelectTagsSeries, "input! tagKeys*"),
    R(SelectIndexFrom1dNumericArraySeries, "input! index!"), R(Asset, "rid!"), R(Run, "rid!"), R(SavedDataset, "rid!"),
    R(DatasetReference, "name!"), R(CombinedDataset, "inputs*"), R(TaggedDataset, "input! key! value!"),
    R(FilteredDataset, "input! predicate!"), R(TimeShiftedDataset, "input! offset!"),
    R(AnchorAlignedDataset, "input! anchor!"), R(WithSeriesDataset, "input! series*"),
    R(NamedSeries, "name! definition!"), R(SearchDataset, "target! maxResults?"), R(AssetsSearchTarget, "query!"),
    R(RunsSearchTarget, "query!"), R(rids::api::PropertiesFilter, "name! values*"),
    R(rids::api::LabelsFilter, "operator! labels*"), R(SelectSeries, "name! dataset? sampling?"),
    R(DataSourceChannel, "dataSourceRid! channel! tags* tagFilters? tagsToGroupBy* groupByTags*"),
    R(AssetChannel, "assetRid! dataScopeName! channel! additionalTags* additionalTagFilters? tagsToGroupBy* "
      "groupByTags*"),
    R(RunChannel, "runRid! assetRid? dataScopeName! channel! additionalTags* additionalTagFilters? tagsToGroupBy* "
      "groupByTags*"),
    R(TagFilter, "key! values* operator!"), R(TagIn, "key! values!"), R(TagNotIn, "key! values!"),
    R(TagAnd, "left! right!"), R(NumericTagFilterSeries, "input! predicate!"),
    R(NumericSelectTagsSeries, "input! tagKeys*"), R(rids::api::EventTimeFilter, "timestamp! timestampCondition!"),
    R(rids::api::Property, "name! value!"),
};

// The literals of TimestampConstant and DurationConstant are records held as a value, like
// every other constant's literal, so they name no record here.
const UnionRow kUnions[] = {
    U(DoubleConstant, "literal variable"), U(IntegerConstant, "literal variable"),
    U(StringConstant, "literal variable"), U(StringSetConstant, "literal variable"),
    U(StringSetConstantV2, "literal variable"), U(TimestampConstant, "literal variable"),
    U(DurationConstant, "literal variable"), U(ConstantNumericSeries, "double"),
    U(NumericSeries, "abs:Abs negate:Negate cos:Cos sin:Sin tan:Tan acos:Acos asin:Asin ln:Ln log10:Log10 sqrt:Sqrt "
      "add:Add subtract:Subtract multiply:Multiply divide:Divide floorDivide:FloorDivide power:Power modulo:Modulo "
      "atan2:Atan2 max:MaxSeries mean:MeanSeries min:MinSeries sum:SumSeries union:NumericUnionSeries "
      "product:ProductSeries constant selectNewestPoints:SelectNewestPointsSeries selectNumeric:SelectSeries "
      "selectOldestPoints:SelectOldestPointsSeries bitAnd:BitAnd bitOr:BitOr bitXor:BitXor "
      "bitShiftRight:BitShiftRight bitShiftLeft:BitShiftLeft bitTest:BitTest ifElse:NumericIfElseSeries "
      "numericAggregation:NumericAggregation countDuplicate:EnumCountDuplicateSeries "
      "cumulativeSum:CumulativeSumSeries derivative:DerivativeSeries integral:IntegralSeries zScore:ZscoreSeries "
      "raw:Reference derived resample:NumericResampleSeries nthPointDownsample:NumericNthPointDownsampleSeries "
      "largestTriangleThreeBuckets:NumericLargestTriangleThreeBucketsSeries signalFilter:SignalFilterSeries "
      "timeDifference:TimeDifferenceSeries absoluteTimestamp:AbsoluteTimestampSeries "
      "timeRangeFilter:NumericTimeRangeFilterSeries timeShift:NumericTimeShiftSeries "
      "timeShiftV2:NumericTimeShiftSeriesV2 unitConversion:UnitConversionSeries "
      "valueDifference:ValueDifferenceSeries filterTransformation:NumericFilterTransformationSeries "
      "thresholdFilter:NumericThresholdFilterSeries approximateFilter:NumericApproximateFilterSeries "
      "dropNan:NumericNanFilter select1dArrayIndex:SelectIndexFrom1dNumericArraySeries "
      "aggregateUnderRanges:AggregateUnderRangesSeries filterByExpression:FilterByExpressionSeries "
      "scalarUdf:ScalarUdfSeries enumToNumeric:EnumToNumericSeries refprop:RefpropSeries "
      "extractFromStruct:ExtractNumericFromStructSeries tagByIntervals:TagByIntervalsSeries "
      "filterByTag:NumericTagFilterSeries selectTags:NumericSelectTagsSeries "
      "toStartOfInterval:NumericToStartOfIntervalSeries aggregate:AggregateNumericSeries "
      "rollingOperation:RollingOperationSeries bitOperation:BitOperationSeries channel offset:OffsetSeries "
      "scale:ScaleSeries arithmetic:ArithmeticSeries unaryArithmetic:UnaryArithmeticSeries "
      "binaryArithmetic:BinaryArithmeticSeries"),
    U(Duration, "reference:Reference nanoseconds:DurationNanoseconds milliseconds:DurationMilliseconds "
      "seconds:DurationSeconds minutes:DurationMinutes hours:DurationHours days:DurationDays add:DurationAdd "
      "subtract:DurationSubtract negate:DurationNegate"),
    U(InterpolationConfiguration, "forwardFillInterpolation:ForwardFillInterpolation"),
    U(BitOperationFunction, "and:BitAndFunction or:BitOrFunction xor:BitXorFunction shiftRight:BitShiftRightFunction "
      "shiftLeft:BitShiftLeftFunction bitTest:BitTestFunction"),
    U(BooleanSeries, "greaterThan:GreaterThanSeries lessThan:LessThanSeries equalTo:EqualToSeries "
      "notEqualTo:NotEqualToSeries greaterThanOrEqualTo:GreaterThanOrEqualToSeries "
      "lessThanOrEqualTo:LessThanOrEqualToSeries and:AndSeries or:OrSeries"),
    U(Series, "raw:Reference enum numeric log array struct video:Reference"),
    U(ComputeNode, "enum numeric log ranges array struct curveFit:CurveFit curveV2:CurveFitV2 video:Reference "
      "raw:Reference"),
    U(VariableValue, "double computeNode:ComputeNodeWithContext duration:RunDuration integer channel derived "
      "series:SeriesVariable string stringSet timestamp:Timestamp"),
    U(FunctionParameterValue, "variable value"), U(DerivedSeries, "function:FunctionDerivedSeries"),
    U(ModuleVersionReference, "pinned:PinnedModuleVersionReference"), U(Alignment, "driverSeries{} union{}"),
    U(FillStrategy, "forwardFill:ForwardFill"), U(FillLimit, "duration"),
    U(AggregationBuilder, "rollingTime:RollingTimeAggregationBuilder rollingPoints:RollingPointsAggregationBuilder "
      "groupBy:GroupByAggregationBuilder"),
    U(GroupByTags, "current{} subset:GroupBySubsetTags"), U(GroupByTimestamp, "current{} every"),
    U(NumericAggregationOperator, "sum{} average{} min{} max{} count{} standardDeviation{} rootMeanSquare{} "
      "percentile:Percentile udf:NumericAggregationUdf"),
    U(EnumAggregationOperator, "min{} max{} udf:EnumAggregationUdf"), U(UdfSource, "rust:RustUdfSource"),
    U(Window, "duration"),
    U(NegativeValueConfiguration, "allowNegativeValues{} setNegativeValuesToZero{} excludeNegativeValues{}"),
    U(CurveFitPlotType, "timeSeries:TimeSeriesCurveFit scatter:ScatterCurveFit"),
    U(CurveFitDetails, "exponential{} logarithmic{} polynomial:PolynomialCurve power{}"),
    U(CurveFitTarget, "numeric:CurveFitSeriesVariable"),
    U(CurveFitV2Details, "exponential:BuiltInCurveFit logarithmic:BuiltInCurveFit polynomial:PolynomialCurveFit "
      "power:BuiltInCurveFit custom:CustomCurveFit"),
    U(CurveFitVariable, "numeric:CurveFitSeriesVariable time:CurveFitTimeVariable"),
    U(SignalFilterConfiguration, "lowPass:LowPassConfiguration highPass:HighPassConfiguration "
      "bandPass:BandPassConfiguration bandStop:BandStopConfiguration"),
    U(NumericResampleInterpolationConfiguration, "forwardFillResampleInterpolationConfiguration{} "
      "constantResampleInterpolationConfiguration:NumericConstantResampleInterpolationConfiguration"),
    U(Sampling, "everyNthPerSeries:EveryNthPerSeriesSampling hashSubsample:HashSubsampleSampling"),
    U(IntervalSource, "events:EventIntervalSource ranges:RangeIntervalSource"),
    U(RangeTagSource, "intervalIndex{} rangeStartTimestamp{}"),
    U(EventTagSource, "intervalIndex{} level{} property:EventPropertyTag label:EventLabelTag rangeStartTimestamp{}"),
    U(TagByIntervalsTimeShift, "intervalStart{} intervalEnd{} eventTimeShift:EventTimeShift"),
    U(RangeSeries, "approximateThreshold:ApproximateThresholdRanges durationFilter:DurationFilterRanges "
      "enumFilter:EnumFilterRanges enumSeriesEqualityRangesNode:EnumSeriesEqualityRanges "
      "eventsSearch:EventsSearchRanges intersectRange:IntersectRanges literalRanges:LiteralRanges "
      "minMaxThreshold:MinMaxThresholdRanges not:NotRanges onChange:OnChangeRanges peak:PeakRanges "
      "rangeNumericAggregation:RangesNumericAggregation raw:Reference derived "
      "seriesCrossoverRangesNode:SeriesCrossoverRanges seriesEqualityRangesNode:SeriesEqualityRanges "
      "stabilityDetection:StabilityDetectionRanges staleRange:StaleRanges threshold:ThresholdingRanges "
      "unionRange:UnionRanges paddedRanges:PaddedRanges"),
    U(OutputRangeStart, "firstPointMatchingCondition{} afterPersistenceWindow{}"),
    U(Threshold, "absolute:AbsoluteThreshold percentage:PercentageThreshold"),
    U(RangeAggregationOperation, "sum{} rootMeanSquare{} average{} min{} max{} standardDeviation{} count{} all{}"),
    U(EnumSeries, "aggregate:AggregateEnumSeries raw:Reference channel derived resample:EnumResampleSeries "
      "nthPointDownsample:EnumNthPointDownsampleSeries timeRangeFilter:EnumTimeRangeFilterSeries "
      "timeShift:EnumTimeShiftSeries union:EnumUnionSeries filterTransformation:EnumFilterTransformationSeries "
      "valueMap:ValueMapSeries select1dArrayIndex:SelectIndexFrom1dEnumArraySeries "
      "extractFromStruct:ExtractEnumFromStructSeries eventAggregation:EventsEnumSeries "
      "enumAggregation:EnumAggregation selectEnum:SelectSeries filterByTag:EnumTagFilterSeries "
      "selectTags:EnumSelectTagsSeries scalarUdf:ScalarUdfSeries toStartOfInterval:EnumToStartOfIntervalSeries"),
    U(EnumResampleInterpolationConfiguration, "forwardFillResampleInterpolationConfiguration{} "
      "constantResampleInterpolationConfiguration:EnumConstantResampleInterpolationConfiguration"),
    U(EventsEnumValueSource, "property level{}"),
    U(StructSeries, "channel raw:Reference derived combine:CombineStructSeries selectStruct:SelectSeries "
      "extractFromStruct:ExtractStructFromStructSeries toStartOfInterval:StructToStartOfIntervalSeries "
      "timeShift:StructTimeShiftSeries filterByTag:StructTagFilterSeries selectTags:StructSelectTagsSeries"),
    U(LogSeries, "raw:Reference channel derived selectLogs:SelectSeries union:LogUnionSeries filter:LogFilterSeries "
      "timeShift:LogTimeShiftSeries toStartOfInterval:LogToStartOfIntervalSeries filterByTag:LogTagFilterSeries "
      "selectTags:LogSelectTagsSeries"),
    U(LogFilterOperator, "regexFilter:LogRegexFilterOperator "
      "exactMatchCaseInsensitiveFilter:LogExactMatchCaseInsensitiveFilter arg:LogArgFilterOperator and or not"),
    U(ArraySeries, "numeric1d enum1d"),
    U(Numeric1dArraySeries, "channel raw:Reference derived selectNumeric1dArray:SelectSeries "
      "extractFromStruct:ExtractNumeric1dArrayFromStructSeries "
      "toStartOfInterval:Numeric1dArrayToStartOfIntervalSeries timeShift:Numeric1dArrayTimeShiftSeries "
      "filterByTag:Numeric1dArrayTagFilterSeries selectTags:Numeric1dArraySelectTagsSeries"),
    U(Enum1dArraySeries, "channel raw:Reference derived selectEnum1dArray:SelectSeries "
      "extractFromStruct:ExtractEnum1dArrayFromStructSeries toStartOfInterval:Enum1dArrayToStartOfIntervalSeries "
      "timeShift:Enum1dArrayTimeShiftSeries filterByTag:Enum1dArrayTagFilterSeries "
      "selectTags:Enum1dArraySelectTagsSeries"),
    U(Dataset, "asset:Asset run:Run saved:SavedDataset search:SearchDataset combine:CombinedDataset "
      "tag:TaggedDataset filter:FilteredDataset timeShift:TimeShiftedDataset alignByAnchor:AnchorAlignedDataset "
      "withSeries:WithSeriesDataset reference:DatasetReference"),
    U(DatasetAnchor, "run"), U(IntervalAnchor, "intervalStart{} intervalEnd{}"),
    U(SearchTarget, "assets:AssetsSearchTarget runs:RunsSearchTarget"),
    U(ResourceSearchQuery, "properties:PropertiesFilter labels:LabelsFilter workspace and or not"),
    U(ChannelSeries, "dataSource:DataSourceChannel asset:AssetChannel run:RunChannel"),
    U(TagFilters, "single:TagFilter and"), U(TagPredicate, "in:TagIn notIn:TagNotIn and:TagAnd"),
    U(rids::api::ComputeEventQuery, "searchText after before advancedTimeFilter:EventTimeFilter asset template "
      "workbook dataReview originType dataReviewCheck dispositionStatus priority assignee eventType createdBy label "
      "property:Property and or not workspace procedure procedureExecution stepId"),
};

const EnumRow kEnums[] = {
    E(api::TimeUnit, "DAYS HOURS MINUTES SECONDS MILLISECONDS MICROSECONDS NANOSECONDS"),
    E(objects::NumericDataType, "INT64 FLOAT64 UINT64"),
    E(NumericUnionOperation, "MIN MAX MEAN SUM COUNT STANDARD_DEVIATION ROOT_MEAN_SQUARE THROW"),
    E(UnaryArithmeticOperation, "COS SIN TAN ABS ASIN ACOS LOG LN SQRT"), E(BinaryArithmeticOperation, "ATAN2"),
    E(NumericAggregationFunction, "SUM MEAN MIN MAX COUNT STANDARD_DEVIATION ROOT_MEAN_SQUARE"),
    E(RefpropProperty, "TEMPERATURE PRESSURE MASS_DENSITY MASS_SPECIFIC_ENTHALPY MASS_SPECIFIC_INTERNAL_ENERGY "
      "MASS_SPECIFIC_ENTROPY VISCOSITY"),
    E(RefpropSubstance, "NITROGEN OXYGEN HELIUM HYDROGEN METHANE PROPANE BUTANE WATER XENON AIR CARBON_DIOXIDE ARGON "
      "CARBON_MONOXIDE"),
    E(ThresholdOperator, "GREATER_THAN GREATER_THAN_OR_EQUAL_TO LESS_THAN LESS_THAN_OR_EQUAL_TO EQUAL_TO NOT_EQUAL_TO"),
    E(ApproximateThresholdOperator, "EQUAL_TO NOT_EQUAL_TO"),
    E(RangePaddingConfiguration, "PAD_START PAD_END PAD_START_AND_END"), E(UnboundedBehavior, "INFINITY WINDOW_BOUND"),
    E(MinMaxThresholdOperator, "OUTSIDE_BOUNDS OUTSIDE_OR_EQUAL_TO_BOUNDS INSIDE_BOUNDS INSIDE_OR_EQUAL_TO_BOUNDS"),
    E(PeakType, "PEAK TROUGH BOTH"), E(EqualityOperator, "ALL_EQUAL NOT_ALL_EQUAL"),
    E(EnumFilterOperator, "IS_IN IS_NOT_IN"), E(EnumAggregationFunction, "MIN MAX"),
    E(EnumUnionOperation, "THROW MAX MIN"), E(LogUnionOperation, "KEEP_ALL"), E(LabelsFilterOperator, "AND OR"),
    E(TagFilterOperator, "IN NOT_IN"), E(rids::api::EventType, "INFO FLAG ERROR SUCCESS"),
    E(rids::api::EventDispositionStatus, "PENDING_REVIEW CLOSED_IGNORED CLOSED_REQUIRES_FURTHER_ACTION NO_DISPOSITION"),
    E(rids::api::SearchEventOriginType, "WORKBOOK TEMPLATE API DATA_REVIEW PROCEDURE"),
    E(rids::api::EventTimeFilterCondition, "START_TIME_BEFORE_INCLUSIVE START_TIME_BEFORE_EXCLUSIVE "
      "START_TIME_AFTER_INCLUSIVE START_TIME_AFTER_EXCLUSIVE END_TIME_BEFORE_INCLUSIVE END_TIME_BEFORE_EXCLUSIVE "
      "END_TIME_AFTER_INCLUSIVE END_TIME_AFTER_EXCLUSIVE"),
};

std::vector<std::string> words(const char* text) {
  std::istringstream in(text);
  return {std::istream_iterator<std::string>(in), {}};
}

// A node of `desc` holding `slots`, built slot by slot as make_record and make_union build one.
Value node(const TypeDesc* desc, uint16_t variant, const std::vector<Value>& slots) {
  Value out;
  Value* s = new_node(desc, variant, uint32_t(slots.size()), out);
  for (const Value& v : slots) new (s++) Value(v);
  return out;
}

// The object a record writes when field i holds value(i, marker) as JSON text, "" leaving it out.
template <class F>
std::string object(const std::vector<std::string>& fields, F value) {
  std::string out;
  for (size_t i = 0; i < fields.size(); ++i) {
    std::string v = value(i, fields[i].back());
    if (!v.empty()) out += (out.empty() ? "\"" : ",\"") + fields[i].substr(0, fields[i].size() - 1) + "\":" + v;
  }
  return "{" + out + "}";
}
std::string numbered(const std::vector<std::string>& fields) {
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

// Each row runs on its own, so that one faulty row does not hide the next.
TEST(ModelDeclarations, RecordsWriteTheirKeysInOrderByPresence) {
  for (const RecordRow& row : kRecords) [&] {
    SCOPED_TRACE(row.desc->name);
    const std::vector<std::string> fields = words(row.fields);
    ASSERT_EQ(row.desc->kind, Kind::Record);
    ASSERT_EQ(row.desc->field_count, fields.size());
    for (const std::string& f : fields) ASSERT_NE(std::string_view("!?*").find(f.back()), std::string_view::npos);
    EXPECT_EQ(to_json(node(row.desc, 0, numbers(fields.size()))), numbered(fields));
    // Left unset, only the required fields appear; as empty lists, only collections vanish.
    EXPECT_EQ(to_json(node(row.desc, 0, std::vector<Value>(fields.size()))),
              object(fields, [](size_t, char m) { return m == '!' ? "null" : ""; }));
    EXPECT_EQ(to_json(node(row.desc, 0, std::vector<Value>(fields.size(), list({})))),
              object(fields, [](size_t, char m) { return m == '*' ? "" : "[]"; }));
  }();
}

TEST(ModelDeclarations, UnionsNameTheirVariantsInOrderWithTheirPayloads) {
  std::map<std::string_view, const RecordRow*> records;
  for (const RecordRow& row : kRecords) EXPECT_TRUE(records.emplace(row.desc->name, &row).second) << row.desc->name;
  for (const UnionRow& row : kUnions) [&] {
    SCOPED_TRACE(row.desc->name);
    const std::vector<std::string> variants = words(row.variants);
    ASSERT_EQ(row.desc->kind, Kind::Union);
    ASSERT_EQ(row.desc->variant_count, variants.size());
    EXPECT_EQ(to_json(make_unknown(*row.desc, "later", Any(1))), wire("later", "1"));
    for (uint16_t i = 0; i < variants.size(); ++i) [&] {
      const std::string& token = variants[i];
      const size_t colon = token.find(':');
      const bool empty = token.ends_with("{}");
      const std::string name = token.substr(0, empty ? token.size() - 2 : colon);
      SCOPED_TRACE(name);
      const TypeDesc* record = row.desc->variants[i].record;
      const std::string_view held = record ? record->name : "no record";
      if (colon != std::string::npos) {
        auto it = records.find(std::string_view(token).substr(colon + 1));
        ASSERT_NE(it, records.end()) << "no record row";
        ASSERT_EQ(record, it->second->desc) << held;
        const std::vector<std::string> fields = words(it->second->fields);
        EXPECT_EQ(to_json(node(row.desc, i, numbers(fields.size()))), wire(name, numbered(fields)));
      } else if (empty) {
        ASSERT_TRUE(record && record->field_count == 0) << held;
        EXPECT_EQ(to_json(node(row.desc, i, {})), wire(name, "{}"));
      } else {
        ASSERT_EQ(record, nullptr) << held;
        EXPECT_EQ(to_json(node(row.desc, i, {Value::i32(7)})), wire(name, "7"));
      }
    }();
  }();
}

TEST(ModelDeclarations, EnumerationsWriteTheirValuesInOrder) {
  for (const EnumRow& row : kEnums) [&] {
    SCOPED_TRACE(row.desc->name);
    const std::vector<std::string> values = words(row.values);
    ASSERT_EQ(row.desc->count, values.size());
    for (uint32_t i = 0; i < values.size(); ++i)
      EXPECT_EQ(to_json(Value::enumeration(row.desc, i)), "\"" + values[i] + "\"");
  }();
}

}  // namespace
}  // namespace qc::model
