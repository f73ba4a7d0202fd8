#include "export/sessionpdfexporter.h"
#include "support/builders.h"
#include "support/printers.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kelvary;
using namespace Qt::StringLiterals;

namespace {

// A word of the sheet as poppler reads it back, in points from the top-left corner.
struct PdfWord {
    int page = 0;
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    QString text;
};

// Runs poppler's tools or qpdf; the sheet is checked with readers that share no code with the
// writer.
QString runReader(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        ADD_FAILURE() << program.toStdString()
                      << " failed; install poppler-utils and qpdf (scripts/setup): "
                      << process.errorString().toStdString()
                      << process.readAllStandardError().toStdString();
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

QList<PdfWord> pdfWords(const QString &path)
{
    const QString html = runReader(u"pdftotext"_s, {u"-bbox"_s, path, u"-"_s});
    static const QRegularExpression token(
        u"<page |<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" "
        "yMax=\"([0-9.]+)\">([^<]*)</word>"_s);
    QList<PdfWord> words;
    int page = 0;
    auto it = token.globalMatch(html);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        if (m.captured(0) == u"<page "_s) {
            ++page;
            continue;
        }
        QString text = m.captured(5);
        text.replace(u"&lt;"_s, u"<"_s).replace(u"&gt;"_s, u">"_s).replace(u"&quot;"_s, u"\""_s);
        text.replace(u"&amp;"_s, u"&"_s);
        words.append({page, m.captured(1).toDouble(), m.captured(2).toDouble(),
                      m.captured(3).toDouble(), m.captured(4).toDouble(), text});
    }
    return words;
}

QString pdfInfo(const QString &path, const QString &key)
{
    const QString info = runReader(u"pdfinfo"_s, {path});
    for (const QString &line : info.split(u'\n')) {
        if (line.startsWith(key + u':'))
            return line.mid(key.size() + 1).trimmed();
    }
    return {};
}

std::optional<PdfWord> findWord(const QList<PdfWord> &words, int page, const QString &text)
{
    for (const PdfWord &word : words) {
        if (word.page == page && word.text == text)
            return word;
    }
    return std::nullopt;
}

// Text boxes come from font metrics, which differ by a fraction of a point between readers.
constexpr double tolerance = 1.5;

TrackList numberedInputs(int count)
{
    TrackList tracks;
    for (int i = 1; i <= count; ++i) {
        tracks.append(onChannel(makeTrack(DigicoChannelType::input, QString::number(i),
                                          u"Input%1"_s.arg(i), u"SR1 %1"_s.arg(i)),
                                u"dvs:%1"_s.arg(i - 1)));
    }
    return tracks;
}

const QHash<QString, QString> deviceNames = {{u"dvs"_s, u"Dante"_s}, {u"blank"_s, u""_s}};

QHash<QString, QString> channelLabels()
{
    QHash<QString, QString> labels;
    for (int i = 0; i < 64; ++i)
        labels.insert(u"dvs:%1"_s.arg(i), u"Ch%1"_s.arg(i + 1));
    return labels;
}

ParsedSession namedSession()
{
    return {u"Festival"_s, u"SD12"_s, {}, u"2026-05-01"_s, u"1760"_s, {}};
}

} // namespace

TEST(SessionPDF, RowsShowADashForEveryMissingValue)
{
    TrackChannel blank = makeTrack(DigicoChannelType::group, u"G1"_s, u""_s);
    blank.audioInputDeviceUID = u"blank"_s;
    const std::pair<TrackChannel, QStringList> rows[] = {
        {onChannel(makeTrack(DigicoChannelType::other, u"X1"_s, u"Spare"_s), u"gone:0"_s),
         {u"—"_s, u"X1"_s, u"Spare"_s, u"—"_s, u"—"_s, u"—"_s}},
        {blank, {u"Grp"_s, u"G1"_s, u""_s, u"—"_s, u"—"_s, u"—"_s}},
    };
    for (const auto &[track, cells] : rows)
        EXPECT_EQ(SessionPDFExporter().makeRow(track, deviceNames, channelLabels()).cells, cells);

    // With playback, a column after the device input names the outputs, and still fits the page.
    SessionPDFExporter playback;
    playback.addPlaybackColumn({{blank.id, u"Out 5\u20136"_s}});
    EXPECT_EQ(playback.columns.last().title, u"回放"_s);
    EXPECT_EQ(playback.makeRow(blank, deviceNames, channelLabels()).cells.last(),
              u"Out 5\u20136"_s);
    EXPECT_EQ(playback.makeRow(rows[0].first, deviceNames, channelLabels()).cells.last(), u"—"_s);
    double width = 0;
    for (const SessionPDFExporter::Column &column : playback.columns)
        width += column.width;
    EXPECT_LE(width, playback.pageSize.width() - 2 * playback.margin);
}

