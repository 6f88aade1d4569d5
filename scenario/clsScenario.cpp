#include "scenario/clsScenario.h"

#include "model/clsBucketChain.h"
#include "model/clsLoadHandler.h"
#include "model/clsPerson.h"
#include "model/clsTrail.h"
#include "model/clsZOManager.h"

template <typename T, typename... Args>
T* TScenario::Make(Args&&... args)
{
    auto object = std::make_unique<T>(std::forward<Args>(args)...);
    T* raw = object.get();
    owned.push_back(std::move(object));
    return raw;
}

TScenario::TScenario(TZOManager& objects)
    : TScenario(objects, TOptions{})
{
}

TScenario::TScenario(TZOManager& objects, const TOptions& options)
{
    const std::int32_t persons = options.persons > 0 ? options.persons : DefaultPersons;
    const std::int32_t trailCopies = (persons + DefaultPersons - 1) / DefaultPersons;
    initialStock = options.stock > 0 ? options.stock : StockPerTrailCopy * trailCopies;

    chain = Make<TBucketChain>();
    objects.Add(chain);

    trail = Make<TTrail>();
    objects.Add(trail);

    source = Make<TLoadSource>(1.0, initialStock);
    objects.Add(source);
    chain->AddHandler(source);

    for (std::int32_t i = 0; i < persons; ++i) {
        // A factory that makes nothing gets the plain person in its place.
        std::unique_ptr<THomeareaPerson> made = options.makePerson ? options.makePerson() : nullptr;
        THomeareaPerson* person = made ? made.get() : Make<THomeareaPerson>();
        if (made)
            owned.push_back(std::move(made));
        person->SetTrail(trail);
        person->SetPosition(0.0);
        person->SetSpeed((i % DefaultPersons) * 0.0003 + 0.002);
        chain->AddHandler(person);
        objects.Add(person);
    }

    std::vector<TTrailSection*> sections;
    for (std::int32_t copy = 0; copy < trailCopies; ++copy) {
        sections.push_back(Make<TTrailSection>(0.3));
        for (int flight = 0; flight < 5; ++flight) {
            sections.push_back(Make<TTrailSectionSteps>(0.2));
            sections.push_back(Make<TTrailSection>(0.05));
        }
        sections.push_back(Make<TTrailSection>(0.2));
    }
    for (TTrailSection* section : sections) {
        trail->AddSection(section);
        objects.Add(section);
    }

    sink = Make<TLoadSink>(trail->GetLength());
    chain->AddHandler(sink);
    objects.Add(sink);
}

TScenario::~TScenario()
{
    while (!owned.empty())
        owned.pop_back();
}
