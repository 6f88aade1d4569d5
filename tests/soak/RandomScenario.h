#pragma once

#include <cstdint>
#include <memory>
#include <vector>

class TBucketChain;
class TLoadSink;
class TLoadSource;
class TTrail;
class TZembaObject;

// A scenario drawn from a seed: 1 to 60 persons (plain and home-area) at
// random places, speeds and breaks of fitness, on 1 to 40 plain and steps
// sections of random lengths, with a random stock. The same seed always
// draws the same scenario.
class TRandomScenario
{
public:
    explicit TRandomScenario(std::uint64_t seed);
    ~TRandomScenario();

    TBucketChain& GetChain() const { return *chain; }
    const TLoadSource& GetSource() const { return *source; }
    const TLoadSink& GetSink() const { return *sink; }
    std::int32_t GetInitialStock() const { return initialStock; }

private:
    std::vector<std::unique_ptr<TZembaObject>> owned;
    TBucketChain* chain = nullptr;
    TLoadSource* source = nullptr;
    TLoadSink* sink = nullptr;
    std::int32_t initialStock = 0;
};
