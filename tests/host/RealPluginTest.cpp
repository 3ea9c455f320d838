#include "GLTestEnvironment.h"

#include "FFGLTypes.h"
#include "HostFramebuffer.h"
#include "HostTestSupport.h"
#include "PluginLibrary.h"

#include <gtest/gtest.h>

// The FFGL 2.1 build of Zephyrmantle, driven as a host drives it.

TEST(RealPlugin, PrintsItsParameterTable)
{
    const SessionResult result = RunSession({ "--plugin", ZM_PLUGIN21_PATH, "--info-only" });
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("plug-in     Zephyrmantle\nid          KVRN\napi         FFGL 2.1\n"
                              "type        1 (source)\nversion     2.1\ndescription \nabout       Oskvar Labworks\n"),
              std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find("parameters  "), std::string::npos);
}

class RealPluginGL : public GLTest
{
};

TEST_F(RealPluginGL, LivesThroughInstantiateFramesResizeAndTeardown)
{
    PluginLibrary lib;
    ASSERT_TRUE(lib.Load(ZM_PLUGIN21_PATH)) << lib.GetError();

    HostFramebuffer fbo;
    ASSERT_TRUE(fbo.Create(64, 48));
    const uint64_t instance = lib.Instantiate(64, 48);
    ASSERT_NE(instance, 0u) << lib.GetError();

    std::vector<PluginLibrary::Parameter> parameters;
    ASSERT_TRUE(lib.GetParameters(parameters));
    for (const auto& parameter : parameters)
        if (!parameter.IsText(2))
        {
            EXPECT_TRUE(lib.SetParameter(instance, parameter.index, parameter.defaultValue)) << parameter.name;
        }

    for (int frame = 0; frame < 3; ++frame)
    {
        fbo.BindAndClear();
        EXPECT_TRUE(lib.ProcessFrame(instance, fbo.GetId())) << "frame " << frame;
    }

    ASSERT_TRUE(fbo.Create(32, 80));
    EXPECT_TRUE(lib.Resize(instance, 32, 80));
    fbo.BindAndClear();
    EXPECT_TRUE(lib.ProcessFrame(instance, fbo.GetId()));
    EXPECT_EQ(fbo.ReadTopDown().size(), 32u * 80u * 4u);

    EXPECT_TRUE(lib.Deinstantiate(instance));
    EXPECT_TRUE(lib.Deinitialise());
    lib.Unload();
}

TEST(RealPlugin, RendersAPngOfTheRequestedSize)
{
    HomeGuard guard;
    ScratchFolder scratch;
    const std::string png = scratch.Path("zephyrmantle.png");
    const SessionResult result =
        RunSession({ "--plugin", ZM_PLUGIN21_PATH, "--home", scratch.Folder().getFullPathName().toStdString(), "--size",
                     "96x54", "--frames", "2", "--resize", "80x60", "--output", png });
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const PngPicture image = LoadPng(png);
    EXPECT_EQ(image.width, 80);
    EXPECT_EQ(image.height, 60);
}
