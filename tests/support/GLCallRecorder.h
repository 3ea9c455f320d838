#pragma once

#include <string>
#include <vector>

/*
    Records the GL calls code makes through the zmgl:: entry points of the build
    the test is linked with, by name and with their numeric arguments, while it
    lives. It swaps every entry point of that build's list for a stub that logs
    the call and then, when forwarding, passes it on to the entry point that was
    installed before; it puts them all back when it goes.

    Usage:
        GLCallRecorder recorder;
        effect.ProcessOpenGL (&frame);
        EXPECT_EQ (recorder.Count ("glBegin"), 1);

    Only one may exist at a time. A test may still replace single pointers
    afterwards (the recorder restores them too); Fake does so and keeps the
    call recorded.
*/
class GLCallRecorder
{
public:
    /** Without forwarding, no call reaches GL and each returns a zero value. */
    explicit GLCallRecorder(bool forwardToGL = true);
    ~GLCallRecorder();

    GLCallRecorder(const GLCallRecorder&) = delete;
    GLCallRecorder& operator=(const GLCallRecorder&) = delete;

    /** Sends one recorded entry point to a fake of the same type until the recorder goes. */
    template <typename EntryPoint>
    void Fake(EntryPoint& entryPoint, EntryPoint fake)
    {
        Redirect(&entryPoint, reinterpret_cast<void (*)()>(fake));
    }

    long Count(const std::string& name) const;

    /** The numeric arguments of each call with this name, in call order (pointers are left out). */
    std::vector<std::vector<double>> ArgumentsOf(const std::string& name) const;

    /** Forgets the calls recorded so far. */
    void Clear();

    /** The names of the calls made while this recorder was installed, in order. */
    std::vector<std::string> calls;

    /** Each call's numeric arguments, at the same index as its name in calls. */
    std::vector<std::vector<double>> arguments;

private:
    void Redirect(const void* entryPoint, void (*fake)());
};
