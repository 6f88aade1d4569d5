#include "dialogs/clsSaveDialog.h"

#include <QFileDialog>

#include <gtest/gtest.h>

namespace {

TEST(SaveDialog, AFiltersEndingIsItsFirstPattern)
{
    const struct
    {
        const char* filter;
        const char* suffix;
    } rows[] = {
        {"PNG-Bild (*.png)", "png"},
        {"Experimente (*.csv *.json)", "csv"},
        {"Textdateien (*.txt)", "txt"},
        {"Alle Dateien (*)", ""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(FilterSuffix(QString::fromUtf8(row.filter)), QString::fromLatin1(row.suffix)) << row.filter;
}

// A name typed without an ending gets the ending of the kind chosen, also when another kind is chosen.
TEST(SaveDialog, ANameWithoutEndingTakesTheKindChosen)
{
    QFileDialog dialog(nullptr, QString(), QString(), QStringLiteral("PNG-Bild (*.png);;SVG-Bild (*.svg)"));
    TakeChosenSuffix(dialog);
    EXPECT_EQ(dialog.defaultSuffix(), QStringLiteral("png"));
    dialog.selectNameFilter(QStringLiteral("SVG-Bild (*.svg)"));
    emit dialog.filterSelected(dialog.selectedNameFilter());
    EXPECT_EQ(dialog.defaultSuffix(), QStringLiteral("svg"));
}

} // namespace
