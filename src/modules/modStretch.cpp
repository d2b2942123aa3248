#include "modules/modStretch.h"

#include "modules/ControlKind.h"
#include "modules/Form.h"
#include "modules/Rounding.h"

#include <QVariant>

#include <algorithm>
#include <array>

namespace modStretch {

QList<ControlLayout> LayoutRecord;
qint32 DesignFormWidth = 0;
qint32 DesignFormHeight = 0;

namespace {

using Member = qint32 ControlLayout::*;

enum class Axis { Horizontal, Vertical };
// Positions scale in single precision with no minimum; extents and metrics
// in double precision and never below 1.
enum class Kind { Position, Extent };

struct Field
{
    const char *name;
    Member member;
    Axis axis;
    Kind kind;
};

namespace field {
constexpr Field Left {"Left", &ControlLayout::Left, Axis::Horizontal, Kind::Position};
constexpr Field Top {"Top", &ControlLayout::Top, Axis::Vertical, Kind::Position};
constexpr Field Width {"Width", &ControlLayout::Width, Axis::Horizontal, Kind::Extent};
constexpr Field Height {"Height", &ControlLayout::Height, Axis::Vertical, Kind::Extent};
constexpr Field FontSize {"FontSize", &ControlLayout::FontSize, Axis::Vertical, Kind::Extent};
constexpr Field BorderWidth {"BorderWidth", &ControlLayout::BorderWidth, Axis::Vertical, Kind::Extent};
constexpr Field Size {"Size", &ControlLayout::Size, Axis::Vertical, Kind::Extent};
constexpr Field PaddingH {"PaddingH", &ControlLayout::PaddingH, Axis::Vertical, Kind::Extent};
constexpr Field PaddingV {"PaddingV", &ControlLayout::PaddingV, Axis::Vertical, Kind::Extent};
constexpr Field PaddingI {"PaddingI", &ControlLayout::PaddingI, Axis::Vertical, Kind::Extent};
constexpr Field PaddingD {"PaddingD", &ControlLayout::PaddingD, Axis::Vertical, Kind::Extent};
constexpr Field X1 {"X1", &ControlLayout::X1, Axis::Horizontal, Kind::Position};
constexpr Field X2 {"X2", &ControlLayout::X2, Axis::Horizontal, Kind::Position};
constexpr Field Y1 {"Y1", &ControlLayout::Y1, Axis::Vertical, Kind::Position};
constexpr Field Y2 {"Y2", &ControlLayout::Y2, Axis::Vertical, Kind::Position};
} // namespace field

// The order in which the properties are written back.
constexpr std::array<const Field *, 15> WriteOrder {
    &field::Left,
    &field::Top,
    &field::Width,
    &field::Height,
    &field::FontSize,
    &field::BorderWidth,
    &field::Size,
    &field::PaddingH,
    &field::PaddingV,
    &field::PaddingI,
    &field::PaddingD,
    &field::X1,
    &field::X2,
    &field::Y1,
    &field::Y2,
};

struct KindRow
{
    const char *typeName;
    bool positioned; // lines place themselves by their end points
    std::array<const Field *, 5> recorded; // unused places are null
};

// What is recorded for each kind of control; the first matching row decides.
// LED displays record no extent: it follows from their digit metrics.
constexpr std::array<KindRow, 8> KindRows {{
    {"DigitSample", true, {&field::Size}},
    {"DigitDisplay", true, {&field::Size, &field::PaddingH, &field::PaddingV, &field::PaddingI}},
    {"ClockDisplay", true,
        {&field::Size, &field::PaddingH, &field::PaddingV, &field::PaddingI, &field::PaddingD}},
    {"PictureBox", true, {&field::Height, &field::Width}},
    {"Image", true, {&field::Height, &field::Width}},
    {"Label", true, {&field::Height, &field::Width, &field::FontSize}},
    {"Shape", true, {&field::Height, &field::Width, &field::BorderWidth}},
    {"Line", false, {&field::X1, &field::X2, &field::Y1, &field::Y2, &field::BorderWidth}},
}};

const KindRow *rowFor(const QString &typeName)
{
    for (const KindRow &row : KindRows) {
        if (typeName == QLatin1StringView(row.typeName))
            return &row;
    }
    return nullptr;
}

void record(ControlLayout &entry, const QObject *control, const Field &field)
{
    entry.*field.member = Rounding::toInt32(control->property(field.name).toDouble());
}

// Lets the window repaint once at the end, also when a control's write fails
// half-way: the board must never stay frozen.
class LayoutUpdate
{
public:
    explicit LayoutUpdate(Form &window)
        : m_window(window)
    {
        m_window.BeginLayoutUpdate();
    }
    ~LayoutUpdate() { m_window.EndLayoutUpdate(); }
    Q_DISABLE_COPY_MOVE(LayoutUpdate)

private:
    Form &m_window;
};

} // namespace

void RecordLayout(Form &window)
{
    const QList<QObject *> controls = window.Controls();
    LayoutRecord = QList<ControlLayout>(controls.size() + 1);
    DesignFormHeight = Rounding::toInt32(window.OuterHeight());
    DesignFormWidth = Rounding::toInt32(window.OuterWidth());

    qsizetype n = 0;
    for (QObject *control : controls) {
        const KindRow *row = rowFor(controlTypeName(control));
        if (!row)
            continue;
        ControlLayout &entry = LayoutRecord[n];
        for (const Field *field : row->recorded) {
            if (field)
                record(entry, control, *field);
        }
        entry.Ctl = control;
        if (row->positioned) {
            record(entry, control, field::Left);
            record(entry, control, field::Top);
        }
        ++n;
    }
}

void StretchLayout(Form &window)
{
    if (window.IsMinimized())
        return;
    if (DesignFormWidth == 0 || DesignFormHeight == 0)
        return;

    const double width = window.OuterWidth();
    const double height = window.OuterHeight();
    const double ratioX = width / DesignFormWidth;
    const double ratioY = height / DesignFormHeight;
    const float ratioXSingle = float(ratioX);
    const float ratioYSingle = float(ratioY);

    LayoutUpdate update(window);
    for (qsizetype i = 0; i + 1 < LayoutRecord.size(); ++i) {
        // A copy: a control's write may lead the window to record afresh.
        const ControlLayout entry = LayoutRecord.at(i);
        QObject *control = entry.Ctl.data();
        if (!control)
            continue;
        for (const Field *field : WriteOrder) {
            const qint32 recorded = entry.*field->member;
            if (recorded == 0)
                continue;
            const bool horizontal = field->axis == Axis::Horizontal;
            double value = 0;
            if (field->kind == Kind::Position)
                value = double((horizontal ? ratioXSingle : ratioYSingle) * float(recorded));
            else
                value = AtLeastOne((horizontal ? ratioX : ratioY) * recorded);
            control->setProperty(field->name, value);
        }
    }
}

double AtLeastOne(double x)
{
    return x >= 1.0 ? x : 1.0;
}

QMargins PlausibleFrame(const QMargins &reported)
{
    const auto side = [](int pixels) { return std::clamp(pixels, 0, LargestFrame); };
    return {side(reported.left()), side(reported.top()), side(reported.right()), side(reported.bottom())};
}

} // namespace modStretch
