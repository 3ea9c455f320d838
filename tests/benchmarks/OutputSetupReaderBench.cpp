// What the reader costs per frame when nothing changed, what a full read of a large
// layout (50 slices of 100 points) costs when the host rewrites its files, and how long
// the host's thread waits on a layout as large as the host writes and on hostile files.
#include "LayoutFiles.h"
#include "TemporaryHome.h"

#include "GuardedXmlParser.h"
#include "OutputSetupReader.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>

namespace
{
// A settings file naming a preset that holds 50 contour slices of 100 points each.
void WriteLargeLayout(const TemporaryHome& home)
{
    juce::MemoryOutputStream preset;
    preset << "<XmlState><ScreenSetup name=\"ScreenSetup\"><screens><Screen>"
              "<Params name=\"Params\"><Param name=\"Name\" value=\"Wall\"/><Param name=\"Enabled\" "
              "value=\"1\"/></Params><layers>\n";

    for (int slice = 0; slice < 50; ++slice)
    {
        preset << "<Polygon><Params name=\"Common\"><Param name=\"Name\" value=\"Slice " << slice
               << "\"/><Param name=\"Enabled\" value=\"1\"/></Params><InputContour><points>\n";

        for (int i = 0; i < 100; ++i)
        {
            const double angle = i * 0.0628318530718;
            preset << "<v x=\"" << juce::String(200.0 + slice * 30 + 80.0 * std::cos(angle), 4) << "\" y=\""
                   << juce::String(540.0 + 80.0 * std::sin(angle), 4) << "\"/>\n";
        }

        preset << "</points></InputContour></Polygon>\n";
    }

    preset << "</layers></Screen></screens></ScreenSetup></XmlState>";
    TemporaryHome::Write(home.PresetFile("Large"), preset.toString());
    TemporaryHome::Write(home.SettingsFile(), "<XmlState presetFile=\"Large\"/>");
}

void PollWithoutChange(benchmark::State& state)
{
    TemporaryHome home;
    WriteLargeLayout(home);
    OutputSetupReader reader(false);

    for (auto _ : state)
        benchmark::DoNotOptimize(reader.Poll());
}
BENCHMARK(PollWithoutChange);

void ReloadLargeLayout(benchmark::State& state)
{
    TemporaryHome home;
    WriteLargeLayout(home);
    OutputSetupReader reader(false);
    int step = 0;

    for (auto _ : state)
    {
        // A new time for the preset, or the reader would keep what it gave before.
        state.PauseTiming();
        TemporaryHome::SetTime(home.PresetFile("Large"), ++step);
        state.ResumeTiming();
        reader.Reload();
        benchmark::DoNotOptimize(reader.screens.data());
    }

    state.counters["points"] = (double)reader.screens.at(0).slices.size() * 100;
}
BENCHMARK(ReloadLargeLayout)->Unit(benchmark::kMillisecond);

// The host saves its settings on many occasions without touching the layout: what the
// poll after such a save costs when they name a preset as large as the largest real one.
void PollAfterSettingsSavedAgain(benchmark::State& state)
{
    TemporaryHome home;
    const auto preset = LayoutFiles::LargestRealLayout()
                            .replace("<screens>", "<ScreenSetup name=\"ScreenSetup\"><screens>")
                            .replace("</screens>", "</screens></ScreenSetup>");
    TemporaryHome::Write(home.PresetFile("Show"), preset);
    TemporaryHome::Write(home.SettingsFile(), "<XmlState presetFile=\"Show\"/>");
    OutputSetupReader reader(false);
    int step = 0;

    for (auto _ : state)
    {
        state.PauseTiming();
        TemporaryHome::Write(home.SettingsFile(), "<XmlState presetFile=\"Show\"/>", ++step);
        state.ResumeTiming();
        benchmark::DoNotOptimize(reader.Poll());
    }

    state.counters["screens"] = (double)reader.screens.size();
}
BENCHMARK(PollAfterSettingsSavedAgain)->Unit(benchmark::kMillisecond);

// One construction of the reader, which reads the file: what a host waits for at once.
void ReadGeneratedFile(benchmark::State& state, juce::String (*makeDocument)())
{
    TemporaryHome home;
    TemporaryHome::Write(home.SettingsFile(), makeDocument());
    size_t screens = 0;
    double seconds = 0;

    for (auto _ : state)
    {
        const auto start = std::chrono::steady_clock::now();
        OutputSetupReader reader(false);
        screens = reader.screens.size();
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }

    const double megabytes = (double)home.SettingsFile().getSize() / 1.0e6;
    state.counters["MB"] = megabytes;
    state.counters["ms/MB"] = seconds * 1000.0 / (double)state.iterations() / megabytes;
    state.counters["screens"] = (double)screens;
}
BENCHMARK_CAPTURE(ReadGeneratedFile, LargestRealLayout, [] { return LayoutFiles::LargestRealLayout(); })
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReadGeneratedFile, RealLayout32MiB, [] { return LayoutFiles::LargestRealLayout(230); })
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(ReadGeneratedFile, Points95MiB, [] { return LayoutFiles::ManyPoints(95 << 20); })
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(ReadGeneratedFile, DistinctAttributeNames1M,
                  [] { return LayoutFiles::DistinctAttributeNames(1000000); })
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(ReadGeneratedFile, DistinctTagNames2M, [] { return LayoutFiles::DistinctTagNames(2000000); })
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

