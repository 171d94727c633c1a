#include "DetMath.h"

#include <cmath>
#include <stdexcept>

namespace varnok::datagen {
namespace {

// ln 2 split so that k x kLn2High is exact for |k| < 2^20 (its low bits are zero).
constexpr double kLn2High = 6.93147180369123816490e-01;
constexpr double kLn2Low = 1.90821492927058770002e-10;
constexpr double kSqrtHalf = 0.70710678118654752440;
constexpr double kTwoPi = 2.0 * kPi;

} // namespace

double Ln(double x) {
    if (!(x > 0.0) || !std::isfinite(x)) {
        throw std::domain_error("Ln: argument must be positive and finite");
    }
    // x = m 2^e with m in [sqrt(1/2), sqrt(2)); frexp and ldexp are exact.
    int e = 0;
    double m = std::frexp(x, &e);
    if (m < kSqrtHalf) {
        m *= 2.0;
        --e;
    }
    // ln m = 2 atanh(s) with s = (m - 1) / (m + 1), |s| < 0.172: the odd series converges by a
    // factor of 34 per term, so 12 terms reach full precision.
    const double s = (m - 1.0) / (m + 1.0);
    const double s2 = s * s;
    double term = s;
    double sum = 0.0;
    for (int k = 1; k <= 23; k += 2) {
        sum += term / k;
        term *= s2;
    }
    return (2.0 * sum + e * kLn2Low) + e * kLn2High;
}

double Exp(double x) {
    if (!(x >= -700.0 && x <= 700.0)) {
        throw std::domain_error("Exp: argument outside -700 to 700");
    }
    // x = k ln 2 + r with |r| <= ln2 / 2; e^r by its Taylor series, then scaled exactly.
    const double k = std::floor(x / (kLn2High + kLn2Low) + 0.5);
    const double r = (x - k * kLn2High) - k * kLn2Low;
    double term = 1.0;
    double sum = 1.0;
    for (int n = 1; n <= 20; ++n) {
        term *= r / n;
        sum += term;
    }
    return std::ldexp(sum, static_cast<int>(k));
}

double Sine(double x) {
    if (!(std::fabs(x) <= 1e6)) {
        throw std::domain_error("Sine: argument outside -1e6 to 1e6");
    }
    // Reduce to [-pi, pi], then fold to [-pi/2, pi/2] where the series converges fast.
    double r = x - kTwoPi * std::floor(x / kTwoPi + 0.5);
    if (r > kPi / 2.0) {
        r = kPi - r;
    } else if (r < -kPi / 2.0) {
        r = -kPi - r;
    }
    const double r2 = r * r;
    double term = r;
    double sum = r;
    for (int n = 1; n <= 12; ++n) {
        term *= -r2 / ((2.0 * n) * (2.0 * n + 1.0));
        sum += term;
    }
    return sum;
}

double Cosine(double x) {
    return Sine(x + kPi / 2.0);
}

} // namespace varnok::datagen
