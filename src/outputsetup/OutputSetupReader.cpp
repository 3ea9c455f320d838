#include "OutputSetupReader.h"

#include "FileStatus.h"
#include "GuardedXmlParser.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cstring>

namespace
{
bool IsSpace(char c) noexcept
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) noexcept
{
    return c >= '0' && c <= '9';
}

// The host writes its tags in ASCII. Upper-casing through the C library would follow the
// process's locale: in Turkish "i" becomes a dotted capital and "inputrect" no longer matches.
char AsciiUpperCase(char c) noexcept
{
    return c >= 'a' && c <= 'z' ? (char)(c - 'a' + 'A') : c;
}

// Tags are matched the way the host's own reader does: character by character in upper case.
bool TagMatches(const juce::XmlElement& element, const char* word) noexcept
{
    const char* tag = element.getTagName().toRawUTF8();

    for (;; ++tag, ++word)
    {
        if (AsciiUpperCase(*tag) != AsciiUpperCase(*word))
            return false;

        if (*tag == 0)
            return true;
    }
}

// The first child element (text nodes are not children) that matches, or null.
template <typename Matches>
const juce::XmlElement* FirstChild(const juce::XmlElement* parent, Matches&& matches) noexcept
{
    if (parent != nullptr)
        for (auto* child : parent->getChildIterator())
            if (!child->isTextElement() && matches(*child))
                return child;

    return nullptr;
}

const juce::XmlElement* ChildByTag(const juce::XmlElement* parent, const char* word) noexcept
{
    return FirstChild(parent, [word](const juce::XmlElement& child) { return TagMatches(child, word); });
}

const juce::XmlElement* ChildByName(const juce::XmlElement* parent, const char* word) noexcept
{
    return FirstChild(parent,
                      [word](const juce::XmlElement& child) { return child.getStringAttribute("name") == word; });
}

// An enabled entry: absent keeps the default, present without "value" is false.
bool ReadTruth(const juce::XmlElement* entry, bool fallback) noexcept
{
    if (entry == nullptr)
        return fallback;

    const char* p = entry->getStringAttribute("value").toRawUTF8();

    while (IsSpace(*p))
        ++p;

    return *p == '1' || *p == 't' || *p == 'T' || *p == 'y' || *p == 'Y';
}

// The "Name" and "Enabled" entries that screens and slices both carry in a group;
// an absent name keeps its default, an absent switch is on.
void ReadNameAndEnabled(const juce::XmlElement& group, juce::String& name, bool& enabled)
{
    enabled = ReadTruth(ChildByName(&group, "Enabled"), true);

    if (const auto* nameEntry = ChildByName(&group, "Name"))
        name = nameEntry->getStringAttribute("value");
}

// Rough power of ten of a decimal number that overflowed or underflowed a double,
// enough to tell which of the two happened.
long DecimalMagnitude(const char* begin, const char* end) noexcept
{
    long magnitude = 0;
    const char* p = begin;
    bool seenNonZero = false;

    for (; p < end && IsDigit(*p); ++p)
        if (seenNonZero || *p != '0')
        {
            seenNonZero = true;
            ++magnitude;
        }

    if (p < end && *p == '.')
        for (++p; p < end && IsDigit(*p); ++p)
        {
            if (seenNonZero)
                break;

            if (*p != '0')
                seenNonZero = true;
            else
                --magnitude;
        }

    while (p < end && IsDigit(*p))
        ++p;

    if (p < end && (*p == 'e' || *p == 'E'))
    {
        ++p;
        const bool negative = (p < end && *p == '-');

        if (p < end && (*p == '-' || *p == '+'))
            ++p;

        long exponent = 0;

        for (; p < end && IsDigit(*p); ++p)
            exponent = std::min(exponent * 10 + (*p - '0'), 1000000L);

        magnitude += negative ? -exponent : exponent;
    }

    return magnitude;
}

