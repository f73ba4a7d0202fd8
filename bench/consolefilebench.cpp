// Import speed of the desks' own files held in memory: an X32 scene of 2,100 lines and a WING
// snapshot of 350 KB, each made here with as many settings lines as a real one carries.
// Run: build/bin/consolefile_bench

#include "import/consolefilereader.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <benchmark/benchmark.h>

using namespace kelvary;

namespace {

QByteArray two(int number)
{
    return QByteArray::number(number).rightJustified(2, '0');
}

// Every strip's config line among the processing, send and preamp lines a desk writes.
QByteArray x32Scene(int lines)
{
    QByteArray scene = "#4.0# \"Big Show\" \"\" %000000000 1\n"
                       "/config/routing/IN AN1-8 A9-16 UIN17-24 B1-8 AUX1-4\n"
                       "/config/userrout/in 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1 2 3 4 5 6 7 8 "
                       "0 0 0 0 0 0 0 0\n";
    int written = 3;
    const auto add = [&](const QByteArray &line) {
        scene += line + '\n';
        ++written;
    };
    const struct {
        const char *path;
        int count;
        bool source;
    } kinds[] = {
        {"/ch/", 32, true}, {"/auxin/", 8, true}, {"/bus/", 16, false}, {"/mtx/", 6, false}};
    for (const auto &kind : kinds) {
        for (int n = 1; n <= kind.count; ++n) {
            const QByteArray path = kind.path + two(n);
            add(path + "/config \"Strip " + QByteArray::number(n) + "\" 1 " +
                (n % 2 ? "RD" : "BLi") + (kind.source ? " " + QByteArray::number(n) : ""));
            add(path + "/preamp +0.0 OFF OFF 24  79");
            add(path + "/eq ON");
            for (int band = 1; band <= 4; ++band)
                add(path + "/eq/" + QByteArray::number(band) + " PEQ 164.4 -3.75 1.8");
            for (int send = 1; send <= 16; ++send)
                add(path + "/mix/" + two(send) + " ON   -oo +0 PRE");
        }
    }
    add("/main/st/config \"MAINS\" 66 WH");
    add("/main/m/config \"\" 67 OFF");
    for (int i = 0; written < lines; ++i)
        add("/headamp/" + QByteArray::number(i).rightJustified(3, '0') + " +0.0 OFF");
    return scene;
}

QJsonObject filler(int keys)
{
    QJsonObject object;
    for (int i = 0; i < keys; ++i)
        object.insert(QStringLiteral("p%1").arg(i), 0.123456789 * i);
    return object;
}

// Strips with their processing and sends, inputs with their settings, until `bytes` are reached.
QByteArray wingSnapshot(qsizetype bytes)
{
    QJsonObject inputs;
    for (const char *group : {"LCL", "A", "B", "USB"}) {
        QJsonObject entries;
        for (int n = 1; n <= 48; ++n)
            entries.insert(QString::number(n), QJsonObject{{"mode", n % 8 == 1 ? "ST" : "M"},
                                                           {"name", "In"},
                                                           {"col", 1},
                                                           {"mute", false},
                                                           {"g", 42.5}});
        inputs.insert(QLatin1StringView(group), entries);
    }
    QJsonObject desk{{"io", QJsonObject{{"in", inputs}}}};
    int padding = 1;
    QByteArray json;
    do {
        const struct {
            const char *key;
            int count;
        } kinds[] = {{"ch", 40}, {"aux", 8}, {"bus", 16}, {"main", 4}, {"mtx", 8}};
        for (const auto &kind : kinds) {
            QJsonObject strips;
            for (int n = 1; n <= kind.count; ++n) {
                strips.insert(
                    QString::number(n),
                    QJsonObject{{"name", QStringLiteral("Strip %1").arg(n)},
                                {"col", n % 12 + 1},
                                {"busmono", false},
                                {"in", QJsonObject{{"conn", QJsonObject{{"grp", "A"}, {"in", n}}}}},
                                {"eq", filler(padding)},
                                {"dyn", filler(padding / 2)}});
            }
            desk.insert(QLatin1StringView(kind.key), strips);
        }
        json = QJsonDocument(QJsonObject{{"type", "snapshot.11"},
                                         {"creator_fw", "3.0.5-0-g0c2b9d4a:release"},
                                         {"ae_data", desk}})
                   .toJson(QJsonDocument::Compact);
        ++padding;
    } while (json.size() < bytes);
    return json;
}

void importFile(benchmark::State &state, const QByteArray &file, const QString &fileName,
                qsizetype tracks)
{
    for (auto _ : state) {
        Result<ParsedSession> session = readConsoleFile(file, fileName);
        if (!session || session->tracks.size() != tracks)
            state.SkipWithError("the file did not read");
        benchmark::DoNotOptimize(session);
    }
    state.counters["file KiB"] = double(file.size()) / 1024;
}

void BM_ImportX32Scene(benchmark::State &state)
{
    importFile(state, x32Scene(int(state.range(0))), QStringLiteral("big.scn"), 64);
}

void BM_ImportWingSnapshot(benchmark::State &state)
{
    importFile(state, wingSnapshot(state.range(0) * 1024), QStringLiteral("big.snap"), 76);
}

} // namespace

BENCHMARK(BM_ImportX32Scene)->Arg(2100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportWingSnapshot)->Arg(350)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
