#include "model/clsZOManager.h"

#include "model/clsZembaObject.h"

void TZOManager::Add(TZembaObject* object)
{
    if (object)
        objects.try_emplace(object->GetId(), object);
}

TZembaObject* TZOManager::Find(std::int32_t id) const
{
    const auto it = objects.find(id);
    return it == objects.end() ? nullptr : it->second;
}

void TZOManager::Collect(std::vector<TZembaObject*>& out, std::uint8_t kind) const
{
    out.clear();
    for (const auto& [id, object] : objects)
        if (object->IsKind(kind))
            out.push_back(object);
}

void TZOManager::Remove(const TZembaObject* object)
{
    if (!object)
        return;
    const auto it = objects.find(object->GetId());
    if (it != objects.end() && it->second == object)
        objects.erase(it);
}
