#include "base/ui/msgbox.h"

#include <QInputDialog>
#include <QPushButton>

namespace MsgBox {
namespace {
Handler &handler()
{
    static Handler h;
    return h;
}
InputHandler &inputHandler()
{
    static InputHandler h;
    return h;
}
} // namespace

void setHandler(Handler h) { handler() = std::move(h); }
void setInputHandler(InputHandler h) { inputHandler() = std::move(h); }

QMessageBox::StandardButton show(QWidget *parent, QMessageBox::Icon icon, const QString &caption,
    const QString &text, QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton)
{
    if (handler())
        return handler()(Request { icon, caption, text, buttons, defaultButton });
    QMessageBox box(icon, caption, text, buttons, parent);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    // Polish captions on the standard buttons.
    if (auto *b = box.button(QMessageBox::Yes))
        b->setText(QStringLiteral("&Tak"));
    if (auto *b = box.button(QMessageBox::No))
        b->setText(QStringLiteral("&Nie"));
    if (auto *b = box.button(QMessageBox::Cancel))
        b->setText(QStringLiteral("Anuluj"));
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

std::optional<QString> input(QWidget *parent, const QString &title, const QString &prompt,
                             const QString &initial)
{
    if (inputHandler())
        return inputHandler()(title, prompt, initial);
    QInputDialog dlg(parent);
    dlg.setWindowTitle(title);
    dlg.setLabelText(prompt);
    dlg.setTextValue(initial);
    dlg.setOkButtonText(QStringLiteral("OK"));
    dlg.setCancelButtonText(QStringLiteral("Anuluj"));
    if (dlg.exec() != QDialog::Accepted)
        return std::nullopt;
    return dlg.textValue();
}

} // namespace MsgBox
