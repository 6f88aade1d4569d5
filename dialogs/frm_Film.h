#pragma once

#include "analysis/FilmSettings.h"
#include "analysis/MoveKeyframes.h"
#include "dialogs/clsJobPool.h"
#include "scenario/clsScenarioDescription.h"

#include <QDialog>
#include <QString>

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTimer;

// The move the window shows, as a film is made of it.
struct TFilmSource
{
    TScenarioDescription description;
    // Snapshots of the same move; null for none.
    std::shared_ptr<const TMoveKeyframes> keyframes;
    std::int64_t shownStep = 0;
    // Where the move is over, once the window knows it.
    std::optional<std::int64_t> endStep;
    // The user's marks in the move, ascending.
    std::vector<std::int64_t> marks;
};

// Datei → Exportieren → Film...: the stretch (the whole move, from the step
// shown to the end, or between two of the user's marks, once there are two),
// the size, the format, the frame rate, the speed-up
// and the caption, with the film's length and an estimate of its file
// before it starts. The film renders on the pool given while the window
// goes on, with a bar of the frames done and Abbrechen; a film given up
// leaves no file, and one that goes wrong says why, in the dialog.
class TfrmFilm : public QDialog
{
    Q_OBJECT

public:
    // The pool outlives the dialog or stops first.
    TfrmFilm(QWidget* owner, TJobPool& work);
    ~TfrmFilm() override;

    // The move to film; keeps the settings chosen so far.
    void SetSource(const TFilmSource& source);

    // In the order the dialog offers them.
    enum class TStretch { WholeMove, FromShownStep, BetweenMarks };
    void SetStretch(TStretch stretch);
    void SetSettings(const TFilmSettings& settings);
    TFilmSettings GetSettings() const;
    // The length and the estimated size, as shown.
    QString GetSummary() const;

    // Renders the film to path in the background, as "Speichern unter..." does after asking.
    void Start(const QString& path);
    bool IsRendering() const { return cancel != nullptr; }
    // Gives the film under way up: it leaves no file.
    void Cancel();

signals:
    // A film has ended: empty when written, else the German message shown.
    void Finished(const QString& error);

private:
    // The steps the film covers, up to the move's end or, before it is known, the course limit.
    std::pair<std::int64_t, std::int64_t> Stretch() const;
    // The marks to choose from, keeping the marks chosen where they still are.
    void ShowMarks();
    void ShowSummary();
    void AskAndStart();
    void ShowProgress();
    // written: the film's path, if it was.
    void Done(const QString& error, const QString& written);

    TJobPool& work;
    TFilmSource source;
    QComboBox* stretch = nullptr;
    QComboBox* fromMark = nullptr;
    QComboBox* toMark = nullptr;
    QSpinBox* width = nullptr;
    QSpinBox* height = nullptr;
    QComboBox* format = nullptr;
    QSpinBox* framesPerSecond = nullptr;
    QSpinBox* every = nullptr;
    QCheckBox* caption = nullptr;
    QLabel* summary = nullptr;
    QProgressBar* progress = nullptr;
    QPushButton* save = nullptr;
    QPushButton* close = nullptr;
    QTimer* poll = nullptr;

    // Of the film under way: its flag and the frames it has done, which the
    // job writes and the dialog's timer reads.
    TJobPool::TFlag cancel;
    std::shared_ptr<std::atomic<std::int64_t>> framesDone;
};
