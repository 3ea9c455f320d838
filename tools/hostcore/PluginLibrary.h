#pragma once

#include <cstdint>
#include <string>
#include <vector>

/*
    One FFGL plug-in library loaded into this process: opens the shared
    library, finds its plugMain and offers a typed call for each function code
    that a host uses, so that callers never build the wire records themselves.

    The calls that need OpenGL (Instantiate, ProcessFrame, Resize,
    Deinstantiate) must be made with the host's GL context current.

    Usage:
        PluginLibrary lib;
        if (! lib.Load(path)) fail (lib.GetError());
        PluginLibrary::Info info;
        lib.GetInfo(info);
        std::vector<PluginLibrary::Parameter> params;
        lib.GetParameters(params);
        uint64_t instance = lib.Instantiate(640, 480);
        lib.SetParameter(instance, 0, 1.0f);
        lib.ProcessFrame(instance, fbo);
        lib.Deinstantiate(instance);
        lib.Deinitialise();
        lib.Unload();
*/
class PluginLibrary
{
public:
    using PlugMainFunction = uint64_t (*)(uint32_t code, uint64_t input, uint64_t instance);

    /** The plug-in information record (code 0). */
    struct Info
    {
        uint32_t apiMajor = 0;
        uint32_t apiMinor = 0;
        std::string uniqueId; ///< up to 4 characters
        std::string name;     ///< up to 16 characters
        uint32_t pluginType = 0;
    };

    /** The extended information record (code 13). */
    struct ExtendedInfo
    {
        uint32_t pluginMajor = 0;
        uint32_t pluginMinor = 0;
        std::string description;
        std::string about;
    };

    /** One element of an option parameter. */
    struct Element
    {
        std::string name;
        float value = 0.0f;
    };

    /** One parameter as the host sees it. */
    struct Parameter
    {
        uint32_t index = 0;
        std::string name;
        int32_t type = 0;
        float defaultValue = 0.0f;     ///< for non-text parameters
        std::string defaultText;       ///< for text and file parameters
        uint32_t elementCount = 0;     ///< option elements the plug-in reports (code 31)
        std::vector<Element> elements; ///< named elements; empty where the interface cannot name them

        bool IsText(uint32_t apiMajor) const;
    };

    PluginLibrary() = default;
    ~PluginLibrary();
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    /** Opens the library and finds plugMain; false with GetError() set on failure. */
    bool Load(const std::string& path);

    /** Closes the library (without calling any function code first). */
    void Unload();

    bool IsLoaded() const { return plugMain != nullptr; }
    const std::string& GetError() const { return error; }

    /** The dlopen handle, for tests that look up further symbols. */
    void* GetNativeHandle() const { return handle; }

    /** Calls plugMain as it is; all bits set (failure) when nothing is loaded. */
    uint64_t Call(uint32_t code, uint64_t input, uint64_t instance);

    /** Code 0; false when the plug-in gives no record. Read once and cached for API-dependent calls. */
    bool GetInfo(Info& info);

    /** Code 13; false when the plug-in gives no record. */
    bool GetExtendedInfo(ExtendedInfo& info);

    /** Codes 4, 5, 15, 6, 31 and, for FFGL 2.x option parameters, 35 and 36; false with GetError() on failure. */
    bool GetParameters(std::vector<Parameter>& parameters);

    /** Code 18 with the viewport {0, 0, width, height}; the instance handle, or 0 on failure. */
    uint64_t Instantiate(uint32_t width, uint32_t height);

    /** Code 8 with a float value; false when the plug-in refuses it. */
    bool SetParameter(uint64_t instance, uint32_t index, float value);

    /** Code 8 with a text value (text and file parameters). */
    bool SetTextParameter(uint64_t instance, uint32_t index, const char* text);

    /** Code 9 for a float parameter. */
    float GetParameterValue(uint64_t instance, uint32_t index);

    /** Code 17 with a frame record that names the host framebuffer. */
    bool ProcessFrame(uint64_t instance, uint32_t hostFramebuffer);

    /** Code 23 with the viewport {0, 0, width, height}. */
    bool Resize(uint64_t instance, uint32_t width, uint32_t height);

    /** Code 19. */
    bool Deinstantiate(uint64_t instance);

    /** Code 2. */
    bool Deinitialise();

    /** True when the 64-bit result of plugMain is the 32-bit failure value (or all bits set). */
    static bool IsFailure(uint64_t result) { return static_cast<uint32_t>(result) == 0xFFFFFFFFu; }

private:
    bool ReadParameter(uint32_t index, uint32_t apiMajor, Parameter& parameter);
    // Code 8 with a value already packed (float bits, or a text's address).
    bool SetParameterValue(uint64_t instance, uint32_t index, uint64_t value);
    bool Fail(const std::string& message);

    void* handle = nullptr;
    PlugMainFunction plugMain = nullptr;
    bool haveInfo = false;
    Info cachedInfo;
    std::string error;
};
