#include "ui/dialogs/ListItemMarks.h"

#include "ui/editor/FieldMarks.h"
#include "ui/editor/MarkDecoration.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QPainter>
#include <QPointer>

namespace
{

constexpr int kMarkedRole = Qt::UserRole + 1;
constexpr int kGap = 4;

// The list's own drawing of its entries, and the mark after a marked one.
class MarkingDelegate : public QAbstractItemDelegate
{
public:
    MarkingDelegate(QAbstractItemDelegate *shown, QObject *parent) : QAbstractItemDelegate(parent), m_shown(shown) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        if (m_shown)
            m_shown->paint(painter, option, index);
        if (!index.data(kMarkedRole).toBool())
            return;
        const int size = MarkDecoration::kSize;
        const QRect r = option.rect;
        MarkDecoration::paint(*painter, QRectF(r.right() - size - kGap, r.center().y() - size / 2.0, size, size));
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize size = m_shown ? m_shown->sizeHint(option, index) : QSize();
        if (index.data(kMarkedRole).toBool())
            size.rwidth() += MarkDecoration::kSize + 2 * kGap;
        return size;
    }

private:
    QPointer<QAbstractItemDelegate> m_shown;
};

} // namespace

ListItemMarks::ListItemMarks(QComboBox *list, FieldMarks &marks, std::function<QStringList(int)> fieldsOf)
    : QObject(list), m_list(list), m_marks(&marks), m_fieldsOf(std::move(fieldsOf))
{
    QAbstractItemView *view = list->view();
    view->setItemDelegate(new MarkingDelegate(view->itemDelegate(), this));
    connect(&marks, &FieldMarks::changed, this, &ListItemMarks::update);
    update();
}

bool ListItemMarks::isMarked(const QComboBox *list, int entry)
{
    return list->itemData(entry, kMarkedRole).toBool();
}

void ListItemMarks::update()
{
    for (int i = 0; i < m_list->count(); ++i) {
        QStringList lines;
        const QStringList fields = m_fieldsOf(i);
        for (const QString &field : fields)
            if (m_marks && m_marks->differs(field))
                lines << (fields.size() == 1 ? m_marks->referenceText(field)
                                             : QStringLiteral("%1 (%2)").arg(m_marks->referenceText(field), field));
        const bool marked = !lines.isEmpty();
        if (!marked && !isMarked(m_list, i))
            continue; // never marked: the entry stays exactly as it was
        const QVariant line = marked ? QVariant(lines.join(QLatin1Char('\n'))) : QVariant();
        m_list->setItemData(i, marked ? QVariant(true) : QVariant(), kMarkedRole);
        m_list->setItemData(i, line, Qt::ToolTipRole);
        m_list->setItemData(i, line, Qt::AccessibleDescriptionRole);
    }
}
