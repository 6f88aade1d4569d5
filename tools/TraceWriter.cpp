#include "tools/TraceWriter.h"

#include "model/clsBucketChain.h"
#include "model/clsLoadHandler.h"
#include "model/clsPerson.h"

#include <cstdio>
#include <string>

namespace {

std::string Exact(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

} // namespace

TTraceWriter::TTraceWriter(std::ostream& out)
    : out(out)
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
        const TLoadHandler* h = chain.GetHandler(i);
        out << step << ',' << h->GetId() << ',' << Exact(h->GetPosition()) << ',' << h->GetLoadCount() << ',';
        const auto* person = dynamic_cast<const TPerson*>(h);
        if (!person) {
            out << ",,,,,,,,\n";
            continue;
        }
        out << Exact(person->GetFitness()) << ',' << (person->IsOnBreak() ? 1 : 0) << ','
            << int(person->GetState()) << ',' << person->GetStepCounter() << ',';
        const auto* home = dynamic_cast<const THomeareaPerson*>(person);
        if (!home) {
            out << ",,,,\n";
            continue;
        }
        if (home->IsInHomeArea())
            out << "1," << Exact(home->GetHomeStart()) << ',' << Exact(home->GetHomeEnd()) << ',';
        else
            out << "0,,,";
        out << home->GetHomeSteps() << ',' << home->GetHomeCorrections() << '\n';
    }
}
