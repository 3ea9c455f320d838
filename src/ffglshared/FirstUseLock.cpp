#include "FirstUseLock.h"

#ifdef _WIN32
#include "WindowsIncludes.h"
#else
#include <pthread.h>
#endif

namespace
{
// Statically initialised and never destroyed, on either platform.
#ifdef _WIN32
SRWLOCK lock = SRWLOCK_INIT;
#else
pthread_mutex_t lock = PTHREAD_MUTEX_INITIALIZER;
#endif
} // namespace

#ifdef _WIN32

void FirstUseLock::Acquire() noexcept
{
    AcquireSRWLockExclusive(&lock);
}

void FirstUseLock::Release() noexcept
{
    ReleaseSRWLockExclusive(&lock);
}

#else

void FirstUseLock::Acquire() noexcept
{
    pthread_mutex_lock(&lock);
}

void FirstUseLock::Release() noexcept
{
    pthread_mutex_unlock(&lock);
}

#endif
