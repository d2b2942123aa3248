#include "app/frmHelp.h"

#include "app/RtfTextDocument.h"
#include "modules/HelpLayout.h"
#include "modules/RtfReader.h"
#include "modules/VbTypes.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QResizeEvent>
#include <QScreen>
#include <QTextBrowser>

#include <algorithm>

namespace {

QPointer<frmHelp> s_open;
QString s_pathOverride;

// Anything larger than this is not a manual; reading stops there.
constexpr qint64 MaxHelpFileBytes = 16 * 1024 * 1024;

} // namespace

const QString frmHelp::MissingFileText =
    QStringLiteral("Help file has been moved from its normal location.  Please reinstall the program.");

frmHelp::frmHelp(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Zembrak Help"));
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    rtbHelp = new QTextBrowser(this);
    rtbHelp->setObjectName(QStringLiteral("rtbHelp"));
    rtbHelp->setReadOnly(true);
    rtbHelp->setOpenLinks(false);
    rtbHelp->setLineWrapMode(QTextEdit::FixedPixelWidth);
    rtbHelp->move(120 / TwipsPerPixel, 0);

    resize(DesignClientWidth, DesignClientHeight);
    Form_Load();
}

QString frmHelp::HelpFilePath()
{
    if (!s_pathOverride.isEmpty())
        return s_pathOverride;
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("zembrakhelpfile.rtf"));
}

void frmHelp::setHelpFilePath(const QString &path)
{
    s_pathOverride = path;
}

void frmHelp::Form_Load()
{
    // Only a regular file is a manual: opening a FIFO waits for a writer
    // that never comes, and a device may never end.
    QFile file(HelpFilePath());
    if (QFileInfo(file).isFile() && file.open(QIODevice::ReadOnly)) {
        const QByteArray rtf = file.read(MaxHelpFileBytes);
        fillTextDocument(rtbHelp->document(), HelpLayout::fitted(RtfReader::parse(rtf, HelpLayout::MaxReadSize)));
        rtbHelp->moveCursor(QTextCursor::Start);
    } else {
        // A file that cannot be read is as good as gone.
        rtbHelp->setPlainText(MissingFileText);
    }
}

frmHelp *frmHelp::openWindow()
{
    return s_open && s_open->isVisible() ? s_open.data() : nullptr;
}

frmHelp *frmHelp::ShowHelp(QWidget *Owner)
{
    if (frmHelp *help = openWindow()) {
        help->setWindowState(help->windowState() & ~Qt::WindowMinimized);
        help->raise();
        help->activateWindow();
        return help;
    }
    // A window closed earlier is on its way out; the manual is read afresh.
    auto *help = new frmHelp;
    help->setAttribute(Qt::WA_DeleteOnClose);
    // The manual has no say in when the program ends: closing it over the
    // start screen, which does not count as a reason to run, must not
    // quit, and the board ends the run itself when it closes.
    help->setAttribute(Qt::WA_QuitOnClose, false);
    help->m_owner = Owner;
    // The board ends the run by hiding the other windows; the manual goes
    // with the run rather than outliving the event loop.
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, QCoreApplication::instance(),
        [window = QPointer<frmHelp>(help)] { delete window.data(); });
    if (Owner) {
        QRect area(QPoint(), help->size());
        area.moveCenter(Owner->frameGeometry().center());
        if (const QScreen *screen = Owner->screen()) {
            const QRect available = screen->availableGeometry();
            area.moveLeft(std::clamp(
                area.left(), available.left(), std::max(available.left(), available.right() - area.width())));
            area.moveTop(std::clamp(
                area.top(), available.top(), std::max(available.top(), available.bottom() - area.height())));
        }
        help->move(area.topLeft());
    }
    s_open = help;
    help->show();
    return help;
}

void frmHelp::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmHelp::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        Form_Resize();
}

void frmHelp::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    // A window manager would activate the window beneath; in a bare X
    // session nothing does, and the operator's keys would go nowhere.
    if (event->isAccepted() && m_owner && m_owner->isVisible())
        m_owner->window()->activateWindow();
}

void frmHelp::Form_Resize()
{
    if (isMinimized())
        return;
    // Sizes are taken from the outer frame, title bar included.
    const QRect outer = frameGeometry();
    const int frameWidth = outer.width() - width();
    const int frameHeight = outer.height() - height();
    // Whole pixels that hold at least the smallest size in twips.
    const int outerWidth = std::max(outer.width(), (MinOuterWidthTwips + TwipsPerPixel - 1) / TwipsPerPixel);
    const int outerHeight =
        std::max(outer.height(), (MinOuterHeightTwips + TwipsPerPixel - 1) / TwipsPerPixel);
    if (outerWidth != outer.width() || outerHeight != outer.height())
        resize(outerWidth - frameWidth, outerHeight - frameHeight);
    const int viewWidth = outerWidth - 240 / TwipsPerPixel;
    const int viewHeight = outerHeight - 420 / TwipsPerPixel;
    rtbHelp->resize(viewWidth, viewHeight);
    rtbHelp->setLineWrapColumnOrWidth(std::max(1, viewWidth - 450 / TwipsPerPixel));
    rtbHelp->update();
}
