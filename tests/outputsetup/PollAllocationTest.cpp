// Poll() runs every frame: when nothing changed it must not allocate. Global operator new
// is counted here, so this test lives in its own executable.
#include "TemporaryHome.h"

#include "OutputSetupReader.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace
{
std::atomic<long> allocations { 0 };
}

void* operator new(std::size_t size)
{
    ++allocations;

    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;

    throw std::bad_alloc();
}

void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

namespace
{
TEST(PollAllocation, UnchangedFilesAllocateNothing)
{
    TemporaryHome home;
    TemporaryHome::Write(home.SettingsFile(), "<XmlState presetFile=\"Show\"/>");
    TemporaryHome::Write(home.PresetFile("Show"),
                         "<A><ScreenSetup><screens><Screen><layers><L><InputRect><v x=\"1\" "
                         "y=\"2\"/></InputRect></L></layers></Screen></screens></ScreenSetup></A>");
    OutputSetupReader reader(false);
    ASSERT_EQ(reader.screens.size(), 1u);

    const long before = allocations.load();
    bool changed = false;

    for (int frame = 0; frame < 100; ++frame)
        changed = reader.Poll() || changed;

    EXPECT_FALSE(changed);
    EXPECT_EQ(allocations.load() - before, 0);

    // And the counter does see the reader's allocations when it does read.
    TemporaryHome::SetTime(home.PresetFile("Show"), 1);
    EXPECT_TRUE(reader.Poll());
    EXPECT_GT(allocations.load() - before, 0);

    // A file stamped later than its read began waits to be read again: the clock is asked
    // each frame, and that allocates nothing either.
    TemporaryHome::SetTime(home.PresetFile("Show"), 2000000000);
    EXPECT_TRUE(reader.Poll());
    const long waiting = allocations.load();

    for (int frame = 0; frame < 100; ++frame)
        changed = reader.Poll() || changed;

    EXPECT_FALSE(changed);
    EXPECT_EQ(allocations.load() - waiting, 0);
}
} // namespace
