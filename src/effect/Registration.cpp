// The library's registration: its PluginInfo with the factory
// (CreatePluginInstance, in Zephyrmantle.cpp), and its thumbnail. Compiled
// directly into the plug-in so that these static initialisers run at load
// even though nothing references them.

#include "PluginInfo.h"
#include "Thumbnail.h"
#include "ThumbnailInfo.h"
#include "Zephyrmantle.h"

namespace
{
/** Builds the library's one PluginInfo; the function-local static is torn down at unload. */
const PluginInfo& RegisterPluginInfo()
{
    static PluginInfo info(CreatePluginInstance, "KVRN", "Zephyrmantle",
                           2, 1,  // FFGL API version
                           2, 1,  // plug-in version
                           FF_SOURCE, "", "Oskvar Labworks", 0, nullptr);
    return info;
}

// Load order matters: the record first, then the pixels, then the thumbnail that points at them.
const PluginInfo& registeredPluginInfo = RegisterPluginInfo();
const bool thumbnailPixelsReady = InitThumbnailPixels();
const ThumbnailInfo& registeredThumbnailInfo = RegisterThumbnailInfo();
} // namespace
