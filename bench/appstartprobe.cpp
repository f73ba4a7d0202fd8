// The desktop app started exactly as src/ui/main.cpp starts it, with a stopwatch: prints the
// monotonic clock when the main window has finished its first paint, then quits. With
// "--idle-ms N" it first stays idle for N ms and prints its resident memory. Run by appstart_bench.

#include "app/sessionviewmodel.h"
#include "mainwindow/contentview.h"
#include "shell/kelvaryapp.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <cstdio>
#include <ctime>

namespace {

long long monotonicNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000000000LL + now.tv_nsec;
}

QByteArray residentMemoryLine()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return {};
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.simplified();
    }
    return {};
}

// Waits for the first paint of any widget of the main window; the paint event is delivered
// before the window reaches the screen, so the time is taken once the event loop comes back.
class FirstPaintWatcher : public QObject {
public:
    FirstPaintWatcher(QWidget *window, int idleMilliseconds)
        : m_window(window)
        , m_idleMilliseconds(idleMilliseconds)
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!m_painted && event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget *>(watched)->window() == m_window) {
            m_painted = true;
            QTimer::singleShot(0, this, [this] { painted(); });
        }
        return false;
    }

private:
    void painted()
    {
        std::printf("painted %lld\n", monotonicNanoseconds());
        if (m_idleMilliseconds <= 0) {
            QCoreApplication::quit();
            return;
        }
        QTimer::singleShot(m_idleMilliseconds, this, [] {
            std::printf("%s\n", residentMemoryLine().constData());
            QCoreApplication::quit();
        });
    }

    QWidget *m_window;
    int m_idleMilliseconds;
    bool m_painted = false;
};

} // namespace

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    kelvary::ui::KelvaryApp kelvary;

    QStringList arguments = QCoreApplication::arguments().mid(1);
    int idleMilliseconds = 0;
    if (arguments.size() >= 2 && arguments.front() == u"--idle-ms") {
        idleMilliseconds = arguments[1].toInt();
        arguments = arguments.mid(2);
    }

    kelvary::ui::ContentView *window = kelvary.mainWindow();
    FirstPaintWatcher watcher(window, idleMilliseconds);
    application.installEventFilter(&watcher);
    window->show();
    if (!arguments.isEmpty())
        window->viewModel()->openFile(QFileInfo(arguments.constFirst()).absoluteFilePath());
    const int status = application.exec();
    std::fflush(stdout);
    return status;
}
