#include "analysis/PictureFile.h"

#include "analysis/PlotApplication.h"
#include "analysis/OutputFile.h"

#include <QBuffer>
#include <QSvgGenerator>

#include <memory>

QImage PaintedImage(QSize size, const TPainting& paint)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    paint(painter);
    return image;
}

bool WritePicture(QSize size, const TPainting& paint, const std::string& path, std::string& error)
{
    const std::unique_ptr<QGuiApplication> app = StartPlotApplication();
    const QString name = QString::fromStdString(path);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    bool drawn = true;
    if (name.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        QPainter painter(&svg);
        drawn = painter.isActive();
        paint(painter);
    } else {
        drawn = PaintedImage(size, paint).save(&buffer, "PNG");
    }
    buffer.close();
    if (!drawn || bytes.isEmpty()) {
        error = "cannot draw the picture for '" + path + "'";
        return false;
    }
    TOutputFile file(path);
    if (!file.Write(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))) || !file.Commit()) {
        error = file.Error();
        return false;
    }
    return true;
}
