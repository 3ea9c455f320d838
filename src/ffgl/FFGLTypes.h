#pragma once

#include <cstddef>
#include <cstdint>

/*
    The FFGL 2.1 wire types: result codes, parameter type codes, function codes
    and the input records that the host hands to plugMain. The records are laid
    out byte by byte as hosts expect them; the static_asserts below pin that down.
*/

/** plugMain's 64-bit result: an address in all 64 bits, or a 32-bit value in the low half. */
using FFResult = uint64_t;

/** Result codes of the host-facing operations (0 success, -1 failure). */
constexpr int32_t FF_SUCCESS = 0;
constexpr int32_t FF_FAIL = -1;

/** The low-half failure value and the all-bits-set failure value of plugMain. */
constexpr FFResult FF_FAIL32 = 0xFFFFFFFFull;
constexpr FFResult FF_FAIL64 = ~0ull;

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
static_assert(sizeof(RangeInput) == 12 && offsetof(RangeInput, min) == 4 && offsetof(RangeInput, max) == 8, "RangeInput layout");
static_assert(sizeof(ThumbnailInput) == 16 && offsetof(ThumbnailInput, pixels) == 8, "ThumbnailInput layout");
static_assert(sizeof(ParamEventEntry) == 16 && offsetof(ParamEventEntry, events) == 8, "ParamEventEntry layout");
static_assert(sizeof(EventListInput) == 16 && offsetof(EventListInput, entries) == 8, "EventListInput layout");
