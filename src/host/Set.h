// TSet<E>: a set of values of an enumeration, as a bit mask.
//
// Bit n stands for the value whose ordinal is n; ordinals must lie in 0..63.
// As a published property a set is stored in form files as a JSON array of
// value names (the enumeration needs `TEnumNames`, see host/EnumNames.h).
#pragma once

#include <cassert>
#include <cstdint>
#include <initializer_list>
#include <type_traits>

namespace qx {

template <class E>
requires std::is_enum_v<E>
class TSet {
 public:
  static constexpr int MaxOrdinal = 63;

  constexpr TSet() noexcept = default;
  constexpr TSet(std::initializer_list<E> values) noexcept {
    for (E value : values) Include(value);
  }

  // The set whose bit n is set for each ordinal n present.
  static constexpr TSet FromBits(std::uint64_t bits) noexcept {
    TSet set;
    set.FBits = bits;
    return set;
  }
  constexpr std::uint64_t GetBits() const noexcept { return FBits; }

  constexpr bool Contains(E value) const noexcept { return (FBits & Bit(value)) != 0; }
  constexpr bool IsEmpty() const noexcept { return FBits == 0; }
  constexpr TSet& Include(E value) noexcept {
    FBits |= Bit(value);
    return *this;
  }
  constexpr TSet& Exclude(E value) noexcept {
    FBits &= ~Bit(value);
    return *this;
  }

  // Union, intersection and difference.
  friend constexpr TSet operator|(TSet a, TSet b) noexcept { return FromBits(a.FBits | b.FBits); }
  friend constexpr TSet operator&(TSet a, TSet b) noexcept { return FromBits(a.FBits & b.FBits); }
  friend constexpr TSet operator-(TSet a, TSet b) noexcept { return FromBits(a.FBits & ~b.FBits); }
  friend constexpr bool operator==(TSet, TSet) noexcept = default;

 private:
  static constexpr std::uint64_t Bit(E value) noexcept {
    const auto ordinal = static_cast<std::underlying_type_t<E>>(value);
    assert(static_cast<std::uint64_t>(ordinal) <= MaxOrdinal);  // negatives wrap to large
    return std::uint64_t{1} << ordinal;
  }

  std::uint64_t FBits = 0;
};

}  // namespace qx
