#pragma once

#include <QString>

// How a chosen file is written into a link.
enum class LinkPathKind {
    Relative, // from the document's folder: "obrazki/a.png", "../a.png"
    Unsaved, // the document has no file yet: an absolute file: URL
    OtherRoot, // another drive or share, or no folder in common: an absolute file: URL
};

struct LinkPath
{
    QString href;
    LinkPathKind kind = LinkPathKind::Relative;
};

// The address of file (a full path) as a link in the document saved as documentFile (a
// full path; empty for a document never saved). Relative from the document's folder with
// "/" separators and ".." steps when both lie on the same drive (or share, or under "/")
// and the way between them does not climb to its root; otherwise a "file:" URL. Paths may
// use "/" or "\", and start with a drive ("C:"), a share ("\\server\share") or "/"; names
// on a drive or share compare without regard to letter case, as Windows does. Characters
// an address may not hold as they are (blanks, "#", "?", "%", letters beyond ASCII...) are
// percent-encoded, letters as UTF-8.
LinkPath RelativeLink(const QString &documentFile, const QString &file);

// Why a link is absolute, for the dialog to say; empty for a relative one.
QString LinkPathNote(LinkPathKind kind);

// The local file a link of the document points to: a relative address resolved against
// the document's folder (its query and fragment dropped, percent-encoding decoded), or a
// "file:" URL. Empty for other addresses (http:, mailto:, "#anchor", "/from-the-server-
// root") and for relative ones in a document never saved.
QString LinkToLocalFile(const QString &documentFile, const QString &href);
