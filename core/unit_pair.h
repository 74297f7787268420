// The two measurement systems, and a unit-dependent constant: one value for feet, one for
// millimetres, picked by the system in force.
#pragma once

enum class Units { Feet, Millimetres };

template <typename T> struct UnitPair {
    T feet;
    T mm;
    constexpr T operator()(Units units) const { return units == Units::Feet ? feet : mm; }
};
