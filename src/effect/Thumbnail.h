#pragma once

#include <cstdint>

inline namespace ZM_BUILD_NAMESPACE
{

/*
    The plug-in's 160 x 120 thumbnail, drawn procedurally when the library loads:
    an orange pictogram of three nested rounded contours on a dark navy panel,
    framed by a wide orange border with a soft gradient. Pixels are 0xRRGGBBAA
    values (alpha 255 in the low byte), row 0 at the top, which is the order and
    layout the host copies.

    The library's registration calls the two functions from its static
    initialisers, in this order, before the host's first call:
        const bool pixelsReady = InitThumbnailPixels();
        const ThumbnailInfo& thumbnail = RegisterThumbnailInfo();
*/

class ThumbnailInfo;

/** Thumbnail size in pixels. */
constexpr int thumbnailWidth = 160;
constexpr int thumbnailHeight = 120;

/** Computes the 0xRRGGBBAA value of the pixel at column x, row y (row 0 at the top). */
uint32_t ComputeThumbnailPixel(int x, int y);

/** Fills the process-wide pixel table in table order (one StoreThumbnailPixel per pixel). Returns true. */
bool InitThumbnailPixels();

/** Builds, on the first call, the process-wide ThumbnailInfo for the table, which makes it the
    current thumbnail; it is destroyed at unload. Returns that record. */
const ThumbnailInfo& RegisterThumbnailInfo();

/** The process-wide pixel table: thumbnailWidth x thumbnailHeight values, filled at load. */
const uint32_t* GetThumbnailPixels();

} // namespace ZM_BUILD_NAMESPACE
