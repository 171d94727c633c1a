#pragma once

#include "Parameters.h"

#include <cstdint>
#include <span>

namespace varnok::datagen {

// The generator's own random numbers: a splitmix64 stream and transforms written out here,
// so that the same seed gives the same trees with every compiler and standard library (the
// standard distributions are free to differ between libraries).
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}

    // The splitmix64 finaliser: spreads a seed so that nearby seeds give unrelated streams.
    static std::uint64_t Mix(std::uint64_t value);

    std::uint64_t Next();

    // Uniform on [0, 1), from the top 53 bits.
    double Uniform();
    double Uniform(double low, double high);
    double Uniform(const Range& range) { return Uniform(range.Low, range.High); }
    // Uniform whole number in [low, high]; low <= high.
    int UniformInt(int low, int high);
    bool Chance(double probability);

    // Standard normal by the Box-Muller transform (one value per two uniforms).
    double Normal();
    double Normal(double mean, double sd) { return mean + sd * Normal(); }
    // Redraws until the value lies in [Low, High]; after 100 misses it is clipped there.
    double Truncated(const TruncatedNormal& distribution);
    // e^(mu + sigma Z).
    double LogNormal(double mu, double sigma);
    // Poisson count by multiplying uniforms (fine for the small means used here); 0 for a
    // mean of 0 or less. Throws std::domain_error for a mean above 500.
    int Poisson(double mean);

    // Index of an entry chosen with probability proportional to its weight.
    std::size_t Pick(std::span<const double> weights);
    template <std::size_t N> const char* PickCode(const std::array<CodeWeight, N>& codes) {
        std::array<double, N> weights{};
        for (std::size_t i = 0; i < N; ++i) {
            weights[i] = codes[i].Weight;
        }
        return codes[Pick(weights)].Code;
    }

private:
    std::uint64_t state_;
};

} // namespace varnok::datagen
