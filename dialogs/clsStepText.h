#pragma once

#include <QString>

#include <cstdint>

// A step as the window's texts show it while reviewing a move, its thousands
// grouped as a German reader writes them: "Schritt 143.383 · 1:35:35".
QString StepAndTimeText(std::int64_t step);
