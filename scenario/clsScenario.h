#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class TBucketChain;
class TLoadSink;
class TLoadSource;
class THomeareaPerson;
class TTrail;
class TZembaObject;
class TZOManager;

// Builds the one scenario of the move and owns its objects: a source of 666
// loads, eleven home-area persons at the source and a sink at the end of a
// trail of a plain run-up and five flights of steps. Built in the same order
// every time, so every run has the same ids, names and speeds. The objects
// are freed in the reverse order of their construction, handlers before the
// chain they leave.
class TScenario
{
public:
    struct TOptions
    {
        // More persons than the eleven lengthen the trail by one copy of its
        // twelve sections, and the stock by 666 loads, per eleven persons.
        std::int32_t persons = 11;
        // Loads in the source; 0 means 666 per copy of the trail.
        std::int32_t stock = 0;
        // Makes each person, for runs that need persons of their own kind;
        // empty for plain home-area persons.
        std::function<std::unique_ptr<THomeareaPerson>()> makePerson{};
    };

    // Builds the scenario and registers every object but the source's sample load.
    explicit TScenario(TZOManager& objects);
    TScenario(TZOManager& objects, const TOptions& options);
    ~TScenario();

    TScenario(const TScenario&) = delete;
    TScenario& operator=(const TScenario&) = delete;

    TBucketChain* GetChain() const { return chain; }
    TTrail* GetTrail() const { return trail; }
    TLoadSource* GetSource() const { return source; }
    TLoadSink* GetSink() const { return sink; }
    std::int32_t GetInitialStock() const { return initialStock; }

    static constexpr std::int32_t DefaultPersons = 11;
    static constexpr std::int32_t StockPerTrailCopy = 666;

private:
    template <typename T, typename... Args>
    T* Make(Args&&... args);

    std::vector<std::unique_ptr<TZembaObject>> owned;
    TBucketChain* chain = nullptr;
    TTrail* trail = nullptr;
    TLoadSource* source = nullptr;
    TLoadSink* sink = nullptr;
    std::int32_t initialStock = 0;
};
