#pragma once

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>

namespace varnok::test {

inline nlohmann::json ReadJson(const std::filesystem::path& path) {
    std::ifstream in(path);
    return nlohmann::json::parse(in);
}

// Floats are compared with a relative tolerance: the expected file writes the exact value of
// the 32-bit float.
inline void ExpectSameJson(const nlohmann::json& actual, const nlohmann::json& expected,
                           const std::string& where) {
    if (expected.is_number_float() || actual.is_number_float()) {
        ASSERT_TRUE(actual.is_number()) << where;
        const double a = actual.get<double>();
        const double e = expected.get<double>();
        EXPECT_LE(std::fabs(a - e), 1e-5 * std::max(1.0, std::fabs(e))) << where;
        return;
    }
    if (expected.is_array()) {
        ASSERT_TRUE(actual.is_array()) << where;
        ASSERT_EQ(actual.size(), expected.size()) << where;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            ExpectSameJson(actual[i], expected[i], where + "[" + std::to_string(i) + "]");
        }
        return;
    }
    if (expected.is_object()) {
        ASSERT_TRUE(actual.is_object()) << where;
        for (const auto& [key, value] : expected.items()) {
            ASSERT_TRUE(actual.contains(key)) << where << "." << key;
            ExpectSameJson(actual[key], value, where + "." + key);
        }
        return;
    }
    EXPECT_EQ(actual, expected) << where;
}

} // namespace varnok::test
