#pragma once

#include "EdgeSweep.h"

#include <clipper.hpp>

#include <cstdint>

/**
    Counts the work of one distance image rebuild against a fixed budget, so that
    a layout too heavy to draw within about a second is refused rather than
    stalling the host's frame.

    Work is counted in units of roughly 10 ns on one core, from what the rebuild
    really handles: the points of the slices it collects, the edges, crossings and
    stacked corners that every ring's offset sweeps over (see EdgeSweep), the
    points of every ring it makes and the rows its edges cover when painted. The
    counts depend only on the layout and the image size, never on the load or the
    number of threads, so the same layout always gets the same answer.

    Usage:
        RebuildBudget budget;
        if (!budget.Spend (RebuildBudget::CollectWork (slices, points)))
            refuse();
        ... each ring in order: if (!budget.Spend (perRing + RebuildBudget::RingWork (ring, h))) stop();
*/
class RebuildBudget
{
public:
    /** The budget of a rebuild. Calibrated with the distance image benchmark (release,
        8 cores, machine at load 6): per unit, the costliest layouts (traced outlines
        of thousands of points, circles laid over one another, long strips side by
        side, large images) take up to 3 ms per million units, so a rebuild within the
        budget takes about a second at most. Real layouts stay far below: a smooth
        round mask of 2,000 points is a quarter of it (80 ms), 150 identical
        full-frame slices unmerged less than a third.
    */
    static constexpr uint64_t standardBudget = 400000000;

    /** A budget of the given number of units. */
    explicit RebuildBudget(uint64_t units = standardBudget) noexcept : remaining(units) {}

    /** Takes units from the budget. False once the work so far exceeds it; it stays so. */
    bool Spend(uint64_t units) noexcept;

    /** The units left (0 once exceeded). */
    uint64_t GetRemaining() const noexcept { return remaining; }

    /** Collecting: the slices are turned into polygons, each one cleaned or all united. */
    static uint64_t CollectWork(uint64_t slices, uint64_t points) noexcept;

    /** Measuring a polygon set with EdgeSweep. */
    static uint64_t SweepWork(const EdgeSweep::Counts& counts) noexcept;

    /** One ring's offset of source polygons measured so, before its result is known. */
    static uint64_t OffsetWork(const EdgeSweep::Counts& source) noexcept;

    /** What a ring's result adds: its points, made by the offset and filled, and the
        rows its edges cover within an image of the given height.
    */
    static uint64_t RingWork(const ClipperLib::Paths& ring, int imageHeight) noexcept;

private:
    uint64_t remaining;
    bool exceeded = false;
};
