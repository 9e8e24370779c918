#include "ui/dialogs/CurveGrid.h"

#include "core/CurveValues.h"
#include "core/EditorState.h"
#include "core/FieldNames.h"
#include "core/ImageModel.h"
#include "core/NumberText.h"
#include "core/Prompts.h"
#include "ui/Twips.h"
#include "ui/editor/FieldMarks.h"
#include "ui/editor/MarkDecoration.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

namespace
{

constexpr int kPoints = 32;
constexpr int kOhmsColumn = 1;
constexpr int kValueColumn = 2;
constexpr int kBackspace = 8;
constexpr int kIndexColumnTwips = 500;
constexpr int kDataColumnTwips = 1100;
// An Index cell whose point differs from the reference.
constexpr int kMarkedRole = Qt::UserRole + 1;

// The Index column: the cell as usual, and the difference mark at its right end.
class IndexDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        if (!index.data(kMarkedRole).toBool())
            return;
        const int size = MarkDecoration::kSize;
        const QRect cell = option.rect;
        MarkDecoration::paint(*painter, QRectF(cell.right() - size - 2, cell.center().y() - size / 2.0, size, size));
    }
};

bool isMenuKey(const QKeyEvent *key)
{
    return key->key() == Qt::Key_Menu || (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier);
}

} // namespace

CurveGrid::CurveGrid(EditorState &state, ImageModel &image, Prompts &prompts, QWidget *parent)
    : QTableWidget(kPoints, 3, parent), m_state(state), m_image(image), m_prompts(prompts)
{
    setObjectName(QStringLiteral("MSFlexGrid1"));
    setAccessibleName(QStringLiteral("Calibration curve points"));
    setHorizontalHeaderLabels({QStringLiteral("Index"), QStringLiteral("Ohms"), QStringLiteral("Value")});
    verticalHeader()->hide();
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    // The designed 500 twips, unless the heading would be cut off in this font.
    const int headingWidth = horizontalHeader()->sectionSizeHint(0);
    setColumnWidth(0, qMax(twips::toPixels(kIndexColumnTwips), headingWidth));
    setColumnWidth(kOhmsColumn, twips::toPixels(kDataColumnTwips));
    setColumnWidth(kValueColumn, twips::toPixels(kDataColumnTwips));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFrameShadow(QFrame::Plain);
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    setItemDelegateForColumn(0, new IndexDelegate(this));

    for (int r = 0; r < kPoints; ++r) {
        for (int c = 0; c < 3; ++c) {
            auto *cell = new QTableWidgetItem;
            cell->setTextAlignment(Qt::AlignCenter);
            if (c == 0) {
                // A fixed column like the headings: shaded, never the current cell.
                cell->setFlags(Qt::NoItemFlags);
                cell->setBackground(palette().button());
                cell->setForeground(palette().buttonText());
            }
            setItem(r, c, cell);
        }
    }
    setCurrentCell(0, kOhmsColumn);
    installEventFilter(this);
    viewport()->installEventFilter(this);
}

void CurveGrid::setFieldMarks(FieldMarks *marks)
{
    m_marks = marks;
    if (marks)
        connect(marks, &FieldMarks::changed, this, &CurveGrid::showMarks);
    showMarks();
}

int CurveGrid::fullWidth() const
{
    return 2 * frameWidth() + columnWidth(0) + columnWidth(kOhmsColumn) + columnWidth(kValueColumn) +
           verticalScrollBar()->sizeHint().width();
}

QString CurveGrid::text(int row, int col) const
{
    if (col < 0 || col > 2 || row < 0 || row > kPoints)
        return QString();
    if (row == 0)
        return horizontalHeaderItem(col)->text();
    return item(row - 1, col)->text();
}

bool CurveGrid::curveLoaded() const
{
    return m_state.session.editCurveNumber >= 1 && m_state.session.editCurveNumber <= 32;
}

int CurveGrid::curve() const
{
    return m_state.session.editCurveNumber;
}

void CurveGrid::setCell(int row, int col, const QString &text)
{
    QTableWidgetItem *cell = item(row - 1, col);
    cell->setText(text);
    cell->setTextAlignment(Qt::AlignCenter);
}

void CurveGrid::setUnits(bool celsius, bool bars)
{
    m_celsius = celsius;
    m_bars = bars;
}

void CurveGrid::showCurve()
{
    for (int p = 1; p <= kPoints; ++p) {
        setCell(p, 0, QString::number(p));
        setCell(p, kOhmsColumn, numtext::floatText(m_image.curveOhms(curve(), p)));
    }
    showValues();
    showMarks();
}

