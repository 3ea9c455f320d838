// The library's registration: its PluginInfo with the factory
// (CreatePluginInstance, in Zephyrmantle.cpp). Compiled directly into the
// plug-in so that this static initialiser runs at load even though nothing
// references it. The FFGL 2.1 plug-in registers its thumbnail the same way
// (ThumbnailRegistration.cpp).

#include "Zephyrmantle.h"

namespace
{
/** Builds the library's one PluginInfo; the function-local static is torn down at unload. */
const PluginInfo& RegisterPluginInfo()
{
    static PluginInfo info(CreatePluginInstance, "KVRN", "Zephyrmantle", PluginBuild::apiMajor,
                           PluginBuild::apiMinor, // FFGL API version
                           2, 1,                  // plug-in version
                           FF_SOURCE, "", "Oskvar Labworks", 0, nullptr);
    return info;
}

const PluginInfo& registeredPluginInfo = RegisterPluginInfo();
} // namespace
