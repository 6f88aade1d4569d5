#include "tools/TraceWriter.h"

#include "model/clsBucketChain.h"

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
    using TKind = THandlerState::TKind;
    for (std::int32_t i = 0; i < chain.GetHandlerCount(); ++i) {
        state.Read(*chain.GetHandler(i));
        out << step << ',' << state.id << ',' << Exact(state.position) << ',' << state.loadCount << ',';
        if (!state.IsPerson()) {
            out << ",,,,,,,,\n";
            continue;
        }
        out << Exact(state.fitness) << ',' << (state.onBreak ? 1 : 0) << ',' << int(state.state) << ','
            << state.stepCounter << ',';
        if (state.kind != TKind::HomeareaPerson) {
            out << ",,,,\n";
            continue;
        }
        if (state.inHomeArea)
            out << "1," << Exact(state.homeStart) << ',' << Exact(state.homeEnd) << ',';
        else
            out << "0,,,";
        out << state.homeSteps << ',' << state.homeCorrections << '\n';
    }
}
