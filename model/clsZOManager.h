#pragma once

#include <cstdint>
#include <utility>
#include <limits>
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

    // Empties out, then appends every filed object of the kind, in ascending
    // id order; the first atMost of them only.
    void Collect(std::vector<TZembaObject*>& out, std::uint8_t kind,
                 std::size_t atMost = std::numeric_limits<std::size_t>::max()) const;

    std::size_t GetCount() const { return objects.size(); }

private:
    // By ascending id: a scenario files its objects in the order it made
    // them and takes them out in reverse, so both happen at the end. Sixteen
    // bytes an object, where a tree spends a node of sixty-four.
    std::vector<std::pair<std::int32_t, TZembaObject*>> objects;

    using TEntries = decltype(objects);
    TEntries::const_iterator Seek(std::int32_t id) const;
};