void CurveGrid::showValues()
{
    for (int p = 1; p <= kPoints; ++p)
        setCell(p, kValueColumn, curvevalues::valueText(curve(), m_image.curveValue(curve(), p), m_celsius, m_bars));
}

// --- typing ---------------------------------------------------------------------------------

void CurveGrid::typeKey(int keyAscii)
{
    const bool digitOrPoint = (keyAscii >= '0' && keyAscii <= '9') || keyAscii == '.';
    if (!digitOrPoint && keyAscii != kBackspace) {
        m_prompts.beep();
        return;
    }
    const int row = currentRow() + 1;
    const int col = currentColumn();
    if (row < 1 || col < 0)
        return;
    QString typed = text(row, col);
    if (digitOrPoint)
        typed += QChar(keyAscii);
    else if (!typed.isEmpty())
        typed.chop(1);
    setCell(row, col, typed);
    // 99: the image was replaced while the grid still showed the old curve.
    if (!curveLoaded())
        return;
    storeCell(row, col);
    emit pointTyped();
}

void CurveGrid::storeCell(int row, int col)
{
    // The grid's numbers are typed (digits and ".") or written by showCurve, which
    // writes very large and very small numbers with an exponent: those read back whole.
    const double number = numtext::floatTextNumber(text(row, col));
    if (col == kValueColumn)
        m_image.setCurveValue(curve(), row, curvevalues::storedValue(curve(), number, m_celsius, m_bars));
    else if (col == kOhmsColumn)
        m_image.setCurveOhms(curve(), row, curvevalues::toSingle(number));
}

void CurveGrid::storeAll()
{
    for (int p = 1; p <= kPoints; ++p) {
        storeCell(p, kOhmsColumn);
        storeCell(p, kValueColumn);
    }
}

bool CurveGrid::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ContextMenu) {
        auto *menu = static_cast<QContextMenuEvent *>(event);
        const bool byKeyboard = menu->reason() != QContextMenuEvent::Mouse;
        const QModelIndex at = byKeyboard ? currentIndex() : indexAt(viewport()->mapFromGlobal(menu->globalPos()));
        return showPutBackMenu(at, byKeyboard, menu->globalPos());
    }
    if (watched != this || event->type() != QEvent::KeyPress)
        return QTableWidget::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    if (isMenuKey(key))
        return showPutBackMenu(currentIndex(), true, QPoint());
    // Focus keys and keys that type nothing (arrows, Page Up, ...) keep their
    // usual meaning; everything that types a character is the grid's.
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab ||
        (key->modifiers() & (Qt::AltModifier | Qt::MetaModifier)))
        return false;
    if (key->key() == Qt::Key_Backspace) {
        typeKey(kBackspace);
        return true;
    }
    const QString typed = key->text();
    if (typed.isEmpty())
        return false;
    for (const QChar c : typed)
        typeKey(c.unicode());
    return true;
}

// --- difference marks -----------------------------------------------------------------------

QString CurveGrid::pointField(int row) const
{
    return fields::curvePointFieldName(curve(), row);
}

void CurveGrid::showMarks()
{
    for (int p = 1; p <= kPoints; ++p) {
        const QString field = curveLoaded() ? pointField(p) : QString();
        const bool marked = m_marks && !field.isEmpty() && m_marks->differs(field);
        const QString line = marked ? m_marks->referenceText(field) : QString();
        for (int c = 0; c < 3; ++c) {
            QTableWidgetItem *cell = item(p - 1, c);
            if (!marked && !cell->data(kMarkedRole).toBool())
                continue; // never marked: the cell stays exactly as it was
            cell->setData(kMarkedRole, marked ? QVariant(true) : QVariant());
            cell->setData(Qt::ToolTipRole, marked ? QVariant(line) : QVariant());
            cell->setData(Qt::AccessibleDescriptionRole, marked ? QVariant(line) : QVariant());
        }
    }
}

bool CurveGrid::showPutBackMenu(const QModelIndex &at, bool byKeyboard, const QPoint &globalPos)
{
    if (!at.isValid() || !at.data(kMarkedRole).toBool() || !m_marks)
        return false;
    const QPoint where = byKeyboard ? viewport()->mapToGlobal(visualRect(at).center()) : globalPos;
    m_marks->showPutBackMenu({pointField(at.row() + 1)}, where, this);
    return true;
}
