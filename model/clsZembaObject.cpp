#include "model/clsZembaObject.h"

TZembaObject::TZembaObject(TObjectIds& ids)
    : id(ids.NextId())
{
}

bool TZembaObject::IsKind(std::uint8_t) const
{
    return false;
}
