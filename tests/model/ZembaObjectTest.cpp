#include "model/clsBucketChain.h"
#include "model/clsLoad.h"
#include "model/clsLoadHandler.h"
#include "model/clsPerson.h"
#include "model/clsTrail.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

TEST(ObjectIdentity, EveryObjectTakesTheNextIdWhateverItsClass)
{
    TBucketChain chain;
    TTrail trail;
    TLoadSource source(1.0, 3);
    TPerson person;
    TTrailSectionSteps section(0.2);
    TLoadSink sink(1.0);

    const std::int32_t first = chain.GetId();
    EXPECT_EQ(trail.GetId(), first + 1);
    EXPECT_EQ(source.GetId(), first + 2);
    // The source's sample load is a member and takes its id in between.
    EXPECT_EQ(source.GetLoad(0)->GetId(), first + 3);
    EXPECT_EQ(person.GetId(), first + 4);
    EXPECT_EQ(section.GetId(), first + 5);
    EXPECT_EQ(sink.GetId(), first + 6);
}

TEST(ObjectIdentity, IdsAreNeverReused)
{
    const std::int32_t gone = std::make_unique<TTrail>()->GetId();
    TTrail next;
    EXPECT_EQ(next.GetId(), gone + 1);
}

TEST(ObjectIdentity, OnlyPersonsAreOfKindPerson)
{
    TPerson person;
    THomeareaPerson homePerson;
    TLoadSink sink(1.0);
    TTrail trail;
    TZStdLoad load(1.0);

    EXPECT_TRUE(person.IsKind(TZembaObject::KindPerson));
    EXPECT_TRUE(homePerson.IsKind(TZembaObject::KindPerson));
    for (const std::uint8_t kind : {std::uint8_t{1}, std::uint8_t{255}}) {
        EXPECT_FALSE(person.IsKind(kind)) << int(kind);
        EXPECT_FALSE(homePerson.IsKind(kind)) << int(kind);
    }
    for (const TZembaObject* other : std::vector<const TZembaObject*>{&sink, &trail, &load})
        for (const std::uint8_t kind : {std::uint8_t{0}, std::uint8_t{1}})
            EXPECT_FALSE(other->IsKind(kind)) << other->GetId() << " kind " << int(kind);
}