// A coordinate: a decimal number with "." whatever the locale; no number reads as 0.
// Out-of-range values become the nearest float rather than infinity.
float ReadNumber(const juce::String& text) noexcept
{
    const char* p = text.toRawUTF8();

    while (IsSpace(*p))
        ++p;

    bool negative = false;

    if (*p == '+' || *p == '-')
        negative = (*p++ == '-');

    // Only digits make a number: "inf" and "nan" hold none.
    if (!(IsDigit(p[0]) || (p[0] == '.' && IsDigit(p[1]))))
        return 0.0f;

    const char* end = p + std::strlen(p);
    double value = 0.0;
    const auto [next, error] = std::from_chars(p, end, value, std::chars_format::general);

    if (error == std::errc::result_out_of_range)
        value = DecimalMagnitude(p, next) > 0 ? DBL_MAX : 0.0;
    else if (error != std::errc())
        return 0.0f;

    if (value > (double)FLT_MAX)
        value = (double)FLT_MAX;

    return (float)(negative ? -value : value);
}

bool ReadSlice(const juce::XmlElement& layer, SliceInfo& slice)
{
    const auto* pointList = ChildByTag(ChildByTag(&layer, "InputContour"), "points");

    if (pointList == nullptr)
        pointList = ChildByTag(&layer, "InputRect");

    if (pointList == nullptr)
        return false;

    if (const auto* common = ChildByName(&layer, "Common"))
        ReadNameAndEnabled(*common, slice.name, slice.enabled);

    for (auto* point : pointList->getChildIterator())
        if (!point->isTextElement())
            slice.points.push_back(
                { ReadNumber(point->getStringAttribute("x")), ReadNumber(point->getStringAttribute("y")) });

    return true;
}
} // namespace

OutputSetupReader::OutputSetupReader(bool useArena6Folder)
{
    try
    {
        hostFolder = useArena6Folder ? "Resolume Arena 6/" : "Resolume Arena/";
        settings.file = juce::File::getSpecialLocation(juce::File::userDocumentsDirectory)
                            .getChildFile(hostFolder + "Preferences/AdvancedOutput.xml");
    }
    catch (...)
    {
        // Without memory for a path there is nothing to read; the reader stays empty.
    }

    Reload();
}

OutputSetupReader::~OutputSetupReader() = default;

bool OutputSetupReader::Poll() noexcept
{
    // The preset is not examined when the settings file changed: the read looks at both.
    bool statusChanged = false;

    if (!HasChanged(settings, statusChanged) && !HasChanged(preset, statusChanged))
        return false;

    if (statusChanged)
        return Reread();

    // Read again only to be sure of a save within the tick of the last read, or because the
    // file could not be opened: the same screens again are no change to rebuild for.
    try
    {
        const auto before = screens;
        return Reread() && !SameScreens(before, screens);
    }
    catch (...)
    {
        return Reread();
    }
}

void OutputSetupReader::Reload() noexcept
{
    Reread();
}

void OutputSetupReader::LoadSettingsFile(juce::File file) noexcept
{
    Load(file);
}

bool OutputSetupReader::HasChanged(WatchedFile& watched, bool& statusChanged) noexcept
{
    // Until a preset is named its path is empty, and there is nothing to ask the file system.
    if (watched.file == juce::File())
        return false;

    // A file counts as changed when any part of its status differs from what was seen.
    // A file that went missing is not a change: the host may be about to write it again.
    const auto status = FileStatus::Of(watched.file);

    if (!status.ExistsAsFile())
        return false;

    if (status != watched.status)
    {
        watched.status = status;
        statusChanged = true;
        return true;
    }

    // The clock is asked only while the last read left the file waiting.
    return watched.readAgainAfter != never && FileStatus::Now() > watched.readAgainAfter;
}

bool OutputSetupReader::SameScreens(const std::vector<ScreenInfo>& a, const std::vector<ScreenInfo>& b) noexcept
{
    auto sameSlice = [](const SliceInfo& x, const SliceInfo& y)
    { return x.enabled == y.enabled && x.name == y.name && x.points == y.points; };

    auto sameScreen = [&](const ScreenInfo& x, const ScreenInfo& y)
    {
        return x.enabled == y.enabled && x.name == y.name &&
               std::equal(x.slices.begin(), x.slices.end(), y.slices.begin(), y.slices.end(), sameSlice);
    };

    return std::equal(a.begin(), a.end(), b.begin(), b.end(), sameScreen);
}

void OutputSetupReader::Adopt(WatchedFile& watched, const juce::File& file)
{
    if (!file.getFullPathName().equalsIgnoreCase(watched.file.getFullPathName()))
        watched = { file, {}, false, never };
}

