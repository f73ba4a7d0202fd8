#include "typebar/channeltyperow.h"

#include "app/sessionviewmodel.h"
#include "tracklist/tracktypebadge.h"

#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

using namespace Qt::StringLiterals;

namespace kelvary::ui {

namespace {

constexpr int spacing = 8;
constexpr int textGap = 1;

QColor withAlpha(QColor color, qreal alpha)
{
    color.setAlphaF(float(alpha));
    return color;
}

QString inclusionText(TypeInclusion inclusion)
{
    switch (inclusion) {
    case TypeInclusion::none:
        return u"未包含"_s;
    case TypeInclusion::partial:
        return u"部分包含"_s;
    case TypeInclusion::all:
        return u"全部包含"_s;
    }
    Q_UNREACHABLE();
    return {};
}

} // namespace

TypeInclusion typeInclusion(qsizetype count, qsizetype included)
{
    if (count == 0 || included == 0)
        return TypeInclusion::none;
    return included == count ? TypeInclusion::all : TypeInclusion::partial;
}

void populateTypeMenu(QMenu &menu, SessionViewModel &viewModel, DigicoChannelType type)
{
    // An empty type has nothing to select, include or colour; its commands would only leave an
    // undo step that undoes nothing.
    const bool hasTracks = viewModel.trackCount(type) > 0;
    const auto add = [&](const QString &title, auto operation) {
        QAction *action = menu.addAction(title);
        action->setEnabled(hasTracks);
        QObject::connect(action, &QAction::triggered, &viewModel, operation);
    };
    add(u"在列表中选中"_s,
        [&viewModel, type] { viewModel.setSelectedTrackIDs(viewModel.trackIDs(type)); });
    menu.addSeparator();
    add(u"全部包含"_s, [&viewModel, type] { viewModel.setTracksIncluded(true, type); });
    add(u"全部排除"_s, [&viewModel, type] { viewModel.setTracksIncluded(false, type); });
    add(u"仅包含此类型"_s, [&viewModel, type] { viewModel.includeOnlyType(type); });
    menu.addSeparator();
    add(u"恢复默认颜色"_s,
        [&viewModel, type] { viewModel.setColorForType(defaultColor(type), type); });
}

ChannelTypeRow::ChannelTypeRow(SessionViewModel *viewModel, DigicoChannelType type, bool compact,
                               QWidget *parent)
    : QWidget(parent)
    , m_viewModel(viewModel)
    , m_type(type)
    , m_compact(compact)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover);
    setSizePolicy(compact ? QSizePolicy::Fixed : QSizePolicy::Expanding, QSizePolicy::Fixed);
    refresh();
}

const ChannelTypeRow::Metrics &ChannelTypeRow::metrics() const
{
    static constexpr Metrics regular{10, 9, 34, 24, 34, 10};
    static constexpr Metrics compact{8, 6, 28, 20, 28, 8};
    return m_compact ? compact : regular;
}

QFont ChannelTypeRow::nameFont() const
{
    QFont result = font();
    result.setPointSizeF(font().pointSizeF() * (m_compact ? 0.85 : 0.95));
    result.setWeight(QFont::DemiBold);
    return result;
}

QFont ChannelTypeRow::countFont() const
{
    QFont result = font();
    result.setPointSizeF(font().pointSizeF() * 0.85);
    return result;
}

qsizetype ChannelTypeRow::trackCount() const
{
    return m_viewModel->trackCount(m_type);
}

TypeInclusion ChannelTypeRow::inclusion() const
{
    return typeInclusion(trackCount(), m_viewModel->includedCount(m_type));
}

QString ChannelTypeRow::countText() const
{
    const qsizetype count = trackCount();
    if (count == 0)
        return u"无通道"_s;
    return u"%1/%2"_s.arg(m_viewModel->includedCount(m_type)).arg(count);
}

QString ChannelTypeRow::rowToolTip() const
{
    return u"%1：%2/%3。点击行切换包含；左侧色块改整组颜色；右键更多操作。"_s
        .arg(typeDisplayName(m_type))
        .arg(m_viewModel->includedCount(m_type))
        .arg(trackCount());
}

QString ChannelTypeRow::colorWellToolTip() const
{
    return u"设置全部%1通道颜色"_s.arg(typeShortName(m_type));
}

QRect ChannelTypeRow::colorWellRect() const
{
    const Metrics &m = metrics();
    return {m.insetX, (height() - m.wellHeight) / 2, m.wellWidth, m.wellHeight};
}

