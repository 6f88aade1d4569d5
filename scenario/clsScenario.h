#pragma once

#include "model/clsMoveLoop.h"
#include "model/clsZembaObject.h"
#include "scenario/clsScenarioDescription.h"
#include "scenario/clsScenarioSchedule.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/clsChainRecord.h"

class TBucketChain;
class TLoadSink;
class TLoadSource;
class TPerson;
class TTrail;
class TZOManager;

// A scenario between two steps, exactly: its chain's record, its loop's and
// the numbering of its objects. What a scenario built from the same
// description needs to step on from there as this one does.
struct TScenarioSnapshot
{
    TObjectIds ids;
    TChainRecord chain;
    TMoveLoop::TRecord loop;
    // With a schedule: the persons on the trail, as indexes in the order the
    // scenario made them (TScenarioSchedule::SaveMembers); else empty.
    std::vector<std::int32_t> members;

    std::int64_t GetStep() const { return chain.stepCount; }
    std::size_t GetBytes() const
    {
        return sizeof(*this) - sizeof(chain) + chain.GetBytes() + members.capacity() * sizeof(std::int32_t);
    }
};

// Builds a scenario from its description and owns its objects, in the same
// order every time: the chain, the trail, the source with its sample load, the
// persons group by group, the sections, the sink, then those who join on the
// schedule, in the order they join. Ids, names and the overtaking
// draws belong to the scenario, so each scenario numbers, names and draws as a
// fresh process would, wherever and alongside whatever it is built.
//
// Every object but the source's sample load is filed in the registry once the
// whole scenario stands, and taken out again when the scenario goes; a
// scenario that cannot be built leaves the registry as it found it. The
// objects are freed in the reverse order of their construction, handlers
// before the chain they leave.
class TScenario
{
public:
    // A person who joins on the schedule, and the step it joins at.
    struct TArrival
    {
        std::int32_t id = 0;
        std::int64_t step = 0;
    };

    // Makes one person of a group, for runs that need persons of their own
    // kind; empty for the group's kind.
    using TPersonFactory = std::function<std::unique_ptr<TPerson>(TObjectIds& ids, std::string name)>;

    // The built-in move.
    explicit TScenario(TZOManager& objects);
    TScenario(TZOManager& objects, const TScenarioDescription& description, const TPersonFactory& makePerson = {});
    ~TScenario();

    TScenario(const TScenario&) = delete;
    TScenario& operator=(const TScenario&) = delete;

    TBucketChain* GetChain() const { return chain; }
    TTrail* GetTrail() const { return trail; }
    TLoadSource* GetSource() const { return source; }
    TLoadSink* GetSink() const { return sink; }
    std::int32_t GetInitialStock() const { return initialStock; }
    // Every person of the move in the order made, those who join on the
    // schedule included, whether on the trail now or not.
    const std::vector<TPerson*>& GetPersons() const { return persons; }
    // Those who join, in the order they do; fixed once built, so any thread may read it.
    const std::vector<TArrival>& GetArrivals() const { return arrivals; }
    // What steps the move and tells whether it is over.
    TMoveLoop& GetLoop() const { return *loop; }

    // Between steps, on the stepping thread. A snapshot restored into a
    // scenario built from the same description, at any step, puts it at the
    // snapshot's step: stepped on, it gives the same trace bytes as a
    // straight run. The delivery curve comes from curve (see
    // TMoveLoop::RestoreState). A snapshot of another chain is refused
    // (std::invalid_argument) with nothing changed.
    TScenarioSnapshot TakeSnapshot() const;
    void Restore(const TScenarioSnapshot& snapshot, const std::vector<TDeliveryPoint>& curve);

private:
    template <typename T, typename... Args>
    T* Make(Args&&... args);
    void Build(const TScenarioDescription& description, const TPersonFactory& makePerson);
    void Register();
    void Unregister();
    void Free();

    TZOManager& objects;
    TObjectIds ids;
    std::vector<std::unique_ptr<TZembaObject>> owned;
    std::size_t registered = 0;
    TBucketChain* chain = nullptr;
    TTrail* trail = nullptr;
    TLoadSource* source = nullptr;
    TLoadSink* sink = nullptr;
    std::int32_t initialStock = 0;
    std::vector<TPerson*> persons;
    std::vector<TArrival> arrivals;
    std::unique_ptr<TScenarioSchedule> schedule;
    std::unique_ptr<TMoveLoop> loop;
};
