#pragma once

#include "ScopedBufferBinding.h"

inline namespace ZM_BUILD_NAMESPACE
{

namespace ffglex
{

/**
    Binds a vertex buffer to GL_ARRAY_BUFFER for the length of a scope, and
    binds 0 there when the scope ends.
*/
class ScopedVBOBinding : public ScopedBufferBinding
{
public:
    /** Binds the named buffer to GL_ARRAY_BUFFER. */
    explicit ScopedVBOBinding(GLuint buffer);
};

} // namespace ffglex

} // namespace ZM_BUILD_NAMESPACE
