#include "PluginLibrary.h"

#include "FFGLTypes.h"

#ifdef _WIN32
#include "WindowsIncludes.h"
#else
#include <dlfcn.h>
#endif

#include <cstring>

namespace
{
// A plug-in that reports more than this is broken; reading on would only stall the host.
constexpr uint32_t maxParameters = 4096;
constexpr uint32_t maxElements = 4096;
// Texts a plug-in hands out are NUL-terminated; a bound keeps a missing NUL from running away.
constexpr size_t maxTextLength = 64 * 1024;

std::string FixedText(const char* chars, size_t width)
{
    size_t length = 0;
    while (length < width && chars[length] != '\0')
        ++length;
    return std::string(chars, length);
}

std::string TerminatedText(const char* chars)
{
    return chars == nullptr ? std::string() : FixedText(chars, maxTextLength);
}

const char* PointerFromResult(uint64_t result)
{
    return reinterpret_cast<const char*>(static_cast<uintptr_t>(result));
}

// Copies the record at a result's address; false for a null or failure result.
template <typename Record>
bool CopyRecord(uint64_t result, Record& record)
{
    if (result == 0 || PluginLibrary::IsFailure(result))
        return false;
    std::memcpy(&record, PointerFromResult(result), sizeof(record));
    return true;
}

uint64_t Address(const void* record)
{
    return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(record));
}
} // namespace

bool PluginLibrary::Parameter::IsText(uint32_t apiMajor) const
{
    // FFGL 1.x knows no file type; there only text parameters carry a text.
    return type == FF_TYPE_TEXT || (apiMajor >= 2 && type == FF_TYPE_FILE);
}

PluginLibrary::~PluginLibrary()
{
    Unload();
}

bool PluginLibrary::Load(const std::string& path)
{
    Unload();

#ifdef _WIN32
    HMODULE module = LoadLibraryA(path.c_str());
    if (module == nullptr)
        return Fail("cannot load " + path + ": error " + std::to_string(GetLastError()));
    handle = module;

    FARPROC found = GetProcAddress(module, "plugMain");
    void* symbol = found != nullptr ? reinterpret_cast<void*>(found) : nullptr;
    if (symbol == nullptr)
    {
        FreeLibrary(module);
        handle = nullptr;
        return Fail("no plugMain in " + path);
    }
#else
    handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr)
    {
        const char* why = dlerror();
        return Fail("cannot load " + path + (why != nullptr ? std::string(": ") + why : std::string()));
    }

    dlerror();
    void* symbol = dlsym(handle, "plugMain");
    if (symbol == nullptr)
    {
        dlclose(handle);
        handle = nullptr;
        return Fail("no plugMain in " + path);
    }
#endif

    plugMain = reinterpret_cast<PlugMainFunction>(symbol);
    error.clear();
    return true;
}

void PluginLibrary::Unload()
{
    if (handle != nullptr)
    {
#ifdef _WIN32
        FreeLibrary(static_cast<HMODULE>(handle));
#else
        dlclose(handle);
#endif
    }
    handle = nullptr;
    plugMain = nullptr;
    haveInfo = false;
    cachedInfo = Info();
}

uint64_t PluginLibrary::Call(uint32_t code, uint64_t input, uint64_t instance)
{
    return plugMain != nullptr ? plugMain(code, input, instance) : FF_FAIL64;
}

bool PluginLibrary::Fail(const std::string& message)
{
    error = message;
    return false;
}

bool PluginLibrary::GetInfo(Info& info)
{
    if (!IsLoaded())
        return Fail("no plug-in loaded");

    if (!haveInfo)
    {
        FFGLInfoStruct record;
        if (!CopyRecord(Call(FF_GET_INFO, 0, 0), record))
            return Fail("no plug-in information (code 0)");
        cachedInfo.apiMajor = record.apiMajorVersion;
        cachedInfo.apiMinor = record.apiMinorVersion;
        cachedInfo.uniqueId = FixedText(record.uniqueId, sizeof(record.uniqueId));
        cachedInfo.name = FixedText(record.pluginName, sizeof(record.pluginName));
        cachedInfo.pluginType = record.pluginType;
        haveInfo = true;
    }

    info = cachedInfo;
    return true;
}

bool PluginLibrary::GetExtendedInfo(ExtendedInfo& info)
{
    if (!IsLoaded())
        return Fail("no plug-in loaded");

    FFGLExtendedInfoStruct record;
    if (!CopyRecord(Call(FF_GET_EXTENDED_INFO, 0, 0), record))
        return Fail("no extended information (code 13)");
    info.pluginMajor = record.pluginMajorVersion;
    info.pluginMinor = record.pluginMinorVersion;
    info.description = TerminatedText(record.description);
    info.about = TerminatedText(record.about);
    return true;
}

bool PluginLibrary::GetParameters(std::vector<Parameter>& parameters)
{
    parameters.clear();

    Info info;
    if (!GetInfo(info))
        return false;

    const uint64_t countResult = Call(FF_GET_NUM_PARAMETERS, 0, 0);
    if (IsFailure(countResult))
        return Fail("parameter count failed (code 4)");

    const uint32_t count = static_cast<uint32_t>(countResult);
    if (count > maxParameters)
        return Fail("implausible parameter count " + std::to_string(count) + " (code 4)");

    parameters.resize(count);
    for (uint32_t i = 0; i < count; ++i)
    {
        if (!ReadParameter(i, info.apiMajor, parameters[i]))
        {
            parameters.clear();
            return false;
        }
    }
    return true;
}

