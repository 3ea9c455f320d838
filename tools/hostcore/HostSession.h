#pragma once

#include "HostOptions.h"
#include "PluginLibrary.h"

#include <ostream>
#include <string>
#include <vector>

/*
    One run of the headless host, driving a plug-in the way an FFGL host does:
    load it, print its information and parameter table, make a GL context of
    the profile its API version asks for, instantiate it on a framebuffer of
    the requested size, set parameters, render frames (optionally resizing),
    write the last frame to a PNG, and take everything down again.

    Any failure ends the run with one line "error: ..." on the error stream
    and a non-zero result.

    Usage:
        HostSession session(std::cout, std::cerr);
        return session.Run(options);
*/
class HostSession
{
public:
    HostSession(std::ostream& out, std::ostream& err);

    /** Runs the whole session; 0 on success, 1 after a failure. */
    int Run(const HostOptions& options);

    /** Prints the information record, extended information and parameter table. */
    static void PrintInfo(std::ostream& out, const PluginLibrary::Info& info,
                          const PluginLibrary::ExtendedInfo* extended,
                          const std::vector<PluginLibrary::Parameter>& parameters);

private:
    struct Setting
    {
        uint32_t index;
        std::string text; ///< for text parameters
        float value;
        bool isText;
    };

    int Fail(const std::string& message);
    bool PointHomeAt(const std::string& folder);
    bool ResolveSettings(const HostOptions& options, uint32_t apiMajor,
                         const std::vector<PluginLibrary::Parameter>& parameters, std::vector<Setting>& resolved);
    bool Render(const HostOptions& options, const PluginLibrary::Info& info, const std::vector<Setting>& settings);

    std::ostream& out;
    std::ostream& err;
    PluginLibrary library;
    std::string failure;
};
