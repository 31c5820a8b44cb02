#pragma once
// TSet: the platform's "set of" type over an enumeration (or a small integer type such as
// char with Size 256). Members whose ordinal is negative or not below Size are never in the
// set; including one is a programming error.
#include <array>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <type_traits>

template <class E, std::size_t Size = 64>
class TSet {
  static_assert(std::is_enum_v<E> || std::is_integral_v<E>,
                "a set is over an enumeration or an integer type");

 public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> Items) {
    for (E Item : Items) Include(Item);
  }

  constexpr bool Contains(E Item) const {
    const std::size_t P = Ordinal(Item);
    return P < Size && ((FBits[P / 64] >> (P % 64)) & 1u) != 0;
  }
  constexpr TSet& Include(E Item) {
    const std::size_t P = Ordinal(Item);
    assert(P < Size);
    if (P < Size) FBits[P / 64] |= std::uint64_t{1} << (P % 64);
    return *this;
  }
  constexpr TSet& Exclude(E Item) {
    const std::size_t P = Ordinal(Item);
    if (P < Size) FBits[P / 64] &= ~(std::uint64_t{1} << (P % 64));
    return *this;
  }
  constexpr bool IsEmpty() const {
    for (std::uint64_t W : FBits)
      if (W != 0) return false;
    return true;
  }
  // True when every member of this set is in Other (the platform's "<=").
  constexpr bool IsSubsetOf(const TSet& Other) const {
    for (std::size_t I = 0; I < Words; ++I)
      if ((FBits[I] & ~Other.FBits[I]) != 0) return false;
    return true;
  }

  // Union, difference and intersection, as the platform's +, - and *.
  constexpr TSet& operator+=(const TSet& Other) {
    for (std::size_t I = 0; I < Words; ++I) FBits[I] |= Other.FBits[I];
    return *this;
  }
  constexpr TSet& operator-=(const TSet& Other) {
    for (std::size_t I = 0; I < Words; ++I) FBits[I] &= ~Other.FBits[I];
    return *this;
  }
  constexpr TSet& operator*=(const TSet& Other) {
    for (std::size_t I = 0; I < Words; ++I) FBits[I] &= Other.FBits[I];
    return *this;
  }
  friend constexpr TSet operator+(TSet A, const TSet& B) { return A += B; }
  friend constexpr TSet operator-(TSet A, const TSet& B) { return A -= B; }
  friend constexpr TSet operator*(TSet A, const TSet& B) { return A *= B; }
  friend constexpr bool operator==(const TSet&, const TSet&) = default;

 private:
  static constexpr std::size_t Words = (Size + 63) / 64;

  static constexpr std::size_t Ordinal(E Item) {
    if constexpr (std::is_enum_v<E>) {
      using U = std::make_unsigned_t<std::underlying_type_t<E>>;
      return static_cast<std::size_t>(static_cast<U>(Item));
    } else {
      using U = std::make_unsigned_t<E>;
      return static_cast<std::size_t>(static_cast<U>(Item));
    }
  }

  std::array<std::uint64_t, Words> FBits{};
};
