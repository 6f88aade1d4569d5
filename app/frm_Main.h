#pragma once

#include <QMainWindow>

#include <array>
#include <cstdint>
#include <memory>

class QAction;
class QLabel;
class TBookmarks;
class TExperimentPresenter;
class TExportMenu;
class TLegend;
class TMoveSession;
class TReportPresenter;
class TRunChart;
class TScenarioDocument;
class TTimelineBar;

namespace Ui {
class frmMain;
}

// The program's one window: lays out the view of the move, the menus, the
// toolbars, the chart, the legend and the timeline, and opens the dialogs.
// The move itself is the session's; the window asks it to start, pause, step,
// change speed and jump, and follows the moves it puts in place. The first
// show starts the move; the window's geometry and its docks are remembered.
class TfrmMain : public QMainWindow
{
    Q_OBJECT

public:
    // The speed factors of the Simulation menu, in its order.
    static constexpr std::array<std::int32_t, 5> SpeedFactors{1, 2, 5, 20, 0};

    explicit TfrmMain(QWidget* owner = nullptr);
    ~TfrmMain() override;

    // The scenario file the first show starts instead of the built-in move; a
    // file that is refused then leaves the built-in move running.
    void SetScenarioFile(const QString& path) { startFile = path; }

    TMoveSession& GetSession() const { return *session; }
    TScenarioDocument& GetDocument() const { return *document; }
    TReportPresenter& GetReport() const { return *report; }
    TTimelineBar& GetTimelineBar() const { return *tbTimeline; }
    TExportMenu& GetExports() const { return *exports; }
    TBookmarks& GetBookmarks() const { return *bookmarks; }
    QString GetStatusText() const;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void SetUpTimeline();
    void ConnectDockable(QAction* toggle, QWidget* dockable);
    // The view, the chart and the figures take up the move the session has put in place.
    void FollowMove(bool afresh);
    void ShowTitle();
    void ShowPaused(bool paused);
    void UpdateFigures();
    // The report of the whole move, once it has played to its end and the course run has recorded it.
    void ShowDueReport();
    // Shows a complaint once the window is visible.
    void ShowRefusal(const QString& text);
    void OpenPersons(std::int32_t selectedId);

    std::unique_ptr<Ui::frmMain> ui;
    // Goes before the widgets that show its move.
    std::unique_ptr<TMoveSession> session;
    QLabel* lbStatus = nullptr;
    TRunChart* chart = nullptr;
    TLegend* legend = nullptr;
    TReportPresenter* report = nullptr;
    TScenarioDocument* document = nullptr;
    TExperimentPresenter* experiments = nullptr;
    TExportMenu* exports = nullptr;
    TTimelineBar* tbTimeline = nullptr;
    TBookmarks* bookmarks = nullptr;
    QString baseTitle;
    QString startFile;
    // The move in place has been seen over; its report is shown once, when it plays to its end.
    bool seenOver = false;
    bool reportDue = false;
};
