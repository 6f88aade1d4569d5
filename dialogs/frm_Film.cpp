#include "dialogs/frm_Film.h"

#include "analysis/MoveCourse.h"
#include "analysis/OutputFile.h"
#include "dialogs/clsStepText.h"
#include "film/FilmRenderer.h"
#include "strings/clsStringTable.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QFutureWatcher>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTimer>

namespace {

constexpr std::int32_t TextCannotWrite = 2800;
constexpr std::int32_t TextCancel = 2001;
constexpr std::int32_t TextFilmTitle = 3502;
constexpr std::int32_t TextStretch = 3503;
constexpr std::int32_t TextWholeMove = 3504;
constexpr std::int32_t TextFromShown = 3505;
constexpr std::int32_t TextSize = 3506;
constexpr std::int32_t TextFormat = 3507;
// The formats' names and file filters, in the order of TFilmFormat.
constexpr std::int32_t TextFormatNames = 3508;
constexpr std::int32_t TextFramesPerSecond = 3511;
constexpr std::int32_t TextEvery = 3512;
constexpr std::int32_t TextCaptionChoice = 3513;
constexpr std::int32_t TextSummary = 3514;
constexpr std::int32_t TextFilmSaveAs = 3515;
constexpr std::int32_t TextFormatFilters = 3516;
constexpr std::int32_t TextFilmProgress = 3519;
constexpr std::int32_t TextWritten = 3520;
constexpr std::int32_t TextNotMade = 3521;
constexpr std::int32_t TextOddSize = 3522;
constexpr std::int32_t TextEndUnknown = 3523;
constexpr std::int32_t TextClose = 3019;
constexpr std::int32_t TextBetweenMarks = 4000;
constexpr std::int32_t TextFilmMarks = 4001;
constexpr std::int32_t TextFilmMarksTo = 4002;
constexpr std::int32_t TextTwoMarksNeeded = 4003;
constexpr std::int32_t TextFastGif = 4004;

constexpr TFilmFormat Formats[] = {TFilmFormat::Mp4, TFilmFormat::WebM, TFilmFormat::Gif};
constexpr int PollMs = 100;
constexpr int MostEvery = 1'000'000;

// "1:05" for a film's length in seconds, "2:27:26" from an hour on.
QString Length(double seconds)
{
    const auto whole = static_cast<long long>(seconds + 0.5);
    const QString minutesAndSeconds = QStringLiteral("%1:%2").arg(whole / 60 % 60, whole < 3600 ? 1 : 2, 10, QLatin1Char('0'))
                                          .arg(whole % 60, 2, 10, QLatin1Char('0'));
    return whole < 3600 ? minutesAndSeconds : QStringLiteral("%1:%2").arg(whole / 3600).arg(minutesAndSeconds);
}

QString MessageOf(const TFilmOutcome& outcome, const QString& path)
{
    switch (outcome.status) {
    case TFilmOutcome::TStatus::Written:
    case TFilmOutcome::TStatus::Cancelled:
        return {};
    case TFilmOutcome::TStatus::Refused:
    case TFilmOutcome::TStatus::Failed:
        break;
    }
    // The file writer names the system's reason, which the window words in German.
    const std::string reason = SystemReasonOf(outcome.error);
    if (!reason.empty() && outcome.error.find(path.toStdString()) != std::string::npos)
        return GetStringById(TextCannotWrite).arg(path, QString::fromStdString(reason));
    return GetStringById(TextNotMade).arg(QString::fromStdString(outcome.error));
}

QSpinBox* NewSpin(QWidget* owner, int low, int high, int step = 1)
{
    auto* spin = new QSpinBox(owner);
    spin->setRange(low, high);
    spin->setSingleStep(step);
    return spin;
}

} // namespace

