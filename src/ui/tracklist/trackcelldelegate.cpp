#include "tracklist/trackcelldelegate.h"

#include "tracklist/colorwell.h"
#include "tracklist/tracklistmodel.h"
#include "tracklist/tracktableview.h"
#include "tracklist/tracktypebadge.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>

namespace kelvary::ui {

namespace {

constexpr int textInset = 6;
constexpr QSize colorWellSize(28, 22);

// Text of a row in its three strengths: the value, labels around it, and stand-ins.
struct RowInk {
    QColor primary;
    QColor secondary;
    QColor tertiary;
};

RowInk inkFor(const QStyleOptionViewItem &option)
{
    const QPalette::ColorGroup group =
        option.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
    const bool selected = option.state & QStyle::State_Selected;
    const QColor primary =
        option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text);
    QColor secondary = primary;
    secondary.setAlphaF(0.6f);
    QColor tertiary = primary;
    tertiary.setAlphaF(0.35f);
    return {primary, secondary, tertiary};
}

QFont scaled(const QFont &font, qreal factor, QFont::Weight weight = QFont::Normal)
{
    QFont result = font;
    result.setPointSizeF(font.pointSizeF() * factor);
    result.setWeight(weight);
    return result;
}

void drawText(QPainter &painter, const QRect &rect, const QString &text, const QFont &font,
              const QColor &color, Qt::Alignment alignment)
{
    painter.save();
    painter.setFont(font);
    painter.setPen(color);
    const QString elided = QFontMetrics(font).elidedText(text, Qt::ElideRight, rect.width());
    painter.drawText(rect, int(alignment | Qt::AlignVCenter) | Qt::TextSingleLine, elided);
    painter.restore();
}

// Three short strokes: the handle by which a row is dragged.
void drawReorderHandle(QPainter &painter, const QRect &cell, const QColor &color)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(color, 1.5, Qt::SolidLine, Qt::RoundCap));
    const QPointF centre = QRectF(cell).center();
    for (int line = -1; line <= 1; ++line) {
        const qreal y = centre.y() + line * 3.5;
        painter.drawLine(QPointF(centre.x() - 5, y), QPointF(centre.x() + 5, y));
    }
    painter.restore();
}

// A chevron pointing down, the mark of a pull-down menu.
void drawChevron(QPainter &painter, const QPointF &centre, const QColor &color)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(color, 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath path;
    path.moveTo(centre + QPointF(-3, -1.5));
    path.lineTo(centre + QPointF(0, 1.5));
    path.lineTo(centre + QPointF(3, -1.5));
    painter.drawPath(path);
    painter.restore();
}

// Drawn here rather than by the style: the style's unchecked box all but disappears on the dark
// rows, and whether a track is recorded must be readable at a glance on every row.
void drawCheckBox(QPainter &painter, const QRect &rect, bool checked, bool pressed,
                  const QPalette &palette, const RowInk &ink)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QRectF box = QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5);
    if (checked) {
        QColor fill = palette.color(QPalette::Highlight);
        if (pressed)
            fill = fill.darker(120);
        painter.setPen(QPen(fill.darker(115), 1));
        painter.setBrush(fill);
        painter.drawRoundedRect(box, 3, 3);
        QPainterPath tick;
        tick.moveTo(box.left() + box.width() * 0.24, box.top() + box.height() * 0.52);
        tick.lineTo(box.left() + box.width() * 0.43, box.top() + box.height() * 0.72);
        tick.lineTo(box.left() + box.width() * 0.78, box.top() + box.height() * 0.30);
        painter.setPen(QPen(palette.color(QPalette::HighlightedText), 1.8, Qt::SolidLine,
                            Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(tick);
    } else {
        painter.setPen(QPen(ink.secondary, 1));
        QColor fill = palette.color(QPalette::Base);
        if (pressed)
            fill = ink.tertiary;
        painter.setBrush(fill);
        painter.drawRoundedRect(box, 3, 3);
    }
    painter.restore();
}

const TrackTableView *tableOf(const QStyleOptionViewItem &option)
{
    return qobject_cast<const TrackTableView *>(option.widget);
}

// The name field: a borderless line edit whose undo is the session's, not its own, so that
// Ctrl+Z takes back the whole run of keystrokes and the name on screen follows.
class TrackNameEditor final : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    bool event(QEvent *event) override
    {
        if (event->type() == QEvent::ShortcutOverride && isSessionUndo(event)) {
            event->ignore();
            return true;
        }
        return QLineEdit::event(event);
    }

    void keyPressEvent(QKeyEvent *event) override
    {
        if (isSessionUndo(event)) {
            event->ignore();
            return;
        }
        QLineEdit::keyPressEvent(event);
    }

private:
    static bool isSessionUndo(QEvent *event)
    {
        auto *key = static_cast<QKeyEvent *>(event);
        return key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo);
    }
};

} // namespace

