#include "model/clsLock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <latch>
#include <thread>

TEST(Lock, ATryOnAHeldLockFailsAndLeavesItHeldOnce)
{
    TLock lock;
    EXPECT_EQ(lock.GetCount(), 0);
    ASSERT_TRUE(lock.TryLock());
    EXPECT_FALSE(lock.TryLock());
    EXPECT_EQ(lock.GetCount(), 1);
    lock.Unlock();
    EXPECT_EQ(lock.GetCount(), 0);
    EXPECT_TRUE(lock.TryLock());
    lock.Unlock();
}

TEST(Lock, LockReturnsOnlyAfterTheHolderUnlocks)
{
    TLock lock;
    lock.Lock();
    std::atomic<bool> started{false};
    std::atomic<bool> released{false};
    bool sawReleased = false;
    std::thread waiter([&] {
        started = true;
        lock.Lock();
        sawReleased = released.load();
        lock.Unlock();
    });
    while (!started)
        std::this_thread::yield();
    // Give the waiter the chance to spin on the held lock; the outcome must
    // not depend on whether it got that far.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    released = true;
    lock.Unlock();
    waiter.join();
    EXPECT_TRUE(sawReleased);
    EXPECT_EQ(lock.GetCount(), 0);
}

TEST(Lock, OfTwoSimultaneousTriesExactlyOneSucceeds)
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
