// The walk from a screen-setup element to screens, slices and points: which elements are
// found, how values are read, and what is assumed when something is missing.
#include "TemporaryHome.h"

#include "GuardedXmlParser.h"
#include "OutputSetupReader.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <clocale>
#include <cmath>

namespace
{
// Switches the process's locale to the first of the given ones that is installed, and back.
class ScopedLocale
{
public:
    explicit ScopedLocale(std::initializer_list<const char*> names)
    {
        for (auto* candidate : names)
            if (std::setlocale(LC_ALL, candidate) != nullptr)
            {
                name = candidate;
                break;
            }
    }

    ~ScopedLocale() { std::setlocale(LC_ALL, previous.c_str()); }

    const char* name = nullptr; // null when none is installed

private:
    const std::string previous = std::setlocale(LC_ALL, nullptr);
};

class Walk : public ::testing::Test
{
protected:
    TemporaryHome home; // empty: the reader starts with no screens
    OutputSetupReader reader { false };

    const std::vector<ScreenInfo>& Read(const char* xml)
    {
        reader.screens.clear();
        auto root = GuardedXmlParser::ParseText(juce::CharPointer_UTF8(xml));
        EXPECT_NE(root, nullptr) << xml;
        reader.ReadScreenSetup(root.get());
        return reader.screens;
    }

    // One screen whose Params group holds the given entries.
    const ScreenInfo& ScreenWithParams(const juce::String& entries)
    {
        auto xml = "<S><screens><Screen><Params name=\"Params\">" + entries + "</Params></Screen></screens></S>";
        auto& screens = Read(xml.toRawUTF8());
        EXPECT_EQ(screens.size(), 1u);
        return screens.front();
    }

    // The points of one slice whose InputRect holds the given point elements.
    std::vector<juce::Point<float>> PointsOf(const juce::String& points)
    {
        auto xml =
            "<S><screens><Screen><layers><L><InputRect>" + points + "</InputRect></L></layers></Screen></screens></S>";
        auto& screens = Read(xml.toRawUTF8());
        EXPECT_EQ(screens.size(), 1u);
        EXPECT_EQ(screens.front().slices.size(), 1u);
        return screens.front().slices.front().points;
    }

