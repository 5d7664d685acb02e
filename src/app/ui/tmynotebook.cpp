#include "app/ui/tmynotebook.h"

#include <QResizeEvent>

TMyNotebook::TMyNotebook(QWidget *parent) : QWidget(parent) {}

TMyNotebook::~TMyNotebook() = default;

QWidget *TMyNotebook::page(int index) const
{
    return index >= 0 && index < count() ? m_pages[index].control : nullptr;
}

QString TMyNotebook::caption(int index) const
{
    return index >= 0 && index < count() ? m_pages[index].caption : QString();
}

void TMyNotebook::setCaption(int index, const QString &caption)
{
    if (index >= 0 && index < count())
        m_pages[index].caption = caption;
}

int TMyNotebook::indexOf(const QWidget *control) const
{
    for (int i = 0; i < count(); ++i)
        if (m_pages[i].control == control)
            return i;
    return -1;
}

void TMyNotebook::ShowPage(int index)
{
    if (m_pages.isEmpty())
        return;
    if (m_current >= 0 && m_current < count())
        m_pages[m_current].control->hide();
    if (index >= count())
        index = 0;
    if (index < 0)
        index = count() - 1;
    m_current = index;
    QWidget *w = m_pages[index].control;
    w->setGeometry(rect());
    w->show();
    w->setEnabled(true);
    w->setFocus();
    Q_EMIT currentChanged(index);
}

void TMyNotebook::AddPage(const QString &caption, QWidget *control)
{
    control->setParent(this);
    control->setGeometry(rect());
    m_pages.append(Page{caption, control});
    control->show();
    if (count() == 1)
        Q_EMIT OnNotEmpty();
}

void TMyNotebook::RemovePage(QWidget *control)
{
    const int i = indexOf(control);
    if (i < 0)
        return;
    m_pages.removeAt(i);
    control->hide();
    if (m_pages.isEmpty()) {
        m_current = -1;
        Q_EMIT OnEmpty();
        return;
    }
    // The current index now names the page after the removed one; past the end it
    // wraps to the first page.
    ShowPage(m_current);
}

void TMyNotebook::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    for (const Page &p : m_pages)
        p.control->setGeometry(rect());
}
