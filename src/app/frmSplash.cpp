#include "app/frmSplash.h"

#include "app/frmHelp.h"
#include "controls/TextFit.h"
#include "modules/Rounding.h"
#include "modules/VbTypes.h"
#include "platform/SoundCheck.h"
#include "scoreboard/frmScoreboard.h"
#include "settings/SettingsStore.h"
#include "settings/SettingsVariables.h"
#include "settings/frmOptions.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QVersionNumber>

namespace {

QRect twipsRect(int left, int top, int width, int height)
{
    return {left / TwipsPerPixel, top / TwipsPerPixel, width / TwipsPerPixel, height / TwipsPerPixel};
}

// The design's dialog font (8.25 pt) or the given serif size; a text that
// would not fit its label at that size is set smaller rather than cut.
using TextFit::setLabelFont;

} // namespace

frmSplash::frmSplash(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(QStringLiteral("Zembrak"));
    // Handing over to the board closes this window; that is no reason to quit.
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(DesignClientWidth, DesignClientHeight);
    createControls();
    Form_Load();
}

frmSplash::~frmSplash() = default;

void frmSplash::createControls()
{
    frameSplash = new QFrame(this);
    frameSplash->setObjectName(QStringLiteral("frameSplash"));
    frameSplash->setFrameStyle(QFrame::Box | QFrame::Sunken);
    frameSplash->setGeometry(twipsRect(120, 0, 6000, 3120));

    const auto label = [this](const char *name, const QRect &geometry, const QString &text,
                           Qt::Alignment align) {
        auto *control = new QLabel(text, frameSplash);
        control->setObjectName(QLatin1String(name));
        control->setGeometry(geometry);
        control->setAlignment(align | Qt::AlignTop);
        control->setWordWrap(true);
        return control;
    };
    lblName = label("lblName", twipsRect(120, 240, 5775, 735), QStringLiteral("Zembrak"), Qt::AlignHCenter);
    setLabelFont(lblName, QStringLiteral("Times New Roman"), 21.75);

    picLogo = new QLabel(frameSplash);
    picLogo->setObjectName(QStringLiteral("picLogo"));
    picLogo->setPixmap(QPixmap(QStringLiteral(":/zembrak/logo.png")));
    picLogo->move(twipsRect(240, 900, 0, 0).topLeft());
    picLogo->resize(picLogo->pixmap().isNull() ? QSize(138, 140) : picLogo->pixmap().size());
    picLogo->setFocusPolicy(Qt::TabFocus);

    lblMadeBy = label(
        "lblMadeBy", twipsRect(4200, 840, 1575, 255), QStringLiteral("by the Zembrak team"), Qt::AlignRight);
    setLabelFont(lblMadeBy, {}, 8.25);
    lblClick = label(
        "lblClick", twipsRect(2520, 1080, 1335, 255), QStringLiteral("Click to continue."), Qt::AlignLeft);
    setLabelFont(lblClick, {}, 8.25);
    lblVersion = label("lblVersion", twipsRect(3600, 1080, 2175, 375), QString(), Qt::AlignRight);
    Label1 = label("Label1", twipsRect(2640, 1680, 3255, 255),
        QStringLiteral("Press ' F1 ' to view Help from the scoreboard."), Qt::AlignLeft);
    setLabelFont(Label1, {}, 8.25);
    Label2 = label("Label2", twipsRect(2640, 1920, 3255, 375),
        QStringLiteral("Press ' F2 ' to set Options from the scoreboard."), Qt::AlignLeft);
    setLabelFont(Label2, {}, 8.25);

    const auto button = [this](const char *name, const QRect &geometry, const QString &text) {
        auto *control = new QPushButton(text, frameSplash);
        control->setObjectName(QLatin1String(name));
        control->setGeometry(geometry);
        control->setAutoDefault(false);
        control->setDefault(false);
        return control;
    };
    cmdHelp = button("cmdHelp", twipsRect(3120, 2520, 1215, 375), QStringLiteral("&Help"));
    cmdOptions = button("cmdOptions", twipsRect(4560, 2520, 1215, 375), QStringLiteral("&Options"));

    // Beside the logo, under the buttons: the one strip the design leaves free.
    lblBuzzerWarning = label("lblBuzzerWarning", twipsRect(2400, 2910, 3375, 195), QString(), Qt::AlignLeft);
    setLabelFont(lblBuzzerWarning, {}, 7);
    lblBuzzerWarning->setStyleSheet(QStringLiteral("color: #c00000"));

    setTabOrder(cmdHelp, cmdOptions);
    setTabOrder(cmdOptions, picLogo);
    cmdHelp->setFocus();

    connect(cmdHelp, &QPushButton::clicked, this, [this] { frmHelp::ShowHelp(this); });
    connect(cmdOptions, &QPushButton::clicked, this, [this] {
        showOptionsDialog(this);
        UpdateBuzzerWarning();
    });
}

