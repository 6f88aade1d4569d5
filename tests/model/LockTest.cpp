#include "model/clsLock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <latch>
#include <thread>

TEST(Lock, OfTwoSimultaneousTriesExactlyOneSucceedsAndTheLockStaysHeldOnce)
{
    for (int round = 0; round < 200; ++round) {
        TLock lock;
        std::latch start(2);
        std::atomic<int> winners{0};
        const auto contender = [&] {
            start.arrive_and_wait();
            if (lock.TryLock())
                ++winners;
        };
        std::thread a(contender);
        std::thread b(contender);
        a.join();
        b.join();
        ASSERT_EQ(winners, 1) << "round " << round;
        ASSERT_EQ(lock.GetCount(), 1) << "round " << round;
        lock.Unlock();
        ASSERT_EQ(lock.GetCount(), 0);
    }
}

// The counter is a plain integer: only the lock keeps the increments apart.
TEST(Lock, KeepsTwoThreadsOutOfEachOthersWay)
{
    TLock lock;
    long counter = 0;
    constexpr int PerThread = 100'000;
    const auto hammer = [&] {
        for (int i = 0; i < PerThread; ++i) {
            lock.Lock();
            ++counter;
            lock.Unlock();
        }
    };
    std::thread a(hammer);
    std::thread b(hammer);
    a.join();
    b.join();
    EXPECT_EQ(counter, 2L * PerThread);
    EXPECT_EQ(lock.GetCount(), 0);
}
