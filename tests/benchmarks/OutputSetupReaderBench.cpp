// What the reader costs per frame when nothing changed, and what a full read of a large
// layout (50 slices of 100 points) costs when the host rewrites its files.
#include "TemporaryHome.h"

#include "OutputSetupReader.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace
{
// A settings file naming a preset that holds 50 contour slices of 100 points each.
void writeLargeLayout (const TemporaryHome& home)
{
    juce::MemoryOutputStream preset;
    preset << "<XmlState><ScreenSetup name=\"ScreenSetup\"><screens><Screen>"
              "<Params name=\"Params\"><Param name=\"Name\" value=\"Wall\"/><Param name=\"Enabled\" value=\"1\"/></Params><layers>\n";

    for (int slice = 0; slice < 50; ++slice)
    {
        preset << "<Polygon><Params name=\"Common\"><Param name=\"Name\" value=\"Slice " << slice
               << "\"/><Param name=\"Enabled\" value=\"1\"/></Params><InputContour><points>\n";

        for (int i = 0; i < 100; ++i)
        {
            const double angle = i * 0.0628318530718;
            preset << "<v x=\"" << juce::String (200.0 + slice * 30 + 80.0 * std::cos (angle), 4)
                   << "\" y=\"" << juce::String (540.0 + 80.0 * std::sin (angle), 4) << "\"/>\n";
        }

        preset << "</points></InputContour></Polygon>\n";
    }

    preset << "</layers></Screen></screens></ScreenSetup></XmlState>";
    TemporaryHome::write (home.presetFile ("Large"), preset.toString());
    TemporaryHome::write (home.settingsFile(), "<XmlState presetFile=\"Large\"/>");
}

void PollWithoutChange (benchmark::State& state)
{
    TemporaryHome home;
    writeLargeLayout (home);
    OutputSetupReader reader (false);

    for (auto _ : state)
        benchmark::DoNotOptimize (reader.Poll());
}
BENCHMARK (PollWithoutChange);

void ReloadLargeLayout (benchmark::State& state)
{
    TemporaryHome home;
    writeLargeLayout (home);
    OutputSetupReader reader (false);

    for (auto _ : state)
    {
        reader.Reload();
        benchmark::DoNotOptimize (reader.screens.data());
    }

    state.counters["points"] = (double) reader.screens.at (0).slices.size() * 100;
}
BENCHMARK (ReloadLargeLayout)->Unit (benchmark::kMillisecond);
} // namespace
