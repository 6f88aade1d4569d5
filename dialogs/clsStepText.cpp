#include "dialogs/clsStepText.h"

#include "analysis/MoveReport.h"
#include "strings/clsStringTable.h"

#include <QLocale>

namespace {

constexpr std::int32_t TextStepAndTime = 3000;

} // namespace

QString StepAndTimeText(std::int64_t step)
{
    // German whatever the machine's locale, as every text of the window is.
    static const QLocale german(QLocale::German, QLocale::Germany);
    return GetStringById(TextStepAndTime)
        .arg(german.toString(static_cast<qlonglong>(step)), QString::fromStdString(FormatSimulatedTime(step)));
}
