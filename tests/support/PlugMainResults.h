#pragma once

#include <cstdint>
#include <cstring>

// Packing plugMain's arguments and reading its 64-bit results, in the tests of both builds.
namespace results
{
inline uint32_t Low(uint64_t result)
{
    return static_cast<uint32_t>(result);
}

/** A float result travels as its bits in the low 32 bits. */
inline float AsFloat(uint64_t result)
{
    const uint32_t bits = Low(result);
    float value = 0.0f;
    std::memcpy(&value, &bits, sizeof(value));
    return value;
}

inline uint32_t FloatBits(float value)
{
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof(bits));
    return bits;
}

template <typename T>
uint64_t Address(T* pointer)
{
    return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(pointer));
}
} // namespace results
