#pragma once

#include <QString>

struct THandlerState;

// The lines of the selected person's panel, each naming what it shows, with
// the figures written as the persons list writes them.
QString PersonPanelText(const THandlerState& person);
// The panel's tooltip: the units of its figures.
QString PersonPanelUnits();
