// What the reader costs per frame when nothing changed, what a full read of a large
// layout (50 slices of 100 points) costs when the host rewrites its files, and how long
// the host's thread waits on a layout as large as the host writes and on hostile files.
#include "LayoutFiles.h"
#include "TemporaryHome.h"

#include "GuardedXmlParser.h"
#include "OutputSetupReader.h"

#include <benchmark/benchmark.h>

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

    for (auto _ : state)
    {
        reader.Reload();
        benchmark::DoNotOptimize(reader.screens.data());
    }

    state.counters["points"] = (double)reader.screens.at(0).slices.size() * 100;
}
BENCHMARK(ReloadLargeLayout)->Unit(benchmark::kMillisecond);

// One construction of the reader, which reads the file: what a host waits for at once.
void ReadGeneratedFile(benchmark::State& state, juce::String (*makeDocument)())
{
    TemporaryHome home;
    TemporaryHome::Write(home.SettingsFile(), makeDocument());
    size_t screens = 0;

    for (auto _ : state)
    {
        OutputSetupReader reader(false);
        screens = reader.screens.size();
    }

    state.counters["MB"] = (double)home.SettingsFile().getSize() / 1.0e6;
    state.counters["screens"] = (double)screens;
}
BENCHMARK_CAPTURE(ReadGeneratedFile, LargestRealLayout, [] { return LayoutFiles::LargestRealLayout(); })
    ->Unit(benchmark::kMillisecond);
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

// The slowest file the guard still lets through: every limit reached at once, each with
// the kind of content that costs JUCE's parser most.
juce::String EveryLimitAtOnce()
{
    using Guard = GuardedXmlParser;
    const int valueReferences = 64, distinctNames = Guard::maxDistinctNames - 16;
    const int points = (Guard::maxAttributes - distinctNames) / 2;

    return LayoutFiles::WithScreen(
        (size_t)Guard::maxFileBytes,
        [&](juce::MemoryOutputStream& text)
        {
            // One value as long as the copy budget allows for its references, which come last
            // so that the parser copies all of it for each.
            text << "<v name=\""
                 << juce::String::repeatedString("x", 32 * 1024 * 1024 / valueReferences - 5 * valueReferences)
                 << juce::String::repeatedString("&amp;", valueReferences) << "\"";

            for (int i = 0; i < distinctNames; ++i)
                text << " n" << i << "=\"\"";

            text << "/>\n"
                 << juce::String::repeatedString("<v x=\"1234.5\" y=\"67\"/>\n", points - 2) << "<v>"
                 << juce::String::repeatedString("&u;", Guard::maxReferences - valueReferences - 1) << "</v>\n";
        });
}
BENCHMARK_CAPTURE(ReadGeneratedFile, EveryLimitAtOnce, EveryLimitAtOnce)->Unit(benchmark::kMillisecond);
} // namespace
