#include "settings/CommonDialog.h"

#include "controls/OleColorConvert.h"
#include "settings/DialogAnswers.h"

#include <QFileInfo>
#include <QStringList>

bool CommonDialog::ShowColor(QWidget *parent)
{
    const std::optional<QColor> chosen = DialogAnswers::getColor(parent, toQColor(Color));
    if (!chosen)
        return false;
    Color = fromQColor(*chosen);
    return true;
}

void CommonDialog::ShowOpen(QWidget *parent)
{
    const QString folder = FileName.isEmpty() ? QString() : QFileInfo(FileName).absolutePath();
    FileName = DialogAnswers::getOpenFileName(parent, folder, qtFilter(Filter), FileMustExist);
}

QString CommonDialog::qtFilter(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts.at(i + 1);
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << parts.at(i) + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}
