#include "view/clsPaintBox.h"

TPaintBox::TPaintBox(QWidget* parent)
    : QWidget(parent)
{
    // The owner covers every pixel, so there is no background to clear first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPaintBox::paintEvent(QPaintEvent*)
{
    emit Paint();
}
