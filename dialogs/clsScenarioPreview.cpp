#include "dialogs/clsScenarioPreview.h"

#include <QPainter>

namespace {

// A preview of a larger move shows its trail and the first person alone:
// building a million persons on every key stroke would stall the form.
constexpr std::int64_t MostPreviewPersons = 2000;

} // namespace

TScenarioPreview::TScenarioPreview(QWidget* owner)
    : QWidget(owner)
{
    painter.SetRatesShown(false);
}

void TScenarioPreview::Show(const std::optional<TScenarioDescription>& description)
{
    scenario.reset();
    state = {};
    if (description) {
        TScenarioDescription shown = *description;
        if (shown.GetPersonCount() > MostPreviewPersons)
            shown.persons = {{1, shown.persons[0].kind, shown.persons[0].position, shown.persons[0].speed, 0.0, {}}};
        scenario = std::make_unique<TScenario>(objects, shown);
        state.Read(*scenario->GetChain());
    }
    update();
}

void TScenarioPreview::paintEvent(QPaintEvent*)
{
    QPainter canvas(this);
    canvas.drawImage(0, 0, painter.Render(size(), scenario ? scenario->GetTrail() : nullptr, state, 0, devicePixelRatioF()));
}
