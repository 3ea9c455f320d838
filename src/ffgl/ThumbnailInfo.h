#pragma once

#include <cstdint>

inline namespace ZM_BUILD_NAMESPACE
{

/*
    The plug-in's thumbnail as the host receives it (function code 42): its
    size and where its pixels lie, one 32-bit value per pixel, row after row
    from the top. The pixels are a static table of the plug-in's own; this
    record only points at them. Constructing the record makes it the current
    thumbnail (CurrentThumbnailInfo); a library that builds none has no
    thumbnail.

    Usage, after the pixel table has been filled by an earlier static initialiser:
        static ThumbnailInfo thumbnail (160, 120, pixelTable);
*/
class ThumbnailInfo
{
public:
    /** Stores the size and the pixel address and registers this record. */
    ThumbnailInfo(int32_t width, int32_t height, const uint32_t* pixels);

    ThumbnailInfo(const ThumbnailInfo&) = delete;
    ThumbnailInfo& operator=(const ThumbnailInfo&) = delete;

    int32_t width;
    int32_t height;
    const uint32_t* pixels; ///< not owned
};

/** The registered thumbnail, or nullptr when the library has none. */
extern ThumbnailInfo* CurrentThumbnailInfo;

/** Writes one pixel value into its slot and returns the slot (used to fill pixel tables at load). */
uint32_t* StoreThumbnailPixel(uint32_t* slot, uint32_t value);

} // namespace ZM_BUILD_NAMESPACE