TEST(SessionPDF, ReadsBackEveryCellOfAManyPageSheetAsDrawn)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(u"sheet.pdf"_s);
    const SessionPDFExporter exporter;

    // Ideographs whose glyphs the CJK face shares with Kangxi and supplementary radicals, which
    // is where a text layer built from the face's own map goes wrong.
    const QStringList names = {u"调音台 入"_s,   u"长笛 大鼓"_s, u"门 页 风"_s, u"马 龙 鸟 鱼"_s,
                               u"见 言 车 贝"_s, u"心 手 口"_s,  u"金 水 火"_s, u"人 小 齿"_s};
    TrackList tracks = numberedInputs(94); // three full pages and one row
    for (qsizetype i = 0; i < tracks.size(); ++i)
        tracks[i].name = names[i % names.size()];
    tracks[40].channelType = DigicoChannelType::aux;
    tracks[41].channelType = DigicoChannelType::other;
    tracks[41].inputRoute.clear();
    const QHash<QString, QString> labels = channelLabels();
    ASSERT_TRUE(exporter.exportPDF(namedSession(), tracks, deviceNames, labels, path).ok());
    // poppler rebuilds a broken cross-reference table without a word; qpdf reports it.
    EXPECT_TRUE(runReader(u"qpdf"_s, {u"--check"_s, path}).contains(u"No syntax or stream"_s));
    EXPECT_EQ(pdfInfo(path, u"Pages"_s), u"4"_s);
    EXPECT_TRUE(pdfInfo(path, u"Page size"_s).startsWith(u"595 x 842 pts"_s));

    // Every text by page, line and column: the title block's lines are -4 (page number), -3
    // (title) and -2 (details), the header row -1, then the body rows from 0.
    using Place = std::tuple<int, int, int>;
    QMap<Place, QString> expected;
    for (int page = 1; page <= 4; ++page) {
        expected[{page, -4, 0}] = u"第 %1 / 4 页"_s.arg(page);
        expected[{page, -3, 0}] = u"Festival"_s;
        expected[{page, -2, 0}] = u"SD12 · 2026-05-01 · v1760"_s;
        for (qsizetype c = 0; c < exporter.columns.size(); ++c)
            expected[{page, -1, int(c)}] = exporter.columns[c].title;
    }
    for (qsizetype i = 0; i < tracks.size(); ++i) {
        const QStringList cells = exporter.makeRow(tracks[i], deviceNames, labels).cells;
        for (qsizetype c = 0; c < cells.size(); ++c)
            expected[{int(i / 31) + 1, int(i % 31), int(c)}] = cells[c];
    }

    QMap<Place, QString> read;
    for (const PdfWord &word : pdfWords(path)) {
        const double y = word.yMin + 1; // poppler's box starts a fraction above the text
        const int line = y < 50    ? (word.xMin >= 487 ? -4 : -3)
                         : y < 90  ? -2
                         : y < 116 ? -1
                                   : int((y - 116) / 22);
        int column = 0;
        for (double right = 36; line >= -1 && column < exporter.columns.size(); ++column) {
            right += exporter.columns[column].width;
            if (word.xMin < right)
                break;
        }
        QString &text = read[{word.page, line, column}];
        text += (text.isEmpty() ? u""_s : u" "_s) + word.text;
    }

    EXPECT_EQ(read.keys(), expected.keys());
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        const auto [page, line, column] = it.key();
        EXPECT_EQ(read.value(it.key()), it.value())
            << "page " << page << ", line " << line << ", column " << column;
    }
}

