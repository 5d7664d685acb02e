#pragma once

#include "base/documentencoding.h"

#include <QObject>
#include <QString>

class DocumentManager;
class QAction;
class QMenu;
class QWidget;
class TEditor;

// How the current document is written to its file: the code page menu "&Kodowanie pl"
// (Win1, ISO1, UTF81) and the line break menu "&Koniec wiersza" (KoniecCRLF1,
// KoniecLF1, KoniecCR1), and what the status bar shows of both.
class FormatController : public QObject
{
    Q_OBJECT
public:
    // window: owns the controller and its menus; documents outlive it.
    FormatController(QWidget &window, DocumentManager &documents);

    QMenu *codePageMenu() const { return m_codePages; }
    QMenu *lineBreakMenu() const { return m_lineBreaks; }

    // The status bar's texts for a document (nullptr: none open): the code page ("Win",
    // "ISO", "UTF-8", "UTF-16LE", "UTF-16BE"; "?") and the line break ("CR LF", "LF",
    // "CR", with "(mieszane)" while the file read had mixed ones; "?").
    static QString codePageText(const TEditor *editor);
    static QString lineBreakText(const TEditor *editor);
    // A longer word on either, for the panels' tool tips.
    static QString codePageTip(const TEditor *editor);
    static QString lineBreakTip(const TEditor *editor);

    // Checks the menu entries of the editor's code page and line break.
    void refresh(const TEditor *editor);

Q_SIGNALS:
    // A choice was made: the status bar and the commands are to be brought up to date.
    void changed();

private:
    QAction *addChoice(QMenu *menu, const QString &objectName, const QString &text);

    DocumentManager &m_documents;
    QMenu *m_codePages = nullptr;
    QMenu *m_lineBreaks = nullptr;
    QAction *m_win = nullptr;
    QAction *m_iso = nullptr;
    QAction *m_utf8 = nullptr;
    QAction *m_crLf = nullptr;
    QAction *m_lf = nullptr;
    QAction *m_cr = nullptr;
};
