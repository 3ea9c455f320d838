#include "Thumbnail.h"

#include "ThumbnailInfo.h"

#include <algorithm>
#include <cmath>

inline namespace ZM_BUILD_NAMESPACE
{

namespace
{
struct Rgb
{
    float r, g, b;
};

Rgb Mix(Rgb a, Rgb b, float t)
{
    return { a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t };
}

float Clamp01(float v)
{
    return std::min(1.0f, std::max(0.0f, v));
}

// Signed distance from (px, py) to a rounded rectangle centred on the origin.
float RoundedBoxDistance(float px, float py, float halfWidth, float halfHeight, float radius)
{
    const float qx = std::fabs(px) - halfWidth + radius;
    const float qy = std::fabs(py) - halfHeight + radius;
    const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
    const float inside = std::min(std::max(qx, qy), 0.0f);
    return outside + inside - radius;
}

uint32_t Pack(Rgb c)
{
    const auto channel = [](float v) { return static_cast<uint32_t>(std::lround(Clamp01(v / 255.0f) * 255.0f)); };
    return (channel(c.r) << 24) | (channel(c.g) << 16) | (channel(c.b) << 8) | 0xFFu;
}

constexpr float borderWidth = 14.0f;
constexpr float panelRadius = 10.0f;
constexpr Rgb borderLight { 255.0f, 168.0f, 64.0f };
constexpr Rgb borderDeep { 228.0f, 98.0f, 22.0f };
constexpr Rgb navyTop { 12.0f, 20.0f, 48.0f };
constexpr Rgb navyBottom { 22.0f, 34.0f, 78.0f };

// The pictogram: a filled core and two rings offset outward from it, dimming
// with distance the way the effect shades its contours.
constexpr float coreHalfWidth = 20.0f;
constexpr float coreHalfHeight = 10.0f;
constexpr float coreRadius = 6.0f;
constexpr float ringSpacing = 10.0f;
constexpr float ringHalfStroke = 1.6f;
constexpr Rgb contourColours[3] = { { 255.0f, 166.0f, 52.0f }, { 240.0f, 124.0f, 36.0f }, { 200.0f, 90.0f, 30.0f } };

uint32_t thumbnailPixels[thumbnailWidth * thumbnailHeight];
} // namespace

uint32_t ComputeThumbnailPixel(int x, int y)
{
    const float px = static_cast<float>(x) + 0.5f;
    const float py = static_cast<float>(y) + 0.5f;
    const float w = static_cast<float>(thumbnailWidth);
    const float h = static_cast<float>(thumbnailHeight);

    // Border: a soft diagonal gradient from the top left to the bottom right.
    Rgb colour = Mix(borderLight, borderDeep, Clamp01((px / w + py / h) * 0.5f));

    const float cx = px - w * 0.5f;
    const float cy = py - h * 0.5f;
    const float panelDistance = RoundedBoxDistance(cx, cy, w * 0.5f - borderWidth, h * 0.5f - borderWidth, panelRadius);
    const float panelCoverage = Clamp01(0.5f - panelDistance);
    if (panelCoverage <= 0.0f)
        return Pack(colour);

    Rgb panel = Mix(navyTop, navyBottom, Clamp01((py - borderWidth) / (h - 2.0f * borderWidth)));

    const float shapeDistance = RoundedBoxDistance(cx, cy, coreHalfWidth, coreHalfHeight, coreRadius);
    panel = Mix(panel, contourColours[0], Clamp01(0.5f - shapeDistance));
    for (int ring = 1; ring < 3; ++ring)
    {
        const float offset = ringSpacing * static_cast<float>(ring);
        const float coverage = Clamp01(ringHalfStroke + 0.5f - std::fabs(shapeDistance - offset));
        panel = Mix(panel, contourColours[ring], coverage);
    }

    return Pack(Mix(colour, panel, panelCoverage));
}

bool InitThumbnailPixels()
{
    for (int y = 0; y < thumbnailHeight; ++y)
        for (int x = 0; x < thumbnailWidth; ++x)
            StoreThumbnailPixel(&thumbnailPixels[y * thumbnailWidth + x], ComputeThumbnailPixel(x, y));
    return true;
}

const ThumbnailInfo& RegisterThumbnailInfo()
{
    // Built once, destroyed at unload; it points at the table without owning it.
    static ThumbnailInfo record(thumbnailWidth, thumbnailHeight, thumbnailPixels);
    return record;
}

const uint32_t* GetThumbnailPixels()
{
    return thumbnailPixels;
}

} // namespace ZM_BUILD_NAMESPACE