TEST(SessionPDF, LaysOutThePageAsTheGoldenSheet)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(u"sheet.pdf"_s);

    TrackList tracks = numberedInputs(32);
    tracks[0].name = u"主唱 Lead"_s;
    tracks[1] = makeTrack(DigicoChannelType::aux, u"A4s"_s, u"混响"_s);
    tracks[2] = onChannel(makeTrack(DigicoChannelType::other, u"X1"_s, u"Spare"_s, u"MADI 9"_s),
                          u"gone:1"_s);
    ASSERT_TRUE(SessionPDFExporter()
                    .exportPDF(namedSession(), tracks, deviceNames, channelLabels(), path)
                    .ok());

    // Golden lines: page, left, top, text (positions rounded to whole points).
    QList<PdfWord> expected;
    for (const QString &line : QString::fromUtf8(fixtureBytes(u"export/sheet-32-tracks.words"_s))
                                   .split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList fields = line.split(u' ');
        ASSERT_GE(fields.size(), 4) << line.toStdString();
        expected.append({fields[0].toInt(), fields[1].toDouble(), fields[2].toDouble(), 0, 0,
                         fields.mid(3).join(u' ')});
    }

    const QList<PdfWord> words = pdfWords(path);
    ASSERT_EQ(words.size(), expected.size());
    for (qsizetype i = 0; i < words.size(); ++i) {
        SCOPED_TRACE(expected[i].text.toStdString());
        EXPECT_EQ(words[i].page, expected[i].page);
        EXPECT_EQ(words[i].text, expected[i].text);
        EXPECT_NEAR(words[i].xMin, expected[i].xMin, 1.0);
        EXPECT_NEAR(words[i].yMin, expected[i].yMin, 1.0);
    }
}

TEST(SessionPDF, ReplacesAnEarlierSheetOnlyWithACompleteNewOne)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const SessionPDFExporter exporter;
    const QString sheet = dir.filePath(u"sheet.pdf"_s);
    ASSERT_TRUE(exporter.exportPDF(namedSession(), numberedInputs(40), {}, {}, sheet).ok());
    // A nameless session over it: one page, the generic title and only the details it has.
    EXPECT_EQ(pdfInfo(sheet, u"Title"_s), namedSession().sessionName);
    ParsedSession partial;
    partial.consoleName = u"SD12"_s;
    partial.softwareVersion = u"V1760"_s;
    TrackList quoted = numberedInputs(3);
    quoted[0].name = u"Lead \u201CVox\u201D"_s;
    ASSERT_TRUE(exporter.exportPDF(partial, quoted, {}, {}, sheet).ok());
    EXPECT_EQ(pdfInfo(sheet, u"Pages"_s), u"1"_s);
    // Typographic quotes come from a Latin face, not a full em wide from the CJK one.
    EXPECT_TRUE(runReader(u"pdffonts"_s, {sheet}).contains(u"DejaVuSans"_s));
    const QList<PdfWord> words = pdfWords(sheet);
    EXPECT_TRUE(runReader(u"pdftotext"_s, {sheet, u"-"_s}).contains(u"Lead \u201CVox\u201D"_s));
    const std::optional<PdfWord> title = findWord(words, 1, u"通道列表"_s);
    ASSERT_TRUE(title.has_value());
    EXPECT_NEAR(title->yMin, 36, tolerance);
    EXPECT_TRUE(findWord(words, 1, u"V1760"_s));

    const Result<void> none =
        exporter.exportPDF(namedSession(), {}, {}, {}, dir.filePath(u"none.pdf"_s));
    ASSERT_FALSE(none.ok());
    EXPECT_TRUE(none.error().is(SessionPDFExportError::noTracks));
    EXPECT_EQ(none.error().message(), u"没有选中的通道可导出。"_s);

    // The name fits, but the temporary file beside it gets a suffix that makes its name too long
    // for the file system: the write fails while the destination exists.
    const QString path = dir.filePath(QString(246, u'a') + u".pdf"_s);
    writeBytes(path, "earlier sheet");
    const Result<void> failed = exporter.exportPDF(namedSession(), numberedInputs(1), {}, {}, path);
    ASSERT_FALSE(failed.ok());
    EXPECT_TRUE(failed.error().is(SessionPDFExportError::writeFailed));
    EXPECT_EQ(failed.error().message(), u"无法写入文件“%1”：文件名过长。"_s.arg(path));
    EXPECT_EQ(fileBytes(path), "earlier sheet");
    // Nothing else: no sheet without tracks, no temporary file left behind.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}
