#pragma once

#include <cstdint>

// Base of every simulation object: a process-wide id, handed out in order of
// construction from one counter that starts at 0 and never reuses a value.
// The counter is a plain integer: objects are never created on two threads at
// once (set-up happens before the simulation thread starts; afterwards only the
// simulation thread creates loads).
class TZembaObject
{
public:
    static constexpr std::uint8_t KindPerson = 0;

    TZembaObject();
    virtual ~TZembaObject() = default;

    TZembaObject(const TZembaObject&) = delete;
    TZembaObject& operator=(const TZembaObject&) = delete;

    std::int32_t GetId() const { return id; }

    // Only persons answer true, and only for KindPerson.
    virtual bool IsKind(std::uint8_t kind) const;

private:
    static std::int32_t nextId;
    const std::int32_t id;
};
