#include "EngineFixtures.h"
#include "engine/detail/Scaling.h"
#include "engine/detail/Values.h"

#include <gtest/gtest.h>

namespace varnok {
namespace {

using namespace detail;

using test::TestMarket;

using test::RoundwoodProduct;

LogSegment Log(int sed, int led, int feet, float deduction) {
    LogSegment s;
    s.SED = static_cast<std::uint16_t>(sed);
    s.LED = static_cast<std::uint16_t>(led);
    s.NominalLength = static_cast<std::uint16_t>(feet);
    s.Deduction = deduction;
    return s;
}

TEST(Roundwood, EligibilityLimitsAreInclusive) {
    struct Case {
        int sed, feet;
        float deduction;
        std::array<std::uint8_t, 3> eligible;
    };
    const Case cases[] = {
        {10, 8, 0.3F, {1, 0, 0}},  // soundness 0.5 takes 0.3, 0.25 does not
        {10, 8, 0.25F, {1, 1, 0}}, // equal to the limit
        {8, 8, 0.0F, {1, 1, 0}},   // minimum diameter
        {7, 8, 0.0F, {0, 0, 0}},   {20, 16, 0.0F, {1, 1, 0}}, // maximum diameter and length
        {21, 16, 0.0F, {0, 1, 0}}, {10, 0, 0.0F, {0, 0, 0}},  // no nominal length
    };
    auto market = TestMarket();
    market->Roundwood.Products[0] = RoundwoodProduct("Pulp", 8, 20, 8, 16, 0.5F);
    market->Roundwood.Products[1] = RoundwoodProduct("Bolts", 8, 30, 8, 16, 0.25F);
    market->Roundwood.Products[2] = RoundwoodProduct("", 8, 30, 8, 16, 1.0F); // no product: never
    for (const Case& c : cases) {
        LogSegment s = Log(c.sed, c.sed + 2, c.feet, c.deduction);
        ClassRoundwood(*market, CubicVolume(s), s);
        EXPECT_EQ(s.RoundwoodEligible, c.eligible) << c.sed << " " << c.feet << " " << c.deduction;
    }
}

TEST(Roundwood, BestProductTiesAndZeroPrices) {
    auto market = TestMarket();
    market->Roundwood.Products[0] = RoundwoodProduct("A", 8, 30, 8, 16, 1.0F);
    market->Roundwood.Products[1] = RoundwoodProduct("B", 8, 30, 8, 16, 1.0F);
    market->Roundwood.Products[2] = RoundwoodProduct("C", 8, 30, 8, 16, 1.0F);
    struct Case {
        int a, b, c;
        std::uint8_t product;
    };
    const Case cases[] = {{60, 60, 0, 1}, {60, 80, 80, 2}, {0, 0, 0, kNoGrade}, {0, 0, 5, 3}};
    for (const Case& c : cases) {
        test::SetPrice(*market, 7, c.a);
        test::SetPrice(*market, 8, c.b);
        test::SetPrice(*market, 9, c.c);
        LogSegment s = Log(12, 14, 8, 0.0F);
        s.RoundwoodProduct = kNoGrade;
        ClassRoundwood(*market, CubicVolume(s), s);
        EXPECT_EQ(s.RoundwoodProduct, c.product) << c.a << " " << c.b << " " << c.c;
    }
}

TEST(LogValues, ThresholdsAndFormulas) {
    auto market = TestMarket();
    test::SetPrice(*market, 1, 1200);
    test::SetPrice(*market, 5, 300);
    test::SetPrice(*market, 7, 60); // 30 per cord
    test::SetPrice(*market, 10, 140);
    EXPECT_FLOAT_EQ(VeneerValue(*market, 1, 8, 162), 194.4F);
    EXPECT_EQ(VeneerValue(*market, 1, 8, 29), 0.0F);
    EXPECT_EQ(VeneerValue(*market, kNoGrade, 8, 300), 0.0F);
    EXPECT_FLOAT_EQ(SawlogValue(*market, 2, 8, 30), 9.0F);
    EXPECT_EQ(SawlogValue(*market, 2, 8, 29), 0.0F);
    EXPECT_FLOAT_EQ(RoundwoodValue(*market, 1, 8, 0, 14.0F), 6.0F); // 14 x 60 / 140
    EXPECT_EQ(RoundwoodValue(*market, 1, 8, 20, 0.5F), 0.0F);       // too little of both
    EXPECT_FLOAT_EQ(RoundwoodValue(*market, 1, 8, 20, 1.0F), 60.0F / 140.0F);
    EXPECT_FLOAT_EQ(RoundwoodValue(*market, 1, 8, 30, 0.5F), 30.0F / 140.0F);
    EXPECT_EQ(RoundwoodValue(*market, kNoGrade, 8, 300, 10.0F), 0.0F);
    EXPECT_FLOAT_EQ(CullCharge(*market, 7.0F), 7.0F);
    // The cull row's 8 ft price serves every length.
    market->Prices.Rows[9][16 - 8] = 0;
    EXPECT_FLOAT_EQ(CullCharge(*market, 7.0F), 7.0F);
}

TEST(LogValues, BestWayToSellWithTiesToVeneerThenSawlog) {
    struct Case {
        int veneerPrice, sawlogPrice, roundwoodPrice;
        std::uint8_t product;
    };
    // A clean 16 ft log of SED 20: 256 board feet, veneer grade 1, sawlog grade 1, roundwood 1.
    const Case cases[] = {
        {100, 100, 0, 1},
        {100, 200, 0, 4},
        {0, 0, 0, kCullProduct},
        {0, 0, 140, 7},
        {100, 0, 140 * 256 / 10 / 100, 1}, // roundwood just below veneer
    };
    for (const Case& c : cases) {
        auto market = TestMarket();
        test::SetSawlogGrades(*market, 1, 2, 0.5F, 99);
        test::SetVeneerGrade(*market, 1, test::OpenVeneerGrade(1, 8));
        market->Roundwood.Products[0] = RoundwoodProduct("Pulp", 8, 40, 8, 16, 1.0F);
        test::SetPrice(*market, 1, c.veneerPrice);
        test::SetPrice(*market, 4, c.sawlogPrice);
        test::SetPrice(*market, 7, c.roundwoodPrice);
        auto tree = test::StraightTree(400, 20, 20);
        const EvaluatedLog v = test::Evaluate(*tree, *market, 0, 200);
        EXPECT_EQ(v.NetScale, 256);
        EXPECT_EQ(v.Segment.ProductClass, c.product)
            << c.veneerPrice << " " << c.sawlogPrice << " " << c.roundwoodPrice;
        EXPECT_EQ(v.ProductValue, std::max({v.VeneerValue, v.SawlogValue, v.RoundwoodValue}));
    }
}

} // namespace
} // namespace varnok
