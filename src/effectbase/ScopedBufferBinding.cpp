#include "ScopedBufferBinding.h"

inline namespace ZM_BUILD_NAMESPACE
{

namespace ffglex
{

ScopedBufferBinding::ScopedBufferBinding(GLenum bufferTarget, GLuint buffer) : target(bufferTarget), bound(true)
{
    zmgl::glBindBuffer(target, buffer);
}

ScopedBufferBinding::~ScopedBufferBinding()
{
    if (bound)
    {
        zmgl::glBindBuffer(target, 0);
        bound = false;
    }
}

} // namespace ffglex

} // namespace ZM_BUILD_NAMESPACE