QSize ChannelTypeRow::sizeHint() const
{
    const Metrics &m = metrics();
    const QFontMetrics name(nameFont());
    const QFontMetrics count(countFont());
    // Wide enough for the longest count a console can have, so rows do not jump while editing.
    const int label =
        std::max({m.labelMinimumWidth, name.horizontalAdvance(u"矩阵"_s),
                  count.horizontalAdvance(u"无通道"_s), count.horizontalAdvance(u"888/888"_s)});
    const int text = name.height() + textGap + count.height();
    return {m.insetX * 2 + m.wellWidth + spacing + label,
            m.insetY * 2 + std::max(m.wellHeight, text)};
}

void ChannelTypeRow::refresh()
{
    setAccessibleName(u"%1，%2"_s.arg(typeShortName(m_type), inclusionText(inclusion())));
    update();
}

bool ChannelTypeRow::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        const bool onWell = colorWellRect().contains(help->pos());
        QToolTip::showText(help->globalPos(), onWell ? colorWellToolTip() : rowToolTip(), this,
                           onWell ? colorWellRect() : rect());
        return true;
    }
    return QWidget::event(event);
}

void ChannelTypeRow::paintEvent(QPaintEvent *)
{
    const Metrics &m = metrics();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (trackCount() == 0)
        painter.setOpacity(0.4);

    const QColor typeColor = toQColor(m_viewModel->colorForType(m_type));
    const QColor text = palette().color(QPalette::Text);
    QColor fill;
    QPen border;
    switch (inclusion()) {
    case TypeInclusion::none:
        fill = withAlpha(palette().color(QPalette::Base), 0.6);
        border = QPen(withAlpha(text, 0.08), 1.0);
        break;
    case TypeInclusion::partial:
        fill = withAlpha(typeColor, 0.1);
        border = QPen(withAlpha(typeColor, 0.35), 1.0);
        break;
    case TypeInclusion::all:
        fill = withAlpha(typeColor, 0.18);
        border = QPen(withAlpha(typeColor, 0.55), 1.5);
        break;
    }
    // The border lies inside the edge.
    const qreal half = border.widthF() / 2;
    const QRectF plate = QRectF(rect()).adjusted(half, half, -half, -half);
    painter.setPen(border);
    painter.setBrush(fill);
    painter.drawRoundedRect(plate, m.radius, m.radius);
    if (isEnabled() && underMouse() && trackCount() > 0) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(withAlpha(text, m_press == Press::row ? 0.08 : 0.04));
        painter.drawRoundedRect(plate, m.radius, m.radius);
    }
    if (hasFocus()) {
        painter.setPen(QPen(withAlpha(palette().color(QPalette::Highlight), 0.8), 2.0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), m.radius, m.radius);
    }

    paintColorWell(painter, colorWellRect(), typeColor, withAlpha(text, 0.5),
                   m_press == Press::colorWell);

    const QColor primary =
        palette().color(isEnabled() ? QPalette::Normal : QPalette::Disabled, QPalette::Text);
    const int left = colorWellRect().right() + 1 + spacing;
    const QFontMetrics nameMetrics(nameFont());
    const QFontMetrics countMetrics(countFont());
    const int textHeight = nameMetrics.height() + textGap + countMetrics.height();
    const int top = (height() - textHeight) / 2;
    const int width = this->width() - left - m.insetX;
    painter.setFont(nameFont());
    painter.setPen(primary);
    painter.drawText(QRect(left, top, width, nameMetrics.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, typeShortName(m_type));
    painter.setFont(countFont());
    painter.setPen(withAlpha(primary, 0.6));
    painter.drawText(
        QRect(left, top + nameMetrics.height() + textGap, width, countMetrics.height()),
        Qt::AlignLeft | Qt::AlignVCenter, countText());
}

void ChannelTypeRow::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_press = colorWellRect().contains(event->position().toPoint()) ? Press::colorWell : Press::row;
    update();
}

void ChannelTypeRow::mouseReleaseEvent(QMouseEvent *event)
{
    const Press press = std::exchange(m_press, Press::none);
    update();
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint position = event->position().toPoint();
    const bool onWell = colorWellRect().contains(position);
    // Like a button: released over where it was pressed.
    if (press == Press::colorWell && onWell)
        pickColor();
    else if (press == Press::row && rect().contains(position) && !onWell)
        toggle();
}

void ChannelTypeRow::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        toggle();
        event->accept();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void ChannelTypeRow::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu(this);
    populateTypeMenu(menu, *m_viewModel, m_type);
    menu.exec(event->globalPos());
}

void ChannelTypeRow::toggle()
{
    // A type without tracks has nothing to toggle, and an undo step for it would undo nothing.
    if (trackCount() > 0)
        m_viewModel->toggleTypeIncluded(m_type);
}

void ChannelTypeRow::pickColor()
{
    if (trackCount() == 0)
        return;
    const std::optional<QColor> picked =
        m_colorPicker(toQColor(m_viewModel->colorForType(m_type)), this);
    if (picked)
        m_viewModel->setColorForType(toRGBColor(*picked), m_type);
}

} // namespace kelvary::ui
