// The reader against real files in a temporary Documents folder: where it looks, which
// file it follows, and how Poll() follows the host's changes.
#include "LayoutFiles.h"
#include "TemporaryHome.h"

#include "FileStatus.h"
#include "OutputSetupReader.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <functional>
#include <limits>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
// A screen-setup body with one screen per given name, each with one rectangle slice.
juce::String ScreensXml(std::initializer_list<const char*> names)
{
    juce::String xml("<screens>");

    for (auto* name : names)
        xml << "<Screen><Params name=\"Params\"><Param name=\"Name\" value=\"" << name << "\"/></Params>"
            << "<layers><Slice><InputRect><v x=\"0\" y=\"0\"/><v x=\"10\" y=\"0\"/><v x=\"10\" "
               "y=\"10\"/></InputRect></Slice></layers>"
            << "</Screen>";

    return xml + "</screens>";
}

// A settings file that holds its layout itself.
juce::String SettingsWithScreens(std::initializer_list<const char*> names)
{
    return "<?xml version=\"1.0\"?>\n<XmlState name=\"AdvancedOutput\">" + ScreensXml(names) + "</XmlState>";
}

juce::String SettingsNamingPreset(const char* preset, std::initializer_list<const char*> rootScreens = {})
{
    return juce::String("<XmlState presetFile=\"") + preset + "\">" + ScreensXml(rootScreens) + "</XmlState>";
}

juce::String PresetWithScreens(std::initializer_list<const char*> names)
{
    return "<AdvancedOutput><ScreenSetup name=\"ScreenSetup\">" + ScreensXml(names) + "</ScreenSetup></AdvancedOutput>";
}

std::vector<juce::String> ScreenNames(const OutputSetupReader& reader)
{
    std::vector<juce::String> result;

    for (auto& screen : reader.screens)
        result.push_back(screen.name);

    return result;
}

using Names = std::vector<juce::String>;

// The clock and the opens of the reader, as the tests set them; put back after each test.
struct StandIns
{
    static inline juce::int64 clock = 0;
    static inline juce::File failing;                     // opening it fails
    static inline std::map<juce::String, int> openCounts; // opens asked for, by path

    static juce::int64 Now() { return clock; }

    static bool OpenFails(const juce::File& file)
    {
        ++openCounts[file.getFullPathName()];
        return file == failing;
    }
};

// Writes part of a file where it stands, as a host saving in place does, and leaves its length.
void WriteInPlace(const juce::File& file, const juce::String& text, int from, int to)
{
    const int fd = ::open(file.getFullPathName().toRawUTF8(), O_WRONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::pwrite(fd, text.toRawUTF8() + from, (size_t)(to - from), from), to - from);
    ::close(fd);
}

// Gives a file a modification time to the nanosecond: several saves within one tick.
void SetExactTime(const juce::File& file, long nanoseconds)
{
    const struct timespec times[2] = { { 1600000000, nanoseconds }, { 1600000000, nanoseconds } };
    ASSERT_EQ(::utimensat(AT_FDCWD, file.getFullPathName().toRawUTF8(), times, 0), 0);
}

class ReaderFiles : public ::testing::Test
{
protected:
    TemporaryHome home;

    void SetUp() override
    {
        StandIns::clock = std::numeric_limits<juce::int64>::max() / 2;
        StandIns::failing = juce::File();
        StandIns::openCounts.clear();
        FileStatus::testStandIns = { &StandIns::Now, &StandIns::OpenFails };
    }

    void TearDown() override { FileStatus::testStandIns = {}; }
};

TEST_F(ReaderFiles, EachBuildReadsItsOwnHostFolder)
{
    TemporaryHome::Write(home.SettingsFile(false), SettingsWithScreens({ "Arena" }));
    TemporaryHome::Write(home.SettingsFile(true), SettingsWithScreens({ "Arena6" }));

    OutputSetupReader arena(false), arena6(true);
    EXPECT_EQ(ScreenNames(arena), Names { "Arena" });
    EXPECT_EQ(ScreenNames(arena6), Names { "Arena6" });
    EXPECT_TRUE(arena.IsLoaded());
}

TEST_F(ReaderFiles, MissingFolderGivesNoScreensAndNoChange)
{
    OutputSetupReader reader(false);
    EXPECT_TRUE(reader.screens.empty());
    EXPECT_FALSE(reader.IsLoaded());
    EXPECT_FALSE(reader.Poll());
    EXPECT_FALSE(reader.Poll());
}

