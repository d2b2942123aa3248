#include "modules/modColor.h"

#include "controls/ControlArray.h"
#include "modules/ControlKind.h"
#include "modules/Form.h"
#include "settings/SettingsVariables.h"

#include <QVariant>

namespace modColor {

namespace {

// A write that the control cannot take ends the colouring, leaving what was
// written so far; a control without such a property counts as one.
bool writeColor(QObject *control, const char *property, OleColor color)
{
    return control->setProperty(property, QVariant::fromValue<qint32>(color));
}

} // namespace

void ColorFormControls(const Form &window, const QList<QObject *> &Exceptions)
{
    // By name, so that one member of a control array exempts them all.
    QString exempt;
    for (const QObject *control : Exceptions) {
        if (control)
            exempt += u'|' + control->objectName() + u'|';
    }

    for (QObject *control : window.Controls()) {
        const QString name = control->objectName();
        // An unnamed control cannot be told apart by name, so it is never exempt.
        if (!name.isEmpty() && exempt.contains(u'|' + name + u'|'))
            continue;

        const QString kind = controlTypeName(control);
        bool written = true;
        if (kind == u"Label")
            written = writeColor(control, "ForeColor", Settings::BorderColor);
        else if (kind == u"PictureBox")
            written = writeColor(control, "BackColor", Settings::FormBack);
        else if (kind == u"Shape")
            written = writeColor(control, "BorderColor", Settings::LEDBack);
        else if (kind == u"Line")
            written = writeColor(control, "BorderColor", Settings::BorderColor);
        if (!written)
            return;
    }
}

void SetLedColor(QObject *Display, OleColor Color)
{
    if (!Display)
        return;

    const QVariant count = Display->property("Count");
    if (!count.isValid()) {
        if (writeColor(Display, "BackColor", Settings::LEDBack))
            writeColor(Display, "LitColor", Color);
        return;
    }

    const auto *array = qobject_cast<const ControlArray *>(Display);
    if (!array)
        return;
    for (qint32 index : array->indices()) {
        QObject *member = array->item(index);
        if (!writeColor(member, "BackColor", Settings::LEDBack) || !writeColor(member, "LitColor", Color))
            return;
    }
}

} // namespace modColor
