// The OpenGL version an FFGL 1.5 instance needs, and its entry points bound
// before its first frame. Each case runs in child processes: Mesa's version
// override and the looked-up entry points last for a whole process.

#include "EglContext.h"
#include "GLEntryPoints15.h"
#include "GLVersionOverride.h"
#include "HostFramebuffer.h"
#include "TestPlugin15.h"

#include <gtest/gtest.h>

extern "C" uint64_t plugMain(uint32_t code, uint64_t input, uint64_t instance);

// The system's own query, outside the entry points under test.
extern "C" void glGetFloatv(GLenum name, GLfloat* values);
extern "C" GLenum glGetError(void);

namespace
{
#ifndef GL_CURRENT_TEXTURE_COORDS
#define GL_CURRENT_TEXTURE_COORDS 0x0B03
#endif

TEST(GLVersion15, ContextsBelowTheShadersGLSLVersionAreRefused)
{
    // GLSL 1.20 comes with OpenGL 2.1.
    EXPECT_EQ(InstantiateUnderGLVersion("2.0", plugMain), instanceRefused);
    EXPECT_EQ(InstantiateUnderGLVersion("2.1", plugMain), instanceMade);
}

TEST(GLVersion15, EntryPointsWorkOnTheirFirstCallInsideBeginEnd)
{
    const int result = RunInChildProcess(
        []
        {
            EglContext context;
            if (!context.Create(EglContext::Profile::Compatibility))
                return 2;
            HostFramebuffer target; // a surfaceless context has nothing to draw into
            if (!target.Create(16, 16))
                return 2;
            target.BindAndClear();
            FFGLViewport viewport { 0, 0, 16, 16 };
            const uint64_t instance = plugMain(18, reinterpret_cast<uintptr_t>(&viewport), 0);
            if (instance == FF_FAIL64)
                return 3;

            // What a frame with input frames sends; nothing may be queried in between.
            zmgl::glBegin(GL_QUADS);
            zmgl::glMultiTexCoord2f(GL_TEXTURE0, 0.25f, 0.75f);
            zmgl::glVertex2f(-1.0f, -1.0f);
            zmgl::glEnd();
            if (glGetError() != GL_NO_ERROR)
                return 4;
            GLfloat coords[4] = {};
            glGetFloatv(GL_CURRENT_TEXTURE_COORDS, coords);
            if (coords[0] != 0.25f || coords[1] != 0.75f)
                return 5;
            plugMain(19, 0, instance);
            return 0;
        });
    EXPECT_EQ(result, 0) << "2: no context, 3: refused, 4: GL error, 5: coordinates lost";
}
} // namespace
