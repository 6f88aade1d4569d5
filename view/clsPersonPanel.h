#pragma once

#include <QString>

struct THandlerState;

// The lines of the selected person's panel: name, state, fitness, load,
// position and home area, German captions, numbers with "." whatever the locale.
QString PersonPanelText(const THandlerState& person);
