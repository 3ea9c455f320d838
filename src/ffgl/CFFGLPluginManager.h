#pragma once

#include <cstdint>
#include <string>
#include <vector>

inline namespace ZM_BUILD_NAMESPACE
{

/** One option element of an option parameter: a display name and a value. */
struct ParamElement
{
    std::string name;
    float value = 0.0f;
};

/** One parameter as the host sees it. */
struct ParamInfo
{
    int32_t id = 0;                     ///< parameter index, the key of every lookup
    char name[16] = {};                 ///< display name; NUL-terminated only when shorter than 16
    int32_t type = 0;                   ///< FFGL type code
    std::vector<ParamElement> elements; ///< option elements (one unnamed element for plain parameters)
    int32_t code32Value = 0;            ///< answered by function code 32
    bool code45Flag = true;             ///< answered by function code 45
    float min = 0.0f;                   ///< range reported by code 41
    float max = 1.0f;
    float defaultValue = 0.0f;               ///< default reported by code 6 and pushed into new instances
    std::string defaultText;                 ///< default of a text or file parameter
    std::vector<std::string> fileExtensions; ///< answered by codes 43 and 44
    uint64_t pendingEvents = 0;              ///< reported and cleared by code 46
};

/*
    The parameter table of a plug-in object and the capability values the host
    reads. Every plug-in object builds its own table in its constructor by
    appending records; the host's queries read the prototype's table.

    Records are only appended, never removed or reordered; a lookup finds the
    first record with a given id.
*/
class CFFGLPluginManager
{
public:
    CFFGLPluginManager();
    virtual ~CFFGLPluginManager();

    /** Appends a plain parameter. The name keeps at most 16 bytes; a type-10 default is clamped to 0..1. */
    void SetParamInfo(int32_t id, const char* name, int32_t type, float defaultValue);

    /** Appends an option parameter (type 11) with elementCount unnamed elements; the default is kept as given. */
    void SetOptionParamInfo(int32_t id, const char* name, uint32_t elementCount, float defaultValue);

    /** Names one element of a parameter and sets its value; does nothing for an unknown id or element. */
    void SetParamElementInfo(int32_t id, uint32_t elementIndex, const char* name, float value);

    void SetMinInputFrames(int32_t frames) { minInputFrames = frames; }
    void SetMaxInputFrames(int32_t frames) { maxInputFrames = frames; }

    /** Number of records appended. */
    uint32_t GetNumParams() const { return static_cast<uint32_t>(params.size()); }

    /** The first record with this id, or nullptr. */
    ParamInfo* FindParam(int32_t id);
    const ParamInfo* FindParam(int32_t id) const;

    /** All records in append order (the host interface walks them for code 46). */
    std::vector<ParamInfo>& GetParams() { return params; }
    const std::vector<ParamInfo>& GetParams() const { return params; }

    int32_t GetMinInputFrames() const { return minInputFrames; }
    int32_t GetMaxInputFrames() const { return maxInputFrames; }
    bool IsTimeSupported() const { return timeSupported; }

private:
    std::vector<ParamInfo> params;
    int32_t minInputFrames = 0;
    int32_t maxInputFrames = 0;
    bool timeSupported = true;
};

} // namespace ZM_BUILD_NAMESPACE
