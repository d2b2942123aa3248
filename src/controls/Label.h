#pragma once

#include "controls/FormControl.h"

// A caption in Arial, centred on one line from the top like the board's
// letters and names. A caption too wide for its box at its font size is set
// smaller, so that a long name or title shows whole at any window size.
// BackStyle 0 is transparent (what lies behind shows), 1 paints BackColor.
// A label without click or mouse handlers lets clicks through to what lies
// beneath.
class Label : public FormControl
{
    Q_OBJECT
    Q_CLASSINFO("TypeName", "Label")
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(double FontSize READ FontSize WRITE setFontSize)
    Q_PROPERTY(bool FontBold READ FontBold WRITE setFontBold)
    Q_PROPERTY(qint32 ForeColor READ ForeColor WRITE setForeColor)
    Q_PROPERTY(qint32 BackColor READ BackColor WRITE setBackColor)
    Q_PROPERTY(qint32 BackStyle READ BackStyle WRITE setBackStyle)
    Q_PROPERTY(qint32 Index READ Index)

public:
    explicit Label(QWidget *parent = nullptr, qint32 index = -1);

    QString Caption() const { return m_caption; }
    double FontSize() const { return m_fontSize; }
    bool FontBold() const { return m_fontBold; }
    OleColor ForeColor() const { return m_foreColor; }
    OleColor BackColor() const { return m_backColor; }
    qint32 BackStyle() const { return m_backStyle; }
    qint32 Index() const { return m_index; }

    void setCaption(const QString &caption);
    void setFontSize(double points);
    void setFontBold(bool bold);
    void setForeColor(OleColor color);
    void setBackColor(OleColor color);
    void setBackStyle(qint32 style);

    // Clicks reach the label only when it has a handler for them.
    void setClickable(bool clickable);

    // The font the caption is drawn in: FontSize where the caption fits.
    QFont shownFont() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QFont designFont() const;
    // The box the caption must fit: the part of the label its container
    // shows, less a pixel at each side, so that a scaled drawing of the
    // board does not cut it either.
    QRect textRoom() const;
    void refit();

    mutable QFont m_shownFont;
    mutable bool m_fitted = false;
    mutable QSize m_fittedRoom; // the box m_shownFont was fitted to
    QString m_caption;
    double m_fontSize = 8.25;
    bool m_fontBold = false;
    OleColor m_foreColor = 0;
    OleColor m_backColor = rgbColor(192, 192, 192);
    qint32 m_backStyle = 1;
    qint32 m_index;
};
