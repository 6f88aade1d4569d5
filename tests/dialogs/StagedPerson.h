#pragma once

#include "model/clsPerson.h"

// Persons whose state a test sets directly, to show them in states that the
// simulation reaches only after many steps.
template <typename TBase>
class TStaged : public TBase
{
public:
    using TBase::fitness;
    using TBase::onBreak;
    using TBase::position;
};

using TStagedPerson = TStaged<TPerson>;

class TStagedHomePerson : public TStaged<THomeareaPerson>
{
public:
    using THomeareaPerson::homeCorrections;
    using THomeareaPerson::homeEnd;
    using THomeareaPerson::homeStart;
    using THomeareaPerson::homeSteps;
    using THomeareaPerson::inHomeArea;
};
