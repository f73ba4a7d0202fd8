#pragma once

#include <QStyledItemDelegate>

namespace kelvary::ui {

// Paints every cell of the track table from the model's roles, and edits the name in a plain
// line edit whose every keystroke is a rename. Clicks on the cells' controls are the table's
// business (TrackTableView); this class only says where the controls are.
class TrackCellDelegate final : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // Tall enough for the 22-point colour well with room around it.
    static constexpr int rowHeight = 30;

    // Where a column's control sits in its cell; empty for columns without one.
    static QRect controlRect(int column, const QRect &cell);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override;
    void updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const override;
};

} // namespace kelvary::ui
