// The library's registration: its PluginInfo with the factory
// (CreatePluginInstance, in Zephyrmantle.cpp), and its thumbnail. Compiled
// directly into the plug-in so that these static initialisers run at load
// even though nothing references them.

#include "Zephyrmantle.h"

// ---- What differs between the two plug-in builds: the record's header and API
// version, and the thumbnail, which only FFGL 2.1 hosts ask for.
#ifdef ZEPHYRMANTLE_FFGL15
 #include "PluginInfo15.h"
#else
 #include "PluginInfo.h"
 #include "Thumbnail.h"
 #include "ThumbnailInfo.h"
#endif

namespace
{
/** Builds the library's one PluginInfo; the function-local static is torn down at unload. */
const PluginInfo& RegisterPluginInfo()
{
#ifdef ZEPHYRMANTLE_FFGL15
    constexpr uint32_t apiMajor = 1, apiMinor = 5;
#else
    constexpr uint32_t apiMajor = 2, apiMinor = 1;
#endif
    static PluginInfo info(CreatePluginInstance, "KVRN", "Zephyrmantle",
                           apiMajor, apiMinor,  // FFGL API version
                           2, 1,  // plug-in version
                           FF_SOURCE, "", "Oskvar Labworks", 0, nullptr);
    return info;
}

// Load order matters: the record first, then the pixels, then the thumbnail that points at them.
const PluginInfo& registeredPluginInfo = RegisterPluginInfo();
#ifndef ZEPHYRMANTLE_FFGL15
const bool thumbnailPixelsReady = InitThumbnailPixels();
const ThumbnailInfo& registeredThumbnailInfo = RegisterThumbnailInfo();
#endif
} // namespace
