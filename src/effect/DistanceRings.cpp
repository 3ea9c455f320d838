#include "DistanceRings.h"

#include "WorkerPool.h"

#include <atomic>

DistanceRings::DistanceRings(const ClipperLib::Paths& source, WorkerPool& rebuildPool)
{
    // Most of a rebuild's time goes into these offsets, each a union as large as
    // the source. Given the source they are independent of each other, so every
    // ring is made by its own offsetter, on whichever thread takes it; the ones
    // past the first empty offset are skipped once it has been found.
    std::vector<ClipperLib::Paths> rings(static_cast<size_t>(maxNumRings));
    std::atomic<int> firstEmpty { maxNumRings };

    rebuildPool.ForEach(rings.size(),
                        [&](size_t index)
                        {
                            auto n = static_cast<int>(index);

                            if (n > firstEmpty.load())
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
                        });

    rings.resize(static_cast<size_t>(firstEmpty.load()));
    offsets = std::move(rings);
}
