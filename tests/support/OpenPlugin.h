#pragma once

#include "Plugin.h"

/* Opens the building operations and fields of Plugin to the tests of either build. */
class OpenPlugin : public Plugin
{
public:
    explicit OpenPlugin(int32_t type = FF_SOURCE) : Plugin(type) {}

    using Plugin::AddHueColorParam;
    using Plugin::AddParam;
    using Plugin::AddValueSlot;
    using Plugin::SetShaderSources;

    using Plugin::colorGroups;
    using Plugin::hasInputs;
    using Plugin::mainShader;
    using Plugin::maxstLocation;
    using Plugin::paramValues;
    using Plugin::quad;
    using Plugin::resolutionLocation;
    using Plugin::secondShader;
    using Plugin::uniformLocations;
    using Plugin::uniformNames;
    using Plugin::viewportHeight;
    using Plugin::viewportWidth;
};
