#pragma once
// The correctly rounded double of a log or cos from libquadmath's 113-bit logq and cosq, for the
// checks of model/ExactMath (tests and bench/exact_math); never used by the product.

#include <cmath>
#include <quadmath.h>

__extension__ typedef __float128 Quad;

struct Rounded {
    double value;    // the double nearest the exact result
    double hardness; // its distance from the nearest midpoint between doubles, in units in the
                     // last place: 0.5 on a double, near 0 where rounding is hard to decide
    bool decided;    // false where 113 bits cannot tell the side of the midpoint
};

inline Rounded RoundedOf(Quad exact) {
    const double value = static_cast<double>(exact);
    const Quad near = value;
    const double other = std::nextafter(value, exact > near ? INFINITY : -INFINITY);
    const Quad step = fabsq(Quad(other) - near);
    const double hardness =
        exact == near ? 0.5 : static_cast<double>(fabsq(exact - (near + Quad(other)) / 2) / step);
    // logq and cosq are within a unit or two of 2^-112 of the value: at most 2^-58 of a double's
    // unit in the last place.
    return {value, hardness, hardness > 0x1p-56};
}

inline Rounded LogRounded(double x) {
    return RoundedOf(logq(x));
}

inline Rounded CosRounded(double x) {
    return RoundedOf(cosq(x));
}

// The error of an unevaluated sum hi + lo against the 113-bit value, relative to the value.
inline double RelativeError(double hi, double lo, Quad exact) {
    const Quad error = fabsq((Quad(hi) + Quad(lo)) - exact);
    if (exact == 0)
        return error == 0 ? 0.0 : INFINITY;
    return static_cast<double>(error / fabsq(exact));
}
