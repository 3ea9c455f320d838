#include "WorkerPool.h"

#include <algorithm>
#include <atomic>
#include <utility>

#ifdef __linux__
#include <pthread.h>
#endif

namespace
{
// Set only by measurements and tests; constant-initialised and trivially destroyed,
// so that unloading the library has nothing to do for it.
std::atomic<int> configuredWorkers { -1 };

// Below this much work per thread (about a third of a millisecond of painting on
// one core) a further thread costs more to start and join than it takes over.
constexpr size_t minWorkPerThread = 65536;

// A name that debuggers and process lists show for the workers (Linux only;
// Windows threads keep the default).
void NameThisThread()
{
#ifdef __linux__
    pthread_setname_np(pthread_self(), WorkerPool::threadName);
#endif
}
} // namespace

WorkerPool::WorkerPool(size_t wantedWorkers) : numWorkers(std::min(wantedWorkers, maxWorkers)) {}

WorkerPool::~WorkerPool()
{
    {
        std::lock_guard<std::mutex> state(stateLock);
        stopping = true;
    }

    wake.notify_all();

    for (auto& thread : threads)
        thread.join();
}

size_t WorkerPool::WorkersFor(size_t work) noexcept
{
    const int configured = configuredWorkers.load();

    if (configured >= 0)
        return std::min(static_cast<size_t>(configured), maxWorkers);

    const auto hardware = static_cast<size_t>(std::thread::hardware_concurrency());
    const auto worthwhile = std::max<size_t>(work / minWorkPerThread, 1);
    return std::min({ hardware > 1 ? hardware - 1 : 0, worthwhile - 1, maxWorkers });
}

void WorkerPool::SetNumWorkers(int wanted) noexcept
{
    configuredWorkers.store(wanted);
}

void WorkerPool::StartWorkers(size_t wanted)
{
    while (threads.size() < wanted)
    {
        try
        {
            threads.emplace_back([this] { WorkerLoop(); });
        }
        catch (...)
        {
            return; // fewer workers, or none: the caller does the rest
        }
    }
}

void WorkerPool::WorkerLoop()
{
    NameThisThread();
    unsigned long seen = 0;
    std::unique_lock<std::mutex> state(stateLock);

    for (;;)
    {
        wake.wait(state, [&] { return stopping || generation != seen; });

        if (stopping)
            return;

        seen = generation;
        ++activeWorkers;
        state.unlock();
        Work();
        state.lock();

        if (--activeWorkers == 0)
            done.notify_all();
    }
}

void WorkerPool::Work()
{
    for (;;)
    {
        size_t index = 0;
        const std::function<void(size_t)>* current = nullptr;

        {
            std::lock_guard<std::mutex> state(stateLock);

            if (job == nullptr || nextIndex >= jobCount)
                return;

            index = nextIndex++;
            current = job;
        }

        try
        {
            (*current)(index);
        }
        catch (...)
        {
            std::lock_guard<std::mutex> state(stateLock);

            if (failure == nullptr)
                failure = std::current_exception();

            nextIndex = jobCount;
        }
    }
}

void WorkerPool::ForEach(size_t count, const std::function<void(size_t)>& work)
{
    if (count == 0)
        return;

    {
        std::lock_guard<std::mutex> state(stateLock);
        job = &work;
        jobCount = count;
        nextIndex = 0;
        failure = nullptr;
        ++generation;
    }

    // Workers started now join the job at once: the first ones already work
    // while the caller starts the others.
    wake.notify_all();
    StartWorkers(std::min(numWorkers, count - 1));
    Work();

    // The job ends only when no worker is inside it any more, so nothing of it
    // runs after this call returns.
    std::unique_lock<std::mutex> state(stateLock);
    done.wait(state, [&] { return activeWorkers == 0; });
    job = nullptr;

    if (failure != nullptr)
        std::rethrow_exception(std::exchange(failure, nullptr));
}
