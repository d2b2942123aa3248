#pragma once

#include "controls/LedDisplay.h"

// The contest clock: a time in seconds shown in digit groups, by default one
// digit of minutes and two of seconds ("1,2") with units "60,1", separated
// by a colon, framed by a border line.
// The caption is floored to whole seconds; a negative one shows zeros. A
// time beyond the leftmost group stops at the largest time the digits hold
// (9:59 on "1,2" with "60,1"): a contest clock that wrapped round would
// claim the time was nearly out. The leftmost group takes the whole count of
// its unit, every other group the remainder of the group before it, shown
// on its own digits with leading zeros. A group that has no unit in
// GroupBases stays dark. Text that is not a list of positive whole numbers
// (lengths at most 9 digits, at most 8 groups) is ignored and the last good
// list kept.
class ClockDisplay : public LedDisplay
{
    Q_OBJECT
    Q_CLASSINFO("TypeName", "ClockDisplay")
    Q_PROPERTY(float Caption READ Caption WRITE setCaption)
    Q_PROPERTY(QString GroupBases READ GroupBases WRITE setGroupBases)
    Q_PROPERTY(QString GroupLengths READ GroupLengths WRITE setGroupLengths)
    Q_PROPERTY(qint32 BorderColor READ BorderColor WRITE setBorderColor)
    Q_PROPERTY(double PaddingD READ PaddingD WRITE setPaddingD)

public:
    explicit ClockDisplay(QWidget *parent = nullptr);

    float Caption() const { return m_caption; }
    QString GroupBases() const { return m_groupBases; }
    QString GroupLengths() const { return m_groupLengths; }
    OleColor BorderColor() const { return m_borderColor; }
    double PaddingD() const { return m_paddingD; }

    void setCaption(float seconds);
    void setGroupBases(const QString &bases);
    void setGroupLengths(const QString &lengths);
    void setBorderColor(OleColor color);
    void setPaddingD(double twips);

    // The digits shown for the current caption, group by group ("2", "00").
    QStringList groupTexts() const;

protected:
    double contentWidthTwips() const override;
    void paintEvent(QPaintEvent *event) override;

private:
    QList<Cell> cells() const;

    float m_caption = 0;
    QString m_groupBases = QStringLiteral("60,1");
    QString m_groupLengths = QStringLiteral("1,2");
    OleColor m_borderColor = rgbColor(255, 255, 255);
    qint16 m_paddingD = 0;
    QList<int> m_bases {60, 1};
    QList<int> m_lengths {1, 2};
};
