#include "import/consolefilereader.h"
#include "model/recorderpatch.h"

#include <gtest/gtest.h>

using namespace kelvary;
using namespace Qt::StringLiterals;

namespace {

// "usb: 1=2s/L 2=2s/R 3=1+4": the channels that carry something, each with its tracks.
QStringList patchText(const ConsoleRecorderPatch &patch)
{
    QStringList recorders;
    for (const ConsoleRecorder &recorder : patch) {
        QString text = recorder.id + u':';
        for (qsizetype k = 0; k < recorder.channels.size(); ++k) {
            QStringList refs;
            for (const RecorderTrackRef &ref : recorder.channels[k])
                refs.append(ref.label + (ref.side ? u'/' + stereoSideText(*ref.side) : QString()));
            if (!refs.isEmpty())
                text += u" %1=%2"_s.arg(k + 1).arg(refs.join(u'+'));
        }
        recorders.append(text);
    }
    return recorders;
}

struct PatchCase {
    const char *name;
    QByteArray file;
    QStringList expected;
};

void PrintTo(const PatchCase &c, std::ostream *os)
{
    *os << c.name;
}

class RecorderPatch : public testing::TestWithParam<PatchCase> {};

// Channels 1…4 on Local 1…3 (two on Local 1), 20 on user-in slot 20 (talkback) and aux 1 on
// AES50-B 2, behind `routing`.
QByteArray scene(const char *routing)
{
    return QByteArray("#4.0# \"Patch\" \"\" %000000000 1\n"
                      "/config/routing/IN AN1-8 AN9-16 UIN17-24 B1-8\n"
                      "/config/userrout/in 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 167\n"
                      "/ch/01/config \"Kick\" 1 RD 1\n/ch/02/config \"Snare\" 1 RD 2\n"
                      "/ch/03/config \"Hat\" 1 RD 3\n/ch/04/config \"Kick Sub\" 1 RD 1\n"
                      "/ch/20/config \"Talk\" 1 RD 20\n/auxin/01/config \"Pad\" 1 RD 26\n") +
           routing;
}

} // namespace

