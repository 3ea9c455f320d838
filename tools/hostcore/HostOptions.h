#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

/*
    What the headless host is asked to do, parsed from its command line:
    which plug-in to load, where its host files live, the frame size, the
    parameter settings, the frames to render, an optional resize and the PNG
    to write.

    Usage:
        HostOptions options;
        std::string error;
        if (! HostOptions::Parse(arguments, options, error)) fail (error);
*/
class HostOptions
{
public:
    std::string pluginPath;
    std::string homeFolder; ///< when set, HOME is pointed here before the plug-in loads
    uint32_t width = 1920;
    uint32_t height = 1080;
    uint32_t frames = 1;
    std::vector<std::pair<std::string, std::string>> settings; ///< parameter name and value text, in order
    bool resize = false;
    uint32_t resizeWidth = 0;
    uint32_t resizeHeight = 0;
    std::string outputPath; ///< PNG of the last frame; empty for none
    bool infoOnly = false;
    bool help = false;

    /** Parses the arguments that follow the program name; false with a one-line reason on failure. */
    static bool Parse(const std::vector<std::string>& arguments, HostOptions& options, std::string& error);

    /** Parses "WIDTHxHEIGHT", each side 1 to maxSide. */
    static bool ParseSize(const std::string& text, uint32_t& width, uint32_t& height);

    /** The usage text printed for --help. */
    static const char* GetUsage();

    static constexpr uint32_t maxSide = 16384;
    static constexpr uint32_t maxFrames = 1000000;
};
