#pragma once

#include "HostOptions.h"
#include "HostSession.h"

#include <juce_core/juce_core.h>
#include <png.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

/*
    Runs a host session on a command line, as the tool would, and keeps what
    it printed; and a scratch folder for the files a session writes.
*/
struct SessionResult
{
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline SessionResult RunSession(const std::vector<std::string>& arguments)
{
    SessionResult result;
    HostOptions options;
    std::string error;
    if (!HostOptions::Parse(arguments, options, error))
    {
        result.exitCode = 2;
        result.err = "error: " + error + "\n";
        return result;
    }
    std::ostringstream out, err;
    HostSession session(out, err);
    result.exitCode = session.Run(options);
    result.out = out.str();
    result.err = err.str();
    return result;
}

class ScratchFolder
{
public:
    // mkdtemp, so that test processes running side by side never share (and delete) one folder.
    ScratchFolder()
    {
        std::string pattern = juce::File::getSpecialLocation(juce::File::tempDirectory)
                                  .getChildFile("zm-host-test-XXXXXX")
                                  .getFullPathName()
                                  .toStdString();
        if (mkdtemp(pattern.data()) != nullptr)
            folder = juce::File(pattern);
    }
    ~ScratchFolder()
    {
        if (folder != juce::File())
            folder.deleteRecursively();
    }

    std::string Path(const char* name) const { return folder.getChildFile(name).getFullPathName().toStdString(); }
    const juce::File& Folder() const { return folder; }

private:
    juce::File folder;
};

/** Restores HOME on destruction, for tests that run a session with --home. */
class HomeGuard
{
public:
    HomeGuard()
    {
        const char* home = std::getenv("HOME");
        hadHome = home != nullptr;
        saved = hadHome ? home : "";
    }
    ~HomeGuard()
    {
        if (hadHome)
            setenv("HOME", saved.c_str(), 1);
        else
            unsetenv("HOME");
    }
    HomeGuard(const HomeGuard&) = delete;
    HomeGuard& operator=(const HomeGuard&) = delete;

private:
    bool hadHome = false;
    std::string saved;
};

/** A PNG read back as straight RGBA bytes, top row first. */
struct PngPicture
{
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;

    bool IsValid() const { return width > 0 && height > 0; }
    /** Channel 0..3 (red, green, blue, alpha) of pixel (x, y). */
    int At(int x, int y, int channel) const { return rgba[(static_cast<size_t>(y) * width + x) * 4 + channel]; }
};

inline PngPicture LoadPng(const std::string& path)
{
    PngPicture picture;
    png_image image {};
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&image, path.c_str()) == 0)
        return picture;
    image.format = PNG_FORMAT_RGBA;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr) == 0)
        return picture;
    picture.width = static_cast<int>(image.width);
    picture.height = static_cast<int>(image.height);
    picture.rgba = std::move(pixels);
    return picture;
}
