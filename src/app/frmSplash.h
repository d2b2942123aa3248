#pragma once

#include <QWidget>

#include <functional>
#include <memory>

class QFrame;
class QLabel;
class QPushButton;
class frmScoreboard;

// The first window of a run: it loads the settings, shows the program's
// name, version and logo, offers help and options, and hands over to the
// board at a click anywhere but its two buttons.
class frmSplash : public QWidget
{
    Q_OBJECT

public:
    explicit frmSplash(QWidget *parent = nullptr);
    ~frmSplash() override;

    // Unloads the start screen and shows the board, without waiting for it.
    void GoScore();

    // Run on the board GoScore builds, before it is shown: how the command
    // line's screen, audience and feed options reach it.
    void setBoardSetup(std::function<void(frmScoreboard &)> setup) { m_boardSetup = std::move(setup); }

    // Where the window stands on a screen once loaded, in pixels: 3240 twips
    // high, its left centred, its top at (screen height - 5880) / 2 twips, a
    // fixed rule that sets it 1320 twips above the centre.
    static QRect LoadGeometry(const QRect &screen);

    // Runs the options dialog modally over parent; what it saves is in the
    // settings variables when the board loads.
    static void showOptionsDialog(QWidget *parent);

    // The board GoScore opened, if any; it lives as long as the start screen.
    frmScoreboard *board() const { return m_board.get(); }

    // Design client area (6240 x 3210 twips) and the loaded height (3240).
    static constexpr int DesignClientWidth = 416;
    static constexpr int DesignClientHeight = 214;
    static constexpr int LoadedHeight = 216;

    QFrame *frameSplash;
    QLabel *lblName;
    QLabel *picLogo;
    QLabel *lblMadeBy;
    QLabel *lblClick;
    QLabel *lblVersion;
    QLabel *Label1;
    QLabel *Label2;
    QPushButton *cmdHelp;
    QPushButton *cmdOptions;
    // Says so when the buzzer file cannot be played.
    QLabel *lblBuzzerWarning;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createControls();
    void Form_Load();
    void UpdateBuzzerWarning();

    std::unique_ptr<frmScoreboard> m_board;
    std::function<void(frmScoreboard &)> m_boardSetup;
    Qt::MouseButton m_pressed = Qt::NoButton; // the button a click began with
};
