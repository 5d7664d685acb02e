#pragma once

#include <QByteArrayView>
#include <QSize>
#include <optional>

class QIODevice;

// Picture sizes read from the few bytes that declare them, for the formats the image
// reader of this Qt may lack a plug-in for. Nothing is decoded.

// Whether the bytes start a WebP file ("RIFF", a length, "WEBP").
bool IsWebpHeader(QByteArrayView head);
// The canvas size of a WebP file from its first 30 bytes: the "VP8 " (lossy), "VP8L"
// (lossless) or "VP8X" (extended) chunk; nullopt when the header is short or broken.
std::optional<QSize> WebpHeaderSize(QByteArrayView head);

// Whether the bytes look like the start of an SVG document: after blanks and a byte-order
// mark, "<?xml", "<!--", "<!DOCTYPE svg" or "<svg".
bool LooksLikeSvg(QByteArrayView head);
// The size the root "svg" element declares: its width and height (numbers, "px", or the
// absolute units "pt", "pc", "mm", "cm", "in" at 96 pixels an inch), rounded; a missing or
// relative one ("%", "em") taken from the viewBox, keeping its proportion when the other
// is known. nullopt when the root is not "svg", the document cannot be read as XML up to
// it, or no size is declared.
std::optional<QSize> SvgDeclaredSize(QIODevice &device);
