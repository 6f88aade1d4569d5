#pragma once

#include "model/clsBucketChain.h"
#include "model/clsLoadHandler.h"
#include "model/clsPerson.h"
#include "model/clsTrail.h"
#include "scenario/clsScenario.h"

// Stands the persons at even spacing along the trail, in chain order: the
// density of a scaled scenario once its start crowd has dispersed. From the
// real start, P = 11,000 persons need thousands of steps of about a second
// each to get there, since every one of them walks through the whole crowd.
inline void SpreadPersons(const TScenario& scenario)
{
    TBucketChain& chain = *scenario.GetChain();
    const double length = scenario.GetTrail()->GetLength();
    const std::int32_t count = chain.GetHandlerCount();
    for (std::int32_t i = 1; i + 1 < count; ++i)
        if (auto* person = dynamic_cast<TPerson*>(chain.GetHandler(i)))
            person->SetPosition(length * i / (count - 1));
}
