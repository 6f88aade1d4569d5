#pragma once

#include "model/clsZembaObject.h"

// One item of household goods. Only its weight matters to the simulation.
class TZLoad : public TZembaObject
{
public:
    TZLoad();

    // Number of the load among all loads, from a counter of its own.
    std::int32_t GetSerialNumber() const { return serialNumber; }

    virtual double GetWeight() const;

private:
    static std::int32_t nextSerialNumber;
    const std::int32_t serialNumber;
};

class TZStdLoad : public TZLoad
{
public:
    explicit TZStdLoad(double weight);

    double GetWeight() const override;

private:
    const double weight;
};
