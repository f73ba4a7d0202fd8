#include "typebar/channeltypequickpickbar.h"

#include "app/sessionviewmodel.h"
#include "typebar/channeltyperow.h"

#include <QBoxLayout>
#include <QLabel>

using namespace Qt::StringLiterals;

namespace kelvary::ui {

ChannelTypeQuickPickBar::ChannelTypeQuickPickBar(SessionViewModel *viewModel, Qt::Orientation axis,
                                                 bool showsCaption, QWidget *parent)
    : QWidget(parent)
    , m_viewModel(viewModel)
    , m_axis(axis)
    , m_showsCaption(showsCaption)
{
    const bool vertical = axis == Qt::Vertical;
    auto *layout =
        new QBoxLayout(vertical ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight, this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    if (showsCaption) {
        auto *caption =
            new QLabel(vertical ? u"点击行切换包含；左侧色块改整组颜色"_s : u"类型"_s, this);
        QFont font = caption->font();
        font.setPointSizeF(font.pointSizeF() * 0.85);
        caption->setFont(font);
        caption->setWordWrap(vertical);
        if (!vertical)
            caption->setForegroundRole(QPalette::PlaceholderText);
        layout->addWidget(caption);
    }
    for (DigicoChannelType type : allChannelTypes) {
        auto *row = new ChannelTypeRow(viewModel, type, !vertical, this);
        m_rows.append(row);
        layout->addWidget(row);
    }
    layout->addStretch(1);

    connect(m_viewModel, &SessionViewModel::sessionChanged, this,
            &ChannelTypeQuickPickBar::refresh);
    refresh();
}

ChannelTypeRow *ChannelTypeQuickPickBar::row(DigicoChannelType type) const
{
    for (ChannelTypeRow *row : m_rows) {
        if (row->type() == type)
            return row;
    }
    return nullptr;
}

void ChannelTypeQuickPickBar::setColorPicker(const ColorPicker &picker)
{
    for (ChannelTypeRow *row : std::as_const(m_rows))
        row->setColorPicker(picker);
}

void ChannelTypeQuickPickBar::refresh()
{
    setEnabled(!m_viewModel->tracks().isEmpty());
    for (ChannelTypeRow *row : std::as_const(m_rows))
        row->refresh();
}

} // namespace kelvary::ui
