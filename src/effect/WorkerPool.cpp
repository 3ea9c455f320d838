#include "WorkerPool.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <utility>

namespace
{
// Set only by measurements and tests; constant-initialised and trivially destroyed,
// so that unloading the library has nothing to do for it.
std::atomic<int> configuredWorkers { -1 };

// Below this much work per thread (about a third of a millisecond of painting on
// one core) a further thread costs more to start and join than it takes over.
constexpr size_t minWorkPerThread = 65536;

// The workers' stacks: far below the system's default (8 MB on Linux), which
// they never need, so that the C library keeps the stacks of ended workers for
// the next rebuild (up to 40 MB in all) instead of mapping fresh ones and
// unmapping them again, which on some machines costs more than a small rebuild.
constexpr size_t workerStackSize = size_t(1) << 20;

// How long an idle worker looks for the next job before it sleeps.
constexpr auto spinTime = std::chrono::microseconds(200);

// A name that debuggers and process lists show for the workers (Linux only;
// Windows threads keep the default).
void NameThisThread()
{
#ifdef __linux__
    pthread_setname_np(pthread_self(), WorkerPool::threadName);
#endif
}
} // namespace

WorkerPool::WorkerPool(size_t workers) : numWorkers(std::min(workers, maxWorkers))
{
    threads.reserve(numWorkers); // so that a started thread always finds its place
}

WorkerPool::~WorkerPool()
{
    // No worker starts another once stopping is set, so the threads are all there to join.
    {
        std::lock_guard<std::mutex> start(startLock);
        std::lock_guard<std::mutex> state(stateLock);
        stopping = true;
    }

    wake.notify_all();

    for (auto thread : threads)
        pthread_join(thread, nullptr);
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
    std::lock_guard<std::mutex> start(startLock);
    wantedWorkers = std::max(wantedWorkers, wanted);
    StartOneMore();
}

void WorkerPool::StartOneMore()
{
    if (stopping || threads.size() >= wantedWorkers)
        return;

    pthread_attr_t attributes;
    pthread_t thread;
    bool started = false;

    if (pthread_attr_init(&attributes) == 0)
    {
        started = pthread_attr_setstacksize(&attributes, workerStackSize) == 0 &&
                  pthread_create(&thread, &attributes, &WorkerPool::ThreadEntry, this) == 0;
        pthread_attr_destroy(&attributes);
    }

    if (started)
        threads.push_back(thread);
    else
        wantedWorkers = threads.size(); // fewer workers, or none: the caller does the rest
}

void* WorkerPool::ThreadEntry(void* pool)
{
    static_cast<WorkerPool*>(pool)->WorkerLoop();
    return nullptr;
}

void WorkerPool::WorkerLoop()
{
    NameThisThread();

    // Starting a thread takes long on some systems: the caller starts one and
    // each new worker two more, so that they all run after a few start times
    // while those already there work.
    for (int more = 0; more < 2; ++more)
    {
        std::lock_guard<std::mutex> start(startLock);
        StartOneMore();
    }

    unsigned long seen = 0;
    std::unique_lock<std::mutex> state(stateLock);

    for (;;)
    {
        // The jobs of a rebuild follow each other closely, and its end comes right
        // after the last: a worker that looks for them a little while before it
        // sleeps spares the time a woken thread takes to run again.
        if (!stopping && generation == seen)
        {
            state.unlock();
            const auto until = std::chrono::steady_clock::now() + spinTime;

            while (!stopping.load(std::memory_order_relaxed) && generation.load(std::memory_order_relaxed) == seen &&
                   std::chrono::steady_clock::now() < until)
                std::this_thread::yield();

            state.lock();
        }

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

    // Workers started now join the job at once.
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
