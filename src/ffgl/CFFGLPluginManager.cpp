#include "CFFGLPluginManager.h"
#include "FFGLTypes.h"

inline namespace ZM_BUILD_NAMESPACE
{

namespace
{
ParamInfo MakeRecord(int32_t id, const char* name, int32_t type, float defaultValue, size_t elementCount)
{
    ParamInfo record;
    record.id = id;
    CopyFixedWidth(record.name, sizeof(record.name), name); // a 16-character name stays unterminated
    record.type = type;
    record.elements.resize(elementCount);
    record.defaultValue = defaultValue;
    return record;
}
} // namespace

CFFGLPluginManager::CFFGLPluginManager() = default;

CFFGLPluginManager::~CFFGLPluginManager() = default;

void CFFGLPluginManager::SetParamInfo(int32_t id, const char* name, int32_t type, float defaultValue)
{
    // Only standard parameters are clamped; a NaN passes both comparisons unchanged.
    if (type == FF_TYPE_STANDARD)
    {
        if (defaultValue > 1.0f)
            defaultValue = 1.0f;
        if (defaultValue < 0.0f)
            defaultValue = 0.0f;
    }
    params.push_back(MakeRecord(id, name, type, defaultValue, 1));
}

void CFFGLPluginManager::SetOptionParamInfo(int32_t id, const char* name, uint32_t elementCount, float defaultValue)
{
    params.push_back(MakeRecord(id, name, FF_TYPE_OPTION, defaultValue, elementCount));
}

void CFFGLPluginManager::SetParamElementInfo(int32_t id, uint32_t elementIndex, const char* name, float value)
{
    ParamInfo* record = FindParam(id);
    if (record == nullptr || elementIndex >= record->elements.size())
        return;
    ParamElement& element = record->elements[elementIndex];
    element.name = name != nullptr ? name : "";
    element.value = value;
}

ParamInfo* CFFGLPluginManager::FindParam(int32_t id)
{
    for (auto& record : params)
        if (record.id == id)
            return &record;
    return nullptr;
}

const ParamInfo* CFFGLPluginManager::FindParam(int32_t id) const
{
    return const_cast<CFFGLPluginManager*>(this)->FindParam(id);
}

} // namespace ZM_BUILD_NAMESPACE
