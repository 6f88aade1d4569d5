#include "dialogs/frm_Persons.h"
#include "model/clsZOManager.h"
#include "runtime/clsBCThread.h"
#include "runtime/clsChainPublisher.h"
#include "scenario/clsScenario.h"

#include <QHeaderView>
#include <QImage>
#include <QListWidget>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

QListWidget* List(TfrmPersons& dialog)
{
    return dialog.findChild<QListWidget*>("lbPersons");
}

// Draws the rows as paint events of strips of the list would. Qt's raster
// engine hands large fills to pooled threads, unseen by ThreadSanitizer in an
// uninstrumented Qt; small strips keep all drawing on this thread.
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

    TBCThread simulation(false, &scenario.GetLoop(), &publisher);
    for (int frame = 0; frame < 20; ++frame) {
        EXPECT_FALSE(PaintRows(dialog).isNull());
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

// The columns are narrow, yet in the window's font every header is whole,
// the last one's too, at the size the dialog opens with.
TEST(PersonsDialog, OpensWithEveryHeaderWhole)
{
    TfrmPersons dialog(nullptr);
    dialog.show();
    const auto* header = dialog.findChild<QHeaderView*>("hcPersons");
    for (int k = 0; k < header->count(); ++k)
        EXPECT_GE(header->sectionSize(k), header->sectionSizeHint(k)) << header->model()->headerData(k, Qt::Horizontal).toString().toStdString();
    EXPECT_LE(header->length(), header->width());
}

} // namespace
