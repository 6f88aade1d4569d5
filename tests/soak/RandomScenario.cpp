#include "RandomScenario.h"

#include "model/clsBucketChain.h"
#include "model/clsLoadHandler.h"
#include "model/clsPerson.h"
#include "model/clsTrail.h"

#include <random>

TRandomScenario::TRandomScenario(std::uint64_t seed)
{
    // A generator of the test's own: the persons' overtaking draw keeps its sequence.
    std::mt19937_64 random(seed);
    const auto uniform = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(random); };
    const auto between = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };

    auto ownedChain = std::make_unique<TBucketChain>();
    chain = ownedChain.get();
    auto trail = std::make_unique<TTrail>();
    const int sections = between(1, 40);
    for (int i = 0; i < sections; ++i) {
        std::unique_ptr<TTrailSection> section;
        if (between(0, 1) == 0)
            section = std::make_unique<TTrailSection>(uniform(0.01, 0.5));
        else
            section = std::make_unique<TTrailSectionSteps>(uniform(0.01, 0.5));
        trail->AddSection(section.get());
        owned.push_back(std::move(section));
    }

    initialStock = between(0, 2000);
    auto ownedSource = std::make_unique<TLoadSource>(1.0, initialStock);
    source = ownedSource.get();
    chain->AddHandler(source);

    const int persons = between(1, 60);
    for (int i = 0; i < persons; ++i) {
        std::unique_ptr<TPerson> person;
        if (between(0, 3) == 0)
            person = std::make_unique<TPerson>();
        else
            person = std::make_unique<THomeareaPerson>();
        person->SetTrail(trail.get());
        person->SetPosition(between(0, 2) == 0 ? 0.0 : uniform(0.0, trail->GetLength()));
        person->SetSpeed(uniform(0.0005, 0.02));
        chain->AddHandler(person.get());
        owned.push_back(std::move(person));
    }

    auto ownedSink = std::make_unique<TLoadSink>(trail->GetLength());
    sink = ownedSink.get();
    chain->AddHandler(sink);

    // Freed in reverse: the sink, the persons, the source leave the chain before it goes.
    owned.insert(owned.begin(), std::move(ownedSource));
    owned.insert(owned.begin(), std::move(trail));
    owned.insert(owned.begin(), std::move(ownedChain));
    owned.push_back(std::move(ownedSink));
}

TRandomScenario::~TRandomScenario()
{
    while (!owned.empty())
        owned.pop_back();
}
