#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QToolButton;

// An address field with a file chooser beside it. A chosen file is written as the
// relative-path rule says, and when it comes out absolute the note under the field says
// why; an address typed by hand stays as typed.
class TAddressEdit : public QWidget
{
    Q_OBJECT
public:
    // documentFile: the document's full path, empty when it was never saved. filter: the
    // file dialog's filter ("Obrazki (*.png *.jpg)").
    TAddressEdit(const QString &documentFile, const QString &filter, QWidget *parent = nullptr);

    QString text() const;
    void setText(const QString &text);
    // The local file the address points to, empty when it names none (see LinkToLocalFile).
    QString localFile() const;

    QLineEdit *Edit = nullptr;
    QToolButton *BtnWybierz = nullptr;
    QLabel *LbUwaga = nullptr;

public Q_SLOTS:
    // Opens the file dialog in the folder of the current address or of the document.
    void BtnWybierzClick();
    // Writes path (a full path) as the address, as if it was chosen in the file dialog.
    void FileChosen(const QString &path);

Q_SIGNALS:
    void fileChosen(const QString &path);

private:
    QString m_documentFile;
    QString m_filter;
};
