#include "ScopedTextureBinding.h"

#include "PluginBuild.h"

inline namespace ZM_BUILD_NAMESPACE
{

ScopedTextureBinding::ScopedTextureBinding(GLuint texture)
{
    zmgl::glGetIntegerv(GL_TEXTURE_BINDING_2D, &hostTexture);
    zmgl::glBindTexture(GL_TEXTURE_2D, texture);
}

ScopedTextureBinding::~ScopedTextureBinding()
{
    zmgl::glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(hostTexture));
}

} // namespace ZM_BUILD_NAMESPACE
