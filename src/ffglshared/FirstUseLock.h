#pragma once

/**
    The lock under which a plug-in library does what it does once per process
    (makes the prototype, loads the GL entry points), so that two host threads
    making their first instances at the same moment do it once while the other
    waits.

    It is ready before the library's own initialisers run and has no destructor:
    unloading the library or ending the process, whatever thread was killed
    holding it, has nothing to do for it (std::mutex needs both with MinGW's
    thread library). Not recursive: the work must not take it again.

    Usage:
        const bool loaded = FirstUseLock::Run ([] { return LoadEntryPoints(); });
*/
class FirstUseLock
{
public:
    /** Runs work () with the lock held and returns what it returns. */
    template <typename Work>
    static auto Run(Work&& work)
    {
        Holder held;
        return work();
    }

private:
    struct Holder
    {
        Holder() noexcept { Acquire(); }
        ~Holder() { Release(); }
        Holder(const Holder&) = delete;
        Holder& operator=(const Holder&) = delete;
    };

    static void Acquire() noexcept;
    static void Release() noexcept;
};
