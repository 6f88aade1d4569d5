#include "app/clsExportMenu.h"

#include "analysis/MoveExport.h"
#include "analysis/MoveRerun.h"
#include "app/clsBookmarks.h"
#include "app/clsMoveExports.h"
#include "app/clsMoveSession.h"
#include "app/clsRunChart.h"
#include "dialogs/clsChartPicture.h"
#include "dialogs/clsPlacement.h"
#include "dialogs/clsReportText.h"
#include "dialogs/clsSaveDialog.h"
#include "dialogs/frm_Film.h"
#include "strings/clsStringTable.h"
#include "view/frame_Zemba.h"

#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QInputDialog>
#include <QMainWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QStatusBar>

namespace {

constexpr std::int32_t TextBadSize = 2807;
constexpr std::int32_t TextPictureFiles = 2803;
constexpr std::int32_t TextCsvFiles = 2804;
constexpr std::int32_t TextTextFiles = 2805;
constexpr std::int32_t TextAskSize = 2806;
constexpr std::int32_t TextWriting = 2808;
constexpr std::int32_t TextExport = 50030;
constexpr std::int32_t TextExportView = 50031;
constexpr std::int32_t TextExportChart = 50032;
constexpr std::int32_t TextExportSeries = 50033;
constexpr std::int32_t TextExportTrace = 50034;
constexpr std::int32_t TextExportReport = 50035;
constexpr std::int32_t TextCopy = 50130;
constexpr std::int32_t TextChart = 2330;
constexpr std::int32_t TextViewPicture = 3300;
constexpr std::int32_t TextExportFilm = 3501;

// A chart that has never been shown has no size of its own.
const QSize HiddenChartSize(800, 300);

QAction* AddAction(QObject* owner, QMenu* menu, std::int32_t textId)
{
    auto* action = new QAction(GetStringById(textId), owner);
    menu->addAction(action);
    return action;
}

} // namespace

TExportMenu::TExportMenu(QMainWindow& theWindow, TMoveSession& theSession, TframeZemba& theView, TRunChart& theChart,
                         QMenu& fileMenu, QAction& before, QMenu& editMenu)
    : QObject(&theWindow), window(theWindow), session(theSession), view(theView), chart(theChart)
{
    auto* exports = new QMenu(GetStringById(TextExport), &window);
    fileMenu.insertMenu(&before, exports);
    fileMenu.insertSeparator(&before);
    connect(AddAction(this, exports, TextExportView), &QAction::triggered, this, &TExportMenu::AskAndExportView);
    connect(AddAction(this, exports, TextExportChart), &QAction::triggered, this,
            [this] { AskAndExport(TextPictureFiles, &TExportMenu::ExportChart); });
    connect(AddAction(this, exports, TextExportSeries), &QAction::triggered, this,
            [this] { AskAndExport(TextCsvFiles, &TExportMenu::ExportSeries); });
    connect(AddAction(this, exports, TextExportTrace), &QAction::triggered, this, [this] {
        AskAndExportInBackground(TextCsvFiles, [description = session.GetDescription()](
                                                   std::int64_t step, const QString& path, const std::atomic<bool>& cancel) {
            return ExportTrace(description, step, path, cancel);
        });
    });
    connect(AddAction(this, exports, TextExportReport), &QAction::triggered, this, [this] {
        AskAndExportInBackground(TextTextFiles, [description = session.GetDescription()](
                                                    std::int64_t step, const QString& path, const std::atomic<bool>& cancel) {
            const TMoveReport report = ReportMoveUpTo(description, step, cancel);
            // A report given up half way is no report: nothing is written.
            return cancel ? QString() : ExportText(ReportText(report).toStdString(), path);
        });
    });
    connect(AddAction(this, exports, TextExportFilm), &QAction::triggered, this, [this] { OpenFilm(); });
    QAction* copy = AddAction(this, &editMenu, TextCopy);
    copy->setShortcut(QKeySequence::Copy);
    connect(copy, &QAction::triggered, this, &TExportMenu::CopyView);
}

QString TExportMenu::ExportView(const QString& path, QSize size)
{
    if (size.isEmpty())
        size = view.GetPictureSize();
    return ExportPicture({size, [this, size](QPainter& painter) { view.PaintPicture(painter, size); }, {},
                          GetStringById(TextViewPicture)},
                         path);
}

QString TExportMenu::ExportChart(const QString& path)
{
    if (!chart.isVisible())
        chart.resize(HiddenChartSize);
    return ExportPicture(ChartsPicture(chart, GetStringById(TextChart)), path);
}

