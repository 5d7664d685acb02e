#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QList>
#include <QObject>
#include <QString>
#include <functional>

class DocumentSet;
class EditableDocument;

// The editor's automation object on the session bus: what other programs script (the
// text and the selection of a document, tag pairs by the common insertion rule, opening
// and saving files, message boxes) and signals when documents are opened, saved and
// closed. Documents are named by their DocumentId; 0 is the active document. Positions
// and lengths count UTF-16 code units, as everywhere in the editor; texts are Unicode
// whole, and a CR LF or CR a client sends is one line break. A request that cannot be
// carried out changes nothing and is answered with a D-Bus error of the
// "pl.lindenworks.Markora.Error." family, with the reason in Polish. The interface is
// described in src/ipc/bus/pl.lindenworks.Markora.Editor.xml.
class AutomationBus : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "pl.lindenworks.Markora.Editor")
public:
    static QString serviceName() { return QStringLiteral("pl.lindenworks.Markora"); }
    static QString objectPath() { return QStringLiteral("/pl/lindenworks/Markora"); }
    static QString interfaceName() { return QStringLiteral("pl.lindenworks.Markora.Editor"); }

    // What the editor does for the object. A missing one makes its method an error.
    struct Actions
    {
        // Opens a file by full path as the open command does, asking nothing; the
        // DocumentId or 0.
        std::function<int(const QString &path)> open;
        // Wraps the selection of the active document in opening and closing by the common
        // insertion rule (the object made doc the active one first); false when nothing
        // was inserted.
        std::function<bool(EditableDocument *doc, const QString &opening, const QString &closing)> insertPair;
        // Saves doc (path empty: to its own file) asking nothing; false with the reason.
        std::function<bool(EditableDocument *doc, const QString &path, QString *error)> save;
        // Shows a message box over the editor and returns the button chosen: kind is one
        // of MessageKind's words.
        std::function<QString(const QString &kind, const QString &caption, const QString &text)> message;
    };

    // The documents must outlive the object.
    AutomationBus(DocumentSet &documents, Actions actions, QObject *parent = nullptr);
    ~AutomationBus() override;

    // Puts the object on connection under objectPath() and takes serviceName(). False with
    // the reason when the bus is not there or the name is someone else's (the object then
    // stays off the bus).
    bool publish(const QDBusConnection &connection, QString *error = nullptr);

    // The words of MessageBox's kind, and the buttons each gives: "informacja",
    // "ostrzeżenie" and "błąd" OK ("ok"); "pytanie" Yes and No ("tak", "nie");
    // "wątpliwość" Yes, No and Cancel ("tak", "nie", "anuluj").
    static const QStringList &messageKinds();

    // ---- The interface ---------------------------------------------------------
public Q_SLOTS:
    // The active document's id; 0 when no document is open.
    Q_SCRIPTABLE int ActiveDocument();
    // Every open document's id, in tab order.
    Q_SCRIPTABLE QList<int> Documents();
    // The document's file (full path); empty for one never saved.
    Q_SCRIPTABLE QString FileName(int document);
    Q_SCRIPTABLE bool IsModified(int document);
    Q_SCRIPTABLE QString Text(int document);
    // Replaces the whole text, as one step that undo takes back.
    Q_SCRIPTABLE void SetText(int document, const QString &text);
    // The selection: its start and length (0: the caret alone).
    Q_SCRIPTABLE void Selection(int document, int &start, int &length);
    Q_SCRIPTABLE QString SelectedText(int document);
    // Selects [start, start + length), clipped to the text; the caret ends at its end.
    Q_SCRIPTABLE void SetSelection(int document, int start, int length);
    // Replaces the selection with text, as one step that undo takes back; the caret ends
    // after it.
    Q_SCRIPTABLE void ReplaceSelection(int document, const QString &text);
    // Makes the document the active one and wraps its selection in opening and closing by
    // the common insertion rule (the editor's letter case, closing tags and tag
    // assistance apply).
    Q_SCRIPTABLE void InsertTag(int document, const QString &opening, const QString &closing);
    // Opens a file (a full path); its id. A file that is open already is not loaded
    // again: the error says so.
    Q_SCRIPTABLE int Open(const QString &path);
    // Saves the document to its file. One never saved has none: SaveAs names it. A file
    // another program changed since the document read it is not written over.
    Q_SCRIPTABLE void Save(int document);
    // Saves the document under path (a full path), which becomes its file.
    Q_SCRIPTABLE void SaveAs(int document, const QString &path);
    // Shows a message box over the editor and answers with the button chosen, once the
    // user chose it (see messageKinds()).
    Q_SCRIPTABLE QString MessageBox(const QString &kind, const QString &caption, const QString &text);

Q_SIGNALS:
    Q_SCRIPTABLE void DocumentOpened(int document, const QString &path);
    Q_SCRIPTABLE void DocumentSaved(int document, const QString &path);
    Q_SCRIPTABLE void DocumentClosed(int document);

private:
    // The addressed document, or nullptr after an error reply.
    EditableDocument *addressed(int document);
    // Every method's error: name is the last word of the error's name.
    void fail(const QString &name, const QString &text);

    DocumentSet &m_documents;
    Actions m_actions;
    QDBusConnection m_connection;
};