TfrmFilm::TfrmFilm(QWidget* owner, TJobPool& theWork)
    : QDialog(owner), work(theWork)
{
    setWindowTitle(GetStringById(TextFilmTitle));
    auto* form = new QFormLayout(this);
    stretch = new QComboBox(this);
    stretch->setObjectName(QStringLiteral("cbStretch"));
    form->addRow(GetStringById(TextStretch), stretch);
    fromMark = new QComboBox(this);
    fromMark->setObjectName(QStringLiteral("cbFromMark"));
    toMark = new QComboBox(this);
    toMark->setObjectName(QStringLiteral("cbToMark"));
    auto* marks = new QHBoxLayout;
    marks->addWidget(fromMark, 1);
    marks->addWidget(new QLabel(GetStringById(TextFilmMarksTo), this));
    marks->addWidget(toMark, 1);
    form->addRow(GetStringById(TextFilmMarks), marks);

    width = NewSpin(this, FilmMinimumSide, FilmMaximumSide, 2);
    height = NewSpin(this, FilmMinimumSide, FilmMaximumSide, 2);
    auto* size = new QHBoxLayout;
    size->addWidget(width);
    size->addWidget(new QLabel(QStringLiteral("×"), this));
    size->addWidget(height);
    form->addRow(GetStringById(TextSize), size);

    format = new QComboBox(this);
    for (int i = 0; i < static_cast<int>(std::size(Formats)); ++i)
        format->addItem(GetStringById(TextFormatNames + i));
    form->addRow(GetStringById(TextFormat), format);
    framesPerSecond = NewSpin(this, 1, FilmMaximumFramesPerSecond);
    form->addRow(GetStringById(TextFramesPerSecond), framesPerSecond);
    every = NewSpin(this, 1, MostEvery);
    form->addRow(GetStringById(TextEvery), every);
    caption = new QCheckBox(GetStringById(TextCaptionChoice), this);
    form->addRow(caption);
    summary = new QLabel(this);
    form->addRow(summary);
    progress = new QProgressBar(this);
    progress->hide();
    form->addRow(progress);

    auto* buttons = new QDialogButtonBox(this);
    save = buttons->addButton(GetStringById(TextFilmSaveAs), QDialogButtonBox::AcceptRole);
    close = buttons->addButton(GetStringById(TextClose), QDialogButtonBox::RejectRole);
    form->addRow(buttons);
    connect(save, &QPushButton::clicked, this, &TfrmFilm::AskAndStart);
    connect(close, &QPushButton::clicked, this, [this] { IsRendering() ? Cancel() : reject(); });

    poll = new QTimer(this);
    poll->setInterval(PollMs);
    connect(poll, &QTimer::timeout, this, &TfrmFilm::ShowProgress);

    SetSettings(TFilmSettings{});
    for (QSpinBox* spin : {width, height, framesPerSecond, every})
        connect(spin, &QSpinBox::valueChanged, this, &TfrmFilm::ShowSummary);
    connect(format, &QComboBox::currentIndexChanged, this, &TfrmFilm::ShowSummary);
    for (QComboBox* choice : {stretch, fromMark, toMark})
        connect(choice, &QComboBox::currentIndexChanged, this, &TfrmFilm::ShowSummary);
}

TfrmFilm::~TfrmFilm()
{
    // The job holds nothing of the dialog's: it may end after it, leaving no file.
    Cancel();
}

void TfrmFilm::SetSource(const TFilmSource& theSource)
{
    source = theSource;
    const int chosen = std::max(0, stretch->currentIndex());
    const QString end = source.endStep ? QString::number(*source.endStep) : QStringLiteral("…");
    const QSignalBlocker quiet(stretch);
    stretch->clear();
    stretch->addItem(GetStringById(TextWholeMove).arg(end));
    stretch->addItem(GetStringById(TextFromShown).arg(source.shownStep).arg(end));
    stretch->addItem(GetStringById(TextBetweenMarks));
    const bool twoMarks = source.marks.size() >= 2;
    auto* items = qobject_cast<QStandardItemModel*>(stretch->model());
    QStandardItem* betweenMarks = items->item(static_cast<int>(TStretch::BetweenMarks));
    betweenMarks->setEnabled(twoMarks);
    betweenMarks->setToolTip(twoMarks ? QString() : GetStringById(TextTwoMarksNeeded));
    // Marks cleared since they were chosen leave the film the whole move.
    stretch->setCurrentIndex(chosen == static_cast<int>(TStretch::BetweenMarks) && !twoMarks ? 0 : chosen);
    ShowMarks();
    ShowSummary();
}

void TfrmFilm::ShowMarks()
{
    const bool chosen = fromMark->count() > 0;
    const QVariant from = fromMark->currentData();
    const QVariant to = toMark->currentData();
    for (QComboBox* choice : {fromMark, toMark}) {
        const QSignalBlocker quiet(choice);
        choice->clear();
        for (const std::int64_t step : source.marks)
            choice->addItem(StepAndTimeText(step), QVariant::fromValue(step));
    }
    // At first the first mark to the last; later each choice where its mark still is.
    const int fromAt = chosen ? fromMark->findData(from) : -1;
    const int toAt = chosen ? toMark->findData(to) : -1;
    fromMark->setCurrentIndex(std::max(0, fromAt));
    toMark->setCurrentIndex(toAt >= 0 ? toAt : toMark->count() - 1);
}

void TfrmFilm::SetStretch(TStretch chosen)
{
    stretch->setCurrentIndex(static_cast<int>(chosen));
}

void TfrmFilm::SetSettings(const TFilmSettings& settings)
{
    width->setValue(settings.width);
    height->setValue(settings.height);
    format->setCurrentIndex(static_cast<int>(std::find(std::begin(Formats), std::end(Formats), settings.format)
                                             - std::begin(Formats)));
    framesPerSecond->setValue(settings.framesPerSecond);
    every->setValue(static_cast<int>(std::min<std::int64_t>(settings.every, MostEvery)));
    caption->setChecked(settings.caption);
}

TFilmSettings TfrmFilm::GetSettings() const
{
    return {Formats[std::max(0, format->currentIndex())], width->value(), height->value(), framesPerSecond->value(),
            every->value(), caption->isChecked()};
}

