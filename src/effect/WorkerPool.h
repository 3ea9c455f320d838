#pragma once

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

/**
    A small process-wide set of worker threads that spreads the independent parts
    of a distance image rebuild (the ring offsets, the painting of row strips)
    over the machine's cores.

    The threads start when the first job needs them and then wait idle between
    jobs. A job starts and ends inside one ForEach call: nothing of it runs after
    the call returns. Shutdown stops and joins every thread; the effect calls it
    when its last object goes, so that the library can be unloaded with no thread
    left running its code. A later job simply starts the threads again.

    One job runs at a time; a second caller waits for the first to finish, and a
    job must not start another one. The calling thread works on the job too, so
    a pool without workers (or one that cannot start a thread) still gets
    everything done, on the caller's thread.

    Usage:
        WorkerPool::ForEach (numRings, [&] (size_t n) { offsets[n] = Offset (n); });
        ...
        WorkerPool::Shutdown();   // with the last plug-in object
*/
class WorkerPool
{
public:
    /** Runs job (i) for every i below count, on the workers and the calling
        thread, and returns when all are done. The order is not defined. The
        first exception a job throws is passed on here, after the others ended;
        indices not yet started are then skipped.
    */
    static void ForEach(size_t count, const std::function<void(size_t)>& job);

    /** The number of threads that work on a job, the caller included. */
    static size_t GetConcurrency();

    /** Sets how many worker threads (besides the caller) later jobs use; the
        default, -1, takes one fewer than the hardware's concurrency. Running
        threads are stopped and the new number starts with the next job.
    */
    static void SetNumWorkers(int numWorkers);

    /** The name the worker threads carry where the platform names threads. */
    static constexpr const char* threadName = "zm-distance";

    /** Stops and joins every worker thread. Returns when none is left. */
    static void Shutdown();

private:
    WorkerPool() = default;
    ~WorkerPool();

    static WorkerPool& GetInstance();

    size_t WantedWorkers() const;
    void Start();
    void Stop();
    void WorkerLoop();
    void Work();

    std::mutex jobLock;   // held by the caller for a whole job
    std::mutex stateLock; // guards everything below
    std::condition_variable wake, done;
    std::vector<std::thread> threads;
    int configuredWorkers = -1;
    bool stopping = false;

    // The job being run; generation tells waiting workers that a new one is there.
    const std::function<void(size_t)>* job = nullptr;
    size_t jobCount = 0, nextIndex = 0, activeWorkers = 0;
    unsigned long generation = 0;
    std::exception_ptr failure;
};
