#include "CFFGLPluginManager15.h"

#include "FFGLTypes.h"

#include <cstdlib>

inline namespace ZM_BUILD_NAMESPACE
{

CFFGLPluginManager::~CFFGLPluginManager()
{
    ParamInfo* node = paramHead;
    while (node != nullptr)
    {
        ParamInfo* following = node->next;
        if (node->type == FF_TYPE_TEXT && node->defaultText != nullptr)
            std::free(node->defaultText);
        delete node;
        node = following;
    }
    paramHead = paramTail = nullptr;
}

void CFFGLPluginManager::SetParamInfo(uint32_t id, const char* name, int32_t type, float defaultValue)
{
    auto* node = new ParamInfo();
    node->id = static_cast<int32_t>(id);

    CopyFixedWidth(node->name, sizeof(node->name), name); // a 16-character name stays unterminated

    node->type = type;

    // Hosts of this interface are told a 0..1 range for every parameter.
    // A NaN fails both comparisons and is kept as given.
    if (defaultValue > 1.0f)
        defaultValue = 1.0f;
    if (defaultValue < 0.0f)
        defaultValue = 0.0f;
    node->defaultValue = defaultValue;

    if (paramHead == nullptr)
        paramHead = node;
    if (paramTail != nullptr)
        paramTail->next = node;
    paramTail = node;
    ++paramCount;
}

const ParamInfo* CFFGLPluginManager::FindParam(uint32_t id) const
{
    for (const ParamInfo* node = paramHead; node != nullptr; node = node->next)
        if (static_cast<uint32_t>(node->id) == id)
            return node;
    return nullptr;
}

int32_t CFFGLPluginManager::FindParamElementCount(uint32_t id) const
{
    const ParamInfo* node = FindParam(id);
    return node != nullptr ? node->elementCount : FF_FAIL;
}

uint64_t CFFGLPluginManager::FindParamDefault(uint32_t id) const
{
    const ParamInfo* node = FindParam(id);
    if (node == nullptr)
        return FF_FAIL32;
    if (node->type == FF_TYPE_TEXT)
        return reinterpret_cast<uintptr_t>(node->defaultText);

    return FloatResult(node->defaultValue);
}

const char* CFFGLPluginManager::FindParamName(uint32_t id) const
{
    const ParamInfo* node = FindParam(id);
    return node != nullptr ? node->name : nullptr;
}

int32_t CFFGLPluginManager::FindParamType(uint32_t id) const
{
    const ParamInfo* node = FindParam(id);
    return node != nullptr ? node->type : FF_FAIL;
}

int32_t CFFGLPluginManager::FindParamCode32Value(uint32_t id) const
{
    const ParamInfo* node = FindParam(id);
    return node != nullptr ? node->code32Value : FF_FAIL;
}

} // namespace ZM_BUILD_NAMESPACE
