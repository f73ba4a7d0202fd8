#include "cli/commands.h"

#include "import/digicosessionparser.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace kelvary::cli {

namespace {

QJsonObject sessionObject(const ParsedSession &session) {
    return {
        {u"sessionName"_s, session.sessionName},         {u"consoleName"_s, session.consoleName},
        {u"sourceFileName"_s, session.sourceFileName},   {u"saveTime"_s, session.saveTime},
        {u"softwareVersion"_s, session.softwareVersion},
    };
}

QJsonObject trackObject(const TrackChannel &track) {
    return {
        {u"id"_s, uuidText(track.id)},
        {u"channelLabel"_s, track.channelLabel},
        {u"channelNumber"_s, track.channelNumber},
        {u"name"_s, track.name},
        {u"channelType"_s, channelTypeText(track.channelType)},
        {u"inputRoute"_s, track.inputRoute},
        {u"extraInfo"_s, track.extraInfo},
        {u"colorHex"_s, hexString(track.color).value_or(u"#FFFFFF"_s)},
        {u"isIncluded"_s, track.isIncluded},
    };
}

} // namespace

int runInspect(CommandContext &context) {
    if (context.arguments.size() != 1 || context.arguments.front().startsWith(u'-')) {
        context.err << "Usage: kelvary-cli inspect FILE\n"
                       "Parses a DiGiCo Session Report (.rtf or .txt) and prints it as JSON.\n";
        return exitUsage;
    }

    const Result<ParsedSession> session = DigicoSessionParser().parse(context.arguments.front());
    if (!session) {
        context.err << session.error().message() << '\n';
        return exitFailure;
    }

    QJsonArray tracks;
    for (const TrackChannel &track : session->tracks)
        tracks.append(trackObject(track));
    const QJsonObject document{{u"session"_s, sessionObject(*session)}, {u"tracks"_s, tracks}};
    context.out << QString::fromUtf8(QJsonDocument(document).toJson(QJsonDocument::Indented));
    return exitSuccess;
}

} // namespace kelvary::cli
