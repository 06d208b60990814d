// The writer reads no child past its node. Each node here ends where a page that cannot be read
// begins, so that a read of one slot too many (an item fetched ahead past a list's end, the
// payload of a union held in place or the leaf of a folded chain beyond their node) stops the
// test at once, in any build; by each way through a tree: a root of a type written by type, and
// the same node as an item of a list, which the walk with a stack writes.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "quarnel/compute/builders.h"
#include "quarnel/compute/model/arithmetic.h"
#include "quarnel/compute/model/numeric_series_unions.h"
#include "quarnel/compute/model/series_unions.h"
#include "to_json.h"

namespace qc::model {
namespace {

// A node of `slots` whose last one ends at an unreadable page. It is never freed through its
// values (its count is pinned); its slots are released with it.
class GuardedNode {
 public:
  GuardedNode(const TypeDesc& desc, uint16_t variant, std::vector<Value> slots)
      : page_(size_t(sysconf(_SC_PAGESIZE))) {
    size_t bytes = sizeof(Heap) + slots.size() * sizeof(Value);
    span_ = (bytes + page_ - 1) / page_ * page_;
    void* base =
        mmap(nullptr, span_ + page_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (base == MAP_FAILED) throw std::bad_alloc();
    base_ = static_cast<char*>(base);
    if (mprotect(base_ + span_, page_, PROT_NONE) != 0) throw std::bad_alloc();
    auto* h = reinterpret_cast<Heap*>(base_ + span_ - bytes);
    new (&h->refs) std::atomic<uint32_t>(kPinnedRefs);
    h->count = uint32_t(slots.size());
    slots_ = reinterpret_cast<Value*>(h + 1);
    for (size_t i = 0; i < slots.size(); ++i) new (slots_ + i) Value(std::move(slots[i]));
    auto offset = reinterpret_cast<uintptr_t>(&desc) - reinterpret_cast<uintptr_t>(&kListDesc);
    node_ = Value::adopt_node(h, int32_t(offset), variant);
  }
  GuardedNode(const GuardedNode&) = delete;
  GuardedNode& operator=(const GuardedNode&) = delete;
  ~GuardedNode() {
    for (uint32_t i = 0; i < node_.size(); ++i) slots_[i].~Value();
    node_ = Value();
    munmap(base_, span_ + page_);
  }
  const Value& value() const { return node_; }

 private:
  size_t page_, span_ = 0;
  char* base_ = nullptr;
  Value* slots_ = nullptr;
  Value node_;
};

template <class T>
Handle<T> as(Value v) {
  return {unchecked, std::move(v)};
}
Handle<NumericSeries> raw(const std::string& name) { return NumericSeries::raw({.name = name}); }
std::string raw_json(const std::string& name) {
  return R"({"type":"raw","raw":{"name":")" + name + R"("}})";
}
// The text of a list of `items`.
std::string listed(const std::vector<std::string>& items) {
  std::string out = "[";
  for (const std::string& item : items) out += (out.size() > 1 ? "," : "") + item;
  return out + "]";
}

// Lists and maps of every size around how far ahead their children are fetched, in a field
// written by type and as the root that the walk writes.
TEST(WriterReads, CollectionsOfEverySizeAroundTheFetchAhead) {
  for (uint32_t n = 0; n <= 20; ++n) {
    std::vector<Value> items, entries;
    std::vector<std::string> texts;
    std::string map_json = "{";
    for (uint32_t i = 0; i < n; ++i) {
      std::string name = "v" + std::to_string(100 + i);
      items.push_back(raw(name).value());
      texts.push_back(raw_json(name));
      entries.push_back(Value::str(name));
      entries.push_back(raw(name).value());
      map_json += (i ? ",\"" : "\"") + name + "\":" + raw_json(name);
    }
    map_json += "}";
    GuardedNode list(kListDesc, 0, items), map(kMapDesc, 0, entries);
    EXPECT_EQ(to_json(list.value()), listed(texts)) << n;
    EXPECT_EQ(to_json(map.value()), map_json) << n;
    const Value max = NumericSeries::max({.inputs = as<List<NumericSeries>>(list.value())}).value();
    const std::string inputs = n ? R"({"inputs":)" + listed(texts) + "}" : "{}";
    EXPECT_EQ(to_json(max), R"({"type":"max","max":)" + inputs + "}") << n;
    const Value arithmetic =
        NumericSeries::arithmetic(
            {.inputs = as<Map<LocalVariableName, NumericSeries>>(map.value()), .expression = "e"})
            .value();
    const std::string fields =
        n ? R"({"inputs":)" + map_json + R"(,"expression":"e"})" : R"({"expression":"e"})";
    EXPECT_EQ(to_json(arithmetic), R"({"type":"arithmetic","arithmetic":)" + fields + "}") << n;
  }
}

// A union node whose slots name a payload held in place after them, which its node does not
// hold: a union held in place, or the first level of a folded chain, taken out of its node, and a
// folded chain one level short of its leaf; or a union held in place of a variant its type does
// not have (one past the last, and the unknown variant's index). Each is refused, by type and by
// the walk, without reading past the node.
TEST(WriterReads, PayloadsHeldInPlacePastTheirNodeAreRefused) {
  const Value series = Series::numeric(raw("a")).value();
  const Value number = builders::numeric_series_number(2.0).value();
  ASSERT_EQ(series[0].tag(), Tag::InPlaceUnion);
  ASSERT_EQ(number[0].tag(), Tag::InPlaceUnion);
  ASSERT_NE(number[0].in_place_chain(), nullptr);
  ASSERT_EQ(number.size(), 3u);
  const uint16_t numeric = uint16_t(Series::Variant::numeric);
  const uint16_t constant = uint16_t(NumericSeries::Variant::constant);
  const GuardedNode held(Series::qc_desc_, numeric, {series[0]});
  const GuardedNode chained(NumericSeries::qc_desc_, constant, {number[0]});
  const GuardedNode short_chain(NumericSeries::qc_desc_, constant, {number[0], number[1]});
  const GuardedNode past_last(
      Series::qc_desc_, numeric,
      {Value::in_place(&NumericSeries::qc_desc_, uint16_t(NumericSeries::qc_desc_.variant_count)),
       series[1]});
  const GuardedNode unknown(
      Series::qc_desc_, numeric,
      {Value::in_place(&NumericSeries::qc_desc_, kUnknownVariant), series[1]});
  for (const GuardedNode* node : {&held, &chained, &short_chain, &past_last, &unknown}) {
    EXPECT_THROW(to_json(node->value()), std::logic_error);
    EXPECT_THROW(to_json(list({node->value()})), std::logic_error);
  }
}

}  // namespace
}  // namespace qc::model
