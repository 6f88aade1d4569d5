#pragma once

#include <QWidget>

// A bare canvas: its owner paints all of it, in answer to Paint, which the box
// raises from inside its own paint event.
class TPaintBox : public QWidget
{
    Q_OBJECT

public:
    explicit TPaintBox(QWidget* parent = nullptr);

signals:
    void Paint();

protected:
    void paintEvent(QPaintEvent* event) override;
};
