// Drives each Windows plug-in DLL through plugMain, as a host would, without a
// GL context: information, parameters, thumbnail, prototype life cycle and the
// "Screens" list read from host files in the user's Documents folder.
#include "PluginLibrary.h"
#include "WineHostFiles.h"

#include "FFGLTypes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>
#include <vector>

namespace
{
struct DllCase
{
    const char* file;
    uint32_t apiMajor;
    uint32_t apiMinor;
    const char* hostFolder;
    bool hasScreens;
    size_t parameterCount;
};

std::ostream& operator<<(std::ostream& out, const DllCase& c)
{
    return out << c.file;
}

// Each DLL stays loaded for the whole process, as a host keeps it.
PluginLibrary& LibraryFor(const DllCase& c)
{
    static std::map<std::string, std::unique_ptr<PluginLibrary>> loaded;
    auto& slot = loaded[c.file];
    if (slot == nullptr)
    {
        slot = std::make_unique<PluginLibrary>();
        slot->Load(c.file);
    }
    return *slot;
}

uint64_t Address(const void* p)
{
    return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(p));
}

class PluginDll : public ::testing::TestWithParam<DllCase>
{
protected:
    void SetUp() override
    {
        lib = &LibraryFor(GetParam());
        ASSERT_TRUE(lib->IsLoaded()) << lib->GetError();
    }

    void TearDown() override
    {
        files.RemoveAll();
        files21.RemoveAll();
        if (lib->IsLoaded())
            lib->Deinitialise();
    }

    // Screen names of the "Screens" option, from a prototype made afresh.
    std::vector<std::string> ScreensOptions()
    {
        EXPECT_TRUE(lib->Deinitialise());
        std::vector<PluginLibrary::Parameter> parameters;
        EXPECT_TRUE(lib->GetParameters(parameters)) << lib->GetError();
        std::vector<std::string> names;
        for (const auto& p : parameters)
            if (p.name == "Screens")
                for (const auto& e : p.elements)
                    names.push_back(e.name);
        return names;
    }

    PluginLibrary* lib = nullptr;
    WineHostFiles files { GetParam().hostFolder };
    WineHostFiles files21 { "Resolume Arena/" };
};

TEST_P(PluginDll, ExportsPlugMainAndDescribesItself)
{
    PluginLibrary::Info info;
    ASSERT_TRUE(lib->GetInfo(info)) << lib->GetError();
    EXPECT_EQ(info.uniqueId, "KVRN");
    EXPECT_EQ(info.name, "Zephyrmantle");
    EXPECT_EQ(info.apiMajor, GetParam().apiMajor);
    EXPECT_EQ(info.apiMinor, GetParam().apiMinor);
    EXPECT_EQ(info.pluginType, 1u);

    PluginLibrary::ExtendedInfo extended;
    ASSERT_TRUE(lib->GetExtendedInfo(extended)) << lib->GetError();
    EXPECT_EQ(extended.pluginMajor, 2u);
    EXPECT_EQ(extended.pluginMinor, 1u);
    EXPECT_EQ(extended.about, "Oskvar Labworks");
    EXPECT_EQ(extended.description, "");

    EXPECT_TRUE(PluginLibrary::IsFailure(lib->Call(9999, 0, 0)));
}

TEST_P(PluginDll, ParameterTableMatchesTheBuild)
{
    std::vector<PluginLibrary::Parameter> parameters;
    ASSERT_TRUE(lib->GetParameters(parameters)) << lib->GetError();
    ASSERT_EQ(parameters.size(), GetParam().parameterCount);

    EXPECT_EQ(parameters[0].name, "Hidden Screens");
    EXPECT_EQ(parameters[1].name, "Hidden Slices");
    EXPECT_EQ(parameters[2].name, "Merge shapes");
    EXPECT_EQ(parameters[2].defaultValue, 1.0f);
    const size_t inside = GetParam().hasScreens ? 4 : 3;
    if (GetParam().hasScreens)
    {
        EXPECT_EQ(parameters[3].name, "Screens");
        EXPECT_EQ(parameters[3].type, FF_TYPE_OPTION);
        EXPECT_EQ(parameters.back().type, FF_TYPE_ALPHA);
    }
    EXPECT_EQ(parameters[inside].name, "Inside");
    EXPECT_FLOAT_EQ(parameters[inside].defaultValue, 0.1f);
    EXPECT_EQ(parameters[inside + 1].name, "Outside");
    EXPECT_EQ(parameters[inside + 2].name, "Softness");
    EXPECT_EQ(parameters[inside + 3].name, "Color");
    EXPECT_EQ(parameters[inside + 3].type, FF_TYPE_HUE);
    // Display names are 16-character fields: the brightness name loses its last letter.
    EXPECT_EQ(parameters[inside + 5].name.substr(0, 16), "Color_brighthnes");
}

