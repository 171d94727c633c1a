#include "Random.h"

#include "DetMath.h"

#include <cmath>
#include <stdexcept>

namespace varnok::datagen {

std::uint64_t Random::Mix(std::uint64_t value) {
    value = (value ^ (value >> 30U)) * 0xBF58476D1CE4E5B9ULL;
    value = (value ^ (value >> 27U)) * 0x94D049BB133111EBULL;
    return value ^ (value >> 31U);
}

std::uint64_t Random::Next() {
    state_ += 0x9E3779B97F4A7C15ULL;
    return Mix(state_);
}

double Random::Uniform() {
    return static_cast<double>(Next() >> 11U) * 0x1.0p-53;
}

double Random::Uniform(double low, double high) {
    return low + (high - low) * Uniform();
}

int Random::UniformInt(int low, int high) {
    const auto span = static_cast<std::uint64_t>(static_cast<std::int64_t>(high) - low + 1);
    // The bias of a remainder of a 64-bit number by at most a few hundred is below 1e-16.
    return static_cast<int>(low + static_cast<std::int64_t>(Next() % span));
}

bool Random::Chance(double probability) {
    return Uniform() < probability;
}

double Random::Normal() {
    const double u1 = 1.0 - Uniform(); // (0, 1]: the logarithm stays finite
    const double u2 = Uniform();
    return std::sqrt(-2.0 * Ln(u1)) * Cosine(2.0 * kPi * u2);
}

double Random::Truncated(const TruncatedNormal& d) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const double value = Normal(d.Mean, d.Sd);
        if (value >= d.Low && value <= d.High) {
            return value;
        }
    }
    return std::fmin(std::fmax(d.Mean, d.Low), d.High);
}

double Random::LogNormal(double mu, double sigma) {
    return Exp(mu + sigma * Normal());
}

int Random::Poisson(double mean) {
    if (mean <= 0.0) {
        return 0;
    }
    if (mean > 500.0) {
        throw std::domain_error("Poisson: mean above 500");
    }
    const double limit = Exp(-mean);
    int count = 0;
    double product = Uniform();
    while (product > limit) {
        ++count;
        product *= Uniform();
    }
    return count;
}

std::size_t Random::Pick(std::span<const double> weights) {
    double total = 0.0;
    for (const double w : weights) {
        total += w;
    }
    double target = Uniform() * total;
    for (std::size_t i = 0; i < weights.size(); ++i) {
        if (target < weights[i]) {
            return i;
        }
        target -= weights[i];
    }
    return weights.empty() ? 0 : weights.size() - 1;
}

} // namespace varnok::datagen