TEST_F(ReaderFiles, PresetIsFollowedAndRootIsIgnored)
{
    TemporaryHome::Write(home.SettingsFile(), SettingsNamingPreset("Show", { "Root" }));
    TemporaryHome::Write(home.PresetFile("Show"), PresetWithScreens({ "One", "Two" }));

    OutputSetupReader reader(false);
    EXPECT_EQ(ScreenNames(reader), (Names { "One", "Two" }));
}

TEST_F(ReaderFiles, MissingPresetGivesNoScreensEvenWhenRootHasSomeAndIsReadWhenItAppears)
{
    TemporaryHome::Write(home.SettingsFile(), SettingsNamingPreset("Later", { "Root" }));
    OutputSetupReader reader(false);
    EXPECT_TRUE(reader.screens.empty());
    EXPECT_TRUE(reader.IsLoaded());
    EXPECT_FALSE(reader.Poll());

    // The host names a new preset a frame before it writes it.
    TemporaryHome::Write(home.PresetFile("Later"), PresetWithScreens({ "Later" }), 1);
    EXPECT_TRUE(reader.Poll());
    EXPECT_EQ(ScreenNames(reader), Names { "Later" });
}

TEST_F(ReaderFiles, PresetAttributeNameIsCaseSensitive)
{
    TemporaryHome::Write(home.SettingsFile(),
                         "<XmlState PresetFile=\"Show\">" + ScreensXml({ "Root" }) + "</XmlState>");
    TemporaryHome::Write(home.PresetFile("Show"), PresetWithScreens({ "Preset" }));

    OutputSetupReader reader(false);
    EXPECT_EQ(ScreenNames(reader), Names { "Root" });
}

TEST_F(ReaderFiles, PresetNeedsAScreenSetupChildMatchedWithoutCase)
{
    TemporaryHome::Write(home.SettingsFile(), SettingsNamingPreset("Show"));
    TemporaryHome::Write(home.PresetFile("Show"), "<A><SCREENSETUP>" + ScreensXml({ "Upper" }) + "</SCREENSETUP></A>");
    OutputSetupReader upper(false);
    EXPECT_EQ(ScreenNames(upper), Names { "Upper" });

    TemporaryHome::Write(home.PresetFile("Show"), "<A>" + ScreensXml({ "Bare" }) + "</A>");
    OutputSetupReader bare(false);
    EXPECT_TRUE(bare.screens.empty());
}

TEST_F(ReaderFiles, PresetNameIsUsedUnchanged)
{
    TemporaryHome::Write(home.SettingsFile(), SettingsNamingPreset(" My Show "));
    TemporaryHome::Write(home.PresetFile(" My Show "), PresetWithScreens({ "Spaced" }));
    OutputSetupReader spaced(false);
    EXPECT_EQ(ScreenNames(spaced), Names { "Spaced" });

    TemporaryHome::Write(home.SettingsFile(), SettingsNamingPreset(""));
    TemporaryHome::Write(home.PresetFile(""), PresetWithScreens({ "Dot" }));
    OutputSetupReader empty(false);
    EXPECT_EQ(ScreenNames(empty), Names { "Dot" });
}

TEST_F(ReaderFiles, FoldersWhereFilesShouldBeCountAsMissing)
{
    home.SettingsFile().createDirectory();
    OutputSetupReader noSettings(false);
    EXPECT_TRUE(noSettings.screens.empty());
    EXPECT_FALSE(noSettings.Poll());

    home.SettingsFile().deleteRecursively();
    TemporaryHome::Write(home.SettingsFile(), SettingsNamingPreset("Show"));
    home.PresetFile("Show").createDirectory();
    OutputSetupReader noPreset(false);
    EXPECT_TRUE(noPreset.screens.empty());
    EXPECT_FALSE(noPreset.Poll());
}

TEST_F(ReaderFiles, NamedPipeAtTheSettingsPathIsNotOpened)
{
    // Opening a pipe without a writer would block; the reader must come back at once.
    home.SettingsFile().getParentDirectory().createDirectory();
    ASSERT_EQ(::mkfifo(home.SettingsFile().getFullPathName().toRawUTF8(), 0600), 0);

    OutputSetupReader reader(false);
    EXPECT_TRUE(reader.screens.empty());
    EXPECT_TRUE(reader.IsLoaded());
    EXPECT_FALSE(reader.Poll());
}

