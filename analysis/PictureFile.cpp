#include "analysis/PictureFile.h"

#include "analysis/PlotApplication.h"
#include "analysis/OutputFile.h"

#include <QBuffer>
#include <QSvgGenerator>

#include <memory>

namespace {

// The generator's document, header and all; empty when it could not paint.
QByteArray SvgDocument(QSize size, const TPainting& paint, const QString& title)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    if (!title.isEmpty()) {
        svg.setTitle(title);
        svg.setDescription(title);
    }
    QPainter painter(&svg);
    if (!painter.isActive())
        return {};
    paint(painter);
    painter.end();
    return bytes;
}

// The text of a generator's document between two marks, both left out.
QByteArray Between(const QByteArray& document, const QByteArray& from, const QByteArray& to)
{
    const qsizetype start = document.indexOf(from) + from.size();
    return document.mid(start, document.lastIndexOf(to) - start);
}

QByteArray Number(double value)
{
    return QByteArray::number(value, 'g', 10);
}

// The generator ignores the painter's clip, so each bounded part is drawn by a
// generator of its own and set into the picture's document inside a clip path
// of its area; the parts' definitions (gradients) join the document's.
QByteArray Svg(const TPicture& picture)
{
    QByteArray document = SvgDocument(picture.size, picture.paint, picture.title);
    if (document.isEmpty())
        return {};
    QByteArray defs, parts;
    for (std::size_t k = 0; k < picture.clipped.size(); ++k) {
        const TPicture::TClippedPart& part = picture.clipped[k];
        const QByteArray drawn = SvgDocument(picture.size, part.paint, {});
        if (drawn.isEmpty())
            return {};
        const QByteArray id = "clip" + QByteArray::number(k + 1);
        const QRectF& a = part.area;
        defs += Between(drawn, "<defs>\n", "</defs>") + "<clipPath id=\"" + id + "\"><rect x=\"" + Number(a.x())
            + "\" y=\"" + Number(a.y()) + "\" width=\"" + Number(a.width()) + "\" height=\"" + Number(a.height())
            + "\"/></clipPath>\n";
        parts += "<g clip-path=\"url(#" + id + ")\">\n" + Between(drawn, "</defs>\n", "</svg>") + "</g>\n";
    }
    document.insert(document.lastIndexOf("</svg>"), parts);
    document.insert(document.indexOf("</defs>"), defs);
    return document;
}

} // namespace

QImage PaintedImage(QSize size, const TPainting& paint)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    paint(painter);
    return image;
}

QImage PaintedImage(const TPicture& picture)
{
    return PaintedImage(picture.size, [&picture](QPainter& painter) {
        picture.paint(painter);
        for (const TPicture::TClippedPart& part : picture.clipped) {
            painter.save();
            painter.setClipRect(part.area);
            part.paint(painter);
            painter.restore();
        }
    });
}

bool WritePicture(const TPicture& picture, const std::string& path, std::string& error)
{
    const std::unique_ptr<QGuiApplication> app = StartPlotApplication();
    const QString name = QString::fromStdString(path);
    QByteArray bytes;
    if (name.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        bytes = Svg(picture);
    } else {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!PaintedImage(picture).save(&buffer, "PNG"))
            bytes.clear();
    }
    if (bytes.isEmpty()) {
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

bool WritePicture(QSize size, const TPainting& paint, const std::string& path, std::string& error)
{
    return WritePicture(TPicture{size, paint, {}, {}}, path, error);
}
