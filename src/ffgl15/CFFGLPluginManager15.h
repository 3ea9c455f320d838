#pragma once

#include <cstdint>

inline namespace ZM_BUILD_NAMESPACE
{

/**
    One parameter as the host sees it, kept as a node of a singly linked list.
    Every node has one element and a code-32 value of 0; only a text parameter
    (type 100) can carry a default text, which the node owns.
*/
struct ParamInfo
{
    int32_t id = 0;              ///< parameter index, the key of every lookup
    char name[16] = {};          ///< display name; NUL-terminated only when shorter than 16
    int32_t type = 0;            ///< FFGL type code
    int32_t elementCount = 1;    ///< always 1
    int32_t code32Value = 0;     ///< answered by function code 32
    float defaultValue = 0.0f;   ///< clamped into 0..1 whatever the type
    char* defaultText = nullptr; ///< default of a text parameter, released with free
    ParamInfo* next = nullptr;   ///< the following node, null at the tail
};

/*
    The parameter list of a plug-in object and the capability values the host
    reads. Every plug-in object builds its own list in its constructor by
    appending nodes; the host's queries read the prototype's list.

    Nodes are only appended; a lookup finds the first node with a given id.
*/
class CFFGLPluginManager
{
public:
    CFFGLPluginManager() = default;
    /** Releases every node (and the default text of a text node). */
    virtual ~CFFGLPluginManager();

    CFFGLPluginManager(const CFFGLPluginManager&) = delete;
    CFFGLPluginManager& operator=(const CFFGLPluginManager&) = delete;

    /**
        Appends a parameter. The name keeps at most 16 bytes (a null name counts
        as empty); the default of every type is clamped into 0..1.
    */
    void SetParamInfo(uint32_t id, const char* name, int32_t type, float defaultValue);

    void SetMinInputFrames(int32_t frames) { minInputFrames = frames; }
    void SetMaxInputFrames(int32_t frames) { maxInputFrames = frames; }
    int32_t GetMinInputFrames() const { return minInputFrames; }
    int32_t GetMaxInputFrames() const { return maxInputFrames; }
    bool IsTimeSupported() const { return timeSupported; }

    /** Number of nodes appended (duplicates included). */
    int32_t GetNumParams() const { return paramCount; }

    /** The first node, for walking the list; nullptr when it is empty. */
    const ParamInfo* GetFirstParam() const { return paramHead; }

    /** Element count of the parameter, or -1 when no node has the id. */
    int32_t FindParamElementCount(uint32_t id) const;
    /** Type 100: the default text's address; other types: the default's bits in the low half; not found: 0xFFFFFFFF. */
    uint64_t FindParamDefault(uint32_t id) const;
    /** Address of the 16-byte name field, or nullptr. */
    const char* FindParamName(uint32_t id) const;
    /** Type code, or -1. */
    int32_t FindParamType(uint32_t id) const;
    /** Code-32 value, or -1. */
    int32_t FindParamCode32Value(uint32_t id) const;

private:
    const ParamInfo* FindParam(uint32_t id) const;

    int32_t paramCount = 0;
    ParamInfo* paramHead = nullptr;
    ParamInfo* paramTail = nullptr;
    int32_t minInputFrames = 0;
    int32_t maxInputFrames = 0;
    bool timeSupported = false;
};

} // namespace ZM_BUILD_NAMESPACE
