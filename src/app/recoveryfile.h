#pragma once

#include "base/filestamp.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

// One document's unsaved state as the crash recovery keeps it.
struct RecoveryRecord
{
    QString fileName; // full path; empty for an untitled document
    bool iso = false; // the code page it is saved in: ISO 8859-2, else Windows-1250
    int anchor = 0; // the selection: its anchor and the caret, QString indexes
    int position = 0;
    // The file as the document last knew it, so that a save after restoring still notices
    // a change made on disk since then.
    FileStamp disk;
    QString text;

    bool operator==(const RecoveryRecord &o) const
    {
        return fileName == o.fileName && iso == o.iso && anchor == o.anchor && position == o.position
            && disk == o.disk && text == o.text;
    }
};

// The recovery file: a header of "key: value" lines after a first line naming the
// format, an empty line, then the text in UTF-8, so that no character is lost whatever
// the document's code page:
//
//   MARKORA-RECOVERY 1
//   file: /home/ala/strona.html      (percent-encoded UTF-8; empty: untitled)
//   codepage: iso-8859-2             (or windows-1250)
//   anchor: 12
//   position: 40
//   disk: 1 5120 1700000000000000000 1234 2049   (file there, size, time in ns, inode, device)
//   length: 5120                     (bytes of text that follow the empty line)
//
// Keys a reader does not know are skipped, so later versions can add some.
namespace RecoveryFile {

QByteArray encode(const RecoveryRecord &record);
// The record, or nullopt with the reason in *error (Polish) when the bytes are not a
// whole recovery file. A selection past the text's end is clamped to it.
std::optional<RecoveryRecord> decode(QByteArrayView bytes, QString *error = nullptr);

// Writes the file atomically (the old one stays until the new one is complete) with
// mode 0600. False with the system's reason in *error.
bool write(const QString &path, const RecoveryRecord &record, QString *error = nullptr);
std::optional<RecoveryRecord> read(const QString &path, QString *error = nullptr);

} // namespace RecoveryFile
