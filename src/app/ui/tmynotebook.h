#pragma once

#include <QStringList>
#include <QWidget>

// The page container of the document editors: one page per open document, in tab
// order, exactly one page shown at a time.
class TMyNotebook : public QWidget
{
    Q_OBJECT
public:
    explicit TMyNotebook(QWidget *parent = nullptr);
    ~TMyNotebook() override;

    int count() const { return int(m_pages.size()); }
    int currentIndex() const { return m_current; }
    QWidget *page(int index) const;
    QString caption(int index) const;
    void setCaption(int index, const QString &caption);
    int indexOf(const QWidget *control) const;

    // Shows the page at index: past the last becomes 0, negative becomes the last.
    void ShowPage(int index);
    // Appends a page and shows it; the first page fires OnNotEmpty.
    void AddPage(const QString &caption, QWidget *control);
    // Takes the control's page out (the control is not deleted); the last page fires OnEmpty.
    void RemovePage(QWidget *control);

Q_SIGNALS:
    void OnEmpty();
    void OnNotEmpty();
    void currentChanged(int index);

protected:
    void resizeEvent(QResizeEvent *e) override;

private:
    struct Page {
        QString caption;
        QWidget *control;
    };
    QList<Page> m_pages;
    int m_current = -1;
};
