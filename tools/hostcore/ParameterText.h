#pragma once

#include "PluginLibrary.h"

#include <string>
#include <vector>

/*
    Turns parameters into text and text into parameter values for the
    headless host: the type names and table lines it prints, the lookup of a
    parameter by the name a user typed, and the parsing of a value given on
    the command line.

    Usage:
        const auto* parameter = ParameterText::Find(parameters, "Inside");
        float value;
        if (! ParameterText::ParseValue(*parameter, "0.25", value, error)) fail (error);
*/
class ParameterText
{
public:
    /** "boolean", "standard", "option", ... or "type N" for a code this host does not know. */
    static std::string GetTypeName(int32_t type);

    /** One line of the parameter table: index, name, type name, default and option elements. */
    static std::string Describe(const PluginLibrary::Parameter& parameter, uint32_t apiMajor);

    /** The parameter with exactly this name, else the one whose name matches ignoring case; null when none. */
    static const PluginLibrary::Parameter* Find(const std::vector<PluginLibrary::Parameter>& parameters,
                                                const std::string& name);

    /** A float value for a non-text parameter: a number; true/false/on/off/yes/no for booleans;
        an element name or a number for option parameters. False with a one-line reason otherwise. */
    static bool ParseValue(const PluginLibrary::Parameter& parameter, const std::string& text, float& value,
                           std::string& error);

    /** A number as the host prints it: shortest round-trip form. */
    static std::string FormatNumber(float value);
};
