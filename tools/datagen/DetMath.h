#pragma once

namespace varnok::datagen {

// Logarithm, exponential and sine built from additions, multiplications and divisions only.
// The system libraries may differ in the last bit of log, exp and sin, and one bit can move a
// generated value across a rounding boundary; these give the same result wherever IEEE double
// arithmetic is used without contraction into fused multiply-adds. Accurate to a few units in
// the last place, which is all the generator needs.

inline constexpr double kPi = 3.14159265358979323846;

// Natural logarithm of x > 0. Throws std::domain_error for x <= 0 or a value that is not finite.
double Ln(double x);

// e^x for |x| <= 700; throws std::domain_error beyond.
double Exp(double x);

// Sine and cosine of an angle in radians, |x| <= 1e6; throws std::domain_error beyond.
double Sine(double x);
double Cosine(double x);

} // namespace varnok::datagen
