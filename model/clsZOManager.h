#pragma once

#include <cstdint>
#include <map>
#include <vector>

class TZembaObject;

// The registry of simulation objects by id. It holds plain pointers and owns
// nothing; a scenario files its objects when it stands and takes them out
// before it frees them, and the registry is only read in between.
class TZOManager
{
public:
    // Files the object under its id; the first object filed under an id keeps it.
    // A null object is refused.
    void Add(TZembaObject* object);

    // Takes the object out, if it is the one filed under its id.
    void Remove(const TZembaObject* object);
    // The object filed under id, or null.
    TZembaObject* Find(std::int32_t id) const;

    // Empties out, then appends every filed object of the kind, in ascending id order.
    void Collect(std::vector<TZembaObject*>& out, std::uint8_t kind) const;

    std::size_t GetCount() const { return objects.size(); }

private:
    std::map<std::int32_t, TZembaObject*> objects;
};
