#include "PluginInfo.h"

#ifdef ZEPHYRMANTLE_FFGL15
 #include <cstdlib>
 #include <cstring>
 #ifdef _WIN32
  #define zm_strdup _strdup
 #else
  #define zm_strdup strdup
 #endif
#endif

PluginInfo* CurrentPluginInfo = nullptr;

namespace
{
#ifdef ZEPHYRMANTLE_FFGL15
char* CopyText(const char* text)
{
    return zm_strdup(text != nullptr ? text : "");
}

// A host reads both texts whatever happens, so a text that could not be
// copied is shown as empty rather than as a null pointer.
const char* TextOf(const char* copy)
{
    return copy != nullptr ? copy : "";
}
#else
std::string CopyText(const char* text)
{
    return text != nullptr ? text : "";
}

const char* TextOf(const std::string& copy)
{
    return copy.c_str();
}
#endif
} // namespace

PluginInfo::PluginInfo(PluginFactory factoryToUse, const char* uniqueId, const char* name,
                       uint32_t apiMajorVersion, uint32_t apiMinorVersion,
                       uint32_t pluginMajorVersion, uint32_t pluginMinorVersion, uint32_t pluginType,
                       const char* description, const char* about,
                       uint32_t extendedDataSize, const void* extendedData)
    : aboutCopy(CopyText(about)),
      descriptionCopy(CopyText(description)),
      factory(factoryToUse)
{
    records.info.apiMajorVersion = apiMajorVersion;
    records.info.apiMinorVersion = apiMinorVersion;
    CopyFixedWidth(records.info.pluginName, sizeof(records.info.pluginName), name);
    CopyFixedWidth(records.info.uniqueId, sizeof(records.info.uniqueId), uniqueId);
    records.info.pluginType = pluginType;

    // The host keeps these pointers, so they point into our own copies, never at the caller's texts.
    records.extended.about = TextOf(aboutCopy);
    records.extended.description = TextOf(descriptionCopy);
    records.extended.pluginMajorVersion = pluginMajorVersion;
    records.extended.pluginMinorVersion = pluginMinorVersion;

    // A size without data (or data without a size) describes nothing a host could read safely.
    if (extendedDataSize == 0 || extendedData == nullptr)
    {
        records.extended.extendedDataSize = 0;
        records.extended.extendedData = nullptr;
    }
    else
    {
        records.extended.extendedDataSize = extendedDataSize;
        records.extended.extendedData = extendedData;
    }

    CurrentPluginInfo = this;
}

#ifdef ZEPHYRMANTLE_FFGL15
PluginInfo::~PluginInfo()
{
    std::free(aboutCopy);
    std::free(descriptionCopy);
}
#else
PluginInfo::~PluginInfo() = default;
#endif
