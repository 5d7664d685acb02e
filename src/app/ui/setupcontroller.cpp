#include "app/ui/setupcontroller.h"

#include "app/ui/tsetupdial.h"
#include "base/settings.h"

#include <QAction>

SetupController::SetupController(QWidget &window, MarkoraSettings &settings)
    : QObject(&window)
    , m_window(window)
    , m_settings(settings)
{
    m_konfiguracja = new QAction(QStringLiteral("&Konfiguracja..."), &window);
    m_konfiguracja->setObjectName(QStringLiteral("Konfiguracja1"));
    connect(m_konfiguracja, &QAction::triggered, this, [this] { UstawieniaKonfiguracja1Click(); });
}

void SetupController::setOptions(const SetupOptions &options)
{
    m_options = options;
    Q_EMIT optionsChanged();
}

void SetupController::read() { setOptions(SetupOptions::read(m_settings)); }

void SetupController::writeEditor() const { m_options.writeEditor(m_settings); }

TSetupDial *SetupController::setupDialog()
{
    if (!m_dialog)
        m_dialog = new TSetupDial(&m_window);
    return m_dialog;
}

void SetupController::UstawieniaKonfiguracja1Click()
{
    TSetupDial *dlg = setupDialog();
    const bool wrap = m_wordWrap && m_wordWrap->isChecked();
    dlg->setOptions(m_options, wrap);
    Q_EMIT dialogOpening(dlg);
    dlg->setDefaultTemplate(m_templateGet ? m_templateGet() : QString());
    if (dlg->exec() != QDialog::Accepted)
        return;
    if (m_templateSet)
        m_templateSet(dlg->defaultTemplate());
    if (m_wordWrap && dlg->wordWrap() != wrap)
        m_wordWrap->trigger();
    const SetupOptions chosen = dlg->options();
    chosen.write(m_settings);
    setOptions(chosen);
    Q_EMIT dialogAccepted(dlg);
}
