#pragma once

#include "export/templateexportformat.h"

#include <QComboBox>

namespace kelvary::ui {

// The export format menu. The formats still to come carry "（即将推出）" in a lighter colour,
// both in the open list and on the closed button; they can be chosen all the same.
class ExportFormatPicker : public QComboBox {
    Q_OBJECT

public:
    explicit ExportFormatPicker(QWidget *parent = nullptr);

    TemplateExportFormat format() const;
    void setFormat(TemplateExportFormat format);

    static bool isComingSoon(TemplateExportFormat format);
    static inline const QString comingSoonText = QStringLiteral("（即将推出）");

Q_SIGNALS:
    void formatActivated(kelvary::TemplateExportFormat format);

protected:
    void paintEvent(QPaintEvent *event) override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
};

} // namespace kelvary::ui
