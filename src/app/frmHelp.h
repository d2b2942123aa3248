#pragma once

#include <QPointer>
#include <QWidget>

class QTextBrowser;

// The operator's manual in a sizable window beside the board or the start
// screen. It never blocks its caller: the board keeps its clock and keys
// while the manual is open.
class frmHelp : public QWidget
{
    Q_OBJECT

public:
    explicit frmHelp(QWidget *parent = nullptr);

    // Shows the manual without waiting, centred on Owner: an open window
    // comes forward, a closed one is loaded afresh from the file.
    static frmHelp *ShowHelp(QWidget *Owner);
    // The window ShowHelp last opened, while it is open.
    static frmHelp *openWindow();

    // "zembrakhelpfile.rtf" in the program's own folder, unless tests chose
    // another path.
    static QString HelpFilePath();
    static void setHelpFilePath(const QString &path);

    static const QString MissingFileText;

    QTextBrowser *rtbHelp;

    // Design client area (11055 x 9270 twips) and the smallest outer size.
    static constexpr int DesignClientWidth = 737;
    static constexpr int DesignClientHeight = 618;
    static constexpr int MinOuterWidthTwips = 2700;
    static constexpr int MinOuterHeightTwips = 1700;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Load();
    void Form_Resize();

    // The window the manual was opened over, which takes the keyboard back.
    QPointer<QWidget> m_owner;
};
