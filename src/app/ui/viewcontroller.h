#pragma once

#include "app/startupsettings.h"

#include <QObject>
#include <functional>

class DocumentManager;
class MarkoraSettings;
class QAction;
class QDockWidget;
class QMainWindow;
class QMenu;
class QToolBar;

// The window's view: the four toggles of the "Widok" menu (word wrap "ChkZawijanie",
// the button bar, the file panel, the status bar), the toolbars menu, the sizes of the
// panes and the toolbar positions; read at start-up and written at close.
class ViewController : public QObject
{
    Q_OBJECT
public:
    // The panes whose visibility and size the view keeps; they live as long as the window.
    struct Panes
    {
        QToolBar *buttonBar = nullptr;
        QDockWidget *filePanel = nullptr;
        QDockWidget *upperPane = nullptr;
        QDockWidget *preview = nullptr;
    };
    // window: owns the controller, its actions and menu; documents and settings outlive it.
    ViewController(
        QMainWindow &window, DocumentManager &documents, MarkoraSettings &settings, const Panes &panes);

    // ChkZawijanie, Pasekprzyciskow1, Panelplikow1, Pasekstatusu1, in menu order.
    QList<QAction *> toggles() const
    {
        return { ChkZawijanie, Pasekprzyciskow1, Panelplikow1, Pasekstatusu1 };
    }
    QAction *wordWrapToggle() const { return ChkZawijanie; }
    bool wordWrap() const;
    // The toolbars menu "Paski1": one entry per toolbar, named after it plus "_tbMenu".
    QMenu *toolbarsMenu() const { return m_toolbarsMenu; }
    void rebuildToolbarsMenu();

    // Each toggle is set to the opposite of its value and clicked into it, which applies
    // it; then the pane sizes.
    void restore(const StartupSettings &values);
    // At the first show, when every part has added its toolbars: the toolbar positions
    // ("Toolbarz/Stan"); then the toggles win over what those say.
    void restoreToolbarPositions(const StartupSettings &values);
    // At close: the toolbar positions, the toggles and the sizes of the panes shown.
    void save(StartupSettings &values);

private:
    QAction *addToggle(const char *name, const QString &text, std::function<void(bool)> apply);

    QMainWindow &m_window;
    MarkoraSettings &m_settings;
    Panes m_panes;
    QAction *ChkZawijanie = nullptr;
    QAction *Pasekprzyciskow1 = nullptr;
    QAction *Panelplikow1 = nullptr;
    QAction *Pasekstatusu1 = nullptr;
    QMenu *m_toolbarsMenu = nullptr;
};
