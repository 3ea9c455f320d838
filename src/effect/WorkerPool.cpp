#include "WorkerPool.h"

#include <algorithm>
#include <utility>

#ifdef __linux__
#include <pthread.h>
#endif

namespace
{
// A few cores already give most of the gain; more threads than this only
// cost start-up time and memory for their stacks.
constexpr size_t maxWorkers = 31;

// A name that debuggers and process lists show for the workers (Linux only;
// Windows threads keep the default).
void NameThisThread()
{
#ifdef __linux__
    pthread_setname_np(pthread_self(), WorkerPool::threadName);
#endif
}
} // namespace

WorkerPool& WorkerPool::GetInstance()
{
    static WorkerPool pool;
    return pool;
}

WorkerPool::~WorkerPool()
{
    // Normally stopped with the last plug-in object already; this covers a
    // process that ends with objects alive.
    Stop();
}

size_t WorkerPool::WantedWorkers() const
{
    if (configuredWorkers >= 0)
        return std::min(static_cast<size_t>(configuredWorkers), maxWorkers);

    auto hardware = static_cast<size_t>(std::thread::hardware_concurrency());
    return hardware > 1 ? std::min(hardware - 1, maxWorkers) : 0;
}

void WorkerPool::Start()
{
    std::lock_guard<std::mutex> state(stateLock);

    if (!threads.empty())
        return;

    stopping = false;
    auto wanted = WantedWorkers();

    for (size_t i = 0; i < wanted; ++i)
    {
        try
        {
            threads.emplace_back([this] { WorkerLoop(); });
        }
        catch (...)
        {
            break; // fewer workers, or none: the caller does the rest
        }
    }
}

void WorkerPool::Stop()
{
    std::vector<std::thread> leaving;

    {
        std::lock_guard<std::mutex> state(stateLock);
        stopping = true;
        leaving.swap(threads);
    }

    wake.notify_all();

    for (auto& thread : leaving)
        thread.join();
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

    auto& pool = GetInstance();
    std::lock_guard<std::mutex> oneJob(pool.jobLock);
    pool.Start();

    {
        std::lock_guard<std::mutex> state(pool.stateLock);
        pool.job = &work;
        pool.jobCount = count;
        pool.nextIndex = 0;
        pool.failure = nullptr;
        ++pool.generation;
    }

    pool.wake.notify_all();
    pool.Work();

    // The job ends only when no worker is inside it any more, so nothing of it
    // runs after this call returns.
    std::unique_lock<std::mutex> state(pool.stateLock);
    pool.done.wait(state, [&] { return pool.activeWorkers == 0; });
    pool.job = nullptr;

    if (pool.failure != nullptr)
        std::rethrow_exception(std::exchange(pool.failure, nullptr));
}

size_t WorkerPool::GetConcurrency()
{
    auto& pool = GetInstance();
    std::lock_guard<std::mutex> oneJob(pool.jobLock);
    std::lock_guard<std::mutex> state(pool.stateLock);
    return (pool.threads.empty() ? pool.WantedWorkers() : pool.threads.size()) + 1;
}

void WorkerPool::SetNumWorkers(int numWorkers)
{
    auto& pool = GetInstance();
    std::lock_guard<std::mutex> oneJob(pool.jobLock);
    pool.Stop();
    std::lock_guard<std::mutex> state(pool.stateLock);
    pool.configuredWorkers = numWorkers;
}

void WorkerPool::Shutdown()
{
    auto& pool = GetInstance();
    std::lock_guard<std::mutex> oneJob(pool.jobLock);
    pool.Stop();
}