TEST_F(ReaderFiles, FileThatCannotBeOpenedIsTriedAgainUntilItIsRead)
{
    // Locked by the host while it writes, or without read permission: nothing was read, so
    // the last screens stay and each poll tries again until the file opens.
    StandIns::failing = home.SettingsFile();
    TemporaryHome::Write(home.SettingsFile(), SettingsNamingPreset("Show"));
    TemporaryHome::Write(home.PresetFile("Show"), PresetWithScreens({ "A" }));
    OutputSetupReader reader(false);
    EXPECT_TRUE(reader.screens.empty());
    EXPECT_TRUE(reader.IsLoaded());
    StandIns::failing = juce::File();
    EXPECT_TRUE(reader.Poll());
    EXPECT_EQ(ScreenNames(reader), Names { "A" });

    // A save the reader cannot open for a few frames, for the settings file and for the preset.
    const auto saveLocked = [&](const juce::File& file, const juce::String& text, int step, const Names& after)
    {
        const auto before = ScreenNames(reader);
        TemporaryHome::Write(file, text, step);
        StandIns::failing = file;
        StandIns::openCounts.clear();

        for (int frame = 0; frame < 3; ++frame)
        {
            EXPECT_FALSE(reader.Poll());
            EXPECT_EQ(ScreenNames(reader), before);
        }

        EXPECT_EQ(StandIns::openCounts[file.getFullPathName()], 3);
        StandIns::failing = juce::File();
        EXPECT_TRUE(reader.Poll());
        EXPECT_EQ(ScreenNames(reader), after);
        EXPECT_FALSE(reader.Poll());
    };
    saveLocked(home.SettingsFile(), SettingsWithScreens({ "B" }), 1, { "B" });
    TemporaryHome::Write(home.SettingsFile(), SettingsNamingPreset("Show"), 2);
    EXPECT_TRUE(reader.Poll());
    saveLocked(home.PresetFile("Show"), PresetWithScreens({ "C" }), 3, { "C" });
}

// ---- Poll() and the host's changes ----

TEST_F(ReaderFiles, SettingsFileCreatedAfterConstruction)
{
    OutputSetupReader reader(false);
    EXPECT_FALSE(reader.Poll());

    TemporaryHome::Write(home.SettingsFile(), SettingsWithScreens({ "New" }));
    EXPECT_TRUE(reader.Poll());
    EXPECT_EQ(ScreenNames(reader), Names { "New" });
    EXPECT_FALSE(reader.Poll());
}

TEST_F(ReaderFiles, TouchReloadsTheSameScreens)
{
    TemporaryHome::Write(home.SettingsFile(), SettingsWithScreens({ "A", "B" }));
    OutputSetupReader reader(false);
    EXPECT_FALSE(reader.Poll());
    EXPECT_FALSE(reader.Poll());

    TemporaryHome::SetTime(home.SettingsFile(), 5);
    EXPECT_TRUE(reader.Poll());
    EXPECT_EQ(ScreenNames(reader), (Names { "A", "B" }));
    EXPECT_FALSE(reader.Poll());
}

TEST_F(ReaderFiles, SaveWithinTheSameSecondIsNoticed)
{
    // Times are compared in milliseconds: a second save by the host 500 ms after the
    // first, within the same second, is a change.
    TemporaryHome::Write(home.SettingsFile(), SettingsWithScreens({ "A" }));
    const auto setMilliseconds = [this](long milliseconds)
    {
        const struct timespec times[2] = { { 1600000000, milliseconds * 1000000L },
                                           { 1600000000, milliseconds * 1000000L } };
        ASSERT_EQ(::utimensat(AT_FDCWD, home.SettingsFile().getFullPathName().toRawUTF8(), times, 0), 0);
    };
    setMilliseconds(100);
    OutputSetupReader reader(false);
    EXPECT_FALSE(reader.Poll());

    home.SettingsFile().replaceWithText(SettingsWithScreens({ "A", "B" }));
    setMilliseconds(600);
    EXPECT_TRUE(reader.Poll());
    EXPECT_EQ(ScreenNames(reader), (Names { "A", "B" }));
}

