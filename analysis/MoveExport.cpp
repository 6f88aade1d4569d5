#include "analysis/MoveExport.h"

#include "analysis/DeliveryWindow.h"
#include "analysis/OutputFile.h"
#include "analysis/TraceWriter.h"
#include "model/clsMoveLoop.h"
#include "model/clsSimulationTime.h"
#include "model/clsZOManager.h"
#include "scenario/clsScenario.h"

#include <charconv>

namespace {

// Shortest round-trip form with a "." whatever the locale.
std::string Number(double value)
{
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    return std::string(text, end);
}

} // namespace

bool WriteMoveTraceFile(const TScenarioDescription& description, std::int64_t steps, const std::string& path,
                        std::string& error, const std::atomic<bool>& cancel)
{
    TOutputFile file(path);
    if (file.Good()) {
        TZOManager objects;
        TScenario scenario(objects, description);
        TTraceWriter trace(file.Stream());
        trace.WriteHeader();
        trace.WriteStep(0, *scenario.GetChain());
        // Every step asked for, over or not, as zemba-run takes them.
        scenario.GetLoop().RunSteps(steps, [&] {
            trace.WriteStep(scenario.GetLoop().GetStep(), *scenario.GetChain());
            return file.Good() && !cancel.load(std::memory_order_relaxed);
        });
    }
    // A cancelled trace is left unwritten: the file keeps what it held.
    if (cancel.load(std::memory_order_relaxed)) {
        error = "cancelled: '" + path + "' not written";
        return false;
    }
    if (!file.Commit()) {
        error = file.Error();
        return false;
    }
    return true;
}

std::string DeliverySeriesCsv(const std::vector<TDeliveryPoint>& curve, double boundPerMinute)
{
    std::string csv = "step,minutes,delivered,per_minute,bound_per_minute\n";
    TDeliveryWindow window;
    for (const TDeliveryPoint& point : curve) {
        window.Add(point.step, point.delivered);
        const double minutes = static_cast<double>(point.step) / StepsPerMinute;
        csv += std::to_string(point.step) + ',' + Number(minutes) + ',' + std::to_string(point.delivered) + ','
            + Number(point.step > 0 ? window.PerMinute() : 0.0) + ',' + Number(boundPerMinute) + '\n';
    }
    return csv;
}