    float X(const char* text)
    {
        auto points = PointsOf(juce::String("<v x=\"") + text + "\" y=\"0\"/>");
        return points.size() == 1 ? points[0].x : -12345.0f;
    }
};

TEST_F(Walk, NothingToReadGivesNoScreens)
{
    reader.ReadScreenSetup(nullptr);
    EXPECT_TRUE(reader.screens.empty());
    EXPECT_TRUE(Read("<S/>").empty());
    EXPECT_TRUE(Read("<S><Screen/></S>").empty()) << "screens must sit in a screens element";
}

TEST_F(Walk, TagsMatchWithoutCaseAndOnlyTheFirstContainerCounts)
{
    auto& screens = Read(R"(<S>
        <SCREENS><screen/><sCrEeN/><Other/><Screens/></SCREENS>
        <screens><Screen/><Screen/><Screen/></screens>
    </S>)");
    EXPECT_EQ(screens.size(), 2u);
}

TEST_F(Walk, DefaultsWhenParamsAreMissing)
{
    auto& screens = Read(R"(<S><screens>
        <Screen/>
        <Screen><Params name="Params"/></Screen>
        <Screen><Params><P name="Name" value="NotTheGroup"/><P name="Enabled" value="0"/></Params></Screen>
        <Screen><Params name="params"><P name="Name" value="WrongCase"/></Params></Screen>
    </screens></S>)");
    ASSERT_EQ(screens.size(), 4u);

    for (auto& screen : screens)
    {
        EXPECT_EQ(screen.name, "Unknow");
        EXPECT_TRUE(screen.enabled);
        EXPECT_TRUE(screen.slices.empty());
    }
}

TEST_F(Walk, ScreenNameIsTakenUnchanged)
{
    EXPECT_EQ(ScreenWithParams(R"(<P name="Name" value="  Main &amp; Side  "/>)").name, "  Main & Side  ");
    EXPECT_EQ(ScreenWithParams(R"(<P name="Name"/>)").name, "");
    EXPECT_EQ(ScreenWithParams(R"(<P name="name" value="lower"/>)").name, "Unknow");
    EXPECT_EQ(ScreenWithParams(R"(<P name="Name" value="first"/><P name="Name" value="second"/>)").name, "first");
    EXPECT_EQ(ScreenWithParams(R"(<Name value="tag is not name"/>)").name, "Unknow");
}

TEST_F(Walk, TruthRule)
{
    const std::pair<const char*, bool> cases[] = {
        { R"(value="1")", true },
        { R"(value="True")", true },
        { R"(value="yes")", true },
        { R"(value="Y")", true },
        { R"(value="   t")", true },
        { "value=\"\t\n\r\x0b\x0c"
          "1\"",
          true },
        { R"(value="0")", false },
        { R"(value="false")", false },
        { R"(value="")", false },
        { R"(value="   ")", false },
        { R"(value="on")", false },
        { "", false },
        { R"(value="x1")", false },
    };

    for (auto& [attribute, expected] : cases)
    {
        auto entry = juce::String("<P name=\"Enabled\" ") + attribute + "/>";
        EXPECT_EQ(ScreenWithParams(entry).enabled, expected) << attribute;
    }

    EXPECT_TRUE(ScreenWithParams(R"(<P name="Name" value="no enabled entry"/>)").enabled);
}

TEST_F(Walk, SliceNameAndEnabledComeFromCommon)
{
    auto& screens = Read(R"(<S><screens><Screen><layers>
        <Slice><Params name="Common"><P name="Name" value="Left"/><P name="Enabled" value="0"/></Params><InputRect/></Slice>
        <Slice><InputRect/></Slice>
        <Slice><Params name="Common"><P name="Enabled"/><P name="Name"/></Params><InputRect/></Slice>
    </layers></Screen></screens></S>)");
    ASSERT_EQ(screens.size(), 1u);
    auto& slices = screens[0].slices;
    ASSERT_EQ(slices.size(), 3u);
    EXPECT_EQ(slices[0].name, "Left");
    EXPECT_FALSE(slices[0].enabled);
    EXPECT_EQ(slices[1].name, "");
    EXPECT_TRUE(slices[1].enabled);
    EXPECT_EQ(slices[2].name, "");
    EXPECT_FALSE(slices[2].enabled);
}

TEST_F(Walk, PointListChoice)
{
    auto& screens = Read(R"(<S><screens><Screen><layers>
        <Both><InputRect><v x="1" y="1"/></InputRect><InputContour><points><v x="2" y="2"/><v x="3" y="3"/></points></InputContour></Both>
        <ContourWithoutPoints><InputContour><other><v x="9" y="9"/></other></InputContour><inputrect><v x="4" y="4"/></inputrect></ContourWithoutPoints>
        <Neither><InputContour/><Output><v x="5" y="5"/></Output></Neither>
        <EmptyRect><InputRect/></EmptyRect>
        <CaseFree><INPUTCONTOUR><POINTS><v x="6" y="6"/></POINTS></INPUTCONTOUR></CaseFree>
    </layers></Screen></screens></S>)");
    ASSERT_EQ(screens.size(), 1u);
    auto& slices = screens[0].slices;
    ASSERT_EQ(slices.size(), 4u) << "the layer without a point list is dropped";
    EXPECT_EQ(slices[0].points, (std::vector<juce::Point<float>> { { 2, 2 }, { 3, 3 } }));
    EXPECT_EQ(slices[1].points, (std::vector<juce::Point<float>> { { 4, 4 } }));
    EXPECT_TRUE(slices[2].points.empty());
    EXPECT_EQ(slices[3].points, (std::vector<juce::Point<float>> { { 6, 6 } }));
}

TEST_F(Walk, PointsKeepDocumentOrderAndDefaults)
{
    auto points = PointsOf(R"(<a x="10" y="20"/><b y="7"/><c x="3.25"/>text<d X="1" Y="1"/><a x="10" y="20"/>)");
    EXPECT_EQ(points, (std::vector<juce::Point<float>> { { 10, 20 }, { 0, 7 }, { 3.25f, 0 }, { 0, 0 }, { 10, 20 } }));
}

TEST_F(Walk, NumberRule)
{
    EXPECT_EQ(X("12.5"), 12.5f);
    EXPECT_EQ(X("  -3.75"), -3.75f);
    EXPECT_EQ(X("+4"), 4.0f);
    EXPECT_EQ(X(".5"), 0.5f);
    EXPECT_EQ(X("7."), 7.0f);
    EXPECT_EQ(X("1.5e2"), 150.0f);
    EXPECT_EQ(X("25E-1"), 2.5f);
    EXPECT_EQ(X("2e"), 2.0f);
    EXPECT_EQ(X("8px"), 8.0f);
    EXPECT_EQ(X("1,5"), 1.0f);
    EXPECT_EQ(X("0.1"), 0.1f) << "nearest float of the double";
    EXPECT_EQ(X("1e30"), 1e30f);

    for (auto* garbage : { "", "abc", "-", "+-1", ".", "nan", "inf", "-infinity", "0x10", "e5" })
        EXPECT_EQ(X(garbage), 0.0f) << garbage;
}

TEST_F(Walk, OutOfRangeNumbersBecomeTheNearestFloat)
{
    EXPECT_EQ(X("1e39"), FLT_MAX);
    EXPECT_EQ(X("-1e39"), -FLT_MAX);
    EXPECT_EQ(X("1e400"), FLT_MAX);
    EXPECT_EQ(X("-123456789e999999999999"), -FLT_MAX);
    EXPECT_EQ(X("1e-400"), 0.0f);
    EXPECT_EQ(X("0.0000000000000000000000000000000000000000000000001"), 0.0f);
    EXPECT_TRUE(std::isfinite(X("99999999999999999999999999999999999999999999999999")));
}

TEST_F(Walk, NumbersIgnoreTheLocale)
{
    const ScopedLocale comma({ "de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "de_DE", "nl_NL.UTF-8" });

    if (comma.name == nullptr)
        GTEST_SKIP() << "no locale with a decimal comma is installed";

    EXPECT_EQ(X("1234.5"), 1234.5f) << comma.name;
}

TEST_F(Walk, TagsAndNamesReadTheSameInEveryLocale)
{
    // Turkish upper-cases "i" to a dotted capital; the C locale knows no letter beyond ASCII.
    for (auto locale : { std::initializer_list<const char*> { "tr_TR.UTF-8", "tr_TR.utf8" }, { "C" } })
    {
        const ScopedLocale scoped(locale);

        if (scoped.name == nullptr)
        {
            ADD_FAILURE() << *locale.begin() << " is not installed (scripts/install-deps.sh installs it)";
            continue;
        }

        auto& screens = Read(R"(<S><screens><Screen><layers>
            <A><inputrect><v/></inputrect></A>
            <B><InputContour><POINTS><v/></POINTS></InputContour></B>
            <Écran><INPUTRECT><v/></INPUTRECT></Écran>
        </layers></Screen></screens></S>)");
        ASSERT_EQ(screens.size(), 1u) << scoped.name;
        EXPECT_EQ(screens[0].slices.size(), 3u) << scoped.name;
    }
}

TEST_F(Walk, ScreensAndSlicesKeepDocumentOrder)
{
    auto& screens = Read(R"(<S><screens>
        <Screen><Params name="Params"><P name="Name" value="Empty"/></Params></Screen>
        <Screen><Params name="Params"><P name="Name" value="Full"/><P name="Enabled" value="0"/></Params>
          <layers>
            <A><Params name="Common"><P name="Name" value="s1"/></Params><InputRect><v/></InputRect></A>
            <B><Params name="Common"><P name="Name" value="s2"/></Params><InputRect><v/><v/></InputRect></B>
          </layers>
          <layers><C><InputRect/></C></layers>
        </Screen>
        <Screen><layers/></Screen>
    </screens></S>)");
    ASSERT_EQ(screens.size(), 3u);
    EXPECT_EQ(screens[0].name, "Empty");
    EXPECT_TRUE(screens[0].slices.empty());
    EXPECT_EQ(screens[1].name, "Full");
    EXPECT_FALSE(screens[1].enabled);
    ASSERT_EQ(screens[1].slices.size(), 2u);
    EXPECT_EQ(screens[1].slices[0].name, "s1");
    EXPECT_EQ(screens[1].slices[1].points.size(), 2u);
    EXPECT_EQ(screens[2].name, "Unknow");
    EXPECT_TRUE(screens[2].slices.empty());
}

TEST_F(Walk, ReadScreenSetupAppends)
{
    auto root = GuardedXmlParser::ParseText("<S><screens><Screen/></screens></S>");
    reader.ReadScreenSetup(root.get());
    reader.ReadScreenSetup(root.get());
    EXPECT_EQ(reader.screens.size(), 2u);
}
} // namespace
