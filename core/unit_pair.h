// A unit-dependent constant: one value for feet, one for millimetres, picked by MeasFeet.
#pragma once

template <typename T> struct UnitPair {
    T feet;
    T mm;
    constexpr T operator()(bool measFeet) const { return measFeet ? feet : mm; }
};
