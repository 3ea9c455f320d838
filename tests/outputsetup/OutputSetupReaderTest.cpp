// The reader against real files in a temporary Documents folder: where it looks, which
// file it follows, and how Poll() follows the host's changes.
#include "LayoutFiles.h"
#include "TemporaryHome.h"

#include "OutputSetupReader.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
// A screen-setup body with one screen per given name, each with one rectangle slice.
juce::String screensXml (std::initializer_list<const char*> names)
{
    juce::String xml ("<screens>");

    for (auto* name : names)
        xml << "<Screen><Params name=\"Params\"><Param name=\"Name\" value=\"" << name << "\"/></Params>"
            << "<layers><Slice><InputRect><v x=\"0\" y=\"0\"/><v x=\"10\" y=\"0\"/><v x=\"10\" y=\"10\"/></InputRect></Slice></layers>"
            << "</Screen>";

    return xml + "</screens>";
}

// A settings file that holds its layout itself.
juce::String settingsWithScreens (std::initializer_list<const char*> names)
{
    return "<?xml version=\"1.0\"?>\n<XmlState name=\"AdvancedOutput\">" + screensXml (names) + "</XmlState>";
}

juce::String settingsNamingPreset (const char* preset, std::initializer_list<const char*> rootScreens = {})
{
    return juce::String ("<XmlState presetFile=\"") + preset + "\">" + screensXml (rootScreens) + "</XmlState>";
}

juce::String presetWithScreens (std::initializer_list<const char*> names)
{
    return "<AdvancedOutput><ScreenSetup name=\"ScreenSetup\">" + screensXml (names) + "</ScreenSetup></AdvancedOutput>";
}

std::vector<juce::String> names (const OutputSetupReader& reader)
{
    std::vector<juce::String> result;

    for (auto& screen : reader.screens)
        result.push_back (screen.name);

    return result;
}

using Names = std::vector<juce::String>;

class ReaderFiles : public ::testing::Test
{
protected:
    TemporaryHome home;
};

TEST_F (ReaderFiles, EachBuildReadsItsOwnHostFolder)
{
    TemporaryHome::write (home.settingsFile (false), settingsWithScreens ({ "Arena" }));
    TemporaryHome::write (home.settingsFile (true), settingsWithScreens ({ "Arena6" }));

    OutputSetupReader arena (false), arena6 (true);
    EXPECT_EQ (names (arena), Names { "Arena" });
    EXPECT_EQ (names (arena6), Names { "Arena6" });
    EXPECT_TRUE (arena.isLoaded());
}

TEST_F (ReaderFiles, MissingFolderGivesNoScreensAndNoChange)
{
    OutputSetupReader reader (false);
    EXPECT_TRUE (reader.screens.empty());
    EXPECT_FALSE (reader.isLoaded());
    EXPECT_FALSE (reader.Poll());
    EXPECT_FALSE (reader.Poll());
}

TEST_F (ReaderFiles, PresetIsFollowedAndRootIsIgnored)
{
    TemporaryHome::write (home.settingsFile(), settingsNamingPreset ("Show", { "Root" }));
    TemporaryHome::write (home.presetFile ("Show"), presetWithScreens ({ "One", "Two" }));

    OutputSetupReader reader (false);
    EXPECT_EQ (names (reader), (Names { "One", "Two" }));
}

TEST_F (ReaderFiles, MissingPresetGivesNoScreensEvenWhenRootHasSomeAndIsReadWhenItAppears)
{
    TemporaryHome::write (home.settingsFile(), settingsNamingPreset ("Later", { "Root" }));
    OutputSetupReader reader (false);
    EXPECT_TRUE (reader.screens.empty());
    EXPECT_TRUE (reader.isLoaded());
    EXPECT_FALSE (reader.Poll());

    // The host names a new preset a frame before it writes it.
    TemporaryHome::write (home.presetFile ("Later"), presetWithScreens ({ "Later" }), 1);
    EXPECT_TRUE (reader.Poll());
    EXPECT_EQ (names (reader), Names { "Later" });
}

TEST_F (ReaderFiles, PresetAttributeNameIsCaseSensitive)
{
    TemporaryHome::write (home.settingsFile(), "<XmlState PresetFile=\"Show\">" + screensXml ({ "Root" }) + "</XmlState>");
    TemporaryHome::write (home.presetFile ("Show"), presetWithScreens ({ "Preset" }));

    OutputSetupReader reader (false);
    EXPECT_EQ (names (reader), Names { "Root" });
}

