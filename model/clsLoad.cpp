#include "model/clsLoad.h"

std::int32_t TZLoad::nextSerialNumber = 0;

TZLoad::TZLoad()
    : serialNumber(nextSerialNumber++)
{
}

double TZLoad::GetWeight() const
{
    return 1.0;
}

TZStdLoad::TZStdLoad(double weight)
    : weight(weight)
{
}

double TZStdLoad::GetWeight() const
{
    return weight;
}
