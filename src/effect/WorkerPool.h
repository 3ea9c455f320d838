#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <vector>

// POSIX threads on both platforms (MinGW's thread library on Windows), for the stack size.
#include <pthread.h>

/**
    A few worker threads that spread the independent parts of one distance image
    rebuild (the ring offsets, the painting of row strips) over the machine's
    cores.

    The rebuild owns the pool as a local object: its threads start with the first
    job that has parts to share and are joined by the destructor, so no thread of
    ours exists outside a rebuild, whichever way it ends. A library that is
    unloaded, a process that quits or forks between host calls has no thread of
    ours to stop, and nothing here is process-wide but a setting.

    Jobs run one after the other on the owner's thread; the calling thread works
    on each job too, so a pool without workers (or one that cannot start a
    thread) still gets everything done, on the caller's thread.

    Usage:
        WorkerPool pool (WorkerPool::WorkersFor (work));
        pool.ForEach (numRings, [&] (size_t n) { offsets[n] = Offset (n); });
*/
class WorkerPool
{
public:
    /** A pool that uses up to numWorkers threads besides the caller (at most
        maxWorkers); none has started yet.
    */
    explicit WorkerPool(size_t numWorkers);

    /** Stops and joins every worker thread. */
    ~WorkerPool();

    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    /** Runs job (i) for every i below count, on the workers and the calling
        thread, and returns when all are done. The order is not defined. The
        first exception a job throws is passed on here, after the others ended;
        indices not yet started are then skipped. A job must not start another.
    */
    void ForEach(size_t count, const std::function<void(size_t)>& job);

    /** The number of threads that work on a job, the caller included. */
    size_t GetConcurrency() const noexcept { return numWorkers + 1; }

    /** The workers worth starting for a job of this much work, counted in
        pixels painted: none for the smallest, where starting a thread costs
        more than it saves, and one fewer than the hardware's concurrency for
        large ones. Depends only on the work and the machine, or on SetNumWorkers.
    */
    static size_t WorkersFor(size_t work) noexcept;

    /** Fixes the number of workers that WorkersFor gives, for measurements and
        tests; the default, -1, decides by the work.
    */
    static void SetNumWorkers(int numWorkers) noexcept;

    /** A few cores already give most of the gain; more threads than this only
        cost start-up time and memory for their stacks.
    */
    static constexpr size_t maxWorkers = 31;

    /** The name the worker threads carry where the platform names threads. */
    static constexpr const char* threadName = "zm-distance";

private:
    void StartWorkers(size_t wanted);
    void StartOneMore();
    static void* ThreadEntry(void* pool);
    void WorkerLoop();
    void Work();

    const size_t numWorkers;

    std::mutex startLock; // guards the threads and their wanted number
    std::vector<pthread_t> threads;
    size_t wantedWorkers = 0;

    std::mutex stateLock; // guards everything below
    std::condition_variable wake, done;
    std::atomic<bool> stopping { false }; // set under both locks; read unlocked while looking for work

    // The job being run; generation tells waiting workers that a new one is there.
    const std::function<void(size_t)>* job = nullptr;
    size_t jobCount = 0, nextIndex = 0, activeWorkers = 0;
    std::atomic<unsigned long> generation { 0 }; // changed under the lock only
    std::exception_ptr failure;
};
