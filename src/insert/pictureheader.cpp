#include "insert/pictureheader.h"

#include <QIODevice>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <cmath>

namespace {

quint32 le16(QByteArrayView b, qsizetype at) { return quint8(b[at]) | quint32(quint8(b[at + 1])) << 8; }
quint32 le24(QByteArrayView b, qsizetype at) { return le16(b, at) | quint32(quint8(b[at + 2])) << 16; }

bool at(QByteArrayView b, qsizetype pos, const char *text)
{
    const QByteArrayView t(text);
    return b.size() >= pos + t.size() && b.sliced(pos, t.size()) == t;
}

// A length in pixels, or a negative number when it is missing or relative.
double svgLength(QStringView text)
{
    static const QRegularExpression re(
        QStringLiteral("^\\s*([+]?(?:\\d+\\.?\\d*|\\.\\d+)(?:[eE][+-]?\\d+)?)\\s*(px|pt|pc|mm|cm|in)?\\s*$"));
    const QRegularExpressionMatch m = re.match(text);
    if (!m.hasMatch())
        return -1;
    const double v = m.captured(1).toDouble();
    const QStringView unit = m.capturedView(2);
    const double perUnit = unit == u"pt" ? 96.0 / 72
        : unit == u"pc"                  ? 16.0
        : unit == u"mm"                  ? 96 / 25.4
        : unit == u"cm"                  ? 96 / 2.54
        : unit == u"in"                  ? 96.0
                                         : 1.0;
    return v * perUnit;
}

// A side's pixels, or 0 when the number is out of what a picture may have.
int pixels(double v) { return v >= 0.5 && v < 1e6 ? int(std::lround(v)) : 0; }

} // namespace

bool IsWebpHeader(QByteArrayView head) { return at(head, 0, "RIFF") && at(head, 8, "WEBP"); }

std::optional<QSize> WebpHeaderSize(QByteArrayView head)
{
    if (!IsWebpHeader(head) || head.size() < 30)
        return std::nullopt;
    QSize size;
    if (at(head, 12, "VP8 ")) {
        // A key frame's start code, then 14-bit width and height (2 bits of scale above).
        if (!at(head, 23, "\x9d\x01\x2a"))
            return std::nullopt;
        size = QSize(int(le16(head, 26) & 0x3FFF), int(le16(head, 28) & 0x3FFF));
    } else if (at(head, 12, "VP8L")) {
        if (quint8(head[20]) != 0x2F)
            return std::nullopt;
        const quint32 bits = le16(head, 21) | le16(head, 23) << 16;
        size = QSize(int(bits & 0x3FFF) + 1, int((bits >> 14) & 0x3FFF) + 1);
    } else if (at(head, 12, "VP8X")) {
        size = QSize(int(le24(head, 24)) + 1, int(le24(head, 27)) + 1);
    } else {
        return std::nullopt;
    }
    if (size.width() <= 0 || size.height() <= 0)
        return std::nullopt;
    return size;
}

bool LooksLikeSvg(QByteArrayView head)
{
    qsizetype i = head.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (i < head.size() && (head[i] == ' ' || head[i] == '\t' || head[i] == '\r' || head[i] == '\n'))
        ++i;
    const QByteArrayView rest = head.sliced(i);
    return rest.startsWith("<?xml") || rest.startsWith("<!--") || rest.startsWith("<!DOCTYPE svg")
        || rest.startsWith("<svg");
}

std::optional<QSize> SvgDeclaredSize(QIODevice &device)
{
    QXmlStreamReader xml(&device);
    while (!xml.atEnd() && xml.readNext() != QXmlStreamReader::StartElement) { }
    if (xml.hasError() || xml.tokenType() != QXmlStreamReader::StartElement || xml.name() != u"svg")
        return std::nullopt;
    const QXmlStreamAttributes attrs = xml.attributes();
    double w = svgLength(attrs.value(QLatin1String("width")));
    double h = svgLength(attrs.value(QLatin1String("height")));
    const QList<QStringView> box
        = attrs.value(QLatin1String("viewBox"))
              .split(QRegularExpression(QStringLiteral("[\\s,]+")), Qt::SkipEmptyParts);
    if (box.size() == 4) {
        const double bw = box[2].toDouble();
        const double bh = box[3].toDouble();
        if (bw > 0 && bh > 0) {
            if (w <= 0 && h <= 0) {
                w = bw;
                h = bh;
            } else if (w <= 0) {
                w = h * bw / bh;
            } else if (h <= 0) {
                h = w * bh / bw;
            }
        }
    }
    const QSize size(pixels(w), pixels(h));
    if (size.width() <= 0 || size.height() <= 0)
        return std::nullopt;
    return size;
}