using Guard = GuardedXmlParser;

// count distinct names of the longest length accepted, alike but for their last bytes, so
// that each comparison in the parser's pool of names runs through most of them.
juce::StringArray LongNames(int count)
{
    juce::StringArray names;

    for (int i = 0; i < count; ++i)
    {
        const auto number = juce::String(i).paddedLeft('0', 6);
        names.add(juce::String::repeatedString("n", Guard::maxNameLength - number.length()) + number);
    }

    return names;
}

// Elements of 64 attributes each with distinct names as long as accepted, until the text
// nearly reaches the given size.
void WriteLongAttributeNames(juce::MemoryOutputStream& text, juce::int64 bytes)
{
    const auto names = LongNames(Guard::maxDistinctNames - 16);

    for (int i = 0; (juce::int64)text.getDataSize() + 2 * Guard::maxNameLength + 300 < bytes; ++i)
        text << (i % 64 == 0 ? "<v" : "") << " " << names[i % names.size()] << "=''" << (i % 64 == 63 ? "/>\n" : "");

    text << "/>\n";
}

// The slowest files the guard still lets through, each at a limit with the content that
// costs JUCE's parser most of its kind, and all limits at once. The limits that grow with
// the size are taken for a text a little shorter than the one made, whose size is only
// known at the end.
juce::String LongTagNames()
{
    const auto names = LongNames(Guard::maxDistinctNames - 16);
    const int uses = (int)((Guard::maxFileBytes - 4096) / (Guard::maxNameLength + 4));
    return LayoutFiles::WithScreen((size_t)Guard::maxFileBytes,
                                   [&](juce::MemoryOutputStream& text)
                                   {
                                       for (int i = 0; i < uses; ++i)
                                           text << "<" << names[i % names.size()] << "/>\n";
                                   });
}

juce::String LongAttributeNames()
{
    return LayoutFiles::WithScreen((size_t)Guard::maxFileBytes, [](juce::MemoryOutputStream& text)
                                   { WriteLongAttributeNames(text, Guard::maxFileBytes); });
}

// count pieces of the given mark-up, each after a run of text that spreads them over the
// given size.
juce::String SpreadOver(juce::int64 bytes, int count, const juce::String& piece)
{
    const auto run = juce::String::repeatedString("x", (int)((bytes + count - 1) / count) - piece.length());
    return LayoutFiles::WithScreen((size_t)bytes + 256, [&](juce::MemoryOutputStream& text)
                                   { text << "<v>" << juce::String::repeatedString(run + piece, count) << "</v>\n"; });
}

