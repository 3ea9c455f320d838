#pragma once

#include "FFGLTypes.h"

#include <cstddef>
#include <cstdint>
#include <string>

// One source for both builds: the FFGL 1.5 library compiles it with
// ZEPHYRMANTLE_FFGL15, which changes the factory's object type and how the
// about and description texts are held.
#ifdef ZEPHYRMANTLE_FFGL15
class CFreeFrameGLPlugin;
using PluginObject = CFreeFrameGLPlugin;
#else
class CFFGLPlugin;
using PluginObject = CFFGLPlugin;
#endif

/** Makes one plug-in object and stores its address through the argument: 0, or -1 when it cannot. */
using PluginFactory = int32_t (*)(PluginObject** object);

/*
    The plug-in's identity as the host sees it, together with the factory that
    makes every plug-in object. Exactly one lives in each library, built by a
    static initialiser before the host's first call; constructing it makes it
    the current record (CurrentPluginInfo).

    The host reads the two FFGL structures by address: the information
    structure is the head of the record, the extended one follows 32 bytes
    later. The record is never copied or moved, so those addresses and the text
    pointers inside them stay valid until the library is unloaded. The about
    and description texts are copies owned by the record.

    Usage, at namespace scope in the plug-in's registration source:
        static PluginInfo info (CreatePluginInstance, "ABCD", "My Plugin", 2, 1, 1, 0, 1, "", "Me");
*/
class PluginInfo
{
public:
    /** Fills both structures (the name cut to 16 bytes, the id to 4) and registers this record. */
    PluginInfo(PluginFactory factory, const char* uniqueId, const char* name,
               uint32_t apiMajorVersion, uint32_t apiMinorVersion,
               uint32_t pluginMajorVersion, uint32_t pluginMinorVersion, uint32_t pluginType,
               const char* description, const char* about,
               uint32_t extendedDataSize = 0, const void* extendedData = nullptr);

    /** Frees the text copies; leaves CurrentPluginInfo as it is: the library is going away. */
    ~PluginInfo();

    PluginInfo(const PluginInfo&) = delete;
    PluginInfo& operator=(const PluginInfo&) = delete;

    /** The information structure (what code 0 returns; also the record's own address). */
    const FFGLInfoStruct* GetInfo() const { return &records.info; }

    /** The extended information structure, 32 bytes behind the information structure. */
    const FFGLExtendedInfoStruct* ExtendedInfo() const { return &records.extended; }

    /** The factory that makes the prototype and every instance. */
    PluginFactory Factory() const { return factory; }

    /** The two structures, back to back exactly as hosts read them. */
    struct Records
    {
        FFGLInfoStruct info;
        FFGLExtendedInfoStruct extended;
    };

private:
    Records records{};
#ifdef ZEPHYRMANTLE_FFGL15
    // C heap copies, freed about first, then description.
    char* aboutCopy = nullptr;
    char* descriptionCopy = nullptr;
#else
    std::string aboutCopy;
    std::string descriptionCopy;
#endif
    PluginFactory factory = nullptr;
};

static_assert(offsetof(PluginInfo::Records, extended) == 32, "the extended structure follows at +32");

/** The registered record, or nullptr before one is built. */
extern PluginInfo* CurrentPluginInfo;
