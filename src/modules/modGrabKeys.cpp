#include "modules/modGrabKeys.h"

#include "controls/FormControl.h"
#include "controls/Image.h"
#include "modules/ControlKind.h"
#include "modules/Form.h"
#include "modules/Rounding.h"
#include "platform/KeyboardLock.h"

#include <QDateTime>
#include <QFileInfo>
#include <QImageReader>
#include <QVariant>

#include <limits>

namespace modGrabKeys {

namespace {

// A competitor's photo needs nothing near this; a file that claims more is
// broken or hostile, and decoding it would only exhaust memory.
constexpr int MaxPictureSide = 16384;
constexpr int AllocationLimitMB = 256;

bool plausibleSize(const QSize &size)
{
    return size.width() > 0 && size.height() > 0 && size.width() <= MaxPictureSide &&
           size.height() <= MaxPictureSide;
}

// The natural height is read as 16-bit twips, which ends at 2184 pixels.
constexpr int MaxNaturalHeight = std::numeric_limits<qint16>::max() / TwipsPerPixel;

// The picture in the file, or a null image when it is none we can show.
QImage loadPicture(const QString &fileName)
{
    QImageReader reader(fileName);
    reader.setAllocationLimit(AllocationLimitMB);
    // Photos from phones and cameras are stored sideways with a note on how
    // to turn them; a competitor should not appear lying down.
    reader.setAutoTransform(true);
    // The header is enough to turn away absurd sizes before anything is
    // decoded. The height check waits for the picture, which may be turned.
    const QSize announced = reader.size();
    if (announced.isValid() && !plausibleSize(announced))
        return {};
    QImage picture = reader.read();
    if (picture.isNull() || !plausibleSize(picture.size()))
        return {};
    // An ordinary phone photo is taller than that; shrinking it keeps its
    // proportions, which is all the fitting needs, and saves memory besides.
    if (picture.height() > MaxNaturalHeight)
        picture = picture.scaledToHeight(MaxNaturalHeight, Qt::SmoothTransformation);
    return picture;
}

// The board re-fits its pictures on every resize; decoding a photo each
// time would stall the board while the operator drags its window. The last
// few pictures are kept, and read again only when their file changes.
QImage cachedPicture(const QString &fileName)
{
    struct Entry
    {
        QString path;
        QDateTime modified;
        qint64 size;
        QImage picture;
    };
    static QList<Entry> cache;
    constexpr int Kept = 4;

    const QFileInfo info(fileName);
    const QString path = info.absoluteFilePath();
    const QDateTime modified = info.lastModified();
    for (qsizetype i = 0; i < cache.size(); ++i) {
        if (cache[i].path == path && cache[i].modified == modified && cache[i].size == info.size()) {
            cache.move(i, 0);
            return cache.first().picture;
        }
    }
    QImage picture = loadPicture(fileName);
    cache.prepend({path, modified, info.size(), picture});
    if (cache.size() > Kept)
        cache.removeLast();
    return picture;
}

// Scales the image, aspect kept, to fill the container along its tighter
// side and centres it there.
void fitInto(Image *image, const FormControl *container)
{
    const double w = image->Width();
    const double h = Rounding::toInt16(image->Height());
    const double containerWidth = container->Width();
    const double containerHeight = container->Height();
    if (h / containerHeight > w / containerWidth) {
        image->setHeight(containerHeight);
        image->setWidth(image->Height() * w / h);
    } else {
        image->setWidth(containerWidth);
        image->setHeight(image->Width() * h / w);
    }
    image->setLeft((containerWidth - image->Width()) / 2);
    image->setTop((containerHeight - image->Height()) / 2);
}

} // namespace

void FitPicture(Image *image, FormControl *container, const QString &fileName)
{
    if (!image || !container)
        return;

    image->setVisible_(false);
    // Switching Stretch off snaps the image to its picture's natural size;
    // when no new picture comes, the old placement is put back.
    const double left = image->Left();
    const double top = image->Top();
    const double width = image->Width();
    const double height = image->Height();
    image->setStretch(false);

    if (fileName.isEmpty()) {
        image->setPicture(QImage());
    } else if (QFileInfo(fileName).isFile()) {
        const QImage picture = cachedPicture(fileName);
        image->setPicture(picture);
        if (!picture.isNull())
            fitInto(image, container);
    } else {
        image->setTwipsGeometry(left, top, width, height);
    }

    image->setStretch(true);
    image->setVisible_(true);
}

void SetLedType(const Form &window, qint32 style)
{
    for (QObject *control : window.Controls()) {
        const QString kind = controlTypeName(control);
        if (kind == u"ClockDisplay" || kind == u"DigitDisplay" || kind == u"DigitSample")
            control->setProperty("LedType", QVariant::fromValue<qint32>(style));
    }
}

void SetNumLock(bool on)
{
    // The lock service reads the state first and leaves a lock that is
    // already as wanted alone.
    KeyboardLock::setNumLock(on);
}

} // namespace modGrabKeys
