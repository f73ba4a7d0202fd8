#pragma once

#include <QByteArray>
#include <QHash>
#include <QRawFont>
#include <QSet>
#include <QString>

class QFont;

namespace kelvary {

// The text a PDF was drawn with, character by character with the glyph and font face that showed
// it, so that the PDF's text layer reads back as drawn.
//
// Qt's PDF writer names each glyph of a font by the lowest code point that the face maps to that
// glyph. CJK faces give the Kangxi and supplementary radicals the glyphs of the ideographs they
// look like, so 音 came back from search, copy and screen readers as the radical ⾳ (U+2FB3), and
// 页 as ⻚ (U+2EDA).
class PdfTextLayer {
public:
    // Records text as drawn in `font`.
    void record(const QFont &font, const QString &text);

    // The PDF as Qt wrote it, with an update appended that maps every glyph to the character it
    // was drawn for wherever the writer named another. Nothing needing it, or a PDF laid out
    // otherwise than Qt writes, gives the PDF unchanged.
    QByteArray mended(const QByteArray &pdf) const;

private:
    struct Face {
        QRawFont font;
        QSet<QString> characters;
        QHash<quint32, QString> characterByGlyph; // the first character drawn with each glyph
    };

    QHash<QByteArray, Face> m_faces;           // by PostScript name, as the PDF names its fonts
    QHash<QString, QSet<char32_t>> m_recorded; // by font key: characters already looked up
};

} // namespace kelvary