TEST_F(ReaderFiles, TimeSetBackCountsAsAChange)
{
    TemporaryHome::Write(home.SettingsFile(), SettingsWithScreens({ "A" }), 10);
    OutputSetupReader reader(false);

    TemporaryHome::Write(home.SettingsFile(), SettingsWithScreens({ "Older" }), 3);
    EXPECT_TRUE(reader.Poll());
    EXPECT_EQ(ScreenNames(reader), Names { "Older" });
}

TEST_F(ReaderFiles, SavesWithinOneTickAreRead)
{
    // Each save leaves the settings file with the very same modification time and length.
    // A new file put in its place differs in identity; a file read within the tick of its
    // time is read again once that tick is over, whether or not anything shows a change.
    const auto first = SettingsWithScreens({ "A1", "A2" }), second = SettingsWithScreens({ "B1", "B2" });
    const int half = second.length() / 2;
    const auto settings = home.SettingsFile();
    ASSERT_EQ(first.length(), second.length());

    const struct
    {
        const char* what;
        bool readWithinTheTick;
        std::vector<std::function<void()>> saves;
        Names last;
    } cases[] = {
        { "a new file renamed over the old one",
          false,
          { [&] { TemporaryHome::Write(settings, second); } },
          { "B1", "B2" } },
        { "rewritten in place in two writes, a frame apart",
          true,
          { [&] { WriteInPlace(settings, second, 0, half); },
            [&] { WriteInPlace(settings, second, half, second.length()); } },
          { "B1", "B2" } },
        { "read within the tick of its time, unchanged since", true, {}, { "A1", "A2" } },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        TemporaryHome::Write(settings, first);
        SetExactTime(settings, 123456789);
        StandIns::clock = FileStatus::Of(settings).modified + (c.readWithinTheTick ? 0 : 1000000000);
        OutputSetupReader reader(false);

        for (const auto& save : c.saves)
        {
            save();
            SetExactTime(settings, 123456789);
            reader.Poll();
        }

        EXPECT_FALSE(reader.Poll()) << "nothing more while the tick lasts";
        StandIns::clock = std::numeric_limits<juce::int64>::max() / 2;
        const auto opensBefore = StandIns::openCounts[settings.getFullPathName()];
        EXPECT_FALSE(reader.Poll()) << "the same screens read again are no change";
        EXPECT_EQ(StandIns::openCounts[settings.getFullPathName()] - opensBefore, c.readWithinTheTick ? 1 : 0)
            << "read again once the tick is over, only if read within it";
        EXPECT_EQ(ScreenNames(reader), c.last);
        EXPECT_FALSE(reader.Poll()) << "read again once, not every frame";
    }
}

TEST_F(ReaderFiles, DeletedSettingsKeepScreensUntilThePresetChanges)
{
    TemporaryHome::Write(home.SettingsFile(), SettingsNamingPreset("Show"));
    TemporaryHome::Write(home.PresetFile("Show"), PresetWithScreens({ "P" }));
    OutputSetupReader reader(false);
    ASSERT_EQ(ScreenNames(reader), Names { "P" });

    home.SettingsFile().deleteFile();
    EXPECT_FALSE(reader.Poll());
    EXPECT_EQ(ScreenNames(reader), Names { "P" });

    TemporaryHome::SetTime(home.PresetFile("Show"), 7);
    EXPECT_TRUE(reader.Poll());
    EXPECT_TRUE(reader.screens.empty());
    EXPECT_FALSE(reader.Poll());
}

TEST_F(ReaderFiles, DeletedSettingsReCreated)
{
    TemporaryHome::Write(home.SettingsFile(), SettingsWithScreens({ "First" }), 1);
    OutputSetupReader reader(false);

    home.SettingsFile().deleteFile();
    EXPECT_FALSE(reader.Poll());

    TemporaryHome::Write(home.SettingsFile(), SettingsWithScreens({ "Second" }), 2);
    EXPECT_TRUE(reader.Poll());
    EXPECT_EQ(ScreenNames(reader), Names { "Second" });
}

