#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

// Lets go of what a replaced move leaves behind on a thread of its own: its
// simulation thread, still in a step that may take long, and its scenario and
// registry, whose destruction takes long for a large move. Whoever replaces
// a move waits for neither. Leavings go one after the other, in the order
// handed over, each as its own destructor says: whatever it still reads must
// come with it or outlive the retirement, whose destructor lets go of every
// leaving before it returns.
class TRetirement
{
public:
    // At most this many leavings wait; one more waits until the oldest has
    // gone, so that replacing large moves in a row cannot pile up their memory.
    static constexpr std::size_t MaxWaiting = 2;

    TRetirement();
    // Lets go of every leaving still waiting, then ends its thread.
    ~TRetirement();

    TRetirement(const TRetirement&) = delete;
    TRetirement& operator=(const TRetirement&) = delete;

    template <typename TLeavings>
    void Retire(std::unique_ptr<TLeavings> leavings)
    {
        if (leavings)
            Hand(std::make_unique<THeld<TLeavings>>(std::move(leavings)));
    }
    // Returns once every leaving handed over has gone.
    void Drain();

private:
    struct TLeaving
    {
        virtual ~TLeaving() = default;
    };
    template <typename TLeavings>
    struct THeld final : TLeaving
    {
        explicit THeld(std::unique_ptr<TLeavings> theHeld) : held(std::move(theHeld)) {}
        std::unique_ptr<TLeavings> held;
    };

    void Hand(std::unique_ptr<TLeaving> leaving);
    void Execute();

    std::mutex control;
    std::condition_variable controlChanged;
    std::deque<std::unique_ptr<TLeaving>> waiting;
    // The one being let go of: Drain waits for it too.
    bool busy = false;
    bool stopRequested = false;
    std::thread thread;
};