// As many elements and runs of text as the size allows, less the screen's own.
juce::String TextRunsAndElements(juce::int64 bytes)
{
    return SpreadOver(bytes, Guard::MostElements(bytes) / 2 - 8, "<b/>");
}

// As many references as the size allows, to names the parser does not know: each costs it
// a search through the names it does.
juce::String UnknownReferences(juce::int64 bytes)
{
    return SpreadOver(bytes, Guard::MostReferences(bytes), "&u;");
}

juce::String EveryLimitAtOnce(juce::int64 bytes)
{
    const int valueReferences = 64;
    const juce::int64 limitsFor = bytes - 4096;

    return LayoutFiles::WithScreen(
        (size_t)bytes,
        [&](juce::MemoryOutputStream& text)
        {
            // One value as long as the copy budget allows for its references, which come last
            // so that the parser copies all of it for each.
            text << "<v name=\""
                 << juce::String::repeatedString(
                        "x", (int)(Guard::MostValueCopyBytes(limitsFor) / valueReferences - 5 * valueReferences))
                 << juce::String::repeatedString("&amp;", valueReferences) << "\"/>\n"
                 << "<v>" << juce::String::repeatedString("&u;", Guard::MostReferences(limitsFor) - valueReferences - 1)
                 << "</v>\n";

            // The elements as small as they come, each followed by a text run, leaving room
            // for the elements of the attributes that fill the rest of the size.
            text << juce::String::repeatedString("<b/>x", Guard::MostElements(limitsFor) / 2 -
                                                              (int)(bytes / (64 * Guard::maxNameLength)) - 16);
            WriteLongAttributeNames(text, bytes);
        });
}
// The parse alone, from text in memory, in milliseconds per megabyte of text: what the
// guard's limits are set by.
void ParseGeneratedText(benchmark::State& state, juce::String (*makeDocument)())
{
    const auto text = makeDocument();
    const double megabytes = (double)text.getNumBytesAsUTF8() / 1.0e6;
    bool parsed = false;
    double seconds = 0;

    for (auto _ : state)
    {
        const auto start = std::chrono::steady_clock::now();
        parsed = GuardedXmlParser::ParseText(text) != nullptr;
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }

    state.counters["MB"] = megabytes;
    state.counters["ms/MB"] = seconds * 1000.0 / (double)state.iterations() / megabytes;
    state.counters["parsed"] = parsed ? 1 : 0;
}
BENCHMARK_CAPTURE(ParseGeneratedText, LargestRealLayout, [] { return LayoutFiles::LargestRealLayout(); })
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ParseGeneratedText, RealLayout32MiB, [] { return LayoutFiles::LargestRealLayout(230); })
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(ParseGeneratedText, LongTagNames, LongTagNames)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(ParseGeneratedText, LongAttributeNames, LongAttributeNames)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(ParseGeneratedText, TextRunsAndElements1MiB, [] { return TextRunsAndElements(1 << 20); })
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ParseGeneratedText, TextRunsAndElements32MiB, [] { return TextRunsAndElements(Guard::maxFileBytes); })
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(ParseGeneratedText, UnknownReferences1MiB, [] { return UnknownReferences(1 << 20); })
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ParseGeneratedText, EveryLimitAtOnce1MiB, [] { return EveryLimitAtOnce(1 << 20); })
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ParseGeneratedText, EveryLimitAtOnce4MiB, [] { return EveryLimitAtOnce(4 << 20); })
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ParseGeneratedText, EveryLimitAtOnce32MiB, [] { return EveryLimitAtOnce(Guard::maxFileBytes); })
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(ReadGeneratedFile, EveryLimitAtOnce32MiB, [] { return EveryLimitAtOnce(Guard::maxFileBytes); })
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
} // namespace
