#pragma once

#include <cstdint>

// Hands out the ids of one scenario's objects in order of construction, from
// 0, never reusing a value, and the serial numbers of its loads. Each scenario
// has its own, so that scenarios built side by side, on any threads, number
// their objects exactly as a fresh process would. Plain integers: a scenario's
// objects are made on one thread at a time (set-up, then only the simulation
// thread makes loads).
class TObjectIds
{
public:
    TObjectIds() = default;
    // Numbers on from the given values, as ids that have handed those out
    // next would: a restored move goes on numbering where its record left off.
    TObjectIds(std::int32_t theNextId, std::int32_t theNextLoadSerial)
        : nextId(theNextId)
        , nextLoadSerial(theNextLoadSerial)
    {
    }

    std::int32_t NextId() { return nextId++; }
    std::int32_t NextLoadSerial() { return nextLoadSerial++; }

private:
    std::int32_t nextId = 0;
    std::int32_t nextLoadSerial = 0;
};

// Base of every simulation object: an id from its scenario's TObjectIds.
class TZembaObject
{
public:
    static constexpr std::uint8_t KindPerson = 0;

    explicit TZembaObject(TObjectIds& ids);
    virtual ~TZembaObject() = default;

    TZembaObject(const TZembaObject&) = delete;
    TZembaObject& operator=(const TZembaObject&) = delete;

    std::int32_t GetId() const { return id; }

    // Only persons answer true, and only for KindPerson.
    virtual bool IsKind(std::uint8_t kind) const;

private:
    const std::int32_t id;
};
