// The compact JSON writer of model values, the joined openings of folded chains it copies, and
// the reading of enumerations from JSON text.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "quarnel/compute/model/handle.h"
#include "quarnel/compute/model/output.h"
#include "quarnel/compute/model/value.h"

namespace qc {

// The longest opening of a union that the writer makes room for at once: its prefix
// `{"type":"name","name":`, then its record's brace and first key `{"key":`. The joined prefixes
// of a folded chain stand in for one opening, and FoldChain keeps them within it.
inline constexpr size_t kMaxOpening = (2 * kMaxWireName + 14) + 1 + (kMaxWireName + 3);

// A folded chain's opening is kept padded with zero bytes to whole pieces of this many bytes,
// which the writer copies whole.
inline constexpr size_t kOpeningPiece = 16;

// One level of a folded chain: union U's variant V, whose payload is the next level (or the leaf).
template <class U, auto V>
struct Level {
  static constexpr UnionLevel value{&U::qc_desc_, uint16_t(V)};
};

// A chain of unions made again and again (a number's constant, say) as one node: its levels,
// outermost first, and their prefixes joined into one constant text, which the writer copies
// at once instead of taking the levels one at a time.
template <class... L>
struct FoldChain {
  static constexpr UnionLevel levels[] = {L::value...};
  static_assert(sizeof...(L) >= 2 && fold_into_one_node(levels),
                "a folded chain is two or three unions whose payloads are not records");
  static constexpr size_t size = (L::value.desc->variants[L::value.variant].prefix.size() + ...);
  static_assert(size <= kMaxOpening, "a folded chain's opening is longer than the writer's room");
  static constexpr auto text = [] {
    std::array<char, (size + kOpeningPiece - 1) / kOpeningPiece * kOpeningPiece> out{};
    size_t n = 0;
    for (const UnionLevel& l : levels)
      for (char c : l.desc->variants[l.variant].prefix) out[n++] = c;
    return out;
  }();
  static constexpr FoldedChain chain{{text.data(), size}, uint32_t(sizeof...(L))};

  // The chain around `leaf`, as folded_unions makes it.
  static Value make(Value&& leaf) { return folded_unions(levels, std::move(leaf), &chain); }
};

// Appends the compact wire form of v to `out`, handing the text to `drain` in pieces as
// output.h bounds them, so that the buffer stays small; what is left at the end stays in
// `out`. When `drain` stops the writing, `out` is cleared (its storage freed) and false is
// returned. Otherwise it fails only by running out of memory, or with std::logic_error on a tree
// that the typed front does not build (a required value absent, a union held in place taken out
// of its node, a map key neither text nor an enumeration value): never by writing bad JSON.
// A writer given `stack` starts with the memory it holds and leaves there the memory it ends
// with.
bool write_json(Buffer& out, const Value& v, Drain drain, WriterStack* stack = nullptr);

// The writer of doubles (exposed for fuzzing).
inline constexpr size_t kDoubleSpace = 32;  // write_double needs this much room
size_t write_double(char* out, double d) noexcept;

// Result of reading an enumeration from JSON text.
struct EnumRead {
  Value value;
  std::string error;  // empty on success
  bool ok() const noexcept { return error.empty(); }
};

// Reads a JSON text as a value of the enumeration: a listed string, an object whose one member
// is a listed name with a null value, or (failing those) any other string as the unknown value.
EnumRead read_enum(const EnumDesc& e, std::string_view json_text);

// An enumeration read from JSON text (see read_enum).
template <class E>
struct EnumReadOf {
  Handle<E> value;
  std::string error;  // empty on success
  bool ok() const noexcept { return error.empty(); }
};
template <class E>
  requires(type_kind<E> == TypeKind::Enum)
EnumReadOf<E> deserialize(std::string_view json_text) {
  EnumRead r = read_enum(E::qc_enum_, json_text);
  return {{unchecked, std::move(r.value)}, std::move(r.error)};
}

}  // namespace qc
