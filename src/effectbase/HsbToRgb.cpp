#include "HsbToRgb.h"

#include <cmath>

inline namespace ZM_BUILD_NAMESPACE
{

std::array<float, 3> HsbToRgb(int32_t hue, double saturation, double brightness)
{
    const double chroma = saturation * brightness;
    const double d = std::fmod(static_cast<double>(hue) / 60.0, 2.0);
    const double x = chroma * (1.0 - std::fabs(d - 1.0));
    const double m = brightness - chroma;

    double r = chroma, g = 0.0, b = x; // the last sector: below 0, or 300 and above

    if (hue >= 0 && hue < 60)
    {
        r = chroma;
        g = x;
        b = 0.0;
    }
    else if (hue >= 60 && hue < 120)
    {
        r = x;
        g = chroma;
        b = 0.0;
    }
    else if (hue >= 120 && hue < 180)
    {
        r = 0.0;
        g = chroma;
        b = x;
    }
    else if (hue >= 180 && hue < 240)
    {
        r = 0.0;
        g = x;
        b = chroma;
    }
    else if (hue >= 240 && hue < 300)
    {
        r = x;
        g = 0.0;
        b = chroma;
    }

    // Narrowing a double outside float range gives an infinity in IEEE arithmetic, and NaN stays NaN.
    return { static_cast<float>(r + m), static_cast<float>(g + m), static_cast<float>(b + m) };
}

} // namespace ZM_BUILD_NAMESPACE
