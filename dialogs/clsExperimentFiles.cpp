#include "dialogs/clsExperimentFiles.h"

#include <QDir>
#include <QFileInfo>

TExperimentFiles ExperimentFilesOf(const QString& chosen)
{
    const QFileInfo file(chosen);
    const QString stem = file.dir().filePath(file.completeBaseName());
    if (file.suffix().compare(QStringLiteral("csv"), Qt::CaseInsensitive) == 0)
        return {stem + QStringLiteral(".json"), chosen};
    return {chosen, stem + QStringLiteral(".csv")};
}
