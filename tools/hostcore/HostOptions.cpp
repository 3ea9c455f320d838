#include "HostOptions.h"

#include <cerrno>
#include <cstdlib>

namespace
{
bool ParseCount(const std::string& text, uint32_t lowest, uint32_t highest, uint32_t& value)
{
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 9)
        return false;
    const unsigned long parsed = std::strtoul(text.c_str(), nullptr, 10);
    if (parsed < lowest || parsed > highest)
        return false;
    value = static_cast<uint32_t>(parsed);
    return true;
}
} // namespace

bool HostOptions::ParseSize(const std::string& text, uint32_t& sizeWidth, uint32_t& sizeHeight)
{
    const size_t cross = text.find('x');
    if (cross == std::string::npos)
        return false;
    uint32_t w = 0, h = 0;
    if (!ParseCount(text.substr(0, cross), 1, maxSide, w) || !ParseCount(text.substr(cross + 1), 1, maxSide, h))
        return false;
    sizeWidth = w;
    sizeHeight = h;
    return true;
}

const char* HostOptions::GetUsage()
{
    return "usage: zephyrmantle-host --plugin PATH [--home DIR] [--size WxH] [--frames N]\n"
           "                         [--set NAME=VALUE]... [--resize WxH] [--output FILE.png] [--info-only]\n"
           "\n"
           "  --plugin PATH      FFGL plug-in library to load\n"
           "  --home DIR         set HOME to DIR before loading (host files are read below DIR/Documents)\n"
           "  --size WxH         viewport and framebuffer size (default 1920x1080)\n"
           "  --frames N         frames to render (default 1); rendered again after --resize\n"
           "  --set NAME=VALUE   set a parameter: a number, true/false for booleans,\n"
           "                     an element name or value for option parameters\n"
           "  --resize WxH       after the frames, resize the instance and render the frames again\n"
           "  --output FILE.png  write the last frame as a PNG\n"
           "  --info-only        print the plug-in's information and parameters, render nothing\n";
}

bool HostOptions::Parse(const std::vector<std::string>& arguments, HostOptions& options, std::string& error)
{
    options = HostOptions();

    for (size_t i = 0; i < arguments.size(); ++i)
    {
        std::string name = arguments[i];
        std::string value;
        bool hasValue = false;

        const size_t equals = name.find('=');
        if (name.rfind("--", 0) == 0 && equals != std::string::npos)
        {
            value = name.substr(equals + 1);
            name = name.substr(0, equals);
            hasValue = true;
        }

        const auto takeValue = [&]() -> bool
        {
            if (hasValue)
                return true;
            if (i + 1 >= arguments.size())
            {
                error = name + " needs a value";
                return false;
            }
            value = arguments[++i];
            return true;
        };

        if (name == "--help" || name == "-h")
        {
            options.help = true;
        }
        else if (name == "--info-only")
        {
            options.infoOnly = true;
        }
        else if (name == "--plugin")
        {
            if (!takeValue())
                return false;
            options.pluginPath = value;
        }
        else if (name == "--home")
        {
            if (!takeValue())
                return false;
            options.homeFolder = value;
        }
        else if (name == "--output")
        {
            if (!takeValue())
                return false;
            options.outputPath = value;
        }
        else if (name == "--size" || name == "--resize")
        {
            if (!takeValue())
                return false;
            uint32_t w = 0, h = 0;
            if (!ParseSize(value, w, h))
            {
                error = "bad " + name + " value '" + value + "' (expected WIDTHxHEIGHT, each 1 to " +
                        std::to_string(maxSide) + ")";
                return false;
            }
            if (name == "--size")
            {
                options.width = w;
                options.height = h;
            }
            else
            {
                options.resize = true;
                options.resizeWidth = w;
                options.resizeHeight = h;
            }
        }
        else if (name == "--frames")
        {
            if (!takeValue())
                return false;
            if (!ParseCount(value, 1, maxFrames, options.frames))
            {
                error = "bad --frames value '" + value + "' (expected 1 to " + std::to_string(maxFrames) + ")";
                return false;
            }
        }
        else if (name == "--set")
        {
            if (!takeValue())
                return false;
            const size_t split = value.find('=');
            if (split == std::string::npos || split == 0)
            {
                error = "bad --set value '" + value + "' (expected NAME=VALUE)";
                return false;
            }
            options.settings.emplace_back(value.substr(0, split), value.substr(split + 1));
        }
        else
        {
            error = "unknown argument '" + arguments[i] + "'";
            return false;
        }
    }

    if (!options.help && options.pluginPath.empty())
    {
        error = "no plug-in given (--plugin PATH)";
        return false;
    }
    return true;
}
