#include "analysis/DeliveryWindow.h"

void TDeliveryWindow::Add(std::int64_t step, std::int32_t delivered)
{
    if (!samples.empty() && step <= samples.back().step)
        return;
    samples.push_back({step, delivered});
    while (samples.size() > 2 && samples[1].step <= step - WindowSteps)
        samples.pop_front();
}

double TDeliveryWindow::PerMinute() const
{
    if (samples.size() < 2)
        return 0.0;
    const TSample& first = samples.front();
    const TSample& last = samples.back();
    return static_cast<double>(last.delivered - first.delivered) / static_cast<double>(last.step - first.step)
        * StepsPerMinute;
}