TEST_F(ReaderFiles, DeletedPresetIsNotNoticedUntilSettingsChange)
{
    TemporaryHome::Write(home.SettingsFile(), SettingsNamingPreset("Show"));
    TemporaryHome::Write(home.PresetFile("Show"), PresetWithScreens({ "P" }));
    OutputSetupReader reader(false);

    home.PresetFile("Show").deleteFile();
    EXPECT_FALSE(reader.Poll());
    EXPECT_EQ(ScreenNames(reader), Names { "P" });

    TemporaryHome::SetTime(home.SettingsFile(), 9);
    EXPECT_TRUE(reader.Poll());
    EXPECT_TRUE(reader.screens.empty());

    TemporaryHome::Write(home.PresetFile("Show"), PresetWithScreens({ "Back" }), 12);
    EXPECT_TRUE(reader.Poll());
    EXPECT_EQ(ScreenNames(reader), Names { "Back" });
}

TEST_F(ReaderFiles, SettingsNowNamingAnotherPreset)
{
    TemporaryHome::Write(home.SettingsFile(), SettingsNamingPreset("Show"));
    TemporaryHome::Write(home.PresetFile("Show"), PresetWithScreens({ "Show" }));
    TemporaryHome::Write(home.PresetFile("Gig"), PresetWithScreens({ "Gig" }));
    OutputSetupReader reader(false);

    TemporaryHome::Write(home.SettingsFile(), SettingsNamingPreset("Gig"), 1);
    EXPECT_TRUE(reader.Poll());
    EXPECT_EQ(ScreenNames(reader), Names { "Gig" });

    // Only the adopted preset is watched now.
    TemporaryHome::SetTime(home.PresetFile("Show"), 20);
    EXPECT_FALSE(reader.Poll());
    TemporaryHome::SetTime(home.PresetFile("Gig"), 20);
    EXPECT_TRUE(reader.Poll());
}

TEST_F(ReaderFiles, SettingsSavedAgainWithTheSamePresetDoNotReadThePresetAgain)
{
    TemporaryHome::Write(home.SettingsFile(), SettingsNamingPreset("Show"));
    TemporaryHome::Write(home.PresetFile("Show"), PresetWithScreens({ "Show" }));
    OutputSetupReader reader(false);
    const auto presetOpens = [this] { return StandIns::openCounts[home.PresetFile("Show").getFullPathName()]; };
    ASSERT_EQ(presetOpens(), 1);

    // The host saves its settings on many occasions; a large show's preset would be parsed each time.
    TemporaryHome::Write(home.SettingsFile(), SettingsNamingPreset("Show"), 1);
    EXPECT_FALSE(reader.Poll()) << "the screens are the same";
    EXPECT_EQ(ScreenNames(reader), Names { "Show" });
    EXPECT_EQ(presetOpens(), 1);

    // A changed preset is read, and after settings without a preset the preset is read again.
    TemporaryHome::Write(home.PresetFile("Show"), PresetWithScreens({ "New" }), 2);
    TemporaryHome::Write(home.SettingsFile(), SettingsNamingPreset("Show"), 2);
    EXPECT_TRUE(reader.Poll());
    EXPECT_EQ(ScreenNames(reader), Names { "New" });
    TemporaryHome::Write(home.SettingsFile(), SettingsWithScreens({ "Root" }), 3);
    EXPECT_TRUE(reader.Poll());
    TemporaryHome::Write(home.SettingsFile(), SettingsNamingPreset("Show"), 4);
    EXPECT_TRUE(reader.Poll());
    EXPECT_EQ(ScreenNames(reader), Names { "New" });
    EXPECT_EQ(presetOpens(), 3);
}

TEST_F(ReaderFiles, PresetChangeRereadsTheSettingsAttribute)
{
    TemporaryHome::Write(home.SettingsFile(), SettingsNamingPreset("Show"), 1);
    TemporaryHome::Write(home.PresetFile("Show"), PresetWithScreens({ "Show" }), 1);
    TemporaryHome::Write(home.PresetFile("Gig"), PresetWithScreens({ "Gig" }), 1);
    OutputSetupReader reader(false);

    // The settings file changes content but keeps its time; the preset's change triggers the read.
    TemporaryHome::Write(home.SettingsFile(), SettingsNamingPreset("Gig"), 1);
    TemporaryHome::SetTime(home.PresetFile("Show"), 2);
    EXPECT_TRUE(reader.Poll());
    EXPECT_EQ(ScreenNames(reader), Names { "Gig" });
}

