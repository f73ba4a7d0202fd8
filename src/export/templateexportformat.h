#pragma once

#include <QString>

#include <array>
#include <optional>

namespace kelvary {

// The recording templates the user can export to.
enum class TemplateExportFormat { reaperTrackTemplate, ardourSession, proToolsSession, logicProject };

// In the order the export menu lists them.
inline constexpr std::array allTemplateExportFormats{
    TemplateExportFormat::reaperTrackTemplate, TemplateExportFormat::ardourSession,
    TemplateExportFormat::proToolsSession, TemplateExportFormat::logicProject};

// The format's title, which is also its text form.
QString templateExportFormatText(TemplateExportFormat format);
// Exact match of one of the titles.
std::optional<TemplateExportFormat> templateExportFormatFromText(const QString &text);
// Extension of the file the format produces, without the full stop (for Ardour, of the session
// file inside the folder it writes).
QString fileExtension(TemplateExportFormat format);

enum class TemplateExportError { noTracksSelected };

QString errorMessage(TemplateExportError error);

} // namespace kelvary