TEST_F (ReaderFiles, PresetNeedsAScreenSetupChildMatchedWithoutCase)
{
    TemporaryHome::write (home.settingsFile(), settingsNamingPreset ("Show"));
    TemporaryHome::write (home.presetFile ("Show"), "<A><SCREENSETUP>" + screensXml ({ "Upper" }) + "</SCREENSETUP></A>");
    OutputSetupReader upper (false);
    EXPECT_EQ (names (upper), Names { "Upper" });

    TemporaryHome::write (home.presetFile ("Show"), "<A>" + screensXml ({ "Bare" }) + "</A>");
    OutputSetupReader bare (false);
    EXPECT_TRUE (bare.screens.empty());
}

TEST_F (ReaderFiles, PresetNameIsUsedUnchanged)
{
    TemporaryHome::write (home.settingsFile(), settingsNamingPreset (" My Show "));
    TemporaryHome::write (home.presetFile (" My Show "), presetWithScreens ({ "Spaced" }));
    OutputSetupReader spaced (false);
    EXPECT_EQ (names (spaced), Names { "Spaced" });

    TemporaryHome::write (home.settingsFile(), settingsNamingPreset (""));
    TemporaryHome::write (home.presetFile (""), presetWithScreens ({ "Dot" }));
    OutputSetupReader empty (false);
    EXPECT_EQ (names (empty), Names { "Dot" });
}

TEST_F (ReaderFiles, FoldersWhereFilesShouldBeCountAsMissing)
{
    home.settingsFile().createDirectory();
    OutputSetupReader noSettings (false);
    EXPECT_TRUE (noSettings.screens.empty());
    EXPECT_FALSE (noSettings.Poll());

    home.settingsFile().deleteRecursively();
    TemporaryHome::write (home.settingsFile(), settingsNamingPreset ("Show"));
    home.presetFile ("Show").createDirectory();
    OutputSetupReader noPreset (false);
    EXPECT_TRUE (noPreset.screens.empty());
    EXPECT_FALSE (noPreset.Poll());
}

TEST_F (ReaderFiles, NamedPipeAtTheSettingsPathIsNotOpened)
{
    // Opening a pipe without a writer would block; the reader must come back at once.
    home.settingsFile().getParentDirectory().createDirectory();
    ASSERT_EQ (::mkfifo (home.settingsFile().getFullPathName().toRawUTF8(), 0600), 0);

    OutputSetupReader reader (false);
    EXPECT_TRUE (reader.screens.empty());
    EXPECT_TRUE (reader.isLoaded());
    EXPECT_FALSE (reader.Poll());
}

TEST_F (ReaderFiles, UnreadableFileGivesNoScreens)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "file permissions do not bind root";

    TemporaryHome::write (home.settingsFile(), settingsWithScreens ({ "Locked" }));
    home.settingsFile().setReadOnly (true);
    ::chmod (home.settingsFile().getFullPathName().toRawUTF8(), 0);

    OutputSetupReader reader (false);
    EXPECT_TRUE (reader.screens.empty());
    EXPECT_TRUE (reader.isLoaded());
}

// ---- Poll() and the host's changes ----

TEST_F (ReaderFiles, SettingsFileCreatedAfterConstruction)
{
    OutputSetupReader reader (false);
    EXPECT_FALSE (reader.Poll());

    TemporaryHome::write (home.settingsFile(), settingsWithScreens ({ "New" }));
    EXPECT_TRUE (reader.Poll());
    EXPECT_EQ (names (reader), Names { "New" });
    EXPECT_FALSE (reader.Poll());
}

TEST_F (ReaderFiles, TouchReloadsTheSameScreens)
{
    TemporaryHome::write (home.settingsFile(), settingsWithScreens ({ "A", "B" }));
    OutputSetupReader reader (false);
    EXPECT_FALSE (reader.Poll());
    EXPECT_FALSE (reader.Poll());

    TemporaryHome::setTime (home.settingsFile(), 5);
    EXPECT_TRUE (reader.Poll());
    EXPECT_EQ (names (reader), (Names { "A", "B" }));
    EXPECT_FALSE (reader.Poll());
}