TEST_F(ReaderFiles, SettingsWithoutPresetStillWatchesTheOldPreset)
{
    TemporaryHome::Write(home.SettingsFile(), SettingsNamingPreset("Show"));
    TemporaryHome::Write(home.PresetFile("Show"), PresetWithScreens({ "P" }));
    OutputSetupReader reader(false);

    TemporaryHome::Write(home.SettingsFile(), SettingsWithScreens({ "Root" }), 1);
    EXPECT_TRUE(reader.Poll());
    EXPECT_EQ(ScreenNames(reader), Names { "Root" });

    TemporaryHome::SetTime(home.PresetFile("Show"), 3);
    EXPECT_TRUE(reader.Poll());
    EXPECT_EQ(ScreenNames(reader), Names { "Root" });
}

TEST_F(ReaderFiles, BothFilesChangedBeforeOnePoll)
{
    TemporaryHome::Write(home.SettingsFile(), SettingsNamingPreset("Show"));
    TemporaryHome::Write(home.PresetFile("Show"), PresetWithScreens({ "Old" }));
    OutputSetupReader reader(false);

    TemporaryHome::SetTime(home.SettingsFile(), 1);
    TemporaryHome::Write(home.PresetFile("Show"), PresetWithScreens({ "New" }), 1);
    EXPECT_TRUE(reader.Poll());
    EXPECT_EQ(ScreenNames(reader), Names { "New" });
    EXPECT_FALSE(reader.Poll());
}

TEST_F(ReaderFiles, FileThatFailsToParseIsReadAgainWhenItsTimeOrSizeChanges)
{
    TemporaryHome::Write(home.SettingsFile(), "<XmlState><screens><Screen>", 1);
    OutputSetupReader reader(false);
    EXPECT_TRUE(reader.screens.empty());
    EXPECT_TRUE(reader.IsLoaded());
    EXPECT_FALSE(reader.Poll()) << "not parsed again while unchanged";

    // A save caught half way, finished within the same millisecond: only the length tells.
    TemporaryHome::Write(home.SettingsFile(), SettingsWithScreens({ "Fixed" }), 1);
    EXPECT_TRUE(reader.Poll());
    EXPECT_EQ(ScreenNames(reader), Names { "Fixed" });

    TemporaryHome::SetTime(home.SettingsFile(), 2);
    EXPECT_TRUE(reader.Poll());
    EXPECT_EQ(ScreenNames(reader), Names { "Fixed" });
}

TEST_F(ReaderFiles, HalfWrittenFileKeepsTheLastScreensOnlyWhenItWasReadBefore)
{
    TemporaryHome::Write(home.SettingsFile(), SettingsNamingPreset("Show"), 1);
    TemporaryHome::Write(home.PresetFile("Show"), PresetWithScreens({ "Old" }), 1);
    OutputSetupReader reader(false);

    // Saved in two writes: the first half keeps the last screens, the whole file replaces them.
    const auto save = [&](const juce::File& file, const juce::String& text, int step)
    {
        TemporaryHome::Write(file, text.substring(0, text.length() / 2), step);
        EXPECT_FALSE(reader.Poll());
        EXPECT_EQ(ScreenNames(reader), Names { "Old" });
        TemporaryHome::Write(file, text, step);
        EXPECT_TRUE(reader.Poll());
    };
    save(home.PresetFile("Show"), PresetWithScreens({ "New" }), 2);
    EXPECT_EQ(ScreenNames(reader), Names { "New" });
    TemporaryHome::Write(home.PresetFile("Show"), PresetWithScreens({ "Old" }), 3);
    EXPECT_TRUE(reader.Poll());
    save(home.SettingsFile(), SettingsWithScreens({ "Root" }), 4);
    EXPECT_EQ(ScreenNames(reader), Names { "Root" });

    // A preset never read before gives nothing while it is half written.
    const auto gig = PresetWithScreens({ "Gig" });
    TemporaryHome::Write(home.PresetFile("Gig"), gig.substring(0, gig.length() / 2), 5);
    TemporaryHome::Write(home.SettingsFile(), SettingsNamingPreset("Gig"), 5);
    EXPECT_TRUE(reader.Poll());
    EXPECT_TRUE(reader.screens.empty());
}

TEST_F(ReaderFiles, LoadSettingsFileAdoptsAnotherFile)
{
    OutputSetupReader reader(false);
    const auto other = home.folder.getChildFile("elsewhere.xml");
    TemporaryHome::Write(other, SettingsWithScreens({ "Elsewhere" }), 1);

    reader.LoadSettingsFile(other);
    EXPECT_EQ(ScreenNames(reader), Names { "Elsewhere" });

    TemporaryHome::Write(other, SettingsWithScreens({ "Changed" }), 2);
    EXPECT_TRUE(reader.Poll());
    EXPECT_EQ(ScreenNames(reader), Names { "Changed" });
}