QRect TrackCellDelegate::controlRect(int column, const QRect &cell)
{
    switch (column) {
    case TrackListModel::ReorderHandleColumn:
    case TrackListModel::DeleteColumn:
        return cell;
    case TrackListModel::IncludedColumn: {
        QRect box(0, 0, 15, 15);
        box.moveCenter(cell.center());
        return box;
    }
    case TrackListModel::AudioDeviceColumn:
    case TrackListModel::AudioChannelColumn:
        return cell.adjusted(2, 3, -2, -3);
    case TrackListModel::ColorColumn: {
        QRect well(QPoint(), colorWellSize);
        well.moveCenter(cell.center());
        return well;
    }
    default:
        return {};
    }
}

QSize TrackCellDelegate::sizeHint(const QStyleOptionViewItem &option,
                                  const QModelIndex &index) const
{
    return {QStyledItemDelegate::sizeHint(option, index).width(), rowHeight};
}

void TrackCellDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QWidget *widget = option.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();

    // The row's background (selection, alternate colour, hover) without the item's own content.
    QStyleOptionViewItem panel = opt;
    panel.text.clear();
    panel.features &= ~(QStyleOptionViewItem::HasCheckIndicator |
                        QStyleOptionViewItem::HasDecoration | QStyleOptionViewItem::HasDisplay);
    panel.icon = {};
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &panel, painter, widget);

    const RowInk ink = inkFor(opt);
    const QRect cell = opt.rect;
    const QRect textRect = cell.adjusted(textInset, 0, -textInset, 0);
    const int column = index.column();
    const TrackTableView *table = tableOf(option);
    const bool pressed = table && table->pressedIndex() == index;
    const bool hovered = opt.state & QStyle::State_MouseOver;

    if (table && table->dropTargetIndex().isValid() &&
        table->dropTargetIndex().row() == index.row()) {
        QColor accent = opt.palette.color(QPalette::Highlight);
        accent.setAlphaF(0.15f);
        painter->fillRect(cell, accent);
    }

    switch (column) {
    case TrackListModel::ReorderHandleColumn:
        drawReorderHandle(*painter, cell, ink.tertiary);
        break;
    case TrackListModel::DeleteColumn: {
        if (hovered || pressed) {
            painter->save();
            painter->setRenderHint(QPainter::Antialiasing);
            QColor wash = ink.primary;
            wash.setAlphaF(pressed ? 0.18f : 0.08f);
            painter->setPen(Qt::NoPen);
            painter->setBrush(wash);
            painter->drawRoundedRect(QRectF(cell).adjusted(3, 4, -3, -4), 4, 4);
            painter->restore();
        }
        drawText(*painter, cell, opt.text, scaled(opt.font, 0.85, QFont::DemiBold),
                 hovered ? ink.primary : ink.secondary, Qt::AlignHCenter);
        break;
    }
    case TrackListModel::IncludedColumn:
        drawCheckBox(*painter, controlRect(column, cell), opt.checkState == Qt::Checked, pressed,
                     opt.palette, ink);
        break;
    case TrackListModel::TypeColumn:
        paintTypeBadge(*painter, cell,
                       DigicoChannelType(index.data(TrackListModel::ChannelTypeRole).toInt()),
                       opt.font, ink.primary);
        break;
    case TrackListModel::NameColumn:
        drawText(*painter, textRect, opt.text, opt.font, ink.primary, Qt::AlignLeft);
        break;
    case TrackListModel::ConsoleInputColumn: {
        const bool dash = index.data(TrackListModel::PlaceholderRole).toBool();
        drawText(*painter, textRect, opt.text, opt.font, dash ? ink.tertiary : ink.primary,
                 Qt::AlignLeft);
        break;
    }
    case TrackListModel::AudioDeviceColumn:
    case TrackListModel::AudioChannelColumn: {
        const bool enabled = index.data(TrackListModel::ControlEnabledRole).toBool();
        const QRect control = controlRect(column, cell);
        if (enabled && (hovered || pressed)) {
            painter->save();
            painter->setRenderHint(QPainter::Antialiasing);
            QColor wash = ink.primary;
            wash.setAlphaF(0.07f);
            painter->setPen(Qt::NoPen);
            painter->setBrush(wash);
            painter->drawRoundedRect(QRectF(control), 5, 5);
            painter->restore();
        }
        const QColor color = enabled ? ink.primary : ink.tertiary;
        const QRect label = control.adjusted(textInset - 2, 0, -16, 0);
        drawText(*painter, label, opt.text, scaled(opt.font, 0.92), color, Qt::AlignLeft);
        drawChevron(*painter, QPointF(control.right() - 8, control.center().y() + 0.5),
                    enabled ? ink.secondary : ink.tertiary);
        break;
    }
    case TrackListModel::ColorColumn:
        paintColorWell(*painter, controlRect(column, cell),
                       index.data(TrackListModel::ColorRole).value<QColor>(), ink.secondary,
                       pressed);
        break;
    default:
        drawText(*painter, textRect, opt.text, opt.font, ink.primary, Qt::AlignLeft);
        break;
    }

    if (table && table->hasFocus() && table->currentIndex().row() == index.row()) {
        // The current row is framed: it is the one Delete, Space and Return act on.
        painter->save();
        // On a selected row the selection colour would hide it.
        QColor edge = opt.state & QStyle::State_Selected ? ink.primary
                                                         : opt.palette.color(QPalette::Highlight);
        edge.setAlphaF(0.9f);
        painter->setPen(QPen(edge, 1));
        const QRectF frame = QRectF(cell).adjusted(0.5, 0.5, -0.5, -0.5);
        painter->drawLine(frame.topLeft(), frame.topRight());
        painter->drawLine(frame.bottomLeft(), frame.bottomRight());
        if (column == 0)
            painter->drawLine(frame.topLeft(), frame.bottomLeft());
        if (column == TrackListModel::ColumnCount - 1)
            painter->drawLine(frame.topRight(), frame.bottomRight());
        painter->restore();
    }
}

