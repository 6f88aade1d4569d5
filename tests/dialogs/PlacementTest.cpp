#include "dialogs/clsPlacement.h"

#include <gtest/gtest.h>

namespace {

// A dialog opens beside the window where the screen has room, else over it,
// and is never cut off by the screen's edges.
TEST(Placement, ADialogOpensBesideTheWindowOrCentredOverItAndWholeOnTheScreen)
{
    const QRect screen(0, 0, 1920, 1080);
    const struct
    {
        const char* what;
        QRect window;
        QSize dialog;
        QPoint expected;
    } rows[] = {
        {"room on the right", {100, 50, 800, 600}, {400, 300}, {908, 50}},
        {"room on the left only", {1000, 50, 800, 600}, {400, 300}, {592, 50}},
        {"no room on either side: centred over the window", {200, 100, 1500, 800}, {400, 300}, {749, 349}},
        {"the window's top too low for the dialog", {100, 900, 800, 150}, {400, 300}, {908, 780}},
        {"a window over the screen's edge: centred, pulled onto the screen", {-400, -100, 2400, 600}, {600, 400}, {499, 0}},
        {"a dialog larger than the screen keeps its top left on it", {100, 50, 800, 600}, {2000, 1200}, {0, 0}},
    };
    for (const auto& row : rows) {
        const QRect placed = PlaceBeside(row.window, row.dialog, screen);
        EXPECT_EQ(placed.topLeft(), row.expected) << row.what;
        EXPECT_EQ(placed.size(), row.dialog) << row.what;
    }
    // On a second screen to the right, by that screen's edges.
    EXPECT_EQ(PlaceBeside({2000, 0, 1800, 900}, {400, 300}, {1920, 0, 1920, 1080}).topLeft(), QPoint(2699, 299));
}

} // namespace
