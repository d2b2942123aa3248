#include "settings/frmChooseKey.h"

#include "controls/TextFit.h"
#include "platform/KeyEvents.h"
#include "platform/VirtualKeys.h"
#include "settings/frmOptions.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>

QString ChooseKeyPurpose;
qint16 ChooseKeyCurrent = 0;
QString ChosenKey = QStringLiteral("0");

namespace {

QRect twips(int left, int top, int width, int height)
{
    return QRect(left / 15, top / 15, width / 15, height / 15);
}

} // namespace

frmChooseKey::frmChooseKey(frmOptions *options)
    : QDialog(options)
    , m_options(options)
{
    setObjectName(QStringLiteral("frmChooseKey"));
    setWindowTitle(QStringLiteral("Choose Key"));
    setModal(true);
    setFixedSize(4680 / 15, 2415 / 15);
    // Nothing inside takes the focus, so every key comes to the window.
    setFocusPolicy(Qt::StrongFocus);

    lblChoose = new QLabel(this);
    lblChoose->setObjectName(QStringLiteral("lblChoose"));
    lblChoose->setGeometry(twips(120, 120, 4335, 855));
    lblChoose->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblChoose->setWordWrap(true);

    lblUsed = new QLabel(
        QStringLiteral("This is not a valid key, please choose another or close this window to return."),
        this);
    lblUsed->setObjectName(QStringLiteral("lblUsed"));
    lblUsed->setGeometry(twips(60, 1080, 4575, 1215));
    lblUsed->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lblUsed->setWordWrap(true);
    lblUsed->setStyleSheet(QStringLiteral("color: #ff0000"));
    TextFit::setLabelFont(lblUsed, QStringLiteral("Arial"), 18);
    lblUsed->hide();

    lblChoose->setText(
        QStringLiteral("Press the key you would like to ") + ChooseKeyPurpose + QLatin1Char('.'));
    // The longest purpose needs three lines at the designed size; the prompt
    // is set smaller rather than lose its last words.
    TextFit::setLabelFont(lblChoose, QStringLiteral("Times New Roman"), 18);
    ChosenKey = QStringLiteral("0");
}

bool frmChooseKey::accepts(qint16 KeyCode) const
{
    if (KeyCode == ChooseKeyCurrent)
        return true;
    if (frmOptions::KeyCodeToStr(KeyCode).isEmpty())
        return false;
    if (m_options && (KeyCode == m_options->BuzzerKeyTemp || KeyCode == m_options->ClearKeyTemp ||
                         KeyCode == m_options->ResetPeriodClockKeyTemp ||
                         KeyCode == m_options->StartStopPeriodClockKeyTemp ||
                         KeyCode == m_options->NextMatchKeyTemp))
        return false;
    return KeyCode != VirtualKeys::F1 && KeyCode != VirtualKeys::F2;
}

void frmChooseKey::Form_KeyDown(qint16 KeyCode)
{
    if (!accepts(KeyCode)) {
        lblUsed->show();
        QApplication::beep();
        return;
    }
    lblUsed->hide();
    ChosenKey = QString::number(KeyCode);
    accept();
}

void frmChooseKey::done(int result)
{
    QDialog::done(result);
    // Without a window manager nothing else hands the keyboard back.
    if (m_options)
        m_options->activateWindow();
}

// Every key, Tab, Escape and Enter included, is a candidate rather than a
// dialog command; the close box is the way out without a key.
bool frmChooseKey::event(QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        // A key the key layer has no code for is refused like any key without a name.
        if (!key->isAutoRepeat())
            Form_KeyDown(VirtualKeys::fromKeyEvent(key));
        return true;
    }
    return QDialog::event(event);
}
