#pragma once

#include <dlfcn.h>

#include <sstream>
#include <string>
#include <vector>

/*
    Reads the call log of the fake test plug-in. The test keeps its own
    reference to the library, so the log outlives the host unloading it.
*/
class FakePluginLog
{
public:
    explicit FakePluginLog(const char* path) : handle(dlopen(path, RTLD_NOW | RTLD_LOCAL))
    {
        if (handle != nullptr)
        {
            log = reinterpret_cast<const char* (*)()>(dlsym(handle, "fakeCallLog"));
            reset = reinterpret_cast<void (*)()>(dlsym(handle, "fakeResetLog"));
            if (reset != nullptr)
                reset();
        }
    }

    ~FakePluginLog()
    {
        if (handle != nullptr)
            dlclose(handle);
    }

    FakePluginLog(const FakePluginLog&) = delete;
    FakePluginLog& operator=(const FakePluginLog&) = delete;

    bool IsValid() const { return log != nullptr && reset != nullptr; }

    /** The function codes received since construction, in order. */
    std::vector<unsigned> Codes() const
    {
        std::vector<unsigned> codes;
        std::istringstream stream(log != nullptr ? log() : "");
        unsigned code;
        while (stream >> code)
            codes.push_back(code);
        return codes;
    }

    unsigned Count(unsigned code) const
    {
        unsigned n = 0;
        for (unsigned c : Codes())
            n += c == code ? 1 : 0;
        return n;
    }

private:
    void* handle = nullptr;
    const char* (*log)() = nullptr;
    void (*reset)() = nullptr;
};
