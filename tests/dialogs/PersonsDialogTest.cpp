#include "dialogs/frm_Persons.h"
#include "model/clsZOManager.h"
#include "runtime/clsBCThread.h"
#include "runtime/clsChainPublisher.h"
#include "scenario/clsScenario.h"

#include <QHeaderView>
#include <QImage>
#include <QListWidget>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

QListWidget* List(TfrmPersons& dialog)
{
    return dialog.findChild<QListWidget*>("lbPersons");
}

QHeaderView* Header(TfrmPersons& dialog)
{
    return dialog.findChild<QHeaderView*>("hcPersons");
}

// Draws the rows, the part of the dialog that reads the persons, as paint
// events of strips of the list would. Qt's raster engine hands long lines and
// large fills to pooled threads through a hand-over that ThreadSanitizer
// cannot see in an uninstrumented Qt; small strips keep all drawing on this
// thread, so that the sanitizer reports our own races only.
QImage PaintRows(TfrmPersons& dialog)
{
    constexpr int strip = 48;
    QWidget* rows = List(dialog)->viewport();
    QImage picture(rows->size(), QImage::Format_ARGB32_Premultiplied);
    for (int top = 0; top < rows->height(); top += strip)
        rows->render(&picture, QPoint(0, top), QRegion(0, top, rows->width(), strip));
    return picture;
}

QStringList RowTexts(TfrmPersons& dialog)
{
    QStringList texts;
    for (int i = 0; i < List(dialog)->count(); ++i)
        texts << List(dialog)->item(i)->text();
    return texts;
}

// The rows are the persons of the registry by id; the simulation thread
// steps the chain and publishes it while the dialog draws rows from the
// published copies (a sanitizer build checks the reads).
TEST(PersonsDialog, ListsThePersonsByIdAndDrawsThemWhileTheChainSteps)
{
    TZOManager objects;
    TScenario scenario(objects);
    TChainPublisher publisher;
    TfrmPersons dialog(nullptr);
    EXPECT_TRUE(RowTexts(dialog).isEmpty()) << "no rows before the registry is handed over";
    dialog.SetPublisher(&publisher);
    dialog.SetManager(&objects);
    EXPECT_EQ(RowTexts(dialog), QStringList({"4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14"}));
    dialog.show();

    TBCThread simulation(false, scenario.GetChain(), &publisher);
    for (int frame = 0; frame < 20; ++frame) {
        EXPECT_FALSE(PaintRows(dialog).isNull());
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

// Cells stand exactly under their header sections on the screen, however the
// sections are sized and however far the list is scrolled.
TEST(PersonsDialog, CellsStayUnderTheirSectionsWhenSectionsResizeAndTheListScrolls)
{
    TZOManager objects;
    const TScenario scenario(objects);
    TfrmPersons dialog(nullptr);
    dialog.SetManager(&objects);
    dialog.show();
    QListWidget* list = List(dialog);
    QHeaderView* header = Header(dialog);

    const auto cellLefts = [&] {
        const QRect row = list->visualItemRect(list->item(0));
        EXPECT_EQ(row.height(), 16);
        QList<int> lefts;
        for (int k = 0; k < header->count(); ++k) {
            const int cell = list->viewport()->mapToGlobal(dialog.CellRect(row, k).topLeft()).x();
            const int section = header->viewport()->mapToGlobal(QPoint(header->sectionViewportPosition(k), 0)).x();
            EXPECT_EQ(cell, section) << "column " << k;
            EXPECT_EQ(dialog.CellRect(row, k).width(), header->sectionSize(k)) << "column " << k;
            lefts << cell;
        }
        return lefts;
    };

    const QList<int> before = cellLefts();
    header->resizeSection(0, 190);
    const QList<int> widened = cellLefts();
    EXPECT_EQ(widened[0], before[0]);
    for (int k = 1; k < header->count(); ++k)
        EXPECT_EQ(widened[k], before[k] + 40) << "column " << k;

    QScrollBar* scroll = list->horizontalScrollBar();
    EXPECT_EQ(scroll->maximum(), header->length() - list->viewport()->width())
        << "the list scrolls as far as the header reaches";
    scroll->setValue(scroll->maximum());
    EXPECT_EQ(header->offset(), scroll->maximum());
    const QList<int> scrolled = cellLefts();
    EXPECT_EQ(scrolled[1], widened[1] - scroll->maximum());
}

} // namespace
