#pragma once

#include "base/documentencoding.h"
#include "base/filestamp.h"
#include "services/charsetdetect.h"
#include "services/documentcodec.h"

#include <QString>
#include <QStringView>

// How a document file is read.
struct LoadOptions
{
    // OpenMode: 0 detect, 1 Windows-1250, 2 ISO 8859-2, 3 UTF-8.
    int mode = DetectCodePage;
    // The code page when detection finds nothing (see DetectEncoding).
    DocumentEncoding defaultEncoding;
    // False: tabs stay tabs. True: each becomes tabWidth spaces (one when tabWidth <= 1).
    bool expandTabs = true;
    int tabWidth = 1;
    // The line break of a file that has none.
    LineBreak defaultBreak = LineBreak::CrLf;
};

struct LoadResult
{
    bool ok = false;
    // The system's reason when ok is false (for the user's message, not parsed).
    QString errorText;
    // The decoded text: CR LF, LF and lone CR are each one '\n'; tabs as the options say.
    QString text;
    // The code page the document uses from now on, and what chose it.
    DocumentEncoding encoding;
    EncodingSource encodingSource = EncodingSource::Default;
    // encoding is ISO 8859-2; for callers that know only the two 8-bit code pages.
    bool iso = false;
    // The break the file uses (the most frequent one when it mixes them, then
    // mixedBreaks is set); the options' default for a file without breaks.
    LineBreak lineBreak = LineBreak::CrLf;
    bool mixedBreaks = false;
    // The file was to be read as UTF-8 (forced, declared or marked) or UTF-16, but its
    // bytes are not that: it was read as Windows-1250 instead, which keeps every byte,
    // and warningText says why, for the user's warning.
    bool fellBack = false;
    QString warningText;
    // The file as it was read (taken before reading, so a change while reading shows).
    FileStamp stamp;
};

struct SaveResult
{
    bool ok = false;
    QString errorText;
    // 8-bit code pages: characters the code page cannot hold, written as "&#N;".
    int unmappable = 0;
    // UTF-8: surrogates without their pair, written as U+FFFD (no file can hold them).
    int replaced = 0;
    // The file as written.
    FileStamp stamp;
};

// Reads a document file (open, reload and insert file) and decodes it in one pass.
// Nothing is decoded lossily: bytes that are not what the code page calls for are read
// as Windows-1250 (see LoadResult::fellBack). With tabs kept, saving the text unedited
// with the result's encoding and line break gives back the file's bytes, unless its
// line breaks were mixed.
LoadResult LoadDocumentFile(const QString &path, const LoadOptions &options);

// The tab width that leaves tab characters as they are (reading files to search and
// replace in them, which must not change what the replacement does not touch).
constexpr int KeepTabs = -1;

// As before UTF-8: mode 0 detect (DetectIso), 1 Windows-1250, 2 ISO 8859-2; defaultIso
// when detection finds no marker; tabs expanded as for ExpandTabs, or kept (KeepTabs).
LoadResult LoadDocumentFile(const QString &path, int mode, bool defaultIso, int tabWidth);

// Writes text in the document's encoding (with its byte-order mark when it has one), each
// '\n' as lineBreak. The file is written
// beside the old one and replaces it only when everything was written and flushed to
// disk, so a failed save (a full disk too) leaves the old file as it was. The new file
// gets the old one's owner, group and mode where the process may set them. A symbolic
// link stays a link: the file it points to is written. A file with other hard links,
// or one whose owner or group could not be kept, is written in place after a copy of
// its old contents, which puts them back when writing fails. No line break is added
// after the last line: a file opened and saved without edits comes back byte for byte.
SaveResult SaveDocumentFile(
    const QString &path, QStringView text, DocumentEncoding encoding, LineBreak lineBreak);
// Windows-1250 or ISO 8859-2 with CR LF.
SaveResult SaveDocumentFile(const QString &path, QStringView text, bool iso);

// Writes bytes as they are, the way SaveDocumentFile writes (beside the old file and
// then in its place, owner, mode and links kept): putting a file's old contents back.
// unmappable is 0.
SaveResult WriteDocumentBytes(const QString &path, const QByteArray &bytes);

// The bytes SaveDocumentFile writes for text.
QByteArray EncodeDocumentText(
    QStringView text, DocumentEncoding encoding, LineBreak lineBreak, EncodeCounts *counts = nullptr);
// Windows-1250 or ISO 8859-2 with CR LF; characters the code page cannot hold as "&#N;"
// (counted in *unmappable when given).
QByteArray EncodeDocumentText(QStringView text, bool iso, int *unmappable = nullptr);
