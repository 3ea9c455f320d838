#include "PluginInfo.h"

PluginInfo* CurrentPluginInfo = nullptr;

PluginInfo::PluginInfo(PluginFactory factoryToUse, const char* uniqueId, const char* name,
                       uint32_t apiMajorVersion, uint32_t apiMinorVersion,
                       uint32_t pluginMajorVersion, uint32_t pluginMinorVersion, uint32_t pluginType,
                       const char* description, const char* about,
                       uint32_t extendedDataSize, const void* extendedData)
    : aboutText(about != nullptr ? about : ""),
      descriptionText(description != nullptr ? description : ""),
      factory(factoryToUse)
{
    records.info.apiMajorVersion = apiMajorVersion;
    records.info.apiMinorVersion = apiMinorVersion;
    CopyFixedWidth(records.info.pluginName, sizeof(records.info.pluginName), name);
    CopyFixedWidth(records.info.uniqueId, sizeof(records.info.uniqueId), uniqueId);
    records.info.pluginType = pluginType;

    // The host keeps these pointers, so they point into our own copies, never at the caller's texts.
    records.extended.about = aboutText.c_str();
    records.extended.description = descriptionText.c_str();
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

PluginInfo::~PluginInfo() = default;
