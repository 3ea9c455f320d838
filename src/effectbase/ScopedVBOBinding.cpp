#include "ScopedVBOBinding.h"

inline namespace ZM_BUILD_NAMESPACE
{

namespace ffglex
{

ScopedVBOBinding::ScopedVBOBinding(GLuint buffer) : ScopedBufferBinding(GL_ARRAY_BUFFER, buffer) {}

} // namespace ffglex

} // namespace ZM_BUILD_NAMESPACE
