#include "model/clsZembaObject.h"

std::int32_t TZembaObject::nextId = 0;

TZembaObject::TZembaObject()
    : id(nextId++)
{
}

bool TZembaObject::IsKind(std::uint8_t) const
{
    return false;
}
