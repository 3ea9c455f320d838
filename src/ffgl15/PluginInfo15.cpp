#include "PluginInfo15.h"

#include <cstdlib>
#include <cstring>

#ifdef _WIN32
 #define zm_strdup _strdup
#else
 #define zm_strdup strdup
#endif

PluginInfo* CurrentPluginInfo = nullptr;

namespace
{
// A host reads both texts whatever happens, so a text that could not be
// copied is shown as empty rather than as a null pointer.
const char* TextOrEmpty(const char* copy)
{
    return copy != nullptr ? copy : "";
}

char* CopyText(const char* text)
{
    return zm_strdup(text != nullptr ? text : "");
}
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
    FFGLInfoStruct& info = records.info;
    info.apiMajorVersion = apiMajorVersion;
    info.apiMinorVersion = apiMinorVersion;
    CopyFixedWidth(info.pluginName, sizeof(info.pluginName), name);
    CopyFixedWidth(info.uniqueId, sizeof(info.uniqueId), uniqueId);
    info.pluginType = pluginType;

    FFGLExtendedInfoStruct& extended = records.extended;
    extended.about = TextOrEmpty(aboutCopy);
    extended.description = TextOrEmpty(descriptionCopy);
    extended.pluginMajorVersion = pluginMajorVersion;
    extended.pluginMinorVersion = pluginMinorVersion;
    if (extendedDataSize == 0 || extendedData == nullptr)
    {
        extended.extendedDataSize = 0;
        extended.extendedData = nullptr;
    }
    else
    {
        extended.extendedDataSize = extendedDataSize;
        extended.extendedData = extendedData;
    }

    CurrentPluginInfo = this;
}

PluginInfo::~PluginInfo()
{
    std::free(aboutCopy);
    std::free(descriptionCopy);
}