QWidget *TrackCellDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                         const QModelIndex &index) const
{
    if (index.column() != TrackListModel::NameColumn)
        return nullptr;
    auto *editor = new TrackNameEditor(parent);
    editor->setFrame(false);
    editor->setFont(option.font);
    editor->setPlaceholderText(QString());
    editor->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // Each keystroke is one rename; the view model folds a run of them into one undo step.
    connect(editor, &QLineEdit::textEdited, this,
            [this, editor] { Q_EMIT const_cast<TrackCellDelegate *>(this)->commitData(editor); });
    return editor;
}

void TrackCellDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    auto *field = static_cast<QLineEdit *>(editor);
    const QString name = index.data(Qt::EditRole).toString();
    // Called again whenever the track changes under the field (an undo); the field keeps its
    // cursor when the name is what it already shows.
    if (field->text() != name)
        field->setText(name);
}

void TrackCellDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                     const QModelIndex &index) const
{
    const QString text = static_cast<QLineEdit *>(editor)->text();
    // Closing the field must not add an undo step for a name that did not change.
    if (text != index.data(Qt::EditRole).toString())
        model->setData(index, text, Qt::EditRole);
}

void TrackCellDelegate::updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                                             const QModelIndex &index) const
{
    Q_UNUSED(index);
    editor->setGeometry(option.rect.adjusted(textInset - 2, 1, -2, -1));
}

} // namespace kelvary::ui
