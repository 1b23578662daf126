// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <random>
#include <thread>

#include "tests/cli/cliprocess.h"
#include "core/memoryimage.h"
#include "core/pointbook.h"
#include "tests/core/testimages.h"

namespace tovik {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

// tovik-cli add killed with SIGKILL at random moments of its run, for a few seconds:
// the file must always be the old image or the new one, and the next save that runs to
// its end must leave no temporary of the killed ones behind.
TEST(KillStress, AKilledAddLeavesTheOldOrTheNewFileAndTheNextSaveNoLeftovers)
{
    test::TempDir dir;
    const std::string path = dir.File("points.mem");
    const auto reset = [&] {
        PointBook fresh;
        fresh.InsertEntry(0, test::TokyoTower());
        ASSERT_TRUE(fresh.Save(path));
    };
    reset();

    // Adds run to their end show how long a run takes here, so that the kills spread
    // over all of it: start-up, read, write, rename and exit.
    auto runTime = std::chrono::microseconds::max();
    for (int i = 0; i < 3; ++i) {
        const auto start = Clock::now();
        ASSERT_EQ(test::ExitCodeOf(test::StartCli({"add", path, "--name", "first"})), 0);
        runTime = std::min(runTime, std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start));
    }

    const unsigned seed = std::random_device{}();
    std::mt19937 random(seed);
    std::uniform_int_distribution<long> delay(0, runTime.count());
    const auto deadline = Clock::now() + std::chrono::seconds(3);
    int unchanged = 0;
    int added = 0;
    for (int round = 0; round < 1000 && Clock::now() < deadline; ++round) {
        const Bytes before = test::ReadBytes(path);
        PointBook old;
        ASSERT_EQ(old.Load(path), Loaded::decoded);
        const int count = old.GetCount();
        if (count >= PointBook::kCapacity - 1) {
            reset();
            continue;
        }
        const std::string name = "K" + std::to_string(round);
        const pid_t pid = test::StartCli({"add", path, "--name", name});
        ASSERT_GT(pid, 0);
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        ::kill(pid, SIGKILL);
        test::ExitCodeOf(pid);

        const Bytes after = test::ReadBytes(path);
        if (after == before) {
            ++unchanged;
            continue;
        }
        PointBook now;
        ASSERT_EQ(now.Load(path), Loaded::decoded) << "round " << round << ", seed " << seed;
        ASSERT_EQ(now.GetCount(), count + 1) << "round " << round << ", seed " << seed;
        const auto slots = static_cast<long>(count * MemoryImage::kSlotSize);
        ASSERT_TRUE(std::equal(before.begin(), before.begin() + slots, after.begin()))
            << "round " << round << ", seed " << seed;
        ASSERT_EQ(now.GetName(count), name) << "round " << round << ", seed " << seed;
        ++added;
    }
    std::cout << "[          ] " << unchanged + added << " kills: " << unchanged << " before the rename, " << added
              << " after it (seed " << seed << ")\n";

    ASSERT_EQ(test::ExitCodeOf(test::StartCli({"add", path, "--name", "last"})), 0);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"points.mem"});
}

}  // namespace
}  // namespace tovik
