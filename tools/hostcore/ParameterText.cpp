#include "ParameterText.h"

#include "FFGLTypes.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace
{
std::string LowerCase(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The first item named exactly so; failing that, the first whose name differs only in case.
template <typename Item>
const Item* FindByName(const std::vector<Item>& items, const std::string& name)
{
    for (const auto& item : items)
        if (item.name == name)
            return &item;

    const std::string wanted = LowerCase(name);
    for (const auto& item : items)
        if (LowerCase(item.name) == wanted)
            return &item;
    return nullptr;
}

bool ParseNumber(const std::string& text, float& value)
{
    if (text.empty() || std::isspace(static_cast<unsigned char>(text.front())))
        return false;
    char* end = nullptr;
    const float parsed = std::strtof(text.c_str(), &end);
    if (end != text.c_str() + text.size() || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}
} // namespace

std::string ParameterText::GetTypeName(int32_t type)
{
    switch (type)
    {
        case FF_TYPE_BOOLEAN: return "boolean";
        case FF_TYPE_STANDARD: return "standard";
        case FF_TYPE_OPTION: return "option";
        case FF_TYPE_FILE: return "file";
        case FF_TYPE_TEXT: return "text";
        case FF_TYPE_HUE: return "hue";
        case FF_TYPE_SATURATION: return "saturation";
        case FF_TYPE_BRIGHTNESS: return "brightness";
        case FF_TYPE_ALPHA: return "alpha";
        default: return "type " + std::to_string(type);
    }
}

std::string ParameterText::FormatNumber(float value)
{
    char text[32];
    for (int digits = 1; digits <= 9; ++digits)
    {
        std::snprintf(text, sizeof(text), "%.*g", digits, static_cast<double>(value));
        if (std::strtof(text, nullptr) == value)
            break;
    }
    return text;
}

std::string ParameterText::Describe(const PluginLibrary::Parameter& parameter, uint32_t apiMajor)
{
    char head[64];
    std::snprintf(head, sizeof(head), "%3u  %-16s  %-10s  ", parameter.index, parameter.name.c_str(),
                  GetTypeName(parameter.type).c_str());
    std::string line = head;

    if (parameter.IsText(apiMajor))
        line += "\"" + parameter.defaultText + "\"";
    else
        line += FormatNumber(parameter.defaultValue);

    if (parameter.type == FF_TYPE_OPTION)
    {
        if (parameter.elements.empty())
        {
            line += "  (" + std::to_string(parameter.elementCount) + " elements)";
        }
        else
        {
            line += "  {";
            for (size_t k = 0; k < parameter.elements.size(); ++k)
                line +=
                    (k > 0 ? ", " : "") + parameter.elements[k].name + "=" + FormatNumber(parameter.elements[k].value);
            line += "}";
        }
    }
    return line;
}

const PluginLibrary::Parameter* ParameterText::Find(const std::vector<PluginLibrary::Parameter>& parameters,
                                                    const std::string& name)
{
    return FindByName(parameters, name);
}

bool ParameterText::ParseValue(const PluginLibrary::Parameter& parameter, const std::string& text, float& value,
                               std::string& error)
{
    if (parameter.type == FF_TYPE_BOOLEAN)
    {
        const std::string word = LowerCase(text);
        if (word == "true" || word == "on" || word == "yes")
        {
            value = 1.0f;
            return true;
        }
        if (word == "false" || word == "off" || word == "no")
        {
            value = 0.0f;
            return true;
        }
    }

    if (parameter.type == FF_TYPE_OPTION)
    {
        if (const auto* element = FindByName(parameter.elements, text))
        {
            value = element->value;
            return true;
        }
    }

    if (ParseNumber(text, value))
        return true;

    error = "bad value '" + text + "' for " + GetTypeName(parameter.type) + " parameter '" + parameter.name + "'";
    if (parameter.type == FF_TYPE_OPTION && !parameter.elements.empty())
    {
        error += " (one of";
        for (size_t k = 0; k < parameter.elements.size(); ++k)
            error += (k > 0 ? ", '" : " '") + parameter.elements[k].name + "'";
        error += " or a number)";
    }
    return false;
}