QString TExportMenu::ExportSeries(const QString& path)
{
    return ExportText(DeliverySeriesCsv(session.GetPublisher().Latest().deliveries, session.GetBoundPerMinute()), path);
}

void TExportMenu::CopyView()
{
    QImage picture(view.GetPictureSize(), QImage::Format_RGB32);
    if (picture.isNull())
        return;
    QPainter painter(&picture);
    view.PaintPicture(painter, picture.size());
    painter.end();
    QApplication::clipboard()->setImage(picture);
}

TfrmFilm& TExportMenu::OpenFilm()
{
    if (!film) {
        film = new TfrmFilm(&window, session.GetWork());
        KeepPlaced(*film, window, QStringLiteral("film"));
        // The film starts at the view's own size, its sides made even for MP4.
        const QSize shown = view.GetPictureSize();
        TFilmSettings settings;
        settings.width = std::max(FilmMinimumSide, shown.width() & ~1);
        settings.height = std::max(FilmMinimumSide, shown.height() & ~1);
        film->SetSettings(settings);
        // The move's end, found after the dialog opened, sets its length; marks set since are offered.
        const auto follow = [this] {
            if (!film->IsRendering())
                film->SetSource(FilmSource());
        };
        connect(&session, &TMoveSession::CourseFound, film, follow);
        if (bookmarks)
            connect(bookmarks, &TBookmarks::MarksChanged, film, follow);
    }
    film->SetSource(FilmSource());
    film->show();
    film->raise();
    return *film;
}

TFilmSource TExportMenu::FilmSource()
{
    const std::optional<TMoveCourse>& course = session.GetCourse();
    return {session.GetDescription(), session.GetKeyframes(), session.GetShownStep(),
            course ? std::optional(course->endStep) : std::nullopt,
            bookmarks ? bookmarks->GetMarks() : std::vector<std::int64_t>{}};
}

void TExportMenu::FollowMarks(const TBookmarks& marks)
{
    bookmarks = &marks;
}

QString TExportMenu::SaveFileName(std::int32_t filterId)
{
    return AskSaveFileName(&window, QString(), QString(), GetStringById(filterId));
}

void TExportMenu::AskAndExportView()
{
    const QString path = SaveFileName(TextPictureFiles);
    if (path.isEmpty())
        return;
    const std::optional<QSize> size = AskPictureSize(window, view.GetPictureSize());
    if (!size)
        return;
    if (const QString error = ExportView(path, *size); !error.isEmpty())
        QMessageBox::warning(&window, window.windowTitle(), error);
}

std::optional<QSize> AskPictureSize(QWidget& owner, QSize shown)
{
    QString answer = QStringLiteral("%1x%2").arg(shown.width()).arg(shown.height());
    for (;;) {
        bool ok = false;
        answer = QInputDialog::getText(&owner, owner.windowTitle(), GetStringById(TextAskSize), QLineEdit::Normal,
                                       answer, &ok);
        if (!ok)
            return std::nullopt;
        if (const std::optional<QSize> size = ParsePictureSize(answer))
            return size;
        // Says why, then asks again with the answer to mend.
        QMessageBox::warning(&owner, owner.windowTitle(), GetStringById(TextBadSize).arg(answer).arg(MaximumPictureSide));
    }
}

void TExportMenu::AskAndExport(std::int32_t filterId, QString (TExportMenu::*write)(const QString&))
{
    const QString path = SaveFileName(filterId);
    if (path.isEmpty())
        return;
    if (const QString error = (this->*write)(path); !error.isEmpty())
        QMessageBox::warning(&window, window.windowTitle(), error);
}

void TExportMenu::AskAndExportInBackground(
    std::int32_t filterId,
    std::function<QString(std::int64_t step, const QString& path, const std::atomic<bool>& cancel)> write)
{
    const QString path = SaveFileName(filterId);
    if (path.isEmpty())
        return;
    window.statusBar()->showMessage(GetStringById(TextWriting).arg(QFileInfo(path).fileName()));
    auto job = session.GetWork().Run([write = std::move(write), step = session.GetShownStep(), path](
                                          const std::atomic<bool>& cancel) { return write(step, path, cancel); });
    auto* watcher = new QFutureWatcher<QString>(this);
    connect(watcher, &QFutureWatcher<QString>::finished, this, [this, watcher] {
        watcher->deleteLater();
        window.statusBar()->clearMessage();
        if (const QString error = watcher->result(); !error.isEmpty())
            QMessageBox::warning(&window, window.windowTitle(), error);
    });
    watcher->setFuture(job.future);
}
