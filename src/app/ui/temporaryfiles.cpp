#include "app/ui/temporaryfiles.h"

#include "app/previewfile.h"
#include "base/privatedir.h"
#include "base/ui/msgbox.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>

TemporaryFiles::TemporaryFiles(QWidget *messageParent)
    : m_messageParent(messageParent)
{
}

QString TemporaryFiles::write(const QString &action, const QString &documentFile, const QString &name,
    QByteArrayView bytes, QString *error)
{
    const TemporaryFileWrite w = WriteTemporaryFile(documentFile, name, bytes, PrivateFolder());
    if (!w.refusedPath.isEmpty() && !m_refused.contains(w.refusedPath)) {
        // Told once per file: the tag preview is written on every change in the grid.
        m_refused << w.refusedPath;
        MsgBox::show(m_messageParent, QMessageBox::Warning, action + QStringLiteral(": ostrzeżenie"),
            QStringLiteral("Plik ") + QDir::toNativeSeparators(w.refusedPath)
                + QStringLiteral(" nie jest zwykłym plikiem należącym do Ciebie (może to być dowiązanie "
                                 "podłożone przez innego użytkownika), więc nie zostanie nadpisany.\n")
                + (w.ok ? QStringLiteral("Podgląd zapisano w folderze prywatnym: ")
                            + QDir::toNativeSeparators(w.path)
                            + QStringLiteral("\nOdnośniki względne mogą w nim nie działać.")
                        : QString()));
    }
    if (!w.ok) {
        if (error)
            *error = w.errorText;
        return QString();
    }
    const QString full = QFileInfo(w.path).absoluteFilePath();
    if (!m_paths.contains(full))
        m_paths << full;
    return w.path;
}

void TemporaryFiles::removeAll()
{
    for (const QString &f : std::as_const(m_paths)) {
        if (QFileInfo(f).isFile() && !RemoveOwnFile(f)) {
            std::fprintf(stderr, "markora: nie można usunąć pliku tymczasowego %s\n", qPrintable(f));
            std::fflush(stderr);
        }
    }
    m_paths.clear();
}