TEST_P(RecorderPatch, FollowsEveryRouteToTheRecorder)
{
    const PatchCase &c = GetParam();
    const Result<ParsedSession> session = readConsoleFile(c.file, u"patch"_s);
    ASSERT_TRUE(session) << session.error().message().toStdString();
    EXPECT_EQ(patchText(session->recorderPatch), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    X32Card, RecorderPatch,
    testing::Values(
        PatchCase{"no card routing, no recorder", scene(""), {}},
        // Reordered, shifted by two, and blocks that name nothing: a six-wide token, an
        // unknown one, and a missing fourth block.
        PatchCase{"input blocks",
                  scene("/config/routing/CARD AN3-10 B1-8 AN1-6 XY1-8\n"),
                  {u"card: 1=3 10=Aux1"_s}},
        // Talkback reaches card 4 through user-in slot 20, as channel 20 hears it.
        PatchCase{"input and user-in blocks in another order",
                  scene("/config/routing/CARD UIN17-24 AN1-8 B1-8 AN9-16\n"),
                  {u"card: 4=20 9=1+4 10=2 11=3 18=Aux1"_s}},
        // User-out slots feed a physical input, a main tap and a P16 tap; output taps carry the
        // mains, the M/C, buses, matrices and direct outs; 66 and 201 carry nothing.
        PatchCase{"user-out slots and taps",
                  scene("/config/routing/CARD UOUT1-8 OUT1-8 P161-8 UOUT41-48\n"
                        "/config/userrout/out 2 169 170 185 0 201 171 172\n"
                        "/outputs/main/01 1 POST OFF\n/outputs/main/02 2 POST OFF\n"
                        "/outputs/main/03 3 POST OFF\n/outputs/main/04 4 POST OFF\n"
                        "/outputs/main/05 20 POST OFF\n/outputs/main/06 26 POST OFF\n"
                        "/outputs/main/07 58 POST OFF\n/outputs/main/08 66 POST OFF\n"
                        "/outputs/p16/01 5 <-EQ OFF\n/outputs/p16/02 25 <-EQ OFF\n"),
                  {u"card: 1=2 2=Mains/L 3=Mains/R 4=Bus2 7=M/C 8=Bus1 13=Mtx1 14=1 15=Aux1 "
                   "18=Mtx6"_s}},
        // Main R before Main L is no stereo main; P16 taps 9–16 through P169-16.
        PatchCase{"mains the wrong way round",
                  scene("/config/routing/CARD OUT1-8 P169-16\n"
                        "/outputs/main/01 2 POST OFF\n/outputs/main/02 1 POST OFF\n"
                        "/outputs/p16/09 30 <-EQ OFF\n"),
                  {u"card: 9=5"_s}}));

namespace {

// Channel 1 on Local 1, 2 on the stereo Local 3–4, 3 on AES50-A 5, 4 on Local 1 too, 7 with no
// source; bus 2 and matrix 1 mono, the other mixes stereo; then the recorders.
QByteArray snapshot(const QByteArray &recorders)
{
    return QByteArray(R"({"type": "snapshot.4", "ae_data": {
      "io": {"in": {"LCL": {"3": {"mode": "ST"}, "4": {"mode": "ST"}},
                    "USR": {"1": {"user": {"grp": "CH", "in": 7, "tap": "PRE"}},
                            "2": {"user": {"grp": "BUS", "in": 1}},
                            "3": {"user": {"grp": "AUX", "in": 2}}}},
             "out": {)") +
           recorders + R"(}},
      "ch": {"1": {"in": {"conn": {"grp": "LCL", "in": 1}}}, "2": {"in": {"conn": {"grp": "LCL", "in": 3}}},
             "3": {"in": {"conn": {"grp": "A", "in": 5}}}, "4": {"in": {"conn": {"grp": "LCL", "in": 1}}},
             "7": {"in": {"conn": {"grp": "OFF", "in": 1}}}},
      "aux": {"2": {"in": {"conn": {"grp": "USB", "in": 9}}}},
      "bus": {"2": {"busmono": true}}, "mtx": {"1": {"busmono": true}}}})";
}

// "3:LCL:1 4:A:5" as a recorder's outputs: output 3 carries {"grp": "LCL", "in": 1}, …
QByteArray outputs(const char *recorder, const char *routed)
{
    QByteArrayList entries;
    for (const QByteArray &output : QByteArray(routed).split(' ')) {
        const QByteArrayList parts = output.split(':');
        if (parts.size() == 3)
            entries.append("\"" + parts[0] + "\": {\"grp\": \"" + parts[1] +
                           "\", \"in\": " + parts[2] + "}");
    }
    return "\"" + QByteArray(recorder) + "\": {" + entries.join(", ") + "}";
}

} // namespace

INSTANTIATE_TEST_SUITE_P(
    WingOutputs, RecorderPatch,
    testing::Values(
        // A stereo source takes the pair that carries both its inputs, the lowest output wins
        // (A 5 on 4 and 6), an input on two strips goes to both, a user signal carries the
        // strip, mix legs pair up, and a lone right leg or an OFF carries nothing.
        PatchCase{"USB",
                  snapshot(outputs("USB", "1:LCL:3 2:LCL:4 3:LCL:1 4:A:5 5:USR:1 6:A:5 7:BUS:1 "
                                          "8:BUS:2 9:BUS:3 10:MAIN:2 11:MAIN:1 12:MAIN:2 13:MTX:1 "
                                          "14:OFF:1 15:USR:2 16:USR:3 17:MTX:5 18:MTX:6 48:USB:9")),
                  {u"usb: 1=2s/L 2=2s/R 3=1+4 4=3 5=7 7=Bus1s/L 8=Bus1s/R 9=Bus2 11=Main1s/L "
                   "12=Main1s/R 13=Mtx1 16=Aux2 17=Mtx3s/L 18=Mtx3s/R"_s}},
        // Legs the wrong way round, and a stereo source whose right input is missing.
        PatchCase{"card and module",
                  snapshot(outputs("CRD", "1:BUS:2 2:BUS:1 3:LCL:3 64:LCL:1") + ", " +
                           outputs("MOD", "")),
                  {u"card: 64=1+4"_s, u"module:"_s}}));
