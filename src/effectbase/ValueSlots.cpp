#include "ValueSlots.h"

inline namespace ZM_BUILD_NAMESPACE
{

int32_t ValueSlots::AddSlot(const juce::String& uniformName, float value)
{
    const int32_t index = paramValues.size();
    uniformNames.add(uniformName);
    paramValues.add(value);
    return index;
}

bool ValueSlots::SetSlotValue(uint32_t index, float value) noexcept
{
    // Compared unsigned, so that a host's huge index can never wrap to a valid one.
    if (index >= static_cast<uint32_t>(paramValues.size()))
        return false;
    paramValues.set(static_cast<int>(index), value);
    return true;
}

float ValueSlots::GetSlotValue(uint32_t index) const noexcept
{
    if (index >= static_cast<uint32_t>(paramValues.size()))
        return 0.0f;
    return paramValues.getUnchecked(static_cast<int>(index));
}

} // namespace ZM_BUILD_NAMESPACE
