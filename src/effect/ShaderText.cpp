#include "ShaderText.h"

inline namespace ZM_BUILD_NAMESPACE
{

std::string UnscrambleShaderText(const uint8_t* block, int32_t n)
{
    if (n <= 0)
        return {};

    std::string text(reinterpret_cast<const char*>(block), static_cast<size_t>(n));

    // A key shorter than three bytes can only mean it is not built yet (a call
    // during static initialisation); hand the bytes back rather than divide by zero.
    const size_t keyLength = ShaderTextKey.size();
    if (keyLength < 3)
        return text;

    const uint64_t period = static_cast<uint64_t>(keyLength - 2);
    for (int32_t i = 0; i < n; ++i)
    {
        // The stored blocks were made with a 32-bit signed index; wrap the same
        // way without relying on signed overflow.
        const auto index32 = static_cast<int32_t>(static_cast<uint32_t>(n) + static_cast<uint32_t>(i));
        const auto index = static_cast<uint64_t>(static_cast<int64_t>(index32));
        text[static_cast<size_t>(i)] = static_cast<char>(static_cast<uint8_t>(text[static_cast<size_t>(i)]) ^
                                                         ShaderTextKey[static_cast<size_t>(index % period)]);
    }
    return text;
}

} // namespace ZM_BUILD_NAMESPACE
