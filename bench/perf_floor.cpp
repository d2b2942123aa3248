// The floor that bench/perf.sh measures the board against: a minimal Qt 6
// Widgets program with one 632 x 453 window whose label shows "2:00" and is
// updated once a second by a 50 ms timer that runs only while its clock
// runs. S starts and stops the clock.

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>

namespace {

class FloorWindow : public QLabel
{
public:
    FloorWindow()
    {
        setWindowTitle(QStringLiteral("Floor"));
        setAlignment(Qt::AlignCenter);
        setText(QStringLiteral("2:00"));
        resize(632, 453);
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(50);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            if (++m_ticks % 20 == 0 && m_seconds > 0) {
                --m_seconds;
                setText(
                    QStringLiteral("%1:%2").arg(m_seconds / 60).arg(m_seconds % 60, 2, 10, QLatin1Char('0')));
            }
        });
    }

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->key() != Qt::Key_S)
            return;
        if (m_timer.isActive())
            m_timer.stop();
        else
            m_timer.start();
    }

private:
    QTimer m_timer;
    int m_ticks = 0;
    int m_seconds = 120;
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    FloorWindow window;
    window.show();
    return QApplication::exec();
}
