#pragma once

#include "base/documentencoding.h"
#include "base/filestamp.h"

#include <QString>

// The one-step snapshot every program change takes first: the text and the selection
// before it. Undo brings it back when the control has no step of its own.
struct DocumentSnapshot
{
    QString text;
    int selStart = 0;
    int selLength = 0;
    bool valid = false;
    // Counts the snapshots taken of the document: whoever took one knows by this number
    // whether the snapshot held is still theirs.
    quint64 serial = 0;
};

// A document apart from its text: what the editor widget and a document held in a
// string both keep, so that the two behave alike.
struct DocumentState
{
    QString fileName; // full path; empty for a document never saved
    // The code page it is saved in, and the line break its file uses.
    DocumentEncoding encoding;
    LineBreak lineBreak = LineBreak::CrLf;
    int entryMode = 0; // what Enter inserts: 0 a line break, 1 list items, 2 table cells
    DocumentSnapshot snapshot;
    // The file as the document last read or wrote it, and a later state of it the user
    // chose not to load (not asked about again; saving over it still asks).
    FileStamp diskStamp;
    FileStamp diskDeclined;

    void takeSnapshot(const QString &text, int selStart, int selLength)
    {
        snapshot.text = text;
        snapshot.selStart = selStart;
        snapshot.selLength = selLength;
        snapshot.valid = true;
        ++snapshot.serial;
    }
    // Saved in ISO 8859-2 (the Windows-1250 rules apply to both 8-bit code pages).
    bool iso() const { return encoding.codePage == DocumentEncoding::Iso8859_2; }
    void setIso(bool iso) { encoding = DocumentEncoding::fromIso(iso); }
    bool hasSnapshot() const { return snapshot.valid; }
    // The snapshot no longer undoes the last change (the control's own undo did, or the
    // text was loaded anew).
    void clearSnapshot() { snapshot.valid = false; }
    // The file was read or written as stamp: whatever state of it was declined is past.
    void setDiskStamp(const FileStamp &stamp)
    {
        diskStamp = stamp;
        diskDeclined = FileStamp();
    }
};
