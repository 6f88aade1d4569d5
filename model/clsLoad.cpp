#include "model/clsLoad.h"

TZLoad::TZLoad(TObjectIds& ids)
    : TZembaObject(ids)
    , serialNumber(ids.NextLoadSerial())
{
}

double TZLoad::GetWeight() const
{
    return 1.0;
}

TZStdLoad::TZStdLoad(TObjectIds& ids, double theWeight)
    : TZLoad(ids)
    , weight(theWeight)
{
}

double TZStdLoad::GetWeight() const
{
    return weight;
}
