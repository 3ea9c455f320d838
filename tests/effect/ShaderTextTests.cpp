#include "ShaderText.h"

#include "ShaderTestSupport.h"

#include <gtest/gtest.h>

#include <utility>

// Texts scrambled by the build with this build's key, for the cases the shaders lack
// (generated, like the shader texts, inside the build's namespace).
inline namespace ZM_BUILD_NAMESPACE
{
std::string GetZeroByteTestText();
std::string GetEmptyTestText();
} // namespace ZM_BUILD_NAMESPACE

namespace
{
// Swaps in another key for one test and puts the library's key back afterwards.
class KeySwap
{
public:
    explicit KeySwap(std::vector<uint8_t> key) : saved(std::exchange(ShaderTextKey, std::move(key))) {}
    ~KeySwap() { ShaderTextKey = std::move(saved); }
    KeySwap(const KeySwap&) = delete;
    KeySwap& operator=(const KeySwap&) = delete;

private:
    std::vector<uint8_t> saved;
};
} // namespace

TEST(ShaderText, NothingToUnscrambleGivesAnEmptyTextWithoutReadingBlockOrKey)
{
    EXPECT_EQ(GetEmptyTestText(), "");
    KeySwap noKey({});
    EXPECT_EQ(UnscrambleShaderText(nullptr, 0), "");
    EXPECT_EQ(UnscrambleShaderText(nullptr, -5), "");
}

TEST(ShaderText, ZeroBytesAndHighBytesAreKept)
{
    const std::string expected = shadertest::ReadFile(ZM_TEST_DATA "/zero_bytes.bin");
    ASSERT_EQ(expected.size(), 14u);
    const std::string text = GetZeroByteTestText();
    EXPECT_EQ(text.size(), 14u);
    EXPECT_EQ(text, expected);
}

TEST(ShaderText, UnscramblingLeavesTheBlockAsItWas)
{
    const uint8_t block[] = { 0x10, 0x00, 0xff, 0x7f, 0x80, 0x01 };
    const std::string first = UnscrambleShaderText(block, 6);
    EXPECT_EQ(UnscrambleShaderText(block, 6), first);
    EXPECT_EQ(block[0], 0x10);
    EXPECT_EQ(block[2], 0xff);
}

TEST(ShaderText, KeyPositionStartsAtTheLengthAndNeverReachesTheLastTwoBytes)
{
    KeySwap key({ 1, 2, 3, 4, 5 }); // positions cycle through 0, 1, 2 only
    const uint8_t zeros[7] = {};
    EXPECT_EQ(UnscrambleShaderText(zeros, 7), std::string("\x02\x03\x01\x02\x03\x01\x02", 7));
    EXPECT_EQ(UnscrambleShaderText(zeros, 4), std::string("\x02\x03\x01\x02", 4));
    const uint8_t text[2] = { 'A', 'B' };
    EXPECT_EQ(UnscrambleShaderText(text, 2), "BC"); // 'A' ^ key[2 % 3], 'B' ^ key[3 % 3]
}

TEST(ShaderText, AKeyTooShortToCycleLeavesTheBytesAsStored)
{
    KeySwap key({ 9, 9 });
    const uint8_t block[3] = { 'a', 0, 'c' };
    EXPECT_EQ(UnscrambleShaderText(block, 3), std::string("a\0c", 3));
}
