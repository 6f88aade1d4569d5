#include "model/clsLoad.h"
#include "model/clsPerson.h"
#include "model/clsTrail.h"
#include "model/clsZOManager.h"

#include <gtest/gtest.h>

#include <vector>

TEST(Registry, FindsWhatWasFiledAndNothingElse)
{
    TZOManager objects;
    TTrail trail;
    TZStdLoad neverFiled(1.0);
    objects.Add(&trail);

    EXPECT_EQ(objects.Find(trail.GetId()), &trail);
    EXPECT_EQ(objects.Find(neverFiled.GetId()), nullptr);
    EXPECT_EQ(objects.Find(-1), nullptr);
}

TEST(Registry, FilingAnObjectAgainOrFilingNullChangesNothing)
{
    TZOManager objects;
    TTrail trail;
    objects.Add(&trail);
    objects.Add(&trail);
    objects.Add(nullptr);

    EXPECT_EQ(objects.GetCount(), 1u);
    EXPECT_EQ(objects.Find(trail.GetId()), &trail);
}

TEST(Registry, CollectListsThePersonsInIdOrderWhateverTheFilingOrder)
{
    TPerson first;
    TTrail trail;
    THomeareaPerson second;
    TPerson third;
    TZOManager objects;
    objects.Add(&third);
    objects.Add(&trail);
    objects.Add(&first);
    objects.Add(&second);

    std::vector<TZembaObject*> out{&trail};
    objects.Collect(out, TZembaObject::KindPerson);
    EXPECT_EQ(out, (std::vector<TZembaObject*>{&first, &second, &third}));

    objects.Collect(out, 1);
    EXPECT_TRUE(out.empty()) << "no other kind is in use";
}
