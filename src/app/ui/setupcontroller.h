#pragma once

#include "app/setupoptions.h"

#include <QObject>
#include <QPointer>
#include <functional>

class MarkoraSettings;
class QAction;
class TSetupDial;

// The setup options' one copy: read at start-up, changed in the setup dialog
// ("Konfiguracja1"), the "Edytor" look written at close. Every part of the program reads
// options() and follows optionsChanged().
class SetupController : public QObject
{
    Q_OBJECT
public:
    // window: owns the controller, its action and the dialog; settings outlive it.
    // Holds the defaults until read() is called.
    SetupController(QWidget &window, MarkoraSettings &settings);

    const SetupOptions &options() const { return m_options; }
    void setOptions(const SetupOptions &options);
    // The stored options, as at start-up; then optionsChanged.
    void read();
    // "Edytor" alone: the window's close writes these, the dialog's OK all of them.
    void writeEditor() const;

    // Konfiguracja1, for the "Ustawienia" menu.
    QAction *konfiguracjaAction() const { return m_konfiguracja; }
    // The view toggle ChkZawijanie, which the dialog's wrap box shows and sets.
    void setWordWrapToggle(QAction *toggle) { m_wordWrap = toggle; }
    // The default template of new documents, which the dialog shows and changes: its
    // owner reads and sets it through these.
    void setTemplateAccess(std::function<QString()> get, std::function<void(const QString &)> set)
    {
        m_templateGet = std::move(get);
        m_templateSet = std::move(set);
    }
    // Creates the setup dialog now (start-up creates it after the main window).
    TSetupDial *setupDialog();
    void UstawieniaKonfiguracja1Click();

Q_SIGNALS:
    // The options were read, the setup dialog was confirmed or setOptions was called.
    void optionsChanged();
    // The dialog is about to be shown: other parts fill their pages (added with addPage).
    void dialogOpening(TSetupDial *dialog);
    // The dialog was confirmed: other parts take their pages' options.
    void dialogAccepted(TSetupDial *dialog);

private:
    QWidget &m_window;
    MarkoraSettings &m_settings;
    SetupOptions m_options;
    QAction *m_konfiguracja = nullptr;
    QAction *m_wordWrap = nullptr;
    QPointer<TSetupDial> m_dialog;
    std::function<QString()> m_templateGet;
    std::function<void(const QString &)> m_templateSet;
};
