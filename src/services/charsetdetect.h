#pragma once

#include "base/documentencoding.h"

#include <QByteArrayView>
#include <QString>
#include <QStringView>

// The open modes: how a file's code page is chosen.
enum OpenMode { DetectCodePage = 0, ForceWindows1250 = 1, ForceIso8859_2 = 2, ForceUtf8 = 3 };

// What decided a file's code page.
enum class EncodingSource { Forced, ByteOrderMark, Declaration, Content, Default };

struct EncodingDetection
{
    DocumentEncoding encoding;
    EncodingSource source = EncodingSource::Default;
};

// The code page a file's bytes are read in. mode (OpenMode) 1-3 forces one (a UTF-8
// byte-order mark is still recognised in mode 3). In mode 0, the first that applies:
// a byte-order mark (UTF-8, UTF-16 LE or BE); a charset declared in the head (see
// DeclaredCodePage); bytes that are valid UTF-8 with at least one character of more
// than one byte; otherwise defaultEncoding, except that a default of UTF-8 gives
// way to Windows-1250 for bytes that are not UTF-8 (nothing claimed they were).
// A forced or declared UTF-8 is returned whatever the bytes: the caller finds out
// when decoding them.
EncodingDetection DetectEncoding(QByteArrayView bytes, int mode, DocumentEncoding defaultEncoding);

// The choice between the two 8-bit code pages alone, for callers that know no other.
// The markers are plain ASCII, and both code pages agree with ASCII, so the decision
// is the same on the raw bytes and on the decoded text.
//
// mode: 0 detect, 1 Windows-1250, 2 ISO 8859-2. In mode 0 the text is ISO 8859-2
// when "charset=iso-8859-2" occurs before the first "</head>" (or there is none),
// else Windows-1250 when "charset=windows-1250" does, else defaultIso. Letter case
// is ignored. Returns true for ISO 8859-2.
bool DetectIso(QStringView text, int mode, bool defaultIso);
bool DetectIso(QByteArrayView bytes, int mode, bool defaultIso);

// Every tab becomes tabWidth spaces (one space when tabWidth <= 1).
QString ExpandTabs(QStringView text, int tabWidth);
