#include "support/FakeForm.h"

#include "modules/Form.h"
#include "modules/modGrabKeys.h"

#include "controls/ClockDisplay.h"
#include "controls/DigitDisplay.h"
#include "controls/DigitSample.h"
#include "controls/Image.h"
#include "controls/Label.h"
#include "controls/PictureBox.h"

#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QVariant>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace modGrabKeys;

namespace {

// A frame twice as wide as high, with its image inside.
class Pictures : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        container.setTwipsGeometry(600, 600, 3000, 1500);
        image = new Image(&container);
        image->setVisible_(false);
    }

    QString picture(const char *name, int width, int height)
    {
        QImage content(width, height, QImage::Format_RGB32);
        content.fill(Qt::darkCyan);
        const QString path = dir.filePath(QString::fromLatin1(name));
        EXPECT_TRUE(content.save(path));
        return path;
    }

    QString file(const char *name, const QByteArray &bytes)
    {
        const QString path = dir.filePath(QString::fromLatin1(name));
        QFile out(path);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
        return path;
    }

    void expectPlaced(double left, double top, double width, double height)
    {
        EXPECT_DOUBLE_EQ(image->Left(), left);
        EXPECT_DOUBLE_EQ(image->Top(), top);
        EXPECT_DOUBLE_EQ(image->Width(), width);
        EXPECT_DOUBLE_EQ(image->Height(), height);
    }

    void expectShownStretched()
    {
        EXPECT_TRUE(image->Visible());
        EXPECT_TRUE(image->Stretch());
    }

    QTemporaryDir dir;
    PictureBox container;
    Image *image = nullptr;
};

// A BMP header announcing a picture of the given size, with no pixels.
QByteArray bmpHeader(qint32 width, qint32 height)
{
    QByteArray bytes(54, '\0');
    auto put32 = [&bytes](int at, qint32 value) { qToLittleEndian(value, bytes.data() + at); };
    auto put16 = [&bytes](int at, qint16 value) { qToLittleEndian(value, bytes.data() + at); };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, 54);
    put32(10, 54);
    put32(14, 40);
    put32(18, width);
    put32(22, height);
    put16(26, 1);
    put16(28, 24);
    return bytes;
}

} // namespace

TEST_F(Pictures, FillsTheFrameKeepingItsShapeAndCentres)
{
    const struct
    {
        const char *what;
        int width;
        int height;
        double left, top, w, h;
    } cases[] = {
        {"wide.png", 400, 100, 0, 375, 3000, 750},
        {"tall.png", 100, 200, 1125, 0, 750, 1500},
        {"same.png", 200, 100, 0, 0, 3000, 1500},
        {"small.bmp", 20, 10, 0, 0, 3000, 1500},
        {"large.jpg", 1600, 800, 0, 0, 3000, 1500},
        {"uneven.jpg", 700, 300, 0, (1500 - 3000.0 * 300 / 700) / 2, 3000, 3000.0 * 300 / 700},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        FitPicture(image, &container, picture(c.what, c.width, c.height));
        EXPECT_EQ(image->Picture().size(), QSize(c.width, c.height));
        expectPlaced(c.left, c.top, c.w, c.h);
        expectShownStretched();
    }
}

TEST_F(Pictures, TallPhotosShrinkToSixteenBitTwipsKeepingTheirShape)
{
    FitPicture(image, &container, picture("edge.png", 10, 2184)); // 32760 twips
    EXPECT_EQ(image->Picture().size(), QSize(10, 2184));
    expectPlaced((3000 - 1500.0 * 150 / 32760) / 2, 0, 1500.0 * 150 / 32760, 1500);

    FitPicture(image, &container, picture("phone.png", 3000, 4000));
    EXPECT_EQ(image->Picture().height(), 2184);
    EXPECT_EQ(image->Picture().width(), 1638);
    expectPlaced((3000 - 1125) / 2.0, 0, 1125, 1500);
}

TEST_F(Pictures, NoPictureOrAnUnusableOneShowsNothing)
{
    const QString files[] = {
        picture("toowide.png", 16385, 1), file("corrupt.bmp", "BM this is not a picture at all"),
        file("empty.jpg", {}), file("huge.bmp", bmpHeader(100000, 100000)),
        file("huge-upside-down.bmp", bmpHeader(100000, -100000)),
        QString(), // no picture chosen
    };
    const QString good = picture("good.png", 200, 100);
    for (const QString &name : files) {
        SCOPED_TRACE(qPrintable(name));
        FitPicture(image, &container, good);
        FitPicture(image, &container, name);
        EXPECT_TRUE(image->Picture().isNull());
        expectShownStretched();
    }
}

TEST_F(Pictures, NameOfNoFileLeavesTheImageAsItWas)
{
    const QString path = picture("gone.png", 100, 200);
    FitPicture(image, &container, path);
    // The frame was rescaled with the window since the picture was fitted.
    image->setTwipsGeometry(40, 50, 600, 1200);
    ASSERT_TRUE(QFile::remove(path));
    const QString missing[] = {path, dir.path(), dir.filePath(QStringLiteral("never.png"))};
    for (const QString &name : missing) {
        SCOPED_TRACE(qPrintable(name));
        FitPicture(image, &container, name);
        EXPECT_EQ(image->Picture().size(), QSize(100, 200));
        expectPlaced(40, 50, 600, 1200);
        expectShownStretched();
    }
}

TEST_F(Pictures, SidewaysPhotoIsTurnedUpright)
{
    const QString path = dir.filePath(QStringLiteral("phone.jpg"));
    QImageWriter writer(path);
    if (!writer.supportsOption(QImageIOHandler::ImageTransformation))
        GTEST_SKIP() << "no JPEG orientation support";
    QImage landscape(200, 100, QImage::Format_RGB32);
    landscape.fill(Qt::gray);
    writer.setTransformation(QImageIOHandler::TransformationRotate90);
    ASSERT_TRUE(writer.write(landscape));

    FitPicture(image, &container, path);
    EXPECT_EQ(image->Picture().size(), QSize(100, 200));
    expectPlaced(1125, 0, 750, 1500);
}

TEST(SetLedType, ReachesEveryLedDisplayAndNothingElse)
{
    FakeForm form;
    auto *clock = form.add<ClockDisplay>("tledPeriod");
    auto *score = form.add<DigitDisplay>("nledWHome");
    auto *sample = form.add<DigitSample>("pledSample");
    auto *label = form.add<Label>("lblTitle");
    SetLedType(form, LedDisplay::Dots);
    EXPECT_EQ(clock->LedType(), LedDisplay::Dots);
    EXPECT_EQ(score->LedType(), LedDisplay::Dots);
    EXPECT_EQ(sample->LedType(), LedDisplay::Dots);
    EXPECT_FALSE(label->property("LedType").isValid());
    SetLedType(form, LedDisplay::Lines);
    EXPECT_EQ(score->LedType(), LedDisplay::Lines);
}

TEST_F(Pictures, AReplacedFileIsReadAgain)
{
    FitPicture(image, &container, picture("swap.png", 100, 200));
    FitPicture(image, &container, picture("swap.png", 300, 100));
    EXPECT_EQ(image->Picture().size(), QSize(300, 100));
}