TEST_F (ReaderFiles, SaveWithinTheSameSecondIsNoticed)
{
    // Times are compared in milliseconds: a second save by the host 500 ms after the
    // first, within the same second, is a change.
    TemporaryHome::write (home.settingsFile(), settingsWithScreens ({ "A" }));
    const auto setMilliseconds = [this] (long milliseconds)
    {
        const struct timespec times[2] = { { 1600000000, milliseconds * 1000000L },
                                           { 1600000000, milliseconds * 1000000L } };
        ASSERT_EQ (::utimensat (AT_FDCWD, home.settingsFile().getFullPathName().toRawUTF8(), times, 0), 0);
    };
    setMilliseconds (100);
    OutputSetupReader reader (false);
    EXPECT_FALSE (reader.Poll());

    home.settingsFile().replaceWithText (settingsWithScreens ({ "A", "B" }));
    setMilliseconds (600);
    EXPECT_TRUE (reader.Poll());
    EXPECT_EQ (names (reader), (Names { "A", "B" }));
}

TEST_F (ReaderFiles, TimeSetBackCountsAsAChange)
{
    TemporaryHome::write (home.settingsFile(), settingsWithScreens ({ "A" }), 10);
    OutputSetupReader reader (false);

    TemporaryHome::write (home.settingsFile(), settingsWithScreens ({ "Older" }), 3);
    EXPECT_TRUE (reader.Poll());
    EXPECT_EQ (names (reader), Names { "Older" });
}

TEST_F (ReaderFiles, ReplacementWithTheSameTimeIsNotNoticed)
{
    TemporaryHome::write (home.settingsFile(), settingsWithScreens ({ "A" }), 4);
    OutputSetupReader reader (false);

    TemporaryHome::write (home.settingsFile(), settingsWithScreens ({ "B" }), 4);
    EXPECT_FALSE (reader.Poll());
    EXPECT_EQ (names (reader), Names { "A" });
}

TEST_F (ReaderFiles, DeletedSettingsKeepScreensUntilThePresetChanges)
{
    TemporaryHome::write (home.settingsFile(), settingsNamingPreset ("Show"));
    TemporaryHome::write (home.presetFile ("Show"), presetWithScreens ({ "P" }));
    OutputSetupReader reader (false);
    ASSERT_EQ (names (reader), Names { "P" });

    home.settingsFile().deleteFile();
    EXPECT_FALSE (reader.Poll());
    EXPECT_EQ (names (reader), Names { "P" });

    TemporaryHome::setTime (home.presetFile ("Show"), 7);
    EXPECT_TRUE (reader.Poll());
    EXPECT_TRUE (reader.screens.empty());
    EXPECT_FALSE (reader.Poll());
}

TEST_F (ReaderFiles, DeletedSettingsReCreated)
{
    TemporaryHome::write (home.settingsFile(), settingsWithScreens ({ "First" }), 1);
    OutputSetupReader reader (false);

    home.settingsFile().deleteFile();
    EXPECT_FALSE (reader.Poll());

    TemporaryHome::write (home.settingsFile(), settingsWithScreens ({ "Second" }), 2);
    EXPECT_TRUE (reader.Poll());
    EXPECT_EQ (names (reader), Names { "Second" });
}

TEST_F (ReaderFiles, DeletedPresetIsNotNoticedUntilSettingsChange)
{
    TemporaryHome::write (home.settingsFile(), settingsNamingPreset ("Show"));
    TemporaryHome::write (home.presetFile ("Show"), presetWithScreens ({ "P" }));
    OutputSetupReader reader (false);

    home.presetFile ("Show").deleteFile();
    EXPECT_FALSE (reader.Poll());
    EXPECT_EQ (names (reader), Names { "P" });

    TemporaryHome::setTime (home.settingsFile(), 9);
    EXPECT_TRUE (reader.Poll());
    EXPECT_TRUE (reader.screens.empty());

    TemporaryHome::write (home.presetFile ("Show"), presetWithScreens ({ "Back" }), 12);
    EXPECT_TRUE (reader.Poll());
    EXPECT_EQ (names (reader), Names { "Back" });
}

TEST_F (ReaderFiles, SettingsNowNamingAnotherPreset)
{
    TemporaryHome::write (home.settingsFile(), settingsNamingPreset ("Show"));
    TemporaryHome::write (home.presetFile ("Show"), presetWithScreens ({ "Show" }));
    TemporaryHome::write (home.presetFile ("Gig"), presetWithScreens ({ "Gig" }));
    OutputSetupReader reader (false);

    TemporaryHome::write (home.settingsFile(), settingsNamingPreset ("Gig"), 1);
    EXPECT_TRUE (reader.Poll());
    EXPECT_EQ (names (reader), Names { "Gig" });

    // Only the adopted preset is watched now.
    TemporaryHome::setTime (home.presetFile ("Show"), 20);
    EXPECT_FALSE (reader.Poll());
    TemporaryHome::setTime (home.presetFile ("Gig"), 20);
    EXPECT_TRUE (reader.Poll());
}

