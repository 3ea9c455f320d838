#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

/*
    The FFGL wire types of both plug-in builds and of our host: result and
    function codes, float packing, parameter type codes, the information
    structures and the input records that the host hands to plugMain. The records are laid out byte by byte as hosts expect them; the
    static_asserts pin that down. The FFGL 1.5 build reads only the records its
    codes use (ParamValueInput, FFGLViewport, ProcessOpenGLStruct and the two
    information structures).
*/

/** plugMain's 64-bit result: an address in all 64 bits, or a 32-bit value in the low half. */
using FFResult = uint64_t;

/** Result codes of the host-facing operations (0 success, -1 failure). */
constexpr int32_t FF_SUCCESS = 0;
constexpr int32_t FF_FAIL = -1;

/** The low-half failure value and the all-bits-set failure value of plugMain. */
constexpr FFResult FF_FAIL32 = 0xFFFFFFFFull;
constexpr FFResult FF_FAIL64 = ~0ull;

/** plugMain's function codes. Code 1 is answered by the FFGL 1.5 build only; 34 to 46 exist in FFGL 2.1 only. */
enum FFGLFunctionCode : uint32_t
{
    FF_GET_INFO = 0,
    FF_INITIALISE = 1,
    FF_DEINITIALISE = 2,
    FF_GET_NUM_PARAMETERS = 4,
    FF_GET_PARAMETER_NAME = 5,
    FF_GET_PARAMETER_DEFAULT = 6,
    FF_GET_PARAMETER_DISPLAY = 7,
    FF_SET_PARAMETER = 8,
    FF_GET_PARAMETER = 9,
    FF_GET_PLUGIN_CAPS = 10,
    FF_GET_EXTENDED_INFO = 13,
    FF_GET_PARAMETER_TYPE = 15,
    FF_GET_INPUT_STATUS = 16,
    FF_PROCESS_OPENGL = 17,
    FF_INSTANTIATE_GL = 18,
    FF_DEINSTANTIATE_GL = 19,
    FF_SET_TIME = 20,
    FF_CONNECT = 21,
    FF_DISCONNECT = 22,
    FF_RESIZE = 23,
    FF_GET_NUM_PARAMETER_ELEMENTS = 31,
    FF_GET_PARAMETER_CODE32 = 32,
    FF_GET_PLUGIN_SHORT_NAME = 33,
    FF_INITIALISE_PROTOTYPE = 34,
    FF_GET_PARAMETER_ELEMENT_NAME = 35,
    FF_GET_PARAMETER_ELEMENT_VALUE = 36,
    FF_SET_PARAMETER_ELEMENT_VALUE = 37,
    FF_SET_BEAT_INFO = 38,
    FF_SET_HOST_INFO = 39,
    FF_SET_SAMPLE_RATE = 40,
    FF_GET_RANGE = 41,
    FF_GET_THUMBNAIL = 42,
    FF_GET_NUM_FILE_EXTENSIONS = 43,
    FF_GET_FILE_EXTENSION = 44,
    FF_GET_CODE45_FLAG = 45,
    FF_GET_PARAMETER_EVENTS = 46,
};

/** A float as plugMain carries it: its bit pattern in the low half of a 64-bit value. */
inline FFResult FloatResult(float value)
{
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof(bits));
    return bits;
}

/** The float whose bit pattern is the low 32 bits of a plugMain value; the upper half is ignored. */
inline float FloatFromBits(uint64_t value)
{
    const auto bits = static_cast<uint32_t>(value);
    float number = 0.0f;
    std::memcpy(&number, &bits, sizeof(number));
    return number;
}

/** FFGL parameter type codes used by this system. */
enum : int32_t
{
    FF_TYPE_BOOLEAN = 0,
    FF_TYPE_STANDARD = 10,
    FF_TYPE_OPTION = 11,
    FF_TYPE_FILE = 14,
    FF_TYPE_TEXT = 100,
    FF_TYPE_HUE = 200,
    FF_TYPE_SATURATION = 201,
    FF_TYPE_BRIGHTNESS = 202,
    FF_TYPE_ALPHA = 203,
};

/** FFGL plug-in type codes. */
enum : int32_t
{
    FF_EFFECT = 0,
    FF_SOURCE = 1,
    FF_MIXER = 2,
};

/** The host's viewport, given with instantiation and resize. */
struct FFGLViewport
{
    uint32_t x;
    uint32_t y;
    uint32_t width;
    uint32_t height;
};
static_assert(sizeof(FFGLViewport) == 16, "FFGLViewport layout");

/** The host's per-frame record; handed to ProcessOpenGL and not read by this plug-in. */
struct ProcessOpenGLStruct
{
    uint32_t numInputTextures;
    void** inputTextures;
    uint32_t HostFBO;
};

/** The FFGL information structure the host reads with function code 0. */
struct FFGLInfoStruct
{
    uint32_t apiMajorVersion;
    uint32_t apiMinorVersion;
    char uniqueId[4];    ///< no terminator when all four bytes are used
    char pluginName[16]; ///< NUL-terminated only when shorter than 16 characters
    uint32_t pluginType;
};

