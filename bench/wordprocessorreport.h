#pragma once

#include <QByteArray>
#include <QList>

// A Session Report as LibreOffice Writer saves it after the console's text was pasted into a
// table: every row restates its cell borders and paddings, every cell its paragraph style, so
// the text is a few percent of the file. 350 channels make about 670 KB, as a real one does.
inline QByteArray wordProcessorReport(int channels)
{
    QByteArray rtf =
        "{\\rtf1\\ansi\\deff3\\adeflang1025\n"
        "{\\fonttbl{\\f0\\froman\\fprq2\\fcharset0 Times New "
        "Roman;}{\\f1\\froman\\fprq2\\fcharset2 "
        "Symbol;}{\\f2\\fswiss\\fprq2\\fcharset0 Arial;}{\\f3\\froman\\fprq2\\fcharset0 Liberation "
        "Serif{\\*\\falt Times New Roman};}{\\f4\\fswiss\\fprq2\\fcharset0 Liberation "
        "Sans{\\*\\falt "
        "Arial};}{\\f5\\fnil\\fprq2\\fcharset0 Noto Serif CJK SC;}{\\f6\\fnil\\fprq2\\fcharset0 "
        "Noto "
        "Sans CJK SC;}}\n"
        "{\\colortbl;\\red0\\green0\\blue0;\\red0\\green0\\blue255;\\red128\\green128\\blue128;}\n"
        "{\\stylesheet{\\s0\\snext0\\rtlch\\af8\\afs24\\alang1081 "
        "\\ltrch\\lang1033\\langfe2052\\hich"
        "\\af3\\loch\\nowidctlpar\\hyphpar0\\ltrpar\\cf0\\f3\\fs24\\lang1033\\dbch\\af5\\langfe2052"
        " "
        "Normal;}\n{\\s16\\sbasedon0\\snext16\\loch\\sl276\\slmult1\\sb0\\sa140 Text Body;}\n"
        "{\\s20\\sbasedon0\\snext20\\loch\\nowidctlpar\\noline Table Contents;}\n"
        "{\\s21\\sbasedon20\\snext21\\rtlch\\ab \\ltrch\\loch\\qc\\nowidctlpar\\noline\\b Table "
        "Heading;}\n}{\\*\\generator LibreOffice/7.4.7.2$Linux_X86_64 "
        "LibreOffice_project/40$Build-2}{\\info{\\title Session "
        "Report}{\\creatim\\yr0\\mo0\\dy0\\hr0"
        "\\min0}}\\deftab709\n\\hyphauto1\\viewscale100\n"
        "\\paperh16838\\paperw11906\\margl1134\\margr567\\margt567\\margb567\\sectd\\sbknone\\pgnde"
        "c\n";
    const QByteArray paragraph = "\\pard\\plain \\s16\\loch\\sl276\\slmult1\\sb0\\sa140\\sl276"
                                 "\\slmult1\\ql\\sb0\\sa140\\ltrpar{\\loch\n";
    for (const char *line :
         {"DiGiCo SD7 Session Report", "Session: C:\\\\Shows\\\\Festival Main.ses", "Console: SD7",
          "Date: 21/11/2026 20:15:03", "Software Version: V1702", "Input Channels"})
        rtf += paragraph + line + "}\n\\par ";

    // Cell borders and paddings, restated by every row for each of its five cells.
    const auto rowDefinition = [] {
        QByteArray definition =
            "\\trowd\\trql\\ltrrow\\trpaddft3\\trpaddt0\\trpaddfl3\\trpaddl0\\trpaddfb3\\trpaddb0"
            "\\trpaddfr3\\trpaddr0";
        for (int right : {991, 2507, 3903, 5269, 6245}) {
            definition +=
                "\\clpadfl3\\clpadl28\\clbrdrl\\brdrdb\\brdrw1\\brdrcf15\\clpadft3\\clpadt28"
                "\\clbrdrt\\brdrdb\\brdrw1\\brdrcf15\\clbrdrb\\brdrdb\\brdrw1\\brdrcf15"
                "\\clpadfb3\\clpadb28\\clbrdrr\\brdrdb\\brdrw5\\brdrcf15\\clpadfr3\\clpadr28"
                "\\clvertalc\\cellx" +
                QByteArray::number(right);
        }
        return definition;
    }();
    const QByteArray cell =
        "\\pard\\plain \\s20\\rtlch\\af8\\afs20 \\ltrch\\hich\\af4\\loch\\nowidctlpar"
        "\\noline\\intbl\\ql\\nowidctlpar\\noline\\ltrpar\\f4\\fs20\\dbch\\af6{";
    const auto row = [&](const QList<QByteArray> &cells) {
        QByteArray text = rowDefinition;
        for (const QByteArray &content : cells)
            text += cell + content + "}\\cell";
        return text + "\\row\\pard";
    };
    rtf += row({"\\loch\nChannel", "\\loch\nName", "\\loch\nInput Route", "\\loch\nInsert",
                "\\loch\nOutputs"});
    for (int i = 1; i <= channels; ++i) {
        const QByteArray n = QByteArray::number(i);
        rtf +=
            row({"\\loch\n" + n + (i % 8 == 0 ? "s" : ""),
                 i % 3 == 0 ? "\\dbch\n\\u20027\\'3f\\u21809\\'3f " + n : "\\loch\nVocal Mic " + n,
                 "\\loch\nMADI " + n, "\\loch\n-", "\\loch\nGrp " + QByteArray::number(i % 8)});
        rtf += "\n";
    }
    return rtf + paragraph + "}\n\\par }";
}
