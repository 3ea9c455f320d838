#include "DistanceRings.h"

#include "WorkerPool.h"

#include <atomic>
#include <mutex>

DistanceRings::DistanceRings(const ClipperLib::Paths& source, WorkerPool& rebuildPool, const RingCheck& check)
{
    // Most of a rebuild's time goes into these offsets, each a union as large as
    // the source. Given the source they are independent of each other, so every
    // ring is made by its own offsetter, on whichever thread takes it; the ones
    // past the first empty offset are skipped once it has been found.
    std::vector<ClipperLib::Paths> rings(static_cast<size_t>(maxNumRings));
    std::atomic<int> firstEmpty { maxNumRings };

    // The check sees the rings in order, whichever thread finishes first, so that
    // what it decides depends on the rings alone: each finished ring hands on every
    // ring from the next unchecked one up to the first not yet made.
    std::mutex checkLock;
    std::vector<char> made(rings.size(), 0);
    size_t nextToCheck = 0;
    std::atomic<bool> stop { false };

    auto checkInOrder = [&](size_t index)
    {
        std::lock_guard<std::mutex> lock(checkLock);
        made[index] = 1;

        while (!stop.load() && nextToCheck < made.size() && made[nextToCheck] != 0)
        {
            auto& ring = rings[nextToCheck];

            if (ring.empty())
            {
                nextToCheck = made.size(); // the rings end here
                break;
            }

            if (!check(static_cast<int>(nextToCheck), ring))
                stop = true;

            ++nextToCheck;
        }
    };

    rebuildPool.ForEach(rings.size(),
                        [&](size_t index)
                        {
                            auto n = static_cast<int>(index);

                            if (n > firstEmpty.load() || stop.load())
                                return;

                            ClipperLib::ClipperOffset offsetter(2.0, 0.25);
                            offsetter.AddPaths(source, ClipperLib::jtMiter, ClipperLib::etClosedPolygon);
                            offsetter.Execute(rings[index], GetDistance(n));

                            if (rings[index].empty())
                            {
                                auto known = firstEmpty.load();

                                while (n < known && !firstEmpty.compare_exchange_weak(known, n))
                                {
                                }
                            }

                            if (check)
                                checkInOrder(index);
                        });

    if (stop.load())
    {
        stopped = true;
        return;
    }

    rings.resize(static_cast<size_t>(firstEmpty.load()));
    offsets = std::move(rings);
}
