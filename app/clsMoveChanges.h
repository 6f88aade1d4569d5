#pragma once

#include <QObject>
#include <QPoint>

#include <cstdint>
#include <string>

class QAction;
class QMenu;
class QWidget;
class TMoveSession;
class TScenarioDocument;
class TframeZemba;
struct TScenarioDescription;

// Persons who join or leave the move while it runs, and plans dropped from a
// step on. Each is a change of the move's schedule at the step shown, put in
// place through the document: the move becomes the changed description's
// move at that step, an unsaved edit that a jump back keeps ahead and a
// saved file replays.
class TMoveChanges : public QObject
{
public:
    // Adds "Person hinzufügen" and "Ab hier neu planen" to the Simulation
    // menu, and the picture's context menu.
    TMoveChanges(QWidget& window, TMoveSession& session, TScenarioDocument& document, TframeZemba& view,
                 QMenu& simulationMenu);

    // At the step shown: a person walking like the first group's first one
    // joins at the trail position.
    void AddPerson(double position);
    // At the step shown: the person of the name leaves, once its hands are empty.
    void SendAway(const std::string& name);
    // Drops the schedule's changes after the step shown, asking first if it holds any.
    void ReplanFromHere();

private:
    void ShowMenu(std::int32_t id, double position, QPoint global);
    // A move is in place and not over at the step shown.
    bool MayChange() const;
    // Puts the changed move in place at the step, unless the scenario's rules refuse it.
    void Apply(const TScenarioDescription& changed, std::int64_t step);

    QWidget& window;
    TMoveSession& session;
    TScenarioDocument& document;
    QAction* acAddPerson = nullptr;
};
