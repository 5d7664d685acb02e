#pragma once

#include "app/externalviewers.h"

#include <QDialog>
#include <functional>

class MarkoraSettings;
class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// The external viewers ("Viewers"): a list of programs the preview file can be opened in,
// each with its name, command and arguments. OK checks every entry and writes the section.
class TViewersDial : public QDialog
{
    Q_OBJECT
public:
    // settings must outlive the dialog; the list is read from it now.
    explicit TViewersDial(MarkoraSettings &settings, QWidget *parent = nullptr);

    QListWidget *ListaPrzegladarek = nullptr;
    QLineEdit *EdNazwa = nullptr;
    QLineEdit *EdPolecenie = nullptr;
    QLineEdit *EdArgumenty = nullptr;
    QLabel *LbPolecenie = nullptr; // what would be started, for a sample file
    QPushButton *BtnDodaj = nullptr;
    QPushButton *BtnUsun = nullptr;
    QPushButton *BtnWGore = nullptr;
    QPushButton *BtnWDol = nullptr;
    QPushButton *BtnOK = nullptr;
    QPushButton *BtnAnuluj = nullptr;

    // The list as edited so far.
    const QList<ExternalViewer> &viewers() const { return m_viewers; }

    void BtnDodajClick();
    void BtnUsunClick();
    void BtnWGoreClick();
    void BtnWDolClick();
    // Writes the list and closes; an entry without a name or a command, or with arguments
    // that do not split, is reported ("Przeglądarki: błąd"), chosen, and nothing is written.
    void BtnOKClick();

    // The preview menu's entries for viewers, one action each, children of parent. A click
    // asks previewFile for the file to show (empty: nothing to show, the caller said why),
    // starts the viewer on it without a shell and reports a failure with its reason
    // ("Podgląd: błąd") over messageParent.
    static QList<QAction *> viewerActions(const QList<ExternalViewer> &viewers, QObject *parent,
        const std::function<QString()> &previewFile, QWidget *messageParent);

private:
    void ListaPrzegladarekChange();
    void fieldEdited();
    void showCommand();
    void move(int by);

    MarkoraSettings &m_settings;
    QList<ExternalViewer> m_viewers;
    bool m_loading = false;
};