// ---- Hostile files: the reader keeps going and ends with what the rules give ----

TEST_F(ReaderFiles, DamagedSettingsFilesGiveNoScreens)
{
    const juce::String cases[] = {
        "",
        "<XmlState><screens><Screen name=\"x",                                 // truncated
        "<XmlState><screens><Screen/></screens></XmlState",                    // last byte missing
        juce::String("<XmlState><screens><Screen/></screens>\x01\x02 <\x7f>"), // binary tail
        "<!DOCTYPE x [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
        "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">]><XmlState><screens><Screen><Params name=\"Params\">"
        "<P name=\"Name\" value=\"&c;\"/></Params></Screen></screens></XmlState>",
        "<!DOCTYPE x SYSTEM \"/etc/passwd\"><XmlState><screens><Screen/></screens></XmlState>",
    };

    int step = 0;

    for (auto& text : cases)
    {
        TemporaryHome::Write(home.SettingsFile(), text, ++step);
        OutputSetupReader reader(false);
        EXPECT_TRUE(reader.screens.empty()) << text;
        EXPECT_FALSE(reader.Poll());
    }
}

TEST_F(ReaderFiles, DeepNestingIsRefusedWithoutCrashing)
{
    juce::String deep("<XmlState><screens><Screen/></screens>");
    juce::MemoryOutputStream text;
    text << deep;

    for (int i = 0; i < 200000; ++i)
        text << "<a>";

    TemporaryHome::Write(home.SettingsFile(), text.toString() + "</XmlState>");
    OutputSetupReader reader(false);
    EXPECT_TRUE(reader.screens.empty());
}

TEST_F(ReaderFiles, TooLargeFileIsNotRead)
{
    TemporaryHome::Write(home.SettingsFile(), SettingsWithScreens({ "Big" }));
    // Sparse: grows the file past the limit without writing its bytes.
    ASSERT_EQ(::truncate(home.SettingsFile().getFullPathName().toRawUTF8(), 200 * 1024 * 1024), 0);

    OutputSetupReader reader(false);
    EXPECT_TRUE(reader.screens.empty());
    EXPECT_TRUE(reader.IsLoaded());
}

TEST_F(ReaderFiles, LayoutAsLargeAsTheHostWritesIsRead)
{
    TemporaryHome::Write(home.SettingsFile(), LayoutFiles::LargestRealLayout());
    OutputSetupReader reader(false);
    ASSERT_EQ(reader.screens.size(), 24u);

    for (auto& screen : reader.screens)
    {
        ASSERT_EQ(screen.slices.size(), 42u);
        EXPECT_EQ(screen.slices.back().points.size(), 100u);
    }

    EXPECT_EQ(reader.screens[3].slices[5].points[36], juce::Point<float>(486.3125f, 452.6875f));

    // A show with many more screens than the largest real one, just under the size limit.
    TemporaryHome::Write(home.SettingsFile(), LayoutFiles::LargestRealLayout(230), 1);
    ASSERT_GT(home.SettingsFile().getSize(), 31 << 20);
    ASSERT_LE(home.SettingsFile().getSize(), 32 << 20);
    EXPECT_TRUE(reader.Poll());
    ASSERT_EQ(reader.screens.size(), 230u);
    EXPECT_EQ(reader.screens.back().slices.back().points.back(), juce::Point<float>(2995.3125f, 893.6875f));
}

TEST_F(ReaderFiles, FilesThatWouldStallTheHostAreRefused)
{
    // JUCE's parser would take seconds to minutes on each (one screen each if it got through).
    const juce::String hostile[] = { LayoutFiles::DistinctAttributeNames(1000000),
                                     LayoutFiles::DistinctTagNames(2000000), LayoutFiles::ManyPoints(95 << 20) };
    home.SettingsFile().getParentDirectory().createDirectory();

    for (auto& text : hostile)
    {
        home.SettingsFile().replaceWithData(text.toRawUTF8(), text.getNumBytesAsUTF8());
        OutputSetupReader reader(false);
        EXPECT_TRUE(reader.screens.empty()) << text.length();
    }
}
} // namespace
