// Fixed tables addressed from 1, as the window numbers its location buttons and result lines.
// There is no element 0; an index outside the declared range throws instead of reading a
// neighbour's memory.
#pragma once

#include <array>
#include <stdexcept>

template <typename T, int Last> class Indexed {
  public:
    static constexpr int first = 1;
    static constexpr int last = Last;

    T& operator()(int i) { return m_items.at(offset(i)); }
    const T& operator()(int i) const { return m_items.at(offset(i)); }

  private:
    static std::size_t offset(int i) {
        if (i < first || i > last)
            throw std::out_of_range("table index out of range");
        return static_cast<std::size_t>(i - first);
    }
    std::array<T, Last> m_items{};
};
