#include "mainwindow/exportformatpicker.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QStylePainter>
#include <QStyledItemDelegate>

namespace kelvary::ui {

namespace {

constexpr int formatRole = Qt::UserRole;
constexpr int comingSoonRole = Qt::UserRole + 1;

// The tertiary colour: text half way faded into the background.
QColor tertiaryColor(const QPalette &palette, QPalette::ColorGroup group = QPalette::Active)
{
    const QColor text = palette.color(group, QPalette::Text);
    const QColor base = palette.color(group, QPalette::Base);
    return QColor::fromRgbF((text.redF() + base.redF()) / 2, (text.greenF() + base.greenF()) / 2,
                            (text.blueF() + base.blueF()) / 2);
}

// Draws the title, then "（即将推出）" right after it in the tertiary colour.
void drawTitle(QPainter *painter, const QRect &rect, const QString &title, bool comingSoon,
               const QColor &titleColor, const QColor &suffixColor)
{
    const QFontMetrics metrics = painter->fontMetrics();
    const QString shownTitle = metrics.elidedText(title, Qt::ElideRight, rect.width());
    painter->setPen(titleColor);
    painter->drawText(rect, Qt::AlignLeft | Qt::AlignVCenter, shownTitle);
    if (!comingSoon || shownTitle != title)
        return;
    QRect rest = rect;
    rest.setLeft(rect.left() + metrics.horizontalAdvance(title));
    painter->setPen(suffixColor);
    painter->drawText(
        rest, Qt::AlignLeft | Qt::AlignVCenter,
        metrics.elidedText(ExportFormatPicker::comingSoonText, Qt::ElideRight, rest.width()));
}

class FormatItemDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        const QString title = item.text;
        item.text.clear();
        const QWidget *widget = option.widget;
        QStyle *style = widget ? widget->style() : nullptr;
        style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);

        const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &item, widget);
        const bool selected = item.state & QStyle::State_Selected;
        const QColor titleColor =
            item.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
        const QColor suffixColor = selected ? titleColor : tertiaryColor(item.palette);
        painter->save();
        painter->setFont(item.font);
        drawTitle(painter, textRect.adjusted(2, 0, -2, 0), title,
                  index.data(comingSoonRole).toBool(), titleColor, suffixColor);
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        if (index.data(comingSoonRole).toBool())
            size.rwidth() +=
                option.fontMetrics.horizontalAdvance(ExportFormatPicker::comingSoonText);
        return size;
    }
};

} // namespace

ExportFormatPicker::ExportFormatPicker(QWidget *parent)
    : QComboBox(parent)
{
    for (TemplateExportFormat format : allTemplateExportFormats) {
        addItem(templateExportFormatText(format));
        const int row = count() - 1;
        setItemData(row, int(format), formatRole);
        setItemData(row, isComingSoon(format), comingSoonRole);
        if (isComingSoon(format))
            setItemData(row, templateExportFormatText(format) + comingSoonText, Qt::ToolTipRole);
    }
    setItemDelegate(new FormatItemDelegate(this));
    int widest = 0;
    for (TemplateExportFormat format : allTemplateExportFormats) {
        widest = std::max(widest, fontMetrics().horizontalAdvance(
                                      templateExportFormatText(format) +
                                      (isComingSoon(format) ? comingSoonText : QString())));
    }
    // The open list shows every title whole, however narrow the sidebar.
    view()->setMinimumWidth(widest + 32);
    setSizeAdjustPolicy(QComboBox::AdjustToContents);
    // The sidebar is often too narrow for a whole title; the tooltip and the open list show it.
    connect(this, &QComboBox::currentIndexChanged, this, [this](int row) {
        setToolTip(itemText(row) + (isComingSoon(format()) ? comingSoonText : QString()));
    });
    connect(this, &QComboBox::activated, this, [this](int row) {
        Q_EMIT formatActivated(TemplateExportFormat(itemData(row).toInt()));
    });
}

TemplateExportFormat ExportFormatPicker::format() const
{
    return TemplateExportFormat(currentData(formatRole).toInt());
}

void ExportFormatPicker::setFormat(TemplateExportFormat format)
{
    setCurrentIndex(findData(int(format), formatRole));
}

bool ExportFormatPicker::isComingSoon(TemplateExportFormat format)
{
    return format != TemplateExportFormat::reaperTrackTemplate &&
           format != TemplateExportFormat::ardourSession;
}

void ExportFormatPicker::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const QString title = option.currentText;
    option.currentText.clear();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);

    const QRect textRect =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    const QPalette::ColorGroup group = isEnabled() ? QPalette::Active : QPalette::Disabled;
    drawTitle(&painter, textRect.adjusted(4, 0, -2, 0), title, isComingSoon(format()),
              palette().color(group, QPalette::ButtonText), tertiaryColor(palette(), group));
}

// The sidebar decides the width; the picker must not force it wider with the longest title.
QSize ExportFormatPicker::sizeHint() const
{
    return {160, QComboBox::sizeHint().height()};
}

QSize ExportFormatPicker::minimumSizeHint() const
{
    return {80, QComboBox::minimumSizeHint().height()};
}

} // namespace kelvary::ui
