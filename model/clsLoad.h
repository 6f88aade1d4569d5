#pragma once

#include "model/clsZembaObject.h"

// One item of household goods. Only its weight matters to the simulation.
class TZLoad : public TZembaObject
{
public:
    explicit TZLoad(TObjectIds& ids);

    // Number of the load among its scenario's loads.
    std::int32_t GetSerialNumber() const { return serialNumber; }

    virtual double GetWeight() const;

private:
    const std::int32_t serialNumber;
};

class TZStdLoad : public TZLoad
{
public:
    TZStdLoad(TObjectIds& ids, double weight);

    double GetWeight() const override;

private:
    const double weight;
};
