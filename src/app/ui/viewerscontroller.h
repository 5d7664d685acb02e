#pragma once

#include <QObject>
#include <functional>

class MarkoraSettings;
class QAction;
class QMenu;

// The external viewers ("Viewers"): the preview menu's "Podgląd w programie" with the
// system browser first (the default) and then one entry per viewer, each opening the
// preview file in its program without a shell; and "Przeglądarki zewnętrzne..." of the
// settings menu, whose OK rebuilds the entries.
class ViewersController : public QObject
{
    Q_OBJECT
public:
    // window: owns the controller, its actions, menu and messages; settings outlive it.
    // systemBrowser: the preview command of the system browser. previewFile writes the
    // current document's preview file and returns its path (empty: nothing to show, the
    // writer said why).
    ViewersController(QWidget &window, MarkoraSettings &settings, QAction *systemBrowser,
        std::function<QString()> previewFile);

    // "PodgladWProgramie1": it needs a document.
    QMenu *viewersMenu() const { return m_menu; }
    // UstawieniaPrzegladarki1.
    QAction *viewersDialogAction() const { return UstawieniaPrzegladarki1; }
    // The viewers' entries, in menu order ("Viewer1", ...).
    QList<QAction *> viewerActions() const { return m_entries; }

    void UstawieniaPrzegladarki1Click();
    // Reads "Viewers" again and makes the entries anew.
    void rebuild();

Q_SIGNALS:
    // The entries were made anew (their shortcuts are to be applied again).
    void entriesRebuilt(const QList<QAction *> &entries);

private:
    QWidget &m_window;
    MarkoraSettings &m_settings;
    QAction *m_systemBrowser;
    std::function<QString()> m_previewFile;
    QMenu *m_menu = nullptr;
    QAction *m_entriesEnd = nullptr; // the separator after the entries
    QAction *UstawieniaPrzegladarki1 = nullptr;
    QList<QAction *> m_entries;
};
