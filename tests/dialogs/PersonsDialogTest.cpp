#include "StagedPerson.h"

#include "scenario/clsScenario.h"
#include "dialogs/clsPersonRow.h"
#include "dialogs/frm_Persons.h"
#include "model/clsBucketChain.h"
#include "model/clsLoad.h"
#include "model/clsTrail.h"
#include "model/clsZOManager.h"

#include <QHeaderView>
#include <QImage>
#include <QListWidget>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
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

TEST(PersonsDialog, CaptionAndHeaderAreLocalised)
{
    TfrmPersons dialog(nullptr);
    EXPECT_EQ(dialog.windowTitle(), "Personen");
    EXPECT_EQ(dialog.size(), QSize(430, 252));

    QHeaderView* header = Header(dialog);
    ASSERT_NE(header, nullptr);
    const QStringList captions = {"Name", "Geschw.", "Fitness", "Last", "Maximallast", "Position", "Home Länge", "Zufriedenheit"};
    ASSERT_EQ(header->count(), captions.size());
    for (int k = 0; k < header->count(); ++k) {
        EXPECT_EQ(header->model()->headerData(k, Qt::Horizontal).toString(), captions[k]);
        if (k < header->count() - 1) {
            EXPECT_EQ(header->sectionSize(k), k == 0 ? 150 : 50) << "section " << k;
        }
    }
}

TEST(PersonsDialog, RowsListOnlyPersonsInAscendingIdOrder)
{
    TStagedPerson first;
    TStagedHomePerson second;
    TStagedPerson third;
    TZStdLoad load(1.0);
    TTrail trail;
    TZOManager objects;
    for (TZembaObject* object : {static_cast<TZembaObject*>(&third), static_cast<TZembaObject*>(&load),
                                 static_cast<TZembaObject*>(&first), static_cast<TZembaObject*>(&trail),
                                 static_cast<TZembaObject*>(&second)})
        objects.Add(object);

    TfrmPersons dialog(nullptr);
    EXPECT_TRUE(RowTexts(dialog).isEmpty()) << "no rows before the registry is handed over";
    dialog.SetManager(&objects);
    EXPECT_EQ(RowTexts(dialog), QStringList({QString::number(first.GetId()), QString::number(second.GetId()),
                                             QString::number(third.GetId())}));

    TZOManager nobody;
    nobody.Add(&load);
    dialog.SetManager(&nobody);
    EXPECT_TRUE(RowTexts(dialog).isEmpty()) << "a registry without persons gives an empty list";
}

TEST(PersonsDialog, ARowKeepsItsPlaceWhenItsPersonIsGone)
{
    TStagedPerson first, second, third;
    TZOManager objects;
    for (TZembaObject* person : {&first, &second, &third})
        objects.Add(person);
    TfrmPersons dialog(nullptr);
    dialog.SetManager(&objects);

    // The registry loses the middle person after the rows were built.
    objects = TZOManager();
    objects.Add(&first);
    objects.Add(&third);

    ASSERT_EQ(List(dialog)->count(), 3) << "the rows are built once and never rebuilt";
    EXPECT_FALSE(TPersonRow::Read(&objects, List(dialog)->item(0)->text().toInt()).gone);
    EXPECT_TRUE(TPersonRow::Read(&objects, List(dialog)->item(1)->text().toInt()).gone);
    EXPECT_FALSE(TPersonRow::Read(&objects, List(dialog)->item(2)->text().toInt()).gone);
    dialog.show();
    EXPECT_FALSE(PaintRows(dialog).isNull()) << "drawing a gone row between two persons";
}

// Cells stand exactly under their header sections on the screen, however the
// sections are sized and however far the list is scrolled.
TEST(PersonsDialog, CellsStayUnderTheirSectionsWhenSectionsResizeAndTheListScrolls)
{
    TStagedPerson person;
    TZOManager objects;
    objects.Add(&person);
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

// The simulation thread steps the chain under its guard while the dialog
// draws rows from the persons it moves; a sanitizer build checks the reads.
TEST(PersonsDialog, RepaintingWhileTheSimulationStepsIsSafe)
{
    TZOManager objects;
    TScenario scenario(objects);
    TBucketChain* chain = scenario.GetChain();
    TfrmPersons dialog(nullptr);
    dialog.SetManager(&objects);
    dialog.show();

    std::atomic<bool> stop{false};
    std::atomic<int> steps{0};
    std::thread simulation([&] {
        while (!stop.load()) {
            const std::lock_guard guard(chain->GetStepGuard());
            chain->Step();
            steps.fetch_add(1);
        }
    });
    for (int frame = 0; frame < 20 || steps.load() < 200; ++frame)
        PaintRows(dialog);
    stop.store(true);
    simulation.join();

    ASSERT_EQ(List(dialog)->count(), TScenario::DefaultPersons);
    for (int i = 0; i < List(dialog)->count(); ++i) {
        const TPersonRow row = TPersonRow::Read(&objects, List(dialog)->item(i)->text().toInt());
        ASSERT_FALSE(row.gone) << "row " << i;
        bool isNumber = false;
        const double position = row.Cell(5).toDouble(&isNumber);
        EXPECT_TRUE(isNumber && position >= 0.0 && position <= scenario.GetTrail()->GetLength() * 100) << row.Cell(5).toStdString();
    }
}

} // namespace
