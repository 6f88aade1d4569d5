#include "model/clsLock.h"

#include <gtest/gtest.h>

#include <thread>

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
    ASSERT_TRUE(lock.TryLock());
    EXPECT_FALSE(lock.TryLock()) << "a try on a held lock fails";
    EXPECT_EQ(lock.GetCount(), 1);
    lock.Unlock();
}
