#include "export/templateexportformat.h"
#include "support/printers.h"

#include <gtest/gtest.h>

using namespace kelvary;
using namespace Qt::StringLiterals;

TEST(TemplateExportFormat, IsReadBackOnlyFromAnExactTitle)
{
    for (TemplateExportFormat format : allTemplateExportFormats)
        EXPECT_EQ(templateExportFormatFromText(templateExportFormatText(format)), format);
    for (const QString &text : {u"Reaper"_s, u"Reaper . 轨道模版 (.RTrackTemplate)"_s,
                                u"reaper \u00B7 轨道模版 (.RTrackTemplate)"_s, u""_s})
        EXPECT_EQ(templateExportFormatFromText(text), std::nullopt) << text.toStdString();
}