TEST_F (ReaderFiles, PresetChangeRereadsTheSettingsAttribute)
{
    TemporaryHome::write (home.settingsFile(), settingsNamingPreset ("Show"), 1);
    TemporaryHome::write (home.presetFile ("Show"), presetWithScreens ({ "Show" }), 1);
    TemporaryHome::write (home.presetFile ("Gig"), presetWithScreens ({ "Gig" }), 1);
    OutputSetupReader reader (false);

    // The settings file changes content but keeps its time; the preset's change triggers the read.
    TemporaryHome::write (home.settingsFile(), settingsNamingPreset ("Gig"), 1);
    TemporaryHome::setTime (home.presetFile ("Show"), 2);
    EXPECT_TRUE (reader.Poll());
    EXPECT_EQ (names (reader), Names { "Gig" });
}

TEST_F (ReaderFiles, SettingsWithoutPresetStillWatchesTheOldPreset)
{
    TemporaryHome::write (home.settingsFile(), settingsNamingPreset ("Show"));
    TemporaryHome::write (home.presetFile ("Show"), presetWithScreens ({ "P" }));
    OutputSetupReader reader (false);

    TemporaryHome::write (home.settingsFile(), settingsWithScreens ({ "Root" }), 1);
    EXPECT_TRUE (reader.Poll());
    EXPECT_EQ (names (reader), Names { "Root" });

    TemporaryHome::setTime (home.presetFile ("Show"), 3);
    EXPECT_TRUE (reader.Poll());
    EXPECT_EQ (names (reader), Names { "Root" });
}

TEST_F (ReaderFiles, BothFilesChangedBeforeOnePoll)
{
    TemporaryHome::write (home.settingsFile(), settingsNamingPreset ("Show"));
    TemporaryHome::write (home.presetFile ("Show"), presetWithScreens ({ "Old" }));
    OutputSetupReader reader (false);

    TemporaryHome::setTime (home.settingsFile(), 1);
    TemporaryHome::write (home.presetFile ("Show"), presetWithScreens ({ "New" }), 1);
    EXPECT_TRUE (reader.Poll());
    EXPECT_EQ (names (reader), Names { "New" });
    EXPECT_FALSE (reader.Poll());
}

TEST_F (ReaderFiles, FileThatFailsToParseIsReadAgainWhenItsTimeOrSizeChanges)
{
    TemporaryHome::write (home.settingsFile(), "<XmlState><screens><Screen>", 1);
    OutputSetupReader reader (false);
    EXPECT_TRUE (reader.screens.empty());
    EXPECT_TRUE (reader.isLoaded());
    EXPECT_FALSE (reader.Poll()) << "not parsed again while unchanged";

    // A save caught half way, finished within the same millisecond: only the length tells.
    TemporaryHome::write (home.settingsFile(), settingsWithScreens ({ "Fixed" }), 1);
    EXPECT_TRUE (reader.Poll());
    EXPECT_EQ (names (reader), Names { "Fixed" });

    TemporaryHome::setTime (home.settingsFile(), 2);
    EXPECT_TRUE (reader.Poll());
    EXPECT_EQ (names (reader), Names { "Fixed" });
}

TEST_F (ReaderFiles, HalfWrittenFileKeepsTheLastScreensOnlyWhenItWasReadBefore)
{
    TemporaryHome::write (home.settingsFile(), settingsNamingPreset ("Show"), 1);
    TemporaryHome::write (home.presetFile ("Show"), presetWithScreens ({ "Old" }), 1);
    OutputSetupReader reader (false);

    // Saved in two writes: the first half keeps the last screens, the whole file replaces them.
    const auto save = [&] (const juce::File& file, const juce::String& text, int step)
    {
        TemporaryHome::write (file, text.substring (0, text.length() / 2), step);
        EXPECT_FALSE (reader.Poll());
        EXPECT_EQ (names (reader), Names { "Old" });
        TemporaryHome::write (file, text, step);
        EXPECT_TRUE (reader.Poll());
    };
    save (home.presetFile ("Show"), presetWithScreens ({ "New" }), 2);
    EXPECT_EQ (names (reader), Names { "New" });
    TemporaryHome::write (home.presetFile ("Show"), presetWithScreens ({ "Old" }), 3);
    EXPECT_TRUE (reader.Poll());
    save (home.settingsFile(), settingsWithScreens ({ "Root" }), 4);
    EXPECT_EQ (names (reader), Names { "Root" });

    // A preset never read before gives nothing while it is half written.
    const auto gig = presetWithScreens ({ "Gig" });
    TemporaryHome::write (home.presetFile ("Gig"), gig.substring (0, gig.length() / 2), 5);
    TemporaryHome::write (home.settingsFile(), settingsNamingPreset ("Gig"), 5);
    EXPECT_TRUE (reader.Poll());
    EXPECT_TRUE (reader.screens.empty());
}

