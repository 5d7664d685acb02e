#include "insert/ui/picturesize.h"

#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

// Picture sizes read from the headers of small files made here, one per format, and what
// happens with files that are cut short or are no pictures at all.
class TestPictureSize : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void sizes_data();
    void sizes();
};

namespace {

QByteArray le(quint32 v, int bytes)
{
    QByteArray b;
    for (int i = 0; i < bytes; ++i)
        b.append(char((v >> (8 * i)) & 0xFF));
    return b;
}

QByteArray written(const char *format, int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, format))
        qFatal("cannot write %s", format);
    return bytes;
}

// A 7 × 5 GIF: header, logical screen, two-colour table, one image of one LZW code run.
QByteArray gif()
{
    QByteArray b("GIF89a");
    b += le(7, 2) + le(5, 2) + QByteArray("\x80\x00\x00", 3) + QByteArray("\0\0\0\xff\xff\xff", 6);
    b += ',' + le(0, 2) + le(0, 2) + le(7, 2) + le(5, 2) + QByteArray(1, '\0');
    b += QByteArray("\x02\x02\x4c\x01\x00;", 6);
    return b;
}

QByteArray riff(const char *chunk, const QByteArray &data)
{
    QByteArray padded = data;
    padded.append(QByteArray(qMax<int>(0, 16 - int(data.size())), '\0'));
    return "RIFF" + le(quint32(4 + 8 + padded.size()), 4) + "WEBP" + chunk + le(quint32(padded.size()), 4)
        + padded;
}

} // namespace

void TestPictureSize::sizes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QSize>("size"); // invalid: not read
    QTest::addColumn<QString>("format");

    const QByteArray png = written("png", 9, 4);
    const QByteArray jpeg = written("jpeg", 33, 17);
    QTest::newRow("GIF") << "a.gif" << gif() << QSize(7, 5) << "gif";
    QTest::newRow("JPEG") << "a.jpg" << jpeg << QSize(33, 17) << "jpeg";
    QTest::newRow("PNG") << "a.png" << png << QSize(9, 4) << "png";
    QTest::newRow("BMP") << "a.bmp" << written("bmp", 5, 3) << QSize(5, 3) << "bmp";
    QTest::newRow("WebP lossy") << "a.webp"
                                << riff("VP8 ",
                                       QByteArray("\x30\x01\x00\x9d\x01\x2a", 6) + le(640, 2) + le(480, 2))
                                << QSize(640, 480) << "webp";
    const quint32 bits = (17 - 1) | (9 - 1) << 14;
    QTest::newRow("WebP lossless") << "a.webp" << riff("VP8L", QByteArray(1, '\x2f') + le(bits, 4))
                                   << QSize(17, 9) << "webp";
    QTest::newRow("WebP extended") << "a.webp"
                                   << riff("VP8X", QByteArray(4, '\x10') + le(299, 3) + le(199, 3))
                                   << QSize(300, 200) << "webp";
    QTest::newRow("SVG")
        << "a.svg"
        << QByteArray("<?xml version=\"1.0\"?>\n<!-- rysunek -->\n<svg xmlns=\"http://www.w3.org/2000/"
                      "svg\" width=\"120\" height=\"80px\"><rect/></svg>")
        << QSize(120, 80) << "svg";
    QTest::newRow("SVG in millimetres")
        << "b.svg" << QByteArray("<svg width=\"25.4mm\" height=\"1in\"/>") << QSize(96, 96) << "svg";
    QTest::newRow("SVG view box") << "c.svg" << QByteArray("<svg viewBox=\"0 0 300 150\"/>")
                                  << QSize(300, 150) << "svg";
    QTest::newRow("SVG width and view box")
        << "d.svg" << QByteArray("<svg width=\"600\" height=\"100%\" viewBox=\"0,0,300,150\"/>")
        << QSize(600, 300) << "svg";

    QTest::newRow("truncated PNG") << "t.png" << png.left(20) << QSize() << "png";
    QTest::newRow("truncated JPEG") << "t.jpg" << jpeg.left(30) << QSize() << "jpeg";
    QTest::newRow("truncated GIF") << "t.gif" << gif().left(13) << QSize() << "gif";
    QTest::newRow("truncated WebP") << "t.webp" << riff("VP8X", QByteArray()).left(24) << QSize() << "webp";
    QTest::newRow("SVG without a size") << "e.svg" << QByteArray("<svg width=\"50%\"/>") << QSize() << "svg";
    QTest::newRow("SVG cut short") << "f.svg" << QByteArray("<?xml version=\"1.0\"?><sv") << QSize() << "svg";
    QTest::newRow("text named .png") << "tekst.png" << QByteArray("To nie jest obrazek, tylko tekst.\n")
                                     << QSize() << "";
    QTest::newRow("HTML named .svg") << "g.svg" << QByteArray("<html><body>nie</body></html>") << QSize()
                                     << "svg";
    QTest::newRow("empty") << "pusty.gif" << QByteArray() << QSize() << "";
}

void TestPictureSize::sizes()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QSize, size);
    QFETCH(QString, format);
    QTemporaryDir dir;
    QFile f(dir.filePath(name));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();

    const PictureSize read = ReadPictureSize(f.fileName());
    QCOMPARE(read.size, size);
    QCOMPARE(read.ok(), size.isValid());
    QCOMPARE(read.error.isEmpty(), size.isValid());
    if (!format.isEmpty())
        QCOMPARE(read.format, format);
}

QTEST_MAIN(TestPictureSize)
#include "tst_picturesize.moc"
