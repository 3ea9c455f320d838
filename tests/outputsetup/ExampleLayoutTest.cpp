// The bundled example layout reads as intended in both host folders.
#include "OutputSetupReader.h"
#include "ScopedHome.h"

#include <gtest/gtest.h>

namespace
{
class ExampleLayout : public ::testing::TestWithParam<bool>
{
protected:
    ScopedHome home { ZM_EXAMPLE_HOME };
};

TEST_P(ExampleLayout, ReadsThreeScreensThroughThePreset)
{
    OutputSetupReader reader(GetParam());
    ASSERT_EQ(reader.screens.size(), 3u);

    const auto& main = reader.screens[0];
    EXPECT_EQ(main.name, "Main Wall");
    EXPECT_TRUE(main.enabled);
    ASSERT_EQ(main.slices.size(), 4u);
    EXPECT_EQ(main.slices[2].name, "Hex Logo");
    EXPECT_EQ(main.slices[2].points.size(), 6u) << "the contour wins over the bounding rectangle";
    EXPECT_EQ(main.slices[2].points[1], juce::Point<float>(1605.0f, 427.2243f));
    EXPECT_FALSE(main.slices[3].enabled);

    const auto& side = reader.screens[1];
    EXPECT_EQ(side.name, "Side Screen");
    ASSERT_EQ(side.slices.size(), 2u);
    EXPECT_EQ(side.slices[0].points.size(), 3u);
    EXPECT_EQ(side.slices[1].points.size(), 4u);

    EXPECT_EQ(reader.screens[2].name, "Backstage Monitor");
    EXPECT_FALSE(reader.screens[2].enabled);
    EXPECT_EQ(reader.screens[2].slices.size(), 1u);

    EXPECT_FALSE(reader.Poll());
}

INSTANTIATE_TEST_SUITE_P(BothHostFolders, ExampleLayout, ::testing::Bool());
} // namespace