QRect frmSplash::LoadGeometry(const QRect &screen)
{
    const double screenWidth = double(screen.width()) * TwipsPerPixel;
    const double screenHeight = double(screen.height()) * TwipsPerPixel;
    const double width = double(DesignClientWidth) * TwipsPerPixel;
    const double top = (screenHeight - 5880) / 2;
    const double left = (screenWidth - width) / 2;
    return {screen.x() + int(Rounding::halfEven(left / TwipsPerPixel)),
        screen.y() + int(Rounding::halfEven(top / TwipsPerPixel)), DesignClientWidth, LoadedHeight};
}

void frmSplash::Form_Load()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    setGeometry(LoadGeometry(screen ? screen->geometry() : QRect(0, 0, 1024, 768)));
    frameSplash->resize(frameSplash->width(), 3120 / TwipsPerPixel);

    const QVersionNumber version = QVersionNumber::fromString(QStringLiteral(ZEMBRAK_VERSION));
    lblVersion->setText(QStringLiteral("Version %1.%2.%3")
                            .arg(version.majorVersion())
                            .arg(version.minorVersion())
                            .arg(version.microVersion()));
    setLabelFont(lblVersion, QStringLiteral("Times New Roman"), 15.75);

    LoadSettings();
    UpdateBuzzerWarning();
}

void frmSplash::UpdateBuzzerWarning()
{
    // The strip holds a short line; the reason is on the tooltip, in the
    // options beside the buzzer file, and on stderr.
    const QString warning = SoundCheck::warningText(SoundCheck::reportProblem(Settings::BuzzerFile));
    lblBuzzerWarning->setText(
        warning.isEmpty() ? QString() : QStringLiteral("The buzzer will be silent (see Options)."));
    lblBuzzerWarning->setToolTip(warning);
}

void frmSplash::GoScore()
{
    // The board is built (and loads) before this window goes, so that it
    // reads the settings loaded here and any the options dialog saved.
    m_board = std::make_unique<frmScoreboard>();
    if (m_boardSetup)
        m_boardSetup(*m_board);
    hide();
    m_board->show();
    // Without a window manager (a kiosk's bare X) a new window is not given
    // the keyboard; the operator's first key must reach the board, also when
    // it opens with no start screen clicked before it.
    m_board->raise();
    m_board->activateWindow();
}

void frmSplash::showOptionsDialog(QWidget *parent)
{
    frmOptions dialog(parent);
    dialog.exec();
}

// A click is a press and a release of one button on the window, its frame,
// the logo or a label: all of these pass the mouse on to the window. The
// buttons keep it. A right click counts too, as it does on the board.
void frmSplash::mousePressEvent(QMouseEvent *event)
{
    const Qt::MouseButton button = event->button();
    m_pressed = button == Qt::LeftButton || button == Qt::RightButton ? button : Qt::NoButton;
    event->accept();
}

void frmSplash::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_pressed != Qt::NoButton && event->button() == m_pressed &&
                       rect().contains(event->position().toPoint());
    m_pressed = Qt::NoButton;
    event->accept();
    if (click)
        GoScore();
}

void frmSplash::closeEvent(QCloseEvent *event)
{
    event->accept();
    // Closed from outside before the board opened: the run ends here.
    if (!m_board)
        QApplication::quit();
}
