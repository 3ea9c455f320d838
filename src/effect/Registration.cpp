// The library's registration: its PluginInfo with the factory, and its
// thumbnail. Compiled directly into the plug-in so that these static
// initialisers run at load even though nothing references them.

#include "PluginInfo.h"
#include "ThumbnailInfo.h"
#include "Zephyrmantle.h"

#include <new>

/** The factory of every Zephyrmantle object: 0, or -1 (nothing stored) when allocation fails. */
int32_t CreatePluginInstance(CFFGLPlugin** object)
{
    auto* created = new (std::nothrow) Zephyrmantle();
    if (created == nullptr)
        return FF_FAIL;
    *object = created;
    return FF_SUCCESS;
}

namespace
{
constexpr int thumbnailWidth = 160;
constexpr int thumbnailHeight = 120;

uint32_t thumbnailPixels[thumbnailWidth * thumbnailHeight];

/** Builds the library's one PluginInfo; the function-local static is torn down at unload. */
const PluginInfo& RegisterPluginInfo()
{
    static PluginInfo info(CreatePluginInstance, "KVRN", "Zephyrmantle",
                           2, 1,  // FFGL API version
                           2, 1,  // plug-in version
                           FF_SOURCE, "", "Oskvar Labworks", 0, nullptr);
    return info;
}

/** A placeholder picture: a navy panel inside an orange border, 0xRRGGBBAA, fully opaque. */
bool InitThumbnailPixels()
{
    constexpr int border = 12;
    for (int y = 0; y < thumbnailHeight; ++y)
        for (int x = 0; x < thumbnailWidth; ++x)
        {
            const bool inBorder = x < border || y < border
                                  || x >= thumbnailWidth - border || y >= thumbnailHeight - border;
            StoreThumbnailPixel(&thumbnailPixels[y * thumbnailWidth + x], inBorder ? 0xF08A24FFu : 0x1B2440FFu);
        }
    return true;
}

const ThumbnailInfo& RegisterThumbnailInfo()
{
    static ThumbnailInfo thumbnail(thumbnailWidth, thumbnailHeight, thumbnailPixels);
    return thumbnail;
}

// Load order matters: the record first, then the pixels, then the thumbnail that points at them.
const PluginInfo& registeredPluginInfo = RegisterPluginInfo();
const bool thumbnailPixelsReady = InitThumbnailPixels();
const ThumbnailInfo& registeredThumbnailInfo = RegisterThumbnailInfo();
} // namespace
