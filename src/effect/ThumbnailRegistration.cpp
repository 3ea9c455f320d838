// The FFGL 2.1 plug-in's thumbnail, registered at load: compiled directly into
// the plug-in so that these static initialisers run even though nothing
// references them.

#include "Thumbnail.h"
#include "ThumbnailInfo.h"

namespace
{
// The pixels first, then the record that points at them.
const bool thumbnailPixelsReady = InitThumbnailPixels();
const ThumbnailInfo& registeredThumbnailInfo = RegisterThumbnailInfo();
} // namespace
