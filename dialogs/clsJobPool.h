#pragma once

#include <QFuture>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

#include <atomic>
#include <memory>
#include <type_traits>
#include <vector>

// Background work of one owner, on threads of its own rather than Qt's
// global pool, so that one kind of work never queues behind another's. Every
// job is handed a flag to give up by; Stop sets them all and waits, so an
// owner that goes is held up only as long as its jobs take to look at their
// flag. Run and Stop belong to the owner's thread.
class TJobPool
{
public:
    using TFlag = std::shared_ptr<std::atomic<bool>>;
    template <typename TResult>
    struct TJob
    {
        QFuture<TResult> future;
        // Set to give up this job alone.
        TFlag cancel;
    };

    explicit TJobPool(int threads);
    ~TJobPool();

    TJobPool(const TJobPool&) = delete;
    TJobPool& operator=(const TJobPool&) = delete;

    // Runs work(cancel) on a thread of the pool.
    template <typename TWork>
    auto Run(TWork work) -> TJob<std::invoke_result_t<TWork&, const std::atomic<bool>&>>
    {
        TFlag cancel = NewFlag();
        return {QtConcurrent::run(&pool, [work = std::move(work), cancel]() mutable { return work(*cancel); }), cancel};
    }
    // Gives every job up and waits until none runs.
    void Stop();

private:
    TFlag NewFlag();

    QThreadPool pool;
    // Of the jobs that may still run: the job holds its own flag while it does.
    std::vector<std::weak_ptr<std::atomic<bool>>> flags;
};