TEST_P(PluginDll, PrototypeComesAndGoesWithDeinitialise)
{
    // Code 34 (make the prototype) exists from FFGL 2 on; FFGL 1.5 makes it on the first query.
    const bool hasCode34 = GetParam().apiMajor >= 2;
    EXPECT_EQ(PluginLibrary::IsFailure(lib->Call(34, 0, 0)), !hasCode34);
    EXPECT_TRUE(lib->Deinitialise());
    EXPECT_TRUE(lib->Deinitialise());
    // The next query makes a new prototype.
    EXPECT_EQ(static_cast<uint32_t>(lib->Call(4, 0, 0)), GetParam().parameterCount);
    EXPECT_EQ(static_cast<uint32_t>(lib->Call(6, 3, 0)) != 0xFFFFFFFFu, true);
}

TEST_P(PluginDll, InstantiationWithoutContextFailsCleanly)
{
    // No GL context here: the entry points cannot be resolved (or the shaders
    // not built), and the host must get a failure, never a crash.
    EXPECT_TRUE(PluginLibrary::IsFailure(lib->Call(18, 0, 0)));

    for (int attempt = 0; attempt < 2; ++attempt)
    {
        const uint64_t instance = lib->Instantiate(320, 240);
        if (GetParam().apiMajor >= 2)
        {
            EXPECT_EQ(instance, 0u) << "attempt " << attempt;
        }
        else if (instance != 0)
        {
            EXPECT_TRUE(lib->Deinstantiate(instance));
        }
    }
    // Queries keep working after failed instantiations.
    EXPECT_EQ(static_cast<uint32_t>(lib->Call(4, 0, 0)), GetParam().parameterCount);
}

TEST_P(PluginDll, ScreensOptionsComeFromTheHostFolderInDocuments)
{
    if (!GetParam().hasScreens)
        GTEST_SKIP() << "this build has no screen choice";

    ASSERT_FALSE(WineHostFiles::DocumentsFolder().empty());

    files.RemoveAll();
    EXPECT_EQ(ScreensOptions(), std::vector<std::string>({ "All" }));

    ASSERT_TRUE(files.WriteSettings(WineHostFiles::SettingsWithScreens({ "Wall A", "Wall B" })));
    EXPECT_EQ(ScreensOptions(), std::vector<std::string>({ "All", "Wall A", "Wall B" }));

    // The settings file names a preset: the screens come from there.
    ASSERT_TRUE(files.WritePreset("Zephyr Stage", WineHostFiles::PresetWithScreens({ "Main", "Side", "Back" })));
    ASSERT_TRUE(files.WriteSettings(WineHostFiles::SettingsNamingPreset("Zephyr Stage")));
    EXPECT_EQ(ScreensOptions(), std::vector<std::string>({ "All", "Main", "Side", "Back" }));

    // A preset that is not there gives no screens.
    ASSERT_TRUE(files.WriteSettings(WineHostFiles::SettingsNamingPreset("Missing")));
    EXPECT_EQ(ScreensOptions(), std::vector<std::string>({ "All" }));
}

TEST_P(PluginDll, ThumbnailIsTheRegisteredPicture)
{
    if (GetParam().apiMajor < 2)
    {
        // FFGL 1.5 knows no thumbnail code.
        ThumbnailInput size {};
        EXPECT_TRUE(PluginLibrary::IsFailure(lib->Call(42, Address(&size), 0)));
        return;
    }

    EXPECT_TRUE(PluginLibrary::IsFailure(lib->Call(42, 0, 0)));

    ThumbnailInput size {};
    ASSERT_EQ(static_cast<uint32_t>(lib->Call(42, Address(&size), 0)), 0u);
    ASSERT_EQ(size.width, 160u);
    ASSERT_EQ(size.height, 120u);

    // One guard byte past the end must stay untouched.
    std::vector<uint8_t> pixels(160 * 120 * 4 + 1, 0x5A);
    ThumbnailInput copy { 0, 0, pixels.data() };
    ASSERT_EQ(static_cast<uint32_t>(lib->Call(42, Address(&copy), 0)), 0u);
    EXPECT_EQ(pixels.back(), 0x5A);
    for (size_t i = 0; i < 160 * 120; ++i)
        ASSERT_EQ(pixels[i * 4], 255) << "alpha of pixel " << i;
}

std::vector<DllCase> BuiltDlls()
{
    return { { "Zephyrmantle_FFGL21.dll", 2, 1, "Resolume Arena/", true, 11 },
             { "Zephyrmantle_FFGL15.dll", 1, 5, "Resolume Arena 6/", false, 9 } };
}

INSTANTIATE_TEST_SUITE_P(Windows, PluginDll, ::testing::ValuesIn(BuiltDlls()),
                         [](const ::testing::TestParamInfo<DllCase>& param)
                         { return std::string(param.param.apiMajor >= 2 ? "FFGL21" : "FFGL15"); });
} // namespace
