#include "analysis/TraceWriter.h"

#include "model/clsBucketChain.h"
#include "model/clsChainState.h"

#include <charconv>
#include <string_view>

namespace {

// %.17g as the C locale writes it, whatever the process locale.
class Exact
{
public:
    explicit Exact(double value)
    {
        length = static_cast<std::size_t>(std::to_chars(text, text + sizeof text, value, std::chars_format::general, 17).ptr - text);
    }
    friend std::ostream& operator<<(std::ostream& out, const Exact& e) { return out << std::string_view(e.text, e.length); }

private:
    char text[32];
    std::size_t length = 0;
};

} // namespace

TTraceWriter::TTraceWriter(std::ostream& theOut)
    : out(theOut)
{
}

void TTraceWriter::WriteHeader()
{
    out << "step,id,position,loads,fitness,break,state,counter,home,home_start,home_end,home_steps,"
           "home_corrections\n";
}

void TTraceWriter::WriteStep(std::int64_t step, const TBucketChain& chain)
{
    for (std::int32_t i = 0; i < chain.GetHandlerCount(); ++i) {
        state.Read(*chain.GetHandler(i));
        WriteRow(step, state);
    }
}

void TTraceWriter::WriteState(const TChainState& chain)
{
    for (const THandlerState& handler : chain.handlers)
        WriteRow(chain.step, handler);
}

void TTraceWriter::WriteRow(std::int64_t step, const THandlerState& handler)
{
    using TKind = THandlerState::TKind;
    out << step << ',' << handler.id << ',' << Exact(handler.position) << ',' << handler.loadCount << ',';
    if (!handler.IsPerson()) {
        out << ",,,,,,,,\n";
        return;
    }
    out << Exact(handler.fitness) << ',' << (handler.onBreak ? 1 : 0) << ',' << int(handler.state) << ','
        << handler.stepCounter << ',';
    if (handler.kind != TKind::HomeareaPerson) {
        out << ",,,,\n";
        return;
    }
    if (handler.inHomeArea)
        out << "1," << Exact(handler.homeStart) << ',' << Exact(handler.homeEnd) << ',';
    else
        out << "0,,,";
    out << handler.homeSteps << ',' << handler.homeCorrections << '\n';
}
