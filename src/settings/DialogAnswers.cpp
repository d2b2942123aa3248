#include "settings/DialogAnswers.h"

#include "settings/frmChooseKey.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QQueue>
#include <QStringList>

namespace {

struct Queues
{
    QQueue<std::optional<QColor>> colors;
    QQueue<QString> files;
    QQueue<bool> answers;
    QQueue<QList<qint16>> keys;
    QStringList warnings;
    QStringList questions;
};

Queues &queues()
{
    static Queues instance;
    return instance;
}

} // namespace

std::optional<QColor> DialogAnswers::getColor(QWidget *parent, const QColor &initial)
{
    if (!queues().colors.isEmpty())
        return queues().colors.dequeue();
    const QColor color = QColorDialog::getColor(initial, parent);
    if (!color.isValid())
        return std::nullopt;
    return color;
}

QString DialogAnswers::getOpenFileName(
    QWidget *parent, const QString &directory, const QString &filter, bool mustExist)
{
    if (!queues().files.isEmpty())
        return queues().files.dequeue();
    QFileDialog dialog(parent, QString(), directory, filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

bool DialogAnswers::askYesNo(QWidget *parent, const QString &title, const QString &text, bool noByDefault)
{
    queues().questions << text;
    if (!queues().answers.isEmpty())
        return queues().answers.dequeue();
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, parent);
    if (noByDefault)
        box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void DialogAnswers::warn(QWidget *parent, const QString &title, const QString &text)
{
    queues().warnings << text;
    // Tests that expect a warning queue a dummy answer for it.
    if (!queues().answers.isEmpty()) {
        queues().answers.dequeue();
        return;
    }
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, parent);
    box.exec();
}

void DialogAnswers::chooseKey(frmChooseKey &chooser)
{
    if (queues().keys.isEmpty()) {
        chooser.exec();
        return;
    }
    for (qint16 key : queues().keys.dequeue()) {
        chooser.Form_KeyDown(key);
        if (chooser.result() == QDialog::Accepted)
            return;
    }
}

void DialogAnswers::setNextColor(std::optional<QColor> color)
{
    queues().colors.enqueue(color);
}

void DialogAnswers::setNextFile(const QString &fileName)
{
    queues().files.enqueue(fileName);
}

void DialogAnswers::setNextAnswer(bool yes)
{
    queues().answers.enqueue(yes);
}

void DialogAnswers::setNextKeys(const QList<qint16> &keys)
{
    queues().keys.enqueue(keys);
}

QStringList DialogAnswers::warnings()
{
    return queues().warnings;
}

QStringList DialogAnswers::questions()
{
    return queues().questions;
}

void DialogAnswers::clear()
{
    queues() = Queues();
}