/** The FFGL extended information structure the host reads with function code 13. */
struct FFGLExtendedInfoStruct
{
    uint32_t pluginMajorVersion;
    uint32_t pluginMinorVersion;
    const char* description;
    const char* about;
    uint32_t extendedDataSize;
    const void* extendedData;
};

static_assert(sizeof(FFGLInfoStruct) == 32, "FFGLInfoStruct layout");
static_assert(offsetof(FFGLInfoStruct, apiMinorVersion) == 4, "FFGLInfoStruct layout");
static_assert(offsetof(FFGLInfoStruct, uniqueId) == 8, "FFGLInfoStruct layout");
static_assert(offsetof(FFGLInfoStruct, pluginName) == 12, "FFGLInfoStruct layout");
static_assert(offsetof(FFGLInfoStruct, pluginType) == 28, "FFGLInfoStruct layout");
static_assert(sizeof(FFGLExtendedInfoStruct) == 40, "FFGLExtendedInfoStruct layout");
static_assert(offsetof(FFGLExtendedInfoStruct, pluginMinorVersion) == 4, "FFGLExtendedInfoStruct layout");
static_assert(offsetof(FFGLExtendedInfoStruct, description) == 8, "FFGLExtendedInfoStruct layout");
static_assert(offsetof(FFGLExtendedInfoStruct, about) == 16, "FFGLExtendedInfoStruct layout");
static_assert(offsetof(FFGLExtendedInfoStruct, extendedDataSize) == 24, "FFGLExtendedInfoStruct layout");
static_assert(offsetof(FFGLExtendedInfoStruct, extendedData) == 32, "FFGLExtendedInfoStruct layout");

/**
    Copies source into a fixed-width text field of an information structure:
    stops after the first NUL and never writes a NUL of its own, so a source
    of the full width fills the field unterminated, as hosts expect. A null
    source counts as empty.
*/
inline void CopyFixedWidth(char* field, size_t width, const char* source)
{
    if (source == nullptr)
        source = "";
    for (size_t k = 0; k < width; ++k)
    {
        field[k] = source[k];
        if (source[k] == '\0')
            break;
    }
}

/** Code 8: parameter index and value (float bits in bytes 8-11, or a text address). */
struct ParamValueInput
{
    uint32_t index;
    uint32_t padding;
    uint64_t value;
};

/** Codes 35, 36, 44: a parameter index and an item index. */
struct IndexPairInput
{
    uint32_t paramIndex;
    uint32_t itemIndex;
};

/** Code 37: a new value for one option element. */
struct ElementValueInput
{
    uint32_t paramIndex;
    uint32_t elementIndex;
    float value;
};

/** Code 38: tempo and bar phase. */
struct BeatInput
{
    float bpm;
    float barPhase;
};

/** Code 39: host name and version texts. */
struct HostInfoInput
{
    const char* name;
    const char* version;
};

/** Code 41: parameter index in, range out. */
struct RangeInput
{
    uint32_t paramIndex;
    float min;
    float max;
};

/** Code 42: thumbnail size out, pixel buffer (or null for the size only) in. */
struct ThumbnailInput
{
    uint32_t width;
    uint32_t height;
    void* pixels;
};

/** Code 46 array element: one parameter's pending events. */
struct ParamEventEntry
{
    uint32_t paramId;
    uint32_t unused;
    uint64_t events;
};

/** Code 46: capacity in / count out, and the entry array (or null). */
struct EventListInput
{
    uint32_t count;
    uint32_t padding;
    ParamEventEntry* entries;
};

static_assert(sizeof(void*) == 8, "FFGL 2.1 records are laid out for 64-bit hosts");
static_assert(sizeof(ParamValueInput) == 16 && offsetof(ParamValueInput, value) == 8, "ParamValueInput layout");
static_assert(sizeof(IndexPairInput) == 8 && offsetof(IndexPairInput, itemIndex) == 4, "IndexPairInput layout");
static_assert(sizeof(ElementValueInput) == 12 && offsetof(ElementValueInput, value) == 8, "ElementValueInput layout");
static_assert(sizeof(BeatInput) == 8 && offsetof(BeatInput, barPhase) == 4, "BeatInput layout");
static_assert(sizeof(HostInfoInput) == 16 && offsetof(HostInfoInput, version) == 8, "HostInfoInput layout");
static_assert(sizeof(RangeInput) == 12 && offsetof(RangeInput, min) == 4 && offsetof(RangeInput, max) == 8,
              "RangeInput layout");
static_assert(sizeof(ThumbnailInput) == 16 && offsetof(ThumbnailInput, pixels) == 8, "ThumbnailInput layout");
static_assert(sizeof(ParamEventEntry) == 16 && offsetof(ParamEventEntry, events) == 8, "ParamEventEntry layout");
static_assert(sizeof(EventListInput) == 16 && offsetof(EventListInput, entries) == 8, "EventListInput layout");
