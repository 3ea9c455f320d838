#pragma once

#include "DistanceRings.h"
#include "OutlinePolygons.h"
#include "RebuildBudget.h"

#include <juce_graphics/juce_graphics.h>

#include <cstdint>
#include <memory>
#include <vector>

/**
    Paints the effect's distance image: a grey picture of the viewport in which
    each pixel's level tells its distance from the outline of the taken slices,
    255 beyond 50 pixels outside, 204 on the outline, one level darker per pixel
    inward down to 0.

    This is the CPU half of the rebuild; the caller uploads the result as a
    texture (padded to PaddedTextureSize in each direction). Nothing here touches
    OpenGL, so both plug-in builds share it. The offsets and the painting are
    spread over a WorkerPool that Rebuild owns, sized by the rebuild's work; its
    threads are joined before Rebuild returns.

    Usage:
        std::unique_ptr<juce::Image> image;   // owned by the effect
        if (DistanceImage::Rebuild (image, reader.screens, width, height, switches))
            upload (*image);
*/
class DistanceImage
{
public:
    /** The largest width or height painted; textures are no bigger anyway. */
    static constexpr int maxSide = 16384;

    /** True when an image of this size can be painted. */
    static bool IsUsableSize(int width, int height) noexcept;

    /** Makes sure the image held is an ARGB image of the given size: a new one
        replaces it only when there is none or its size differs. For an unusable
        size, or when memory runs out, the image is released and false returned.
    */
    static bool PrepareImage(std::unique_ptr<juce::Image>& image, int width, int height) noexcept;

    /** Paints the whole image: white background, then each ring darker over it,
        with the same pixels as filling every ring whole through a Graphics context,
        whatever the pool's number of threads.
    */
    static void PaintRings(juce::Image& image, const DistanceRings& rings, WorkerPool& rebuildPool);

    /** The whole rebuild: prepares the image, collects and offsets the polygons and
        paints them. A layout whose work exceeds the budget (see RebuildBudget) is
        drawn as if there were no screens, and why is told through refusal (if
        given; null when the layout is drawn). Returns false, with the image
        released, when the size is unusable or the work fails; the caller then keeps
        running without the image. Never throws.
    */
    static bool Rebuild(std::unique_ptr<juce::Image>& image, const std::vector<ScreenInfo>& screens, int width,
                        int height, const OutlinePolygons::Switches& switches,
                        uint64_t workBudget = RebuildBudget::standardBudget, const char** refusal = nullptr) noexcept;

    /** The texture size for an image side: rounded up to a multiple of 16. */
    static int PaddedTextureSize(int size) noexcept;
};
