#include "model/clsChainRecord.h"

namespace {

template <typename T>
std::size_t StorageOf(const std::vector<T>& items)
{
    return items.capacity() * sizeof(T);
}

} // namespace

std::size_t TChainRecord::GetBytes() const
{
    return sizeof(*this) + StorageOf(handlers) + StorageOf(loads) + StorageOf(positionIndex) + StorageOf(homeAreas);
}
