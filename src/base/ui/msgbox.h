#pragma once

#include <QMessageBox>
#include <QString>
#include <functional>
#include <optional>

class QWidget;

// Every message box and input question of the program goes through here, so that a
// test (or a script) can answer in the user's place instead of a modal dialog.
namespace MsgBox {

struct Request {
    QMessageBox::Icon icon;
    QString caption;
    QString text;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};
using Handler = std::function<QMessageBox::StandardButton(const Request &)>;
// The answer to an input question; nullopt means Cancel.
using InputHandler = std::function<std::optional<QString>(const QString &title, const QString &prompt,
                                                          const QString &initial)>;

// Replaces the real dialogs; an empty handler restores them.
void setHandler(Handler handler);
void setInputHandler(InputHandler handler);

QMessageBox::StandardButton show(QWidget *parent, QMessageBox::Icon icon, const QString &caption,
    const QString &text, QMessageBox::StandardButtons buttons = QMessageBox::Ok,
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
std::optional<QString> input(QWidget *parent, const QString &title, const QString &prompt,
                             const QString &initial = QString());

} // namespace MsgBox
