#include "Thumbnail.h"
#include "ThumbnailInfo.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace
{
struct Colour
{
    int r, g, b;
};

// Fills and registers the thumbnail as the library's static initialisers do.
const ThumbnailInfo& Registered()
{
    static const bool filled = InitThumbnailPixels();
    (void)filled;
    return RegisterThumbnailInfo();
}

// The pixel as the host receives it: bytes alpha, blue, green, red in memory.
Colour HostPixel(int x, int y)
{
    const ThumbnailInfo& info = Registered();
    uint8_t bytes[4];
    std::memcpy(bytes, info.pixels + y * info.width + x, 4);
    return { bytes[3], bytes[2], bytes[1] };
}

bool IsOrange(Colour c)
{
    return c.r > 190 && c.g > 60 && c.g < 190 && c.b < 90;
}

bool IsNavy(Colour c)
{
    return c.r < 40 && c.g < 50 && c.b > 35 && c.b < 100 && c.b > c.r;
}
} // namespace

TEST(Thumbnail, IsRegisteredAsTheCurrent160By120Record)
{
    const ThumbnailInfo& info = Registered();
    EXPECT_EQ(CurrentThumbnailInfo, &info);
    EXPECT_EQ(info.width, 160);
    EXPECT_EQ(info.height, 120);
    EXPECT_EQ(info.pixels, GetThumbnailPixels());
    EXPECT_EQ(&RegisterThumbnailInfo(), &info);
}

TEST(Thumbnail, HostReceivesOpaquePixelsInAlphaBlueGreenRedOrder)
{
    const ThumbnailInfo& info = Registered();
    std::vector<uint8_t> received(76800);
    std::memcpy(received.data(), info.pixels, received.size());
    for (size_t at = 0; at < received.size(); at += 4)
        ASSERT_EQ(received[at], 255) << "pixel " << at / 4;

    // Worked out from the drawing: the border's gradient at its two ends (top left
    // light, bottom right deep), the core of the pictogram, and the panel half way down.
    const auto bytes = [&received](int x, int y)
    {
        const auto at = received.begin() + 4 * (y * 160 + x);
        return std::vector<int>(at, at + 4);
    };
    EXPECT_EQ(bytes(0, 0), (std::vector<int> { 255, 64, 168, 255 }));
    EXPECT_EQ(bytes(159, 119), (std::vector<int> { 255, 22, 98, 228 }));
    EXPECT_EQ(bytes(80, 60), (std::vector<int> { 255, 52, 166, 255 }));
    EXPECT_EQ(bytes(20, 60), (std::vector<int> { 255, 63, 27, 17 }));
}

TEST(Thumbnail, OrangeBorderFramesANavyPanelWithNestedContours)
{
    for (int x = 0; x < 160; ++x)
    {
        EXPECT_TRUE(IsOrange(HostPixel(x, 0))) << "top row " << x;
        EXPECT_TRUE(IsOrange(HostPixel(x, 119))) << "bottom row " << x;
    }
    for (int y = 0; y < 120; ++y)
    {
        EXPECT_TRUE(IsOrange(HostPixel(0, y))) << "left column " << y;
        EXPECT_TRUE(IsOrange(HostPixel(159, y))) << "right column " << y;
    }
    // Down the centre line: core, gap, ring, gap, ring, panel.
    EXPECT_TRUE(IsOrange(HostPixel(80, 60)));
    EXPECT_TRUE(IsNavy(HostPixel(80, 45)));
    EXPECT_TRUE(IsOrange(HostPixel(80, 40)));
    EXPECT_TRUE(IsNavy(HostPixel(80, 35)));
    EXPECT_TRUE(IsOrange(HostPixel(80, 30)));
    EXPECT_TRUE(IsNavy(HostPixel(80, 20)));
    EXPECT_TRUE(IsNavy(HostPixel(20, 60)));
}
