#include "model/clsZOManager.h"

#include "model/clsZembaObject.h"

#include <algorithm>

TZOManager::TEntries::const_iterator TZOManager::Seek(std::int32_t id) const
{
    if (objects.empty() || objects.back().first < id)
        return objects.end();
    return std::lower_bound(objects.begin(), objects.end(), id,
                            [](const auto& entry, std::int32_t key) { return entry.first < key; });
}

void TZOManager::Add(TZembaObject* object)
{
    if (!object)
        return;
    const std::int32_t id = object->GetId();
    const auto at = Seek(id);
    if (at == objects.end() || at->first != id)
        objects.emplace(at, id, object);
}

TZembaObject* TZOManager::Find(std::int32_t id) const
{
    const auto it = Seek(id);
    return it != objects.end() && it->first == id ? it->second : nullptr;
}

void TZOManager::Collect(std::vector<TZembaObject*>& out, std::uint8_t kind, std::size_t atMost) const
{
    out.clear();
    for (auto it = objects.begin(); it != objects.end() && out.size() < atMost; ++it)
        if (it->second->IsKind(kind))
            out.push_back(it->second);
}

void TZOManager::Remove(const TZembaObject* object)
{
    if (!object)
        return;
    const auto it = Seek(object->GetId());
    if (it != objects.end() && it->second == object)
        objects.erase(it);
}
