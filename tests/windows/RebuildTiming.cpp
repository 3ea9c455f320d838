// Times the distance image rebuild under Wine, where Google Benchmark is not built:
// the bundled example, the 40 slices and the dense 90 slices, on the worker threads
// the rebuild picks and on the calling thread alone. Prints the median and the best
// of a run of rebuilds per row (scripts/build-windows.sh runs it, for the figures only).
#include "DistanceImageTestSupport.h"
#include "WineHostFiles.h"

#include "OutputSetupReader.h"
#include "WorkerPool.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace
{
std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The example's files, copied into this user's Documents where the reader looks.
std::vector<ScreenInfo> ExampleLayout()
{
    WineHostFiles files("Resolume Arena/");
    const std::string folder = ZM_EXAMPLE_FOLDER;
    files.WriteSettings(ReadFile(folder + "/Preferences/AdvancedOutput.xml"));
    files.WritePreset("Zephyr Stage", ReadFile(folder + "/Presets/Advanced Output/Zephyr Stage.xml"));
    OutputSetupReader reader(false);
    files.RemoveAll();
    return reader.screens;
}

void Time(const char* name, const std::vector<ScreenInfo>& screens, int width, int height, bool merged, int workers)
{
    OutlinePolygons::Switches switches;
    switches.mergeShapesOn = merged;
    WorkerPool::SetNumWorkers(workers);
    std::unique_ptr<juce::Image> image;
    DistanceImage::Rebuild(image, screens, width, height, switches); // warm-up

    std::vector<double> milliseconds;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(2);

    while (milliseconds.size() < 5 || (milliseconds.size() < 200 && std::chrono::steady_clock::now() < until))
    {
        const auto start = std::chrono::steady_clock::now();
        DistanceImage::Rebuild(image, screens, width, height, switches);
        milliseconds.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }

    std::sort(milliseconds.begin(), milliseconds.end());
    std::printf("%-9s %-8s %4dx%-4d %-11s median %8.2f ms  best %8.2f ms  (%zu runs)\n", name,
                merged ? "merged" : "unmerged", width, height, workers == 0 ? "one thread" : "pooled",
                milliseconds[milliseconds.size() / 2], milliseconds.front(), milliseconds.size());
    WorkerPool::SetNumWorkers(-1);
}
} // namespace

int main()
{
    const auto example = ExampleLayout();
    std::printf("example: %zu screens\n", example.size());

    for (auto size : { std::make_pair(1280, 720), std::make_pair(1920, 1080) })
        for (int workers : { -1, 0 })
        {
            Time("example", example, size.first, size.second, true, workers);
            Time("forty", DistanceTest::FortySlices(size.first, size.second), size.first, size.second, true, workers);
            Time("dense 90", DistanceTest::DenseSlices(size.first, size.second), size.first, size.second, false,
                 workers);
        }

    return 0;
}
