#include "ScopedPixelUnpackState.h"

#include <iterator>

#include "PluginBuild.h"

inline namespace ZM_BUILD_NAMESPACE
{

namespace
{
struct StoreParameter
{
    GLenum name;
    GLint uploadValue;
};

// Every unpack parameter of glPixelStorei (all in OpenGL 2.1, the oldest
// context either build accepts), with the value a tightly packed upload needs.
constexpr StoreParameter storeParameters[] = {
    { GL_UNPACK_ROW_LENGTH, 0 },  { GL_UNPACK_SKIP_PIXELS, 0 },  { GL_UNPACK_SKIP_ROWS, 0 },
    { GL_UNPACK_SKIP_IMAGES, 0 }, { GL_UNPACK_IMAGE_HEIGHT, 0 }, { GL_UNPACK_ALIGNMENT, 1 },
};
} // namespace

ScopedPixelUnpackState::ScopedPixelUnpackState()
{
    static_assert(std::size(storeParameters) == numStoreParameters);

    zmgl::glGetIntegerv(GL_PIXEL_UNPACK_BUFFER_BINDING, &hostBuffer);
    if (hostBuffer != 0)
        zmgl::glBindBuffer(GL_PIXEL_UNPACK_BUFFER, 0);

    for (size_t i = 0; i < numStoreParameters; ++i)
    {
        zmgl::glGetIntegerv(storeParameters[i].name, &hostValues[i]);
        zmgl::glPixelStorei(storeParameters[i].name, storeParameters[i].uploadValue);
    }
}

ScopedPixelUnpackState::~ScopedPixelUnpackState()
{
    for (size_t i = 0; i < numStoreParameters; ++i)
        zmgl::glPixelStorei(storeParameters[i].name, hostValues[i]);

    if (hostBuffer != 0)
        zmgl::glBindBuffer(GL_PIXEL_UNPACK_BUFFER, static_cast<GLuint>(hostBuffer));
}

} // namespace ZM_BUILD_NAMESPACE
