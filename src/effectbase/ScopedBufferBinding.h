#pragma once

#include "GLEntryPoints.h"

inline namespace ZM_BUILD_NAMESPACE
{

namespace ffglex
{

/**
    Binds a buffer object to a target for the length of a scope.

    The constructor binds the buffer; the destructor binds 0 to the same target,
    also when the scope is left by an exception. It does not restore whatever
    was bound before the scope began.

    Usage:
        {
            ffglex::ScopedBufferBinding binding (GL_ELEMENT_ARRAY_BUFFER, indexBuffer);
            ... // calls that work on the bound buffer
        }
*/
class ScopedBufferBinding
{
public:
    /** Binds the named buffer to the given target. */
    ScopedBufferBinding(GLenum target, GLuint buffer);

    /** Binds 0 to the target again. */
    virtual ~ScopedBufferBinding();

    ScopedBufferBinding(const ScopedBufferBinding&) = delete;
    ScopedBufferBinding& operator=(const ScopedBufferBinding&) = delete;

private:
    GLenum target;
    bool bound;
};

} // namespace ffglex

} // namespace ZM_BUILD_NAMESPACE
