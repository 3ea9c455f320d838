// What a rebuild of the distance image costs inside the host's frame: the band
// painting of the plug-in beside the plain loop that fills every ring whole,
// split into offsetting, filling and uploading, at three output sizes, for the
// bundled example layout and for a layout of 40 slices.
#include "DistanceImageTestSupport.h"
#include "StraightforwardDistanceImage.h"

#include "EglContext.h"
#include "OutputSetupReader.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace
{
    enum Layout { exampleLayout = 0, fortySlices = 1 };

    std::vector<ScreenInfo> LoadLayout (int layout, int width, int height)
    {
        if (layout == fortySlices)
            return DistanceTest::FortySlices (width, height);

        // The reader finds the host's files under $HOME/Documents.
        ::setenv ("HOME", ZM_EXAMPLE_HOME, 1);
        OutputSetupReader reader (false);
        return reader.screens;
    }

    void Label (benchmark::State& state)
    {
        state.SetLabel ((state.range (0) == exampleLayout ? "example " : "forty ")
                        + std::to_string (state.range (1)) + "x" + std::to_string (state.range (2)));
    }

    struct Fixture
    {
        explicit Fixture (benchmark::State& state)
            : width (static_cast<int> (state.range (1))), height (static_cast<int> (state.range (2))),
              screens (LoadLayout (static_cast<int> (state.range (0)), width, height)),
              image (juce::Image::ARGB, width, height, false)
        {
            Label (state);
        }

        int width, height;
        std::vector<ScreenInfo> screens;
        juce::Image image;
    };

    // Whole CPU rebuild: collect, offset, paint.
    void BM_Ours_Rebuild (benchmark::State& state)
    {
        Fixture f (state);
        std::unique_ptr<juce::Image> image;

        for (auto _ : state)
            benchmark::DoNotOptimize (DistanceImage::Rebuild (image, f.screens, f.width, f.height, {}));
    }

    void BM_Plain_Rebuild (benchmark::State& state)
    {
        Fixture f (state);

        for (auto _ : state)
            StraightforwardDistanceImage::Paint (f.image, OutlinePolygons::Collect (f.screens, f.width, f.height, {}));
    }

    // Offsetting: ours makes the rings and their bands; the plain loop the rings only.
    void BM_Ours_Offset (benchmark::State& state)
    {
        Fixture f (state);

        for (auto _ : state)
        {
            DistanceRings rings (OutlinePolygons::Collect (f.screens, f.width, f.height, {}));
            benchmark::DoNotOptimize (rings.GetNumRings());
        }
    }

    void BM_Plain_Offset (benchmark::State& state)
    {
        Fixture f (state);

        for (auto _ : state)
        {
            ClipperLib::ClipperOffset offsetter (2.0, 0.25);
            offsetter.AddPaths (OutlinePolygons::Collect (f.screens, f.width, f.height, {}),
                                ClipperLib::jtMiter, ClipperLib::etClosedPolygon);

            for (int n = 0; n < DistanceRings::maxNumRings; ++n)
            {
                ClipperLib::Paths ring;
                offsetter.Execute (ring, DistanceRings::GetDistance (n));

                if (ring.empty())
                    break;

                benchmark::DoNotOptimize (ring.data());
            }
        }
    }

    // Filling from offsets made beforehand.
    void BM_Ours_Fill (benchmark::State& state)
    {
        Fixture f (state);
        DistanceRings rings (OutlinePolygons::Collect (f.screens, f.width, f.height, {}));

        for (auto _ : state)
            DistanceImage::PaintRings (f.image, rings);
    }

    void BM_Plain_Fill (benchmark::State& state)
    {
        Fixture f (state);
        DistanceRings rings (OutlinePolygons::Collect (f.screens, f.width, f.height, {}));

        for (auto _ : state)
            StraightforwardDistanceImage::PaintRings (f.image, rings);
    }

    // Uploading the finished image the way the effect does: padded storage, then the pixels.
    void BM_Upload (benchmark::State& state)
    {
        Fixture f (state);
        EglContext context;

        if (! context.Create (EglContext::Profile::Core33))
        {
            state.SkipWithError (context.GetError().c_str());
            return;
        }

        std::unique_ptr<juce::Image> image;
        DistanceImage::Rebuild (image, f.screens, f.width, f.height, {});
        juce::Image::BitmapData pixels (*image, juce::Image::BitmapData::readOnly);
        auto textureWidth = DistanceImage::PaddedTextureSize (f.width);
        auto textureHeight = DistanceImage::PaddedTextureSize (f.height);

        GLuint texture = 0;
        glGenTextures (1, &texture);
        glBindTexture (GL_TEXTURE_2D, texture);
        glPixelStorei (GL_UNPACK_ALIGNMENT, 1);

        for (auto _ : state)
        {
            glTexImage2D (GL_TEXTURE_2D, 0, GL_RGBA8, textureWidth, textureHeight, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
            glTexSubImage2D (GL_TEXTURE_2D, 0, 0, 0, f.width, f.height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data);
            glFinish();
        }

        glDeleteTextures (1, &texture);
    }

    void Sizes (benchmark::internal::Benchmark* b)
    {
        for (int layout : { exampleLayout, fortySlices })
            for (auto size : { std::pair<int, int> { 1280, 720 }, { 1920, 1080 }, { 3840, 2160 } })
                b->Args ({ layout, size.first, size.second });

        b->Unit (benchmark::kMillisecond);
    }
}

BENCHMARK (BM_Ours_Rebuild)->Apply (Sizes);
BENCHMARK (BM_Plain_Rebuild)->Apply (Sizes);
BENCHMARK (BM_Ours_Offset)->Apply (Sizes);
BENCHMARK (BM_Plain_Offset)->Apply (Sizes);
BENCHMARK (BM_Ours_Fill)->Apply (Sizes);
BENCHMARK (BM_Plain_Fill)->Apply (Sizes);
BENCHMARK (BM_Upload)->Apply (Sizes);