std::unique_ptr<juce::XmlElement> OutputSetupReader::Parse(WatchedFile& watched, bool& keepScreens)
{
    // The clock, then the status, then the read: a save that lands after any of them shows
    // at a later poll, as a new status or through the time check below.
    const auto readStart = FileStatus::Now();
    watched.status = FileStatus::Of(watched.file);
    watched.readAgainAfter = never;

    if (!watched.status.ExistsAsFile())
        return {};

    bool readWhole = true;
    auto root = GuardedXmlParser::ParseFile(watched.file, readWhole);

    if (!readWhole)
    {
        // Nothing is known of this save: the last screens stay, and the next poll tries again.
        watched.readAgainAfter = std::numeric_limits<juce::int64>::min();
        keepScreens = true;
        return {};
    }

    // Stamped no earlier than this read began: another write within the same tick would
    // leave the time, and maybe the length, as they are. Read once more when the clock is
    // safely past that tick, beyond the tick of any clock that stamps files (15.6 ms on
    // Windows) and any write still under way in it.
    constexpr juce::int64 settleTime = 100000000; // 100 ms

    if (watched.status.modified >= readStart)
        watched.readAgainAfter =
            watched.status.modified < never - settleTime ? watched.status.modified + settleTime : never - 1;

    if (root != nullptr)
        watched.parsedBefore = true;
    else
        keepScreens = watched.parsedBefore; // most likely caught while the host writes it

    return root;
}

bool OutputSetupReader::Reread() noexcept
{
    if (FileStatus::Of(settings.file).ExistsAsFile())
        return Load(settings.file);

    std::vector<ScreenInfo>().swap(screens);
    presetOfScreens = {};
    return true;
}

bool OutputSetupReader::Load(const juce::File& file) noexcept
{
    bool keepScreens = false;
    const auto presetOfLastScreens = presetOfScreens;
    presetOfScreens = {};

    try
    {
        Adopt(settings, file);
        auto previous = std::move(screens);
        screens = {};
        ReadFiles(keepScreens, presetOfLastScreens);

        if (keepScreens)
        {
            screens = std::move(previous);
            presetOfScreens = presetOfLastScreens;
        }
    }
    catch (...)
    {
        // Out of memory half way: what was read may be partial, so keep nothing.
        std::vector<ScreenInfo>().swap(screens);
        presetOfScreens = {};
    }

    loaded = true;
    return !keepScreens;
}

void OutputSetupReader::ReadFiles(bool& keepScreens, const FileStatus& presetOfLastScreens)
{
    const auto root = Parse(settings, keepScreens);

    if (root == nullptr)
        return;

    if (!root->hasAttribute("presetFile"))
    {
        ReadScreenSetup(root.get());
        return;
    }

    // Watched even while missing: the host may name a preset a moment before it writes it.
    Adopt(preset,
          juce::File::getSpecialLocation(juce::File::userDocumentsDirectory)
              .getChildFile(hostFolder + "Presets/Advanced Output/" + root->getStringAttribute("presetFile") + ".xml"));

    // The host saves its settings on many occasions. When they name the preset that gave
    // the screens, unchanged since, reading it again (a large show's takes 100 ms) would
    // give the same screens.
    if (presetOfLastScreens.ExistsAsFile() && preset.readAgainAfter == never &&
        FileStatus::Of(preset.file) == presetOfLastScreens)
    {
        keepScreens = true;
        return;
    }

    if (const auto presetRoot = Parse(preset, keepScreens))
    {
        presetOfScreens = preset.status;
        ReadScreenSetup(ChildByTag(presetRoot.get(), "ScreenSetup"));
    }
}

void OutputSetupReader::ReadScreenSetup(const juce::XmlElement* screenSetup)
{
    const auto* screenList = ChildByTag(screenSetup, "screens");

    if (screenList == nullptr)
        return;

    for (auto* screenElement : screenList->getChildIterator())
    {
        if (screenElement->isTextElement() || !TagMatches(*screenElement, "Screen"))
            continue;

        ScreenInfo screen;

        if (const auto* params = ChildByName(screenElement, "Params"))
            ReadNameAndEnabled(*params, screen.name, screen.enabled);

        if (const auto* layers = ChildByTag(screenElement, "layers"))
        {
            for (auto* layer : layers->getChildIterator())
            {
                if (layer->isTextElement())
                    continue;

                SliceInfo slice;

                if (ReadSlice(*layer, slice))
                    screen.slices.push_back(std::move(slice));
            }
        }

        screens.push_back(std::move(screen));
    }
}
