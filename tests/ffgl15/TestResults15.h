#pragma once

#include <cstdint>
#include <cstring>

// Reading plugMain's 64-bit results in the tests.
namespace results15
{
inline uint32_t Low(uint64_t result)
{
    return static_cast<uint32_t>(result);
}

inline float AsFloat(uint64_t result)
{
    const uint32_t bits = Low(result);
    float value = 0.0f;
    std::memcpy(&value, &bits, sizeof(value));
    return value;
}

inline uint64_t FloatBits(float value)
{
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof(bits));
    return bits;
}

template <typename T>
uint64_t Address(T* pointer)
{
    return reinterpret_cast<uintptr_t>(pointer);
}
} // namespace results15
