#include "ThumbnailInfo.h"

inline namespace ZM_BUILD_NAMESPACE
{

ThumbnailInfo* CurrentThumbnailInfo = nullptr;

ThumbnailInfo::ThumbnailInfo(int32_t w, int32_t h, const uint32_t* p) : width(w), height(h), pixels(p)
{
    CurrentThumbnailInfo = this;
}

uint32_t* StoreThumbnailPixel(uint32_t* slot, uint32_t value)
{
    *slot = value;
    return slot;
}

} // namespace ZM_BUILD_NAMESPACE
