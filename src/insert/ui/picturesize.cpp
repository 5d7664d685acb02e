#include "insert/ui/picturesize.h"

#include "insert/pictureheader.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace {

PictureSize failed(const QString &format, const QString &why) { return { QSize(), format, why }; }

} // namespace

PictureSize ReadPictureSize(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failed(
            QString(), QStringLiteral("nie można otworzyć pliku (") + file.errorString() + QLatin1Char(')'));
    const QByteArray head = file.peek(64);
    if (head.isEmpty())
        return failed(QString(), QStringLiteral("plik jest pusty"));

    if (IsWebpHeader(head)) {
        const std::optional<QSize> size = WebpHeaderSize(head);
        if (!size)
            return failed(QStringLiteral("webp"), QStringLiteral("nagłówek obrazka WebP jest uszkodzony"));
        return { *size, QStringLiteral("webp"), QString() };
    }
    if (LooksLikeSvg(head)
        || QFileInfo(path).suffix().compare(QLatin1String("svg"), Qt::CaseInsensitive) == 0) {
        const std::optional<QSize> size = SvgDeclaredSize(file);
        if (!size)
            return failed(QStringLiteral("svg"),
                QStringLiteral("rysunek SVG nie podaje rozmiaru albo nie jest poprawnym plikiem SVG"));
        return { *size, QStringLiteral("svg"), QString() };
    }

    // The format from the content: a text file named ".png" is not a PNG.
    QImageReader reader(&file);
    reader.setDecideFormatFromContent(true);
    if (!reader.canRead())
        return failed(QString(), QStringLiteral("plik nie jest obrazkiem w znanym formacie"));
    const QString format = QString::fromLatin1(reader.format());
    if (!reader.supportsOption(QImageIOHandler::Size))
        return failed(format, QStringLiteral("z nagłówka tego formatu nie da się odczytać rozmiaru"));
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty())
        return failed(format, QStringLiteral("nagłówek obrazka jest uszkodzony albo niepełny"));
    return { size, format, QString() };
}
