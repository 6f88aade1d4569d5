#pragma once

#include <QString>

#include <cstdint>

struct THandlerState;

// A person's figures as every table and panel of the window writes them.
// Model quantities (positions, lengths, speeds, weights) are shown times 100
// with one decimal, and always with "." as decimal mark, whatever the locale.
QString HundredfoldText(double value);
// The speed per step, hundredfold; "Pause!" for a person on a break.
QString SpeedText(const THandlerState& person);
// Whole percent, the number right-aligned in two places: "99 %", " 7 %".
QString FitnessText(double fitness);
// Whole percent, the number right-aligned in three places: " 70 %".
QString SatisfactionText(std::int32_t percent);
