#pragma once

#include <cstdint>
#include <initializer_list>

// A set of the members of a small enumeration (at most 32 members), as the
// components' set-typed properties hold them.
template <typename E>
class EnumSet {
 public:
  constexpr EnumSet() = default;
  constexpr EnumSet(std::initializer_list<E> members) {
    for (E m : members) m_bits |= Bit(m);
  }

  constexpr bool Contains(E m) const { return (m_bits & Bit(m)) != 0; }
  constexpr bool Empty() const { return m_bits == 0; }
  constexpr void Include(E m) { m_bits |= Bit(m); }
  constexpr void Exclude(E m) { m_bits &= ~Bit(m); }
  constexpr uint32_t bits() const { return m_bits; }

  friend constexpr bool operator==(EnumSet a, EnumSet b) { return a.m_bits == b.m_bits; }
  friend constexpr bool operator!=(EnumSet a, EnumSet b) { return a.m_bits != b.m_bits; }

 private:
  static constexpr uint32_t Bit(E m) { return uint32_t{1} << static_cast<unsigned>(m); }
  uint32_t m_bits = 0;
};
