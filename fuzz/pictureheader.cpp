// Picture headers read by the program itself (WebP, SVG): any bytes give a size within what
// a picture may have, or none, and never read past the input.
#include "fuzzsupport.h"

#include "insert/pictureheader.h"

#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    if (const std::optional<QSize> webp = WebpHeaderSize(bytes)) {
        FUZZ_CHECK(IsWebpHeader(bytes));
        FUZZ_CHECK(webp->width() >= 1 && webp->height() >= 1);
        FUZZ_CHECK(webp->width() <= (1 << 24) && webp->height() <= (1 << 24));
    }
    LooksLikeSvg(bytes);
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    if (const std::optional<QSize> svg = SvgDeclaredSize(buffer)) {
        FUZZ_CHECK(svg->width() >= 1 && svg->height() >= 1);
        FUZZ_CHECK(svg->width() < 1000000 && svg->height() < 1000000);
    }
    return 0;
}

std::vector<QByteArray> fuzz::GeneratedInputs() { return {}; }
