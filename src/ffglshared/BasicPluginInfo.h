#pragma once

#include "FFGLTypes.h"

#include <cstddef>
#include <cstdint>
#include <string>

/*
    The plug-in's identity as the host sees it, together with the factory that
    makes every plug-in object. Exactly one lives in each library, built by a
    static initialiser before the host's first call; constructing it makes it
    the current record (CurrentPluginInfo of the build).

    Both builds share this record; each names its own object class, so a
    build sees the record as PluginInfo and its factory makes that build's
    objects:
        using PluginInfo = BasicPluginInfo<CFFGLPlugin>;

    The host reads the two FFGL structures by address: the information
    structure is the head of the record, the extended one follows 32 bytes
    later. The record is never copied or moved, so those addresses and the text
    pointers inside them stay valid until the library is unloaded. The about
    and description texts are copies owned by the record.

    Usage, at namespace scope in the plug-in's registration source:
        static PluginInfo info (CreatePluginInstance, "ABCD", "My Plugin", 2, 1, 1, 0, 1, "", "Me");
*/
template <typename PluginObject>
class BasicPluginInfo
{
public:
    /** Makes one plug-in object and stores its address through the argument: 0, or -1 when it cannot. */
    using Factory_t = int32_t (*)(PluginObject** object);

    /** Fills both structures (the name cut to 16 bytes, the id to 4) and registers this record. */
    BasicPluginInfo(Factory_t factoryToUse, const char* uniqueId, const char* name, uint32_t apiMajorVersion,
                    uint32_t apiMinorVersion, uint32_t pluginMajorVersion, uint32_t pluginMinorVersion,
                    uint32_t pluginType, const char* description, const char* about, uint32_t extendedDataSize = 0,
                    const void* extendedData = nullptr)
        : aboutCopy(about != nullptr ? about : ""), descriptionCopy(description != nullptr ? description : ""),
          factory(factoryToUse)
    {
        records.info.apiMajorVersion = apiMajorVersion;
        records.info.apiMinorVersion = apiMinorVersion;
        CopyFixedWidth(records.info.pluginName, sizeof(records.info.pluginName), name);
        CopyFixedWidth(records.info.uniqueId, sizeof(records.info.uniqueId), uniqueId);
        records.info.pluginType = pluginType;

        // The host keeps these pointers, so they point into our own copies, never at the caller's texts.
        records.extended.about = aboutCopy.c_str();
        records.extended.description = descriptionCopy.c_str();
        records.extended.pluginMajorVersion = pluginMajorVersion;
        records.extended.pluginMinorVersion = pluginMinorVersion;

        // A size without data (or data without a size) describes nothing a host could read safely.
        const bool describesData = extendedDataSize != 0 && extendedData != nullptr;
        records.extended.extendedDataSize = describesData ? extendedDataSize : 0;
        records.extended.extendedData = describesData ? extendedData : nullptr;

        current = this;
    }

    /** Frees the text copies; leaves the current record as it is: the library is going away. */
    ~BasicPluginInfo() = default;

    BasicPluginInfo(const BasicPluginInfo&) = delete;
    BasicPluginInfo& operator=(const BasicPluginInfo&) = delete;

    /** The information structure (what code 0 returns; also the record's own address). */
    const FFGLInfoStruct* GetInfo() const { return &records.info; }

    /** The extended information structure, 32 bytes behind the information structure. */
    const FFGLExtendedInfoStruct* ExtendedInfo() const { return &records.extended; }

    /** The factory that makes the prototype and every instance. */
    Factory_t Factory() const { return factory; }

    /** The two structures, back to back exactly as hosts read them. */
    struct Records
    {
        FFGLInfoStruct info;
        FFGLExtendedInfoStruct extended;
    };

    /** The registered record, or nullptr before one is built. */
    static inline BasicPluginInfo* current = nullptr;

private:
    Records records {};
    std::string aboutCopy;
    std::string descriptionCopy;
    Factory_t factory = nullptr;

    static_assert(offsetof(Records, extended) == 32, "the extended structure follows at +32");
};
