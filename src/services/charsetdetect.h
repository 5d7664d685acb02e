#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Charset of a loaded or new document. The markers are plain ASCII, and both code
// pages agree with ASCII, so the decision is the same on the raw bytes and on the
// decoded text.
//
// mode: 0 detect, 1 Windows-1250, 2 ISO 8859-2. In mode 0 the text is ISO 8859-2
// when "charset=iso-8859-2" occurs before the first "</head>" (or there is none),
// else Windows-1250 when "charset=windows-1250" does, else defaultIso. Letter case
// is ignored. Returns true for ISO 8859-2.
bool DetectIso(QStringView text, int mode, bool defaultIso);
bool DetectIso(QByteArrayView bytes, int mode, bool defaultIso);

// Every tab becomes tabWidth spaces (one space when tabWidth <= 1).
QString ExpandTabs(QStringView text, int tabWidth);
