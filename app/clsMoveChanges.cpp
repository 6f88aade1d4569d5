#include "app/clsMoveChanges.h"

#include "app/clsMoveSession.h"
#include "app/clsScenarioDocument.h"
#include "dialogs/clsScenarioFaultText.h"
#include "dialogs/clsStepText.h"
#include "model/clsChainState.h"
#include "model/clsSimulationTime.h"
#include "scenario/clsScenarioDescription.h"
#include "scenario/clsScenarioRules.h"
#include "strings/clsStringTable.h"
#include "view/clsChainPainter.h"
#include "view/frame_Zemba.h"

#include <QAction>
#include <QMenu>
#include <QMessageBox>
#include <QWidget>

#include <algorithm>

namespace {

constexpr std::int32_t TextAddPerson = 3900;
constexpr std::int32_t TextAddHere = 3901;
constexpr std::int32_t TextAddAtStart = 3902;
constexpr std::int32_t TextLeaves = 3903;
constexpr std::int32_t TextReplan = 3904;
constexpr std::int32_t TextReplanTitle = 3905;
constexpr std::int32_t TextDropChanges = 3906;
constexpr std::int32_t TextChangeRefused = 3907;

// A change at the step shown, written as a time where the step is a whole second.
TScheduleEntry EntryAt(std::int64_t step)
{
    TScheduleEntry entry;
    entry.step = step;
    entry.atAsTime = step % StepsPerSecond == 0;
    return entry;
}

// One person walking like the first group's first one, with a name of its own from the table.
TPersonGroup Newcomer(const TScenarioDescription& description, double position)
{
    TPersonGroup person = description.persons.empty() ? TPersonGroup{} : description.persons.front();
    person.count = 1;
    person.position = position;
    person.speedIncrement = 0.0;
    person.names.clear();
    return person;
}

} // namespace

TMoveChanges::TMoveChanges(QWidget& theWindow, TMoveSession& theSession, TScenarioDocument& theDocument,
                           TframeZemba& view, QMenu& simulationMenu)
    : QObject(&theWindow), window(theWindow), session(theSession), document(theDocument)
{
    simulationMenu.addSeparator();
    acAddPerson = simulationMenu.addAction(GetStringById(TextAddPerson));
    acAddPerson->setObjectName(QStringLiteral("acAddPerson"));
    connect(acAddPerson, &QAction::triggered, this, [this] { AddPerson(0.0); });
    QAction* replan = simulationMenu.addAction(GetStringById(TextReplan));
    replan->setObjectName(QStringLiteral("acReplan"));
    connect(replan, &QAction::triggered, this, &TMoveChanges::ReplanFromHere);
    // A move that is over takes nobody on: its loop has stopped stepping.
    connect(&simulationMenu, &QMenu::aboutToShow, this, [this] { acAddPerson->setEnabled(MayChange()); });
    connect(&view, &TframeZemba::MenuAsked, this, &TMoveChanges::ShowMenu);
}

void TMoveChanges::AddPerson(double position)
{
    if (!MayChange())
        return;
    const std::int64_t step = session.GetShownStep();
    TScenarioDescription changed = session.GetDescription();
    TScheduleEntry entry = EntryAt(step);
    entry.join = Newcomer(changed, position);
    changed.schedule.push_back(std::move(entry));
    Apply(changed, step);
}

void TMoveChanges::SendAway(const std::string& name)
{
    if (!MayChange())
        return;
    const std::int64_t step = session.GetShownStep();
    TScenarioDescription changed = session.GetDescription();
    TScheduleEntry entry = EntryAt(step);
    entry.kind = TScheduleEntry::TKind::Leave;
    entry.leave = name;
    changed.schedule.push_back(std::move(entry));
    Apply(changed, step);
}

void TMoveChanges::ReplanFromHere()
{
    if (!session.GetScenario())
        return;
    const std::int64_t step = session.GetShownStep();
    TScenarioDescription changed = session.GetDescription();
    const auto dropped = std::erase_if(changed.schedule, [step](const TScheduleEntry& e) { return e.step > step; });
    if (dropped == 0)
        return;
    const QString question = GetStringById(TextDropChanges).arg(dropped).arg(StepAndTimeText(step));
    if (QMessageBox::question(&window, GetStringById(TextReplanTitle), question) != QMessageBox::Yes)
        return;
    Apply(changed, step);
}

void TMoveChanges::ShowMenu(std::int32_t id, double position, QPoint global)
{
    QMenu menu(&window);
    if (const THandlerState* person = id != TChainPainter::NoSelection ? session.GetPublisher().Latest().Find(id) : nullptr) {
        const std::string name = person->name;
        connect(menu.addAction(GetStringById(TextLeaves).arg(QString::fromStdString(name))), &QAction::triggered, this,
                [this, name] { SendAway(name); });
    }
    connect(menu.addAction(GetStringById(TextAddHere)), &QAction::triggered, this,
            [this, position] { AddPerson(position); });
    connect(menu.addAction(GetStringById(TextAddAtStart)), &QAction::triggered, this, [this] { AddPerson(0.0); });
    for (QAction* entry : menu.actions())
        entry->setEnabled(MayChange());
    menu.exec(global);
}

bool TMoveChanges::MayChange() const
{
    return session.GetScenario() && (session.IsJumping() || session.GetPublisher().Latest().outcome == TMoveOutcome::Running);
}

void TMoveChanges::Apply(const TScenarioDescription& changed, std::int64_t step)
{
    if (const std::vector<TScenarioFault> faults = CheckScenario(changed); !faults.empty()) {
        QMessageBox::warning(&window, GetStringById(TextReplanTitle),
                             GetStringById(TextChangeRefused).arg(ScenarioFaultWhat(faults.front())));
        return;
    }
    document.ChangeAt(changed, step);
}
