#include "app/clsMoveExports.h"

#include "analysis/MoveExport.h"
#include "analysis/OutputFile.h"
#include "strings/clsStringTable.h"

#include <QFile>
#include <QRegularExpression>

namespace {

constexpr std::int32_t TextCannotWrite = 2800;

QString Refusal(const QString& path, const std::string& error)
{
    return GetStringById(TextCannotWrite).arg(path, QString::fromLocal8Bit(SystemReasonOf(error)));
}

std::string LocalPath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

} // namespace

QString ExportPicture(const TPicture& picture, const QString& path)
{
    std::string error;
    return WritePicture(picture, LocalPath(path), error) ? QString() : Refusal(path, error);
}

QString ExportText(const std::string& bytes, const QString& path)
{
    std::string error;
    return WriteWholeFile(LocalPath(path), bytes, error) ? QString() : Refusal(path, error);
}

QString ExportTrace(const TScenarioDescription& description, std::int64_t steps, const QString& path,
                    const std::atomic<bool>& cancel)
{
    std::string error;
    return WriteMoveTraceFile(description, steps, LocalPath(path), error, cancel) || cancel ? QString()
                                                                                          : Refusal(path, error);
}

std::optional<QSize> ParsePictureSize(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("^\\s*(\\d{1,5})\\s*[x×X]\\s*(\\d{1,5})\\s*$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const QSize size(match.captured(1).toInt(), match.captured(2).toInt());
    if (size.isEmpty() || size.width() > MaximumPictureSide || size.height() > MaximumPictureSide)
        return std::nullopt;
    return size;
}