TEST_F (ReaderFiles, LoadSettingsFileAdoptsAnotherFile)
{
    OutputSetupReader reader (false);
    const auto other = home.folder.getChildFile ("elsewhere.xml");
    TemporaryHome::write (other, settingsWithScreens ({ "Elsewhere" }), 1);

    reader.LoadSettingsFile (other);
    EXPECT_EQ (names (reader), Names { "Elsewhere" });

    TemporaryHome::write (other, settingsWithScreens ({ "Changed" }), 2);
    EXPECT_TRUE (reader.Poll());
    EXPECT_EQ (names (reader), Names { "Changed" });
}

// ---- Hostile files: the reader keeps going and ends with what the rules give ----

TEST_F (ReaderFiles, DamagedSettingsFilesGiveNoScreens)
{
    const juce::String cases[] = {
        "",
        "<XmlState><screens><Screen name=\"x",            // truncated
        "<XmlState><screens><Screen/></screens></XmlState",  // last byte missing
        juce::String ("<XmlState><screens><Screen/></screens>\x01\x02 <\x7f>"), // binary tail
        "<!DOCTYPE x [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
        "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">]><XmlState><screens><Screen><Params name=\"Params\">"
        "<P name=\"Name\" value=\"&c;\"/></Params></Screen></screens></XmlState>",
        "<!DOCTYPE x SYSTEM \"/etc/passwd\"><XmlState><screens><Screen/></screens></XmlState>",
    };

    int step = 0;

    for (auto& text : cases)
    {
        TemporaryHome::write (home.settingsFile(), text, ++step);
        OutputSetupReader reader (false);
        EXPECT_TRUE (reader.screens.empty()) << text;
        EXPECT_FALSE (reader.Poll());
    }
}

TEST_F (ReaderFiles, DeepNestingIsRefusedWithoutCrashing)
{
    juce::String deep ("<XmlState><screens><Screen/></screens>");
    juce::MemoryOutputStream text;
    text << deep;

    for (int i = 0; i < 200000; ++i)
        text << "<a>";

    TemporaryHome::write (home.settingsFile(), text.toString() + "</XmlState>");
    OutputSetupReader reader (false);
    EXPECT_TRUE (reader.screens.empty());
}

TEST_F (ReaderFiles, TooLargeFileIsNotRead)
{
    TemporaryHome::write (home.settingsFile(), settingsWithScreens ({ "Big" }));
    // Sparse: grows the file past the limit without writing its bytes.
    ASSERT_EQ (::truncate (home.settingsFile().getFullPathName().toRawUTF8(), 200 * 1024 * 1024), 0);

    OutputSetupReader reader (false);
    EXPECT_TRUE (reader.screens.empty());
    EXPECT_TRUE (reader.isLoaded());
}

TEST_F (ReaderFiles, LayoutAsLargeAsTheHostWritesIsRead)
{
    TemporaryHome::write (home.settingsFile(), LayoutFiles::largestRealLayout());
    OutputSetupReader reader (false);
    ASSERT_EQ (reader.screens.size(), 24u);

    for (auto& screen : reader.screens)
    {
        ASSERT_EQ (screen.slices.size(), 42u);
        EXPECT_EQ (screen.slices.back().points.size(), 100u);
    }

    EXPECT_EQ (reader.screens[3].slices[5].points[36], juce::Point<float> (486.3125f, 452.6875f));
}

TEST_F (ReaderFiles, FilesThatWouldStallTheHostAreRefused)
{
    // JUCE's parser would take seconds to minutes on each (one screen each if it got through).
    const juce::String hostile[] = { LayoutFiles::distinctAttributeNames (1000000),
                                     LayoutFiles::distinctTagNames (2000000),
                                     LayoutFiles::manyPoints (95 << 20) };
    home.settingsFile().getParentDirectory().createDirectory();

    for (auto& text : hostile)
    {
        home.settingsFile().replaceWithData (text.toRawUTF8(), text.getNumBytesAsUTF8());
        OutputSetupReader reader (false);
        EXPECT_TRUE (reader.screens.empty()) << text.length();
    }
}
} // namespace
