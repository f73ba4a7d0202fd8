// Cost of the routing matrix at 256 tracks × 128 inputs: one repaint of a 1600 × 1000 window
// over it, one repaint of the whole block of cells, and a paint drag down a 64-cell diagonal
// with the repaints it causes.
// Run: build/bin/routingmatrix_bench

#include "app/sessionviewmodel.h"
#include "routingmatrix/routingmatrixgrid.h"
#include "routingmatrix/routingmatrixpaintview.h"
#include "routingmatrix/trackroutingmatrixview.h"
#include "support/fakeaudiohardware.h"
#include "support/scriptedfilepanels.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace kelvary;
using namespace kelvary::ui;
using namespace Qt::StringLiterals;

namespace {

constexpr int trackCount = 256;
constexpr int inputCount = 128;

// A view model holding 256 input tracks, half of them assigned, on one 128-input device.
struct Session {
    std::shared_ptr<FakeAudioHardware> hardware = std::make_shared<FakeAudioHardware>();
    SessionViewModel vm{AudioInputDeviceEnumerator(hardware),
                        std::make_shared<ScriptedFilePanels>()};
    QTemporaryDir dir;

    Session()
    {
        hardware->devices =
            QList{FakeAudioHardware::device(u"madi"_s, u"RME MADIface XT"_s, {inputCount})};
        QByteArray report = "Session: Bench.ses\nConsole: SD7\nInput Channels\n";
        for (int i = 1; i <= trackCount; ++i)
            report += QByteArray::number(i) + "\tChannel name " + QByteArray::number(i) +
                      "\tMADI " + QByteArray::number(i) + "\n";
        QFile file(dir.filePath(u"bench.txt"_s));
        file.open(QIODevice::WriteOnly);
        file.write(report);
        file.close();
        vm.importSessionReportAt(file.fileName());
        for (int i = 0; i < trackCount; i += 2)
            vm.assignAudioInputChannel(u"madi:%1"_s.arg(i % inputCount), vm.tracks().at(i).id);
    }
};

void sendMouse(QWidget *widget, QEvent::Type type, QPointF point, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, point, widget->mapToGlobal(point),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, {});
    QCoreApplication::sendEvent(widget, &event);
}

void BM_RepaintWindowOverMatrix(benchmark::State &state)
{
    Session session;
    TrackRoutingMatrixView view(&session.vm);
    view.resize(1600, 1000);
    view.show();
    QImage image(view.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        view.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_RepaintWindowOverMatrix)->Unit(benchmark::kMillisecond);

void BM_RepaintWholeCellBlock(benchmark::State &state)
{
    Session session;
    TrackRoutingMatrixView view(&session.vm);
    RoutingMatrixPaintView *cells = view.paintView();
    QImage image(cells->size(), QImage::Format_ARGB32_Premultiplied);
    state.counters["pixels"] = double(cells->width()) * cells->height();
    for (auto _ : state) {
        cells->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_RepaintWholeCellBlock)->Unit(benchmark::kMillisecond);

void BM_Drag64CellDiagonal(benchmark::State &state)
{
    Session session;
    TrackRoutingMatrixView view(&session.vm);
    view.resize(1600, 1000);
    view.show();
    RoutingMatrixPaintView *cells = view.paintView();
    for (auto _ : state) {
        sendMouse(cells, QEvent::MouseButtonPress, cells->cellRect(0, 0).center(), Qt::LeftButton);
        for (int i = 0; i < 64; ++i) {
            sendMouse(cells, QEvent::MouseMove, cells->cellRect(i, i).center(), Qt::LeftButton);
            QCoreApplication::processEvents();
        }
        sendMouse(cells, QEvent::MouseButtonRelease, cells->cellRect(63, 63).center(),
                  Qt::NoButton);
        state.PauseTiming();
        session.vm.undo();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Drag64CellDiagonal)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
