#include "export/templateexportformat.h"

namespace kelvary {

QString templateExportFormatText(TemplateExportFormat format)
{
    switch (format) {
    case TemplateExportFormat::reaperTrackTemplate:
        return QStringLiteral("Reaper · 轨道模版 (.RTrackTemplate)");
    case TemplateExportFormat::ardourSession:
        return QStringLiteral("Ardour · 会话 (.ardour)");
    case TemplateExportFormat::proToolsSession:
        return QStringLiteral("Pro Tools · 会话模版 (.ptx)");
    case TemplateExportFormat::logicProject:
        return QStringLiteral("Logic Pro · 项目模版 (.logicx)");
    }
    Q_UNREACHABLE();
    return {};
}

std::optional<TemplateExportFormat> templateExportFormatFromText(const QString &text)
{
    for (TemplateExportFormat format : allTemplateExportFormats) {
        if (templateExportFormatText(format) == text)
            return format;
    }
    return std::nullopt;
}

QString fileExtension(TemplateExportFormat format)
{
    switch (format) {
    case TemplateExportFormat::reaperTrackTemplate:
        return QStringLiteral("RTrackTemplate");
    case TemplateExportFormat::ardourSession:
        return QStringLiteral("ardour");
    case TemplateExportFormat::proToolsSession:
        return QStringLiteral("ptx");
    case TemplateExportFormat::logicProject:
        return QStringLiteral("logicx");
    }
    Q_UNREACHABLE();
    return {};
}

QString errorMessage(TemplateExportError error)
{
    switch (error) {
    case TemplateExportError::noTracksSelected:
        return QStringLiteral("请至少选择一条要导出的轨道。");
    }
    Q_UNREACHABLE();
    return {};
}

} // namespace kelvary
