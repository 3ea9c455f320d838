#pragma once

#include "TemporaryHome.h"

#include <juce_core/juce_core.h>

#include <string>
#include <vector>

/**
    A temporary home folder holding a host layout for the effect's tests.

    HOME points at a fresh folder for the object's lifetime (restored and the
    folder deleted afterwards). WriteLayout writes "Resolume Arena/Preferences/
    AdvancedOutput.xml" below its Documents folder, holding the screens directly
    (no preset), with a modification time that differs from every earlier write.
*/
class EffectTestHome
{
public:
    struct Slice
    {
        float x, y, width, height; ///< a rectangle in output pixels, y = 0 at the top
        bool enabled = true;
    };

    struct Screen
    {
        std::string name;
        bool enabled = true;
        std::vector<Slice> slices;
    };

    juce::File SettingsFile() const { return home.SettingsFile(); }

    void WriteLayout(const std::vector<Screen>& screens)
    {
        juce::XmlElement root("XmlState");
        auto* list = root.createNewChildElement("screens");
        for (const auto& screen : screens)
        {
            auto* element = list->createNewChildElement("Screen");
            auto* params = element->createNewChildElement("Params");
            params->setAttribute("name", "Params");
            AddEntry(*params, "Name", juce::String::fromUTF8(screen.name.c_str()));
            AddEntry(*params, "Enabled", screen.enabled ? "1" : "0");

            auto* layers = element->createNewChildElement("layers");
            for (const auto& slice : screen.slices)
            {
                auto* layer = layers->createNewChildElement("Slice");
                auto* common = layer->createNewChildElement("Params");
                common->setAttribute("name", "Common");
                AddEntry(*common, "Enabled", slice.enabled ? "1" : "0");
                auto* rect = layer->createNewChildElement("InputRect");
                const float xs[] = { slice.x, slice.x + slice.width, slice.x + slice.width, slice.x };
                const float ys[] = { slice.y, slice.y, slice.y + slice.height, slice.y + slice.height };
                for (int i = 0; i < 4; ++i)
                {
                    auto* v = rect->createNewChildElement("v");
                    v->setAttribute("x", static_cast<double>(xs[i]));
                    v->setAttribute("y", static_cast<double>(ys[i]));
                }
            }
        }

        const auto file = SettingsFile();
        file.getParentDirectory().createDirectory();
        file.replaceWithText(root.toString());
        Touch();
    }

    /** Gives the settings file a modification time it never had before. */
    void Touch()
    {
        writes += 10;
        TemporaryHome::SetTime(SettingsFile(), writes);
    }

    /** Screens with the given names, each with one small enabled slice. */
    static std::vector<Screen> NamedScreens(const std::vector<std::string>& names)
    {
        std::vector<Screen> screens;
        float x = 0.0f;
        for (const auto& name : names)
        {
            screens.push_back({ name, true, { { x, 0.0f, 10.0f, 10.0f, true } } });
            x += 20.0f;
        }
        return screens;
    }

private:
    static void AddEntry(juce::XmlElement& group, const juce::String& name, const juce::String& value)
    {
        auto* entry = group.createNewChildElement("Param");
        entry->setAttribute("name", name);
        entry->setAttribute("value", value);
    }

    TemporaryHome home;
    int writes = 0;
};
