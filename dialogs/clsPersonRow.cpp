#include "dialogs/clsPersonRow.h"

#include "model/clsBucketChain.h"
#include "model/clsPerson.h"
#include "model/clsZOManager.h"
#include "strings/clsDecimalText.h"
#include "strings/clsStringTable.h"

#include <cstdio>
#include <mutex>

namespace {

constexpr std::int32_t TextOnBreak = 2103;
constexpr std::int32_t TextNoHomeArea = 2102;

// Model quantities are shown times 100 with one decimal, as printf writes them.
QString Hundredfold(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.1lf", value * 100);
    return QString::fromLatin1(text);
}

QString Percent(const char* format, std::int32_t value)
{
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return QString::fromLatin1(text);
}

} // namespace

QString TPersonRow::Cell(int column) const
{
    if (column < 0 || column >= ColumnCount)
        return {};
    return cells[static_cast<std::size_t>(column)];
}

TPersonRow TPersonRow::Of(const TZembaObject* object)
{
    TPersonRow row;
    const auto* p = dynamic_cast<const TPerson*>(object);
    if (!p)
        return row;
    const auto* h = dynamic_cast<const THomeareaPerson*>(p);

    row.gone = false;
    row.cells[0] = QString::fromStdString(p->GetName());
    row.cells[1] = p->IsOnBreak() ? GetStringById(TextOnBreak) : Hundredfold(p->GetStepLength());
    row.cells[2] = Percent("%2d %%", static_cast<std::int32_t>(p->GetFitness() * 100 + 0.5));
    row.cells[3] = Hundredfold(p->GetLoadWeight());
    row.cells[4] = Hundredfold(p->GetFreeCapacity() + p->GetLoadWeight());
    row.cells[5] = Hundredfold(p->GetPosition());
    if (h && h->IsInHomeArea()) {
        row.cells[6] = Hundredfold(h->GetHomeEnd() - h->GetHomeStart());
        row.cells[7] = Percent("%3d %%", h->GetSatisfaction());
    } else if (h) {
        row.cells[6] = GetStringById(TextNoHomeArea);
    }
    return row;
}

TPersonRow TPersonRow::Read(const TZOManager* manager, std::int32_t id)
{
    const TZembaObject* object = manager ? manager->Find(id) : nullptr;
    const auto* handler = dynamic_cast<const TLoadHandler*>(object);
    // The registry and the chain membership stay as set up while the simulation
    // runs; only the persons' state moves, and a step changes it under the guard.
    if (handler && handler->GetChain()) {
        const std::lock_guard guard(handler->GetChain()->GetStepGuard());
        return Of(object);
    }
    return Of(object);
}

std::optional<std::int32_t> ParseRowId(const QString& text)
{
    return ReadDecimal(text).value;
}
