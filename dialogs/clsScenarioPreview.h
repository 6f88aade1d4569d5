#pragma once

#include "model/clsChainState.h"
#include "model/clsZOManager.h"
#include "scenario/clsScenario.h"
#include "scenario/clsScenarioDescription.h"
#include "view/clsChainPainter.h"

#include <QWidget>

#include <memory>
#include <optional>

// The height profile and the persons at their start, drawn by the chain view's
// own painter from a scenario built for the picture alone.
class TScenarioPreview : public QWidget
{
public:
    explicit TScenarioPreview(QWidget* owner);

    // None for a description that cannot run: the picture is left empty.
    void Show(const std::optional<TScenarioDescription>& description);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TChainPainter painter;
    TZOManager objects;
    std::unique_ptr<TScenario> scenario;
    TChainState state;
};
