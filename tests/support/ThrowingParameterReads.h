#pragma once

#include <cstdint>
#include <stdexcept>

/**
    An effect whose parameter reads throw while readsThrow is set, as a fault
    deep inside a host call would; for checking what the host boundary does
    with it.

    Usage:
        class Probe : public ThrowingParameterReads<Zephyrmantle> { ... };
        probe.readsThrow = true;
        probe.ProcessOpenGL (nullptr);   // still answers success
*/
template <typename Effect>
class ThrowingParameterReads : public Effect
{
public:
    bool readsThrow = false;

    float GetFloatParameter(uint32_t index) override
    {
        if (readsThrow)
            throw std::runtime_error("parameter read failed");
        return Effect::GetFloatParameter(index);
    }
};
