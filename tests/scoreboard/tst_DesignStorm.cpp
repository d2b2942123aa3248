// The design's own rule set decides nothing: a board under it must do,
// event for event, what the board did before rule sets existed. The same
// seeded storms were run on that board and the digest of everything seen
// after every event was kept here; a Design board must reproduce it.

#include "support/BoardFixture.h"
#include "support/RandomOperator.h"

#include <QCryptographicHash>

namespace {

// The match and everything the refresh and the buzzer touch; nothing of the
// layout, which other work may change.
QString observe(const frmScoreboard &b, const FakeMediaBackend &media)
{
    QStringList parts;
    parts << QString::number(b.tledPeriod->Caption()) << QString::number(b.nledHoldHome->Caption())
          << QString::number(b.nledHoldVisitor->Caption());
    appendScoresAndTimers(parts, b);
    appendMatchFields(parts, b);
    for (const Shape *lamp : {b.shpKHome, b.shpCHome, b.shpSHome, b.shpKVisitor, b.shpCVisitor, b.shpSVisitor,
             b.shpWinnerHome, b.shpWinnerVisitor})
        parts << QString::number(lamp->FillColor());
    for (const Label *label : {b.Label25, b.Label3, b.Label5, b.Label6, b.Label9, b.Label11, b.Label12,
             b.Label4, b.Label8, b.Label7, b.Label10, b.Label14, b.Label13})
        parts << label->Caption();
    parts << QString::number(PeriodResetTime.ticks()) << media.calls.join(u',') << b.windowTitle();
    return parts.join(u' ');
}

} // namespace

class DesignStorm : public ::testing::Test
{
};

TEST_F(DesignStorm, ADesignBoardDoesWhatTheBoardDidBeforeRuleSets)
{
    // Digests of 6000 events for seeds 1 to 3, taken on the board before
    // rule sets, with the buzzer file at a fixed name.
    const QList<QByteArray> before = {
        QByteArray("64f42be943e7e5b3688799221187ed7ee56d34ce"),
        QByteArray("7fa8bb05f9d35fc4f8c3abecf5fc5a0c50a3480f"),
        QByteArray("927be4e508997bfd2c18265e6909031a7e3bf19c"),
    };
    constexpr int events = 6000;
    for (quint32 seed : {1u, 2u, 3u}) {
        resetProgramState();
        Settings::BuzzerFile = QStringLiteral("/nonexistent-dir/buzzer.wav");
        FakeClock stormClock;
        FakeMediaBackend *stormMedia = nullptr;
        auto stormBoard = makeTestBoard(stormClock, stormMedia);
        stormBoard->tmrClock1->setEnabled(false);
        // The buzzer file exists, under a name the same in every run.
        Settings::BuzzerFile = QCoreApplication::applicationFilePath();
        showBoard(*stormBoard);
        RandomOperator storm(*stormBoard, stormClock, *stormMedia, seed, RandomOperator::alwaysTick);
        QCryptographicHash digest(QCryptographicHash::Sha1);
        for (int i = 0; i < events; ++i) {
            const char *what = storm.step();
            QString seen = QString::fromLatin1(what) + u' ' + observe(*stormBoard, *stormMedia);
            seen.replace(Settings::BuzzerFile, QStringLiteral("BUZZER"));
            digest.addData(seen.toUtf8());
        }
        EXPECT_EQ(digest.result().toHex().toStdString(), before.at(int(seed) - 1).toStdString())
            << "seed " << seed;
    }
}