bool PluginLibrary::ReadParameter(uint32_t index, uint32_t apiMajor, Parameter& parameter)
{
    const std::string which = "parameter " + std::to_string(index);
    parameter.index = index;

    const uint64_t nameResult = Call(FF_GET_PARAMETER_NAME, index, 0);
    if (nameResult == 0 || IsFailure(nameResult))
        return Fail(which + ": no name (code 5)");
    parameter.name = FixedText(PointerFromResult(nameResult), 16);

    const uint64_t typeResult = Call(FF_GET_PARAMETER_TYPE, index, 0);
    if (IsFailure(typeResult))
        return Fail(which + ": no type (code 15)");
    parameter.type = static_cast<int32_t>(static_cast<uint32_t>(typeResult));

    const uint64_t defaultResult = Call(FF_GET_PARAMETER_DEFAULT, index, 0);
    if (parameter.IsText(apiMajor))
    {
        if (defaultResult != FF_FAIL64 && !IsFailure(defaultResult))
            parameter.defaultText = TerminatedText(PointerFromResult(defaultResult));
    }
    else
    {
        // A float default may legitimately have all 32 bits set only as a NaN; hosts take it as it is.
        parameter.defaultValue = FloatFromBits(defaultResult);
    }

    const uint64_t countResult = Call(FF_GET_NUM_PARAMETER_ELEMENTS, index, 0);
    parameter.elementCount = IsFailure(countResult) ? 0u : static_cast<uint32_t>(countResult);
    if (parameter.elementCount > maxElements)
        return Fail(which + ": implausible element count " + std::to_string(parameter.elementCount) + " (code 31)");

    // FFGL 1.x has no codes to name option elements.
    if (parameter.type == FF_TYPE_OPTION && apiMajor >= 2)
    {
        for (uint32_t k = 0; k < parameter.elementCount; ++k)
        {
            IndexPairInput pair { index, k };
            const uint64_t elementName = Call(FF_GET_PARAMETER_ELEMENT_NAME, Address(&pair), 0);
            if (elementName == 0 || IsFailure(elementName))
                return Fail(which + ": no name for element " + std::to_string(k) + " (code 35)");

            Element element;
            element.name = TerminatedText(PointerFromResult(elementName));
            element.value = FloatFromBits(Call(FF_GET_PARAMETER_ELEMENT_VALUE, Address(&pair), 0));
            parameter.elements.push_back(element);
        }
    }
    return true;
}

uint64_t PluginLibrary::Instantiate(uint32_t width, uint32_t height)
{
    FFGLViewport viewport { 0, 0, width, height };
    const uint64_t result = Call(FF_INSTANTIATE_GL, Address(&viewport), 0);
    if (result == 0 || IsFailure(result))
    {
        Fail("instantiate failed (code 18)");
        return 0;
    }
    return result;
}

namespace
{
bool Succeeded(uint64_t result)
{
    return static_cast<uint32_t>(result) == static_cast<uint32_t>(FF_SUCCESS);
}
} // namespace

bool PluginLibrary::SetParameter(uint64_t instance, uint32_t index, float value)
{
    return SetParameterValue(instance, index, FloatResult(value));
}

bool PluginLibrary::SetTextParameter(uint64_t instance, uint32_t index, const char* text)
{
    return SetParameterValue(instance, index, Address(text));
}

bool PluginLibrary::SetParameterValue(uint64_t instance, uint32_t index, uint64_t value)
{
    ParamValueInput input {};
    input.index = index;
    input.value = value;
    if (!Succeeded(Call(FF_SET_PARAMETER, Address(&input), instance)))
        return Fail("setting parameter " + std::to_string(index) + " failed (code 8)");
    return true;
}

float PluginLibrary::GetParameterValue(uint64_t instance, uint32_t index)
{
    return FloatFromBits(Call(FF_GET_PARAMETER, index, instance));
}

bool PluginLibrary::ProcessFrame(uint64_t instance, uint32_t hostFramebuffer)
{
    ProcessOpenGLStruct frame {};
    frame.numInputTextures = 0;
    frame.inputTextures = nullptr;
    frame.HostFBO = hostFramebuffer;
    if (!Succeeded(Call(FF_PROCESS_OPENGL, Address(&frame), instance)))
        return Fail("frame failed (code 17)");
    return true;
}

bool PluginLibrary::Resize(uint64_t instance, uint32_t width, uint32_t height)
{
    FFGLViewport viewport { 0, 0, width, height };
    if (!Succeeded(Call(FF_RESIZE, Address(&viewport), instance)))
        return Fail("resize failed (code 23)");
    return true;
}

bool PluginLibrary::Deinstantiate(uint64_t instance)
{
    if (!Succeeded(Call(FF_DEINSTANTIATE_GL, 0, instance)))
        return Fail("de-instantiate failed (code 19)");
    return true;
}

bool PluginLibrary::Deinitialise()
{
    if (!Succeeded(Call(FF_DEINITIALISE, 0, 0)))
        return Fail("de-initialise failed (code 2)");
    return true;
}
