#include "app/ui/twstlist.h"

#include <QKeyEvent>
#include <QScrollBar>

TWstList::TWstList(QWidget *parent)
    : QListWidget(parent)
{
    setObjectName(QStringLiteral("WstList"));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    // Opaque: when it opens over the editor, the text under it is not drawn first.
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
    // Hot tracking: the item under the mouse becomes current.
    setMouseTracking(true);
    connect(this, &QListWidget::itemEntered, this, [this](QListWidgetItem *item) { setCurrentItem(item); });
    connect(this, &QListWidget::itemClicked, this, [this] { Q_EMIT chosen(); });
    hide();
}

void TWstList::setEntries(const QStringList &entries)
{
    if (entries.isSharedWith(m_entries) && count() == entries.size())
        return;
    clear();
    addItems(entries);
    m_entries = entries;
    m_textWidth = 0;
    const QFontMetrics metrics = fontMetrics();
    for (const QString &entry : entries)
        m_textWidth = std::max(m_textWidth, metrics.horizontalAdvance(entry));
}

QSize TWstList::fittingSize(int maxRows) const
{
    const int rows = std::max(1, std::min(count(), maxRows));
    const int rowHeight = std::max(sizeHintForRow(0), fontMetrics().height());
    int width = 80;
    if (m_entries.size() == count()) {
        width = std::max(width, m_textWidth);
    } else {
        for (int i = 0; i < count(); ++i)
            width = std::max(width, fontMetrics().horizontalAdvance(item(i)->text()));
    }
    width += 2 * frameWidth() + 16;
    if (count() > maxRows)
        width += verticalScrollBar()->sizeHint().width();
    return { width, rows * rowHeight + 2 * frameWidth() };
}

void TWstList::keyPressEvent(QKeyEvent *e)
{
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Q_EMIT chosen();
        return;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        QListWidget::keyPressEvent(e);
        return;
    default:
        break;
    }
    // Ctrl+J is the line feed character: it chooses as Enter does.
    if (e->text() == QStringLiteral("\n")) {
        Q_EMIT chosen();
        return;
    }
    Q_EMIT keyTyped(e);
}

void TWstList::focusOutEvent(QFocusEvent *e)
{
    QListWidget::focusOutEvent(e);
    Q_EMIT left();
}
