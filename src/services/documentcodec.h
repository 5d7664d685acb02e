#pragma once

#include "base/documentencoding.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// A file's bytes as document text and back, each in one pass over the data.

struct DecodedDocument
{
    // False when the bytes cannot be read in the encoding without loss: not UTF-8, or an
    // odd number of UTF-16 bytes. The 8-bit code pages read any bytes.
    bool ok = false;
    // The first byte that could not be read, when !ok.
    qsizetype errorOffset = -1;
    // CR LF, LF and lone CR are each one '\n'.
    QString text;
    LineBreakCounts breaks;
};

// Decodes a file's bytes; a byte-order mark the encoding calls for is skipped when it
// is there. tabSpaces: 0 keeps tabs, n >= 1 replaces each by n spaces.
DecodedDocument DecodeDocument(QByteArrayView bytes, DocumentEncoding encoding, int tabSpaces);

struct EncodeCounts
{
    // 8-bit code pages: characters the code page cannot hold, written as "&#N;".
    int unmappable = 0;
    // UTF-8: surrogates without their pair (no file can hold them), written as U+FFFD.
    int replaced = 0;
};

// The file's bytes for text: the byte-order mark when the encoding has one, '\n' written
// as lineBreak. UTF-16 writes every unit as it is, so a lone surrogate read from a file
// goes back unchanged.
QByteArray EncodeDocument(
    QStringView text, DocumentEncoding encoding, LineBreak lineBreak, EncodeCounts *counts = nullptr);

// The byte-order mark of an encoding, empty for the 8-bit code pages and UTF-8 without one.
QByteArrayView ByteOrderMark(DocumentEncoding encoding);
