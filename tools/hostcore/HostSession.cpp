#include "HostSession.h"

#include "EglContext.h"
#include "HostFramebuffer.h"
#include "ParameterText.h"
#include "PngWriter.h"

#include <algorithm>

#include <climits>
#include <cstdlib>
#include <sys/stat.h>

namespace
{
const char* PluginTypeName(uint32_t type)
{
    switch (type)
    {
        case 0: return "effect";
        case 1: return "source";
        case 2: return "mixer";
        default: return "unknown";
    }
}

// Keeps only printable characters so that a broken record cannot garble the terminal.
std::string Printable(const std::string& text)
{
    std::string result;
    for (char c : text)
        result += (static_cast<unsigned char>(c) >= 0x20 && c != 0x7f) ? c : '?';
    return result;
}
} // namespace

HostSession::HostSession(std::ostream& outStream, std::ostream& errStream) : out(outStream), err(errStream) {}

int HostSession::Fail(const std::string& message)
{
    // One line, whatever the message carries.
    std::string line = message;
    for (char& c : line)
        if (c == '\n' || c == '\r')
            c = ' ';
    err << "error: " << line << std::endl;
    return 1;
}

void HostSession::PrintInfo(std::ostream& out, const PluginLibrary::Info& info,
                            const PluginLibrary::ExtendedInfo* extended,
                            const std::vector<PluginLibrary::Parameter>& parameters)
{
    out << "plug-in     " << Printable(info.name) << "\n"
        << "id          " << Printable(info.uniqueId) << "\n"
        << "api         FFGL " << info.apiMajor << "." << info.apiMinor << "\n"
        << "type        " << info.pluginType << " (" << PluginTypeName(info.pluginType) << ")\n";
    if (extended != nullptr)
        out << "version     " << extended->pluginMajor << "." << extended->pluginMinor << "\n"
            << "description " << Printable(extended->description) << "\n"
            << "about       " << Printable(extended->about) << "\n";

    out << "parameters  " << parameters.size() << "\n";
    for (const auto& parameter : parameters)
    {
        auto shown = parameter;
        shown.name = Printable(shown.name);
        out << ParameterText::Describe(shown, info.apiMajor) << "\n";
    }
    out.flush();
}

bool HostSession::PointHomeAt(const std::string& folder)
{
    struct stat status
    {
    };
    char resolved[PATH_MAX];
    if (stat(folder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode) || realpath(folder.c_str(), resolved) == nullptr)
    {
        failure = "no such folder for --home: " + folder;
        return false;
    }
    // The plug-in finds the user's Documents folder through HOME.
    setenv("HOME", resolved, 1);
    return true;
}

bool HostSession::ResolveSettings(const HostOptions& options, uint32_t apiMajor,
                                  const std::vector<PluginLibrary::Parameter>& parameters,
                                  std::vector<Setting>& resolved)
{
    for (const auto& [name, text] : options.settings)
    {
        const PluginLibrary::Parameter* parameter = ParameterText::Find(parameters, name);
        if (parameter == nullptr)
        {
            failure = "unknown parameter '" + name + "'";
            return false;
        }

        Setting setting { parameter->index, text, 0.0f, parameter->IsText(apiMajor) };
        if (!setting.isText && !ParameterText::ParseValue(*parameter, text, setting.value, failure))
            return false;
        resolved.push_back(setting);
    }
    return true;
}

int HostSession::Run(const HostOptions& options)
{
    if (options.help)
    {
        out << HostOptions::GetUsage();
        return 0;
    }

    if (!options.homeFolder.empty() && !PointHomeAt(options.homeFolder))
        return Fail(failure);

    if (!library.Load(options.pluginPath))
        return Fail(library.GetError());

    PluginLibrary::Info info;
    std::vector<PluginLibrary::Parameter> parameters;
    if (!library.GetInfo(info) || !library.GetParameters(parameters))
    {
        failure = library.GetError();
        library.Deinitialise();
        library.Unload();
        return Fail(failure);
    }

    PluginLibrary::ExtendedInfo extended;
    const bool haveExtended = library.GetExtendedInfo(extended);
    PrintInfo(out, info, haveExtended ? &extended : nullptr, parameters);

    std::vector<Setting> settings;
    bool ok = ResolveSettings(options, info.apiMajor, parameters, settings);
    if (ok && !options.infoOnly)
        ok = Render(options, info, settings);

    if (!library.Deinitialise() && ok)
    {
        failure = library.GetError();
        ok = false;
    }
    library.Unload();
    return ok ? 0 : Fail(failure);
}

bool HostSession::Render(const HostOptions& options, const PluginLibrary::Info& info,
                         const std::vector<Setting>& settings)
{
    // An FFGL 1.x plug-in draws with the fixed-function pipeline; 2.x expects a 3.3 core context.
    EglContext context;
    if (!context.Create(info.apiMajor >= 2 ? EglContext::Profile::Core33 : EglContext::Profile::Compatibility))
    {
        failure = "no OpenGL context: " + context.GetError();
        return false;
    }

    HostFramebuffer framebuffer;
    if (!framebuffer.Create(options.width, options.height))
    {
        failure = framebuffer.GetError();
        return false;
    }

    const uint64_t instance = library.Instantiate(options.width, options.height);
    if (instance == 0)
    {
        failure = library.GetError();
        return false;
    }

    bool ok = true;
    for (const Setting& setting : settings)
    {
        ok = setting.isText ? library.SetTextParameter(instance, setting.index, setting.text.c_str())
                            : library.SetParameter(instance, setting.index, setting.value);
        if (!ok)
        {
            failure = library.GetError();
            break;
        }
    }

    const auto renderFrames = [&]() -> bool
    {
        for (uint32_t frame = 1; frame <= options.frames; ++frame)
        {
            framebuffer.BindAndClear();
            if (!library.ProcessFrame(instance, framebuffer.GetId()))
            {
                failure = "frame " + std::to_string(frame) + " failed (code 17)";
                return false;
            }
        }
        return true;
    };

    ok = ok && renderFrames();

    if (ok && options.resize)
    {
        if (!framebuffer.Create(options.resizeWidth, options.resizeHeight))
        {
            failure = framebuffer.GetError();
            library.Deinstantiate(instance);
            return false;
        }
        ok = library.Resize(instance, options.resizeWidth, options.resizeHeight);
        if (!ok)
            failure = library.GetError();
        ok = ok && renderFrames();
    }

    std::vector<uint8_t> pixels;
    const uint32_t finalWidth = framebuffer.GetWidth();
    const uint32_t finalHeight = framebuffer.GetHeight();
    if (ok)
        pixels = framebuffer.ReadTopDown();

    if (!library.Deinstantiate(instance) && ok)
    {
        failure = library.GetError();
        ok = false;
    }
    framebuffer.Destroy();
    if (!ok)
        return false;

    if (!options.outputPath.empty())
    {
        // FFGL hosts composite a plug-in's output as premultiplied colour; a PNG holds
        // straight colour, so it is divided out here.
        for (size_t i = 0; i + 3 < pixels.size(); i += 4)
        {
            const unsigned alpha = pixels[i + 3];
            if (alpha == 0 || alpha == 255)
                continue;
            for (size_t c = 0; c < 3; ++c)
                pixels[i + c] = static_cast<uint8_t>(std::min(255u, (pixels[i + c] * 255u + alpha / 2) / alpha));
        }
        if (!PngWriter::Write(options.outputPath, finalWidth, finalHeight, pixels, failure))
            return false;
        out << "wrote       " << options.outputPath << " (" << finalWidth << "x" << finalHeight << ")" << std::endl;
    }
    return true;
}
