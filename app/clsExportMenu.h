#pragma once

#include <QObject>
#include <QSize>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

class QAction;
class QMainWindow;
class QMenu;
class QWidget;
class TBookmarks;
class TMoveSession;
class TRunChart;
class TframeZemba;
class TfrmFilm;
struct TFilmSource;

// Datei → Exportieren and Bearbeiten → Kopieren: the view, the chart and its
// series, the trace and the report of the move up to the step shown, and a
// film of the move. The
// trace and the report take a run of their own, on the session's pool.
class TExportMenu : public QObject
{
    Q_OBJECT

public:
    // Puts its menu into the Datei menu before the entry given, and Kopieren into the Bearbeiten menu.
    TExportMenu(QMainWindow& window, TMoveSession& session, TframeZemba& view, TRunChart& chart, QMenu& fileMenu,
                QAction& before, QMenu& editMenu);

    // As the menu's entries write them, without their dialogs: an empty
    // answer, or the German message. The view at the picture's size unless
    // another is given.
    QString ExportView(const QString& path, QSize size = {});
    QString ExportChart(const QString& path);
    QString ExportSeries(const QString& path);
    void CopyView();
    // Datei → Exportieren → Film...: the film dialog, made at the first call,
    // set to the move as the window shows it now.
    TfrmFilm& OpenFilm();
    // The film dialog offers the stretch between two of these marks, as they change.
    void FollowMarks(const TBookmarks& marks);

private:
    void AskAndExportView();
    // Asks for a file of the filter's kinds and writes it, saying why when it could not.
    void AskAndExport(std::int32_t filterId, QString (TExportMenu::*write)(const QString&));
    // Asks for a file and writes it on the pool, from the move up to the step shown.
    void AskAndExportInBackground(std::int32_t filterId,
                                  std::function<QString(std::int64_t step, const QString& path,
                                                        const std::atomic<bool>& cancel)> write);
    QString SaveFileName(std::int32_t filterId);
    // The move as the window shows it now.
    TFilmSource FilmSource();

    QMainWindow& window;
    TMoveSession& session;
    TframeZemba& view;
    TRunChart& chart;
    TfrmFilm* film = nullptr;
    const TBookmarks* bookmarks = nullptr;
};

// Asks for a picture's size, offering the size shown, until the answer is
// one; none when the user gives up.
std::optional<QSize> AskPictureSize(QWidget& owner, QSize shown);
