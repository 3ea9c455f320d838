#include "HsbToRgb.h"
#include "Plugin.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace
{
struct HsbCase
{
    int32_t hue;
    double s, v;
    float r, g, b;
};

void ExpectRgb(const std::array<float, 3>& rgb, float r, float g, float b, const std::string& what)
{
    EXPECT_NEAR(rgb[0], r, 1e-6) << what;
    EXPECT_NEAR(rgb[1], g, 1e-6) << what;
    EXPECT_NEAR(rgb[2], b, 1e-6) << what;
}
} // namespace

TEST(HsbToRgb, WorkedValuesAndSectorBoundaries)
{
    const HsbCase cases[] = {
        { 0, 1.0, 1.0, 1, 0, 0 },
        { 30, 1.0, 1.0, 1, 0.5f, 0 },
        { 108, 1.0, 1.0, 0.2f, 1, 0 },
        { 200, 1.0, 1.0, 0, 2.0f / 3.0f, 1 },
        { 300, 1.0, 1.0, 1, 0, 1 },
        { 359, 1.0, 1.0, 1, 0, 1.0f / 60.0f },
        { 360, 1.0, 1.0, 1, 0, 0 },
        { 108, 0.5, 0.8, 0.48f, 0.8f, 0.4f },
        { 0, 0.0, 0.5, 0.5f, 0.5f, 0.5f },
        { 108, 2.0, 2.0, -1.2f, 2, -2 },
        { -30, 1.0, 1.0, 1, 0, -0.5f },
        // Each boundary hue opens the sector that starts there.
        { 60, 1.0, 1.0, 1, 1, 0 },
        { 120, 1.0, 1.0, 0, 1, 0 },
        { 180, 1.0, 1.0, 0, 1, 1 },
        { 240, 1.0, 1.0, 0, 0, 1 },
    };
    for (const auto& c : cases)
    {
        const std::string what = "hue " + std::to_string(c.hue) + " s " + std::to_string(c.s);
        ExpectRgb(HsbToRgb(c.hue, c.s, c.v), c.r, c.g, c.b, what);
        ExpectRgb(Plugin::HsbToRgb(c.hue, c.s, c.v), c.r, c.g, c.b, what + " (Plugin)");
    }
}

TEST(HsbToRgb, ZeroSaturationIsGreyForEveryHue)
{
    for (int32_t hue = -720; hue <= 720; hue += 7)
        ExpectRgb(HsbToRgb(hue, 0.0, 0.7), 0.7f, 0.7f, 0.7f, "hue " + std::to_string(hue));
}

TEST(HsbToRgb, ExtremeInputsGiveThreeValuesWithoutFaults)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const int32_t hues[] = { std::numeric_limits<int32_t>::min(), -1, 299, 300, std::numeric_limits<int32_t>::max() };
    const double values[] = { nan, inf, -inf, 1e300, -1e300, 0.0, 1.0 };

    for (int32_t hue : hues)
    {
        // Finite inputs stay finite however far the hue lies outside the circle.
        for (float component : HsbToRgb(hue, 1.0, 1.0))
            EXPECT_TRUE(std::isfinite(component)) << hue;

        for (double s : values)
            for (double v : values)
                (void)HsbToRgb(hue, s, v); // the sanitizer build checks for undefined behaviour
    }
    EXPECT_TRUE(std::isnan(HsbToRgb(0, nan, 1.0)[0]));
    EXPECT_TRUE(std::isinf(HsbToRgb(0, 0.0, 1e300)[0])); // out of float range narrows to infinity
}
