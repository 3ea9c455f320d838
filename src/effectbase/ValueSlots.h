#pragma once

#include <juce_core/juce_core.h>

#include <cstdint>

inline namespace ZM_BUILD_NAMESPACE
{

/**
    The value slots of a shader effect: for each parameter index one float
    value and one GLSL uniform name, the uniform locations resolved for those
    names, and the first index of each colour group.

    Both plug-in builds keep their parameters this way, so the bookkeeping lives
    here, free of any host interface: the build's Plugin registers the
    parameter with its own table and then appends the slot here, and at GL
    initialisation hands its own uniform lookup to ResolveUniformLocations.

    Usage:
        const int32_t index = slots.GetNumSlots();
        table.SetParamInfo (index, ...);
        slots.AddSlot ("inside", 0.1f);
        ...
        slots.ResolveUniformLocations ([&] (const char* name) { return lookUp (program, name); });

    Values are kept exactly as given; nothing here clamps them.
*/
class ValueSlots
{
public:
    /** Appends a slot holding the value, with the given uniform name (empty = no uniform); its index. */
    int32_t AddSlot(const juce::String& uniformName, float value);

    /** The number of slots, which is also the index the next slot receives. */
    int32_t GetNumSlots() const noexcept { return paramValues.size(); }

    /** Stores the value; an index past the slots changes nothing and gives false. */
    bool SetSlotValue(uint32_t index, float value) noexcept;

    /** The slot's value, or 0 for an index past the slots. */
    float GetSlotValue(uint32_t index) const noexcept;

    /** Records the first (hue) index of a colour group. */
    void AddColorGroup(int32_t hueIndex) { colorGroups.add(hueIndex); }

    /**
        Replaces the locations with one per slot, in index order, each what
        lookUp (NUL-terminated uniform name) answers. Every slot is looked up,
        empty names included: GL answers -1 for them, which later uniform calls
        ignore.
    */
    template <typename LookUp>
    void ResolveUniformLocations(LookUp&& lookUp)
    {
        // Rebuilt from scratch so that the locations always line up with the slots.
        uniformLocations.clearQuick();
        for (const auto& uniformName : uniformNames)
            uniformLocations.add(static_cast<int32_t>(lookUp(uniformName.toRawUTF8())));
    }

    /** The current value of each parameter, index = parameter id. */
    juce::Array<float> paramValues;
    /** The uniform name of each value slot; empty = no uniform. */
    juce::Array<juce::String> uniformNames;
    /** The location of each slot's uniform, filled when the program built; empty otherwise. */
    juce::Array<int32_t> uniformLocations;
    /** The first (hue) index of each colour group, in the order the groups were added. */
    juce::Array<int32_t> colorGroups;
};

} // namespace ZM_BUILD_NAMESPACE
