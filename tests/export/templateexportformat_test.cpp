#include "export/templateexportformat.h"
#include "support/printers.h"

#include <gtest/gtest.h>

using namespace kelvary;
using namespace Qt::StringLiterals;

TEST(TemplateExportFormat, IsReadBackOnlyFromAnExactTitle)
{
    EXPECT_EQ(templateExportFormatFromText(u"Reaper \u00B7 轨道模版 (.RTrackTemplate)"_s),
              TemplateExportFormat::reaperTrackTemplate);
    EXPECT_EQ(templateExportFormatFromText(u"Logic Pro \u00B7 项目模版 (.logicx)"_s),
              TemplateExportFormat::logicProject);
    // The menu lists Ardour right after Reaper.
    EXPECT_EQ(allTemplateExportFormats[1], TemplateExportFormat::ardourSession);
    EXPECT_EQ(templateExportFormatText(TemplateExportFormat::ardourSession),
              u"Ardour \u00B7 会话 (.ardour)"_s);
    for (TemplateExportFormat format : allTemplateExportFormats)
        EXPECT_EQ(templateExportFormatFromText(templateExportFormatText(format)), format);
    for (const QString &text : {u"Reaper"_s, u"Reaper . 轨道模版 (.RTrackTemplate)"_s,
                                u"reaper \u00B7 轨道模版 (.RTrackTemplate)"_s, u""_s})
        EXPECT_EQ(templateExportFormatFromText(text), std::nullopt) << text.toStdString();
}
