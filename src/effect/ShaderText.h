#pragma once

#include <cstdint>
#include <string>
#include <vector>

inline namespace ZM_BUILD_NAMESPACE
{

/*
    The effect's two GLSL texts. The library stores them scrambled (a build
    step XORs the readable sources in src/effect/shaders/ with the key below)
    and unscrambles them afresh each time they are asked for. Each plug-in
    build links its own pair of texts and its own key; this routine is shared.

    Usage:
        SetShaderSources (GetVertexShaderText(), GetFragmentShaderText());
*/

/** Returns the vertex shader text of this build. */
std::string GetVertexShaderText();

/** Returns the fragment shader text of this build. */
std::string GetFragmentShaderText();

/** Unscrambles the n bytes at block and returns them all, zero bytes included.
    Byte i is XORed with key byte ((n + i) mod (K - 2)), K being the key's length,
    so the key's last two bytes are never used. A length of 0 or less gives an
    empty string and reads neither the block nor the key.
*/
std::string UnscrambleShaderText(const uint8_t* block, int32_t n);

/** The scrambling key, built by a static initialiser when the library loads. */
extern std::vector<uint8_t> ShaderTextKey;

} // namespace ZM_BUILD_NAMESPACE
