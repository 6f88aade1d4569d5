#include "dialogs/clsPlacement.h"

#include <QEvent>
#include <QScreen>
#include <QSettings>
#include <QWidget>

#include <algorithm>

namespace {

// The room left between the window and a dialog beside it.
constexpr int Gap = 8;

int Clamp(int at, int length, int low, int high)
{
    // A dialog longer than the screen keeps its top left corner on it.
    return std::max(low, std::min(at, high - length));
}

// Places the dialog at its first show and remembers it from then on.
class TPlacementKeeper : public QObject
{
public:
    TPlacementKeeper(QWidget& theDialog, const QWidget& theWindow, QString theKey)
        : QObject(&theDialog), dialog(theDialog), window(theWindow), key(std::move(theKey))
    {
        dialog.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != &dialog)
            return false;
        if (event->type() == QEvent::Show && !placed) {
            placed = true;
            Place();
        } else if (placed && dialog.isVisible()
                   && (event->type() == QEvent::Move || event->type() == QEvent::Resize)) {
            QSettings().setValue(key, dialog.saveGeometry());
        }
        return false;
    }

private:
    void Place()
    {
        if (dialog.restoreGeometry(QSettings().value(key).toByteArray()))
            return;
        const QRect screen = window.screen()->availableGeometry();
        dialog.move(PlaceBeside(window.frameGeometry(), dialog.frameGeometry().size(), screen).topLeft());
    }

    QWidget& dialog;
    const QWidget& window;
    const QString key;
    bool placed = false;
};

} // namespace

QRect PlaceBeside(const QRect& window, const QSize& dialog, const QRect& screen)
{
    const int screenEnd = screen.left() + screen.width();
    const int top = Clamp(window.top(), dialog.height(), screen.top(), screen.top() + screen.height());
    if (const int right = window.left() + window.width() + Gap; right + dialog.width() <= screenEnd)
        return {QPoint(right, top), dialog};
    if (const int left = window.left() - Gap - dialog.width(); left >= screen.left())
        return {QPoint(left, top), dialog};
    const QPoint centred = window.center() - QPoint(dialog.width() / 2, dialog.height() / 2);
    return {QPoint(Clamp(centred.x(), dialog.width(), screen.left(), screenEnd),
                   Clamp(centred.y(), dialog.height(), screen.top(), screen.top() + screen.height())),
            dialog};
}

void KeepPlaced(QWidget& dialog, const QWidget& window, const QString& key)
{
    new TPlacementKeeper(dialog, window, QStringLiteral("placement/") + key);
}
