#pragma once

#include <cstdint>
#include <map>
#include <vector>

class TZembaObject;

// The registry of simulation objects by id. It holds plain pointers and owns
// nothing; it is filled during set-up and only read afterwards.
class TZOManager
{
public:
    // Files the object under its id; the first object filed under an id keeps it.
    // A null object is refused.
    void Add(TZembaObject* object);

    // The object filed under id, or null.
    TZembaObject* Find(std::int32_t id) const;

    // Empties out, then appends every filed object of the kind, in ascending id order.
    void Collect(std::vector<TZembaObject*>& out, std::uint8_t kind) const;

    std::size_t GetCount() const { return objects.size(); }

private:
    std::map<std::int32_t, TZembaObject*> objects;
};