std::pair<std::int64_t, std::int64_t> TfrmFilm::Stretch() const
{
    const std::int64_t end = source.endStep.value_or(CourseStepLimit);
    switch (static_cast<TStretch>(stretch->currentIndex())) {
    case TStretch::FromShownStep:
        return {std::min(source.shownStep, end), end};
    case TStretch::BetweenMarks: {
        // Either mark may be chosen first: the film runs from the earlier.
        const std::int64_t a = fromMark->currentData().toLongLong();
        const std::int64_t b = toMark->currentData().toLongLong();
        return {std::min({a, b, end}), std::min(std::max(a, b), end)};
    }
    case TStretch::WholeMove:
        break;
    }
    return {0, end};
}

QString TfrmFilm::GetSummary() const
{
    return summary->text();
}

void TfrmFilm::ShowSummary()
{
    const bool betweenMarks = stretch->currentIndex() == static_cast<int>(TStretch::BetweenMarks);
    fromMark->setEnabled(betweenMarks);
    toMark->setEnabled(betweenMarks);
    const TFilmSettings settings = GetSettings();
    if (!FilmSettingsProblem(settings).empty()) {
        // The spin boxes' ranges leave two problems: odd sides and a fast GIF.
        const bool fastGif = settings.format == TFilmFormat::Gif && settings.framesPerSecond > GifMaximumFramesPerSecond;
        summary->setText(fastGif ? GetStringById(TextFastGif).arg(GifMaximumFramesPerSecond) : GetStringById(TextOddSize));
        save->setEnabled(false);
        return;
    }
    save->setEnabled(!IsRendering());
    if (!source.endStep) {
        summary->setText(GetStringById(TextEndUnknown));
        return;
    }
    const auto [from, to] = Stretch();
    const std::int64_t frames = FilmFrameCount(from, to, settings.every);
    const double megabytes = static_cast<double>(EstimatedFilmBytes(settings, frames)) / 1e6;
    summary->setText(GetStringById(TextSummary)
                         .arg(frames)
                         .arg(Length(static_cast<double>(frames) / settings.framesPerSecond))
                         .arg(QString::number(megabytes, 'f', megabytes < 10 ? 1 : 0)));
}

void TfrmFilm::AskAndStart()
{
    const TFilmSettings settings = GetSettings();
    const int kind = std::max(0, format->currentIndex());
    QString path = QFileDialog::getSaveFileName(this, windowTitle(), QString(), GetStringById(TextFormatFilters + kind));
    if (path.isEmpty())
        return;
    // A name without the format's ending takes it.
    if (FilmFormatOf(path.toStdString()) != settings.format)
        path += QString::fromUtf8(FilmEnding(settings.format).data());
    Start(path);
}

void TfrmFilm::Start(const QString& path)
{
    if (IsRendering())
        return;
    const auto [from, to] = Stretch();
    TFilmStretch chosen{from, to, source.keyframes ? source.keyframes->Nearest(from) : TKeyframe{}};
    const TFilmSettings settings = GetSettings();
    framesDone = std::make_shared<std::atomic<std::int64_t>>(0);
    auto job = work.Run([description = source.description, chosen, settings, file = path.toStdString(),
                         done = framesDone](const std::atomic<bool>& stop) {
        return RenderFilm(description, chosen, settings, file, stop,
                          [&](std::int64_t frames) { done->store(frames, std::memory_order_relaxed); });
    });
    cancel = job.cancel;
    auto* watcher = new QFutureWatcher<TFilmOutcome>(this);
    connect(watcher, &QFutureWatcher<TFilmOutcome>::finished, this, [this, watcher, path] {
        watcher->deleteLater();
        const TFilmOutcome outcome = watcher->result();
        Done(MessageOf(outcome, path), outcome.status == TFilmOutcome::TStatus::Written ? path : QString());
    });
    watcher->setFuture(job.future);

    progress->setRange(0, source.endStep ? static_cast<int>(std::min<std::int64_t>(
                                              FilmFrameCount(from, to, settings.every), INT32_MAX))
                                         : 0);
    progress->setValue(0);
    progress->show();
    save->setEnabled(false);
    close->setText(GetStringById(TextCancel));
    poll->start();
}

void TfrmFilm::Cancel()
{
    if (cancel)
        *cancel = true;
}

void TfrmFilm::ShowProgress()
{
    if (!framesDone)
        return;
    const auto done = static_cast<int>(std::min<std::int64_t>(framesDone->load(std::memory_order_relaxed), INT32_MAX));
    progress->setValue(done);
    progress->setFormat(GetStringById(TextFilmProgress).arg(done).arg(progress->maximum()));
}

void TfrmFilm::Done(const QString& error, const QString& written)
{
    cancel.reset();
    poll->stop();
    progress->hide();
    close->setText(GetStringById(TextClose));
    ShowSummary();
    // Said in the dialog rather than in a box of its own: the window goes on meanwhile.
    if (!error.isEmpty())
        summary->setText(error);
    else if (!written.isEmpty())
        summary->setText(GetStringById(TextWritten).arg(QFileInfo(written).fileName()));
    emit Finished(error);
}
