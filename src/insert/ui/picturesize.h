#pragma once

#include <QSize>
#include <QString>

// A picture's width and height as its file declares them.
struct PictureSize
{
    QSize size; // invalid when it could not be read
    QString format; // "png", "jpeg", "gif", "bmp", "webp", "svg"...
    QString error; // why not, in Polish; empty when size is valid

    bool ok() const { return size.isValid() && !size.isEmpty(); }
};

// Reads the size from the file's header, never decoding the picture: Qt's image reader for
// the formats it has a reader for (GIF, JPEG, PNG, BMP...), the program's own header
// readers for WebP and for SVG's declared size. A file that cannot be opened, is not a
// picture, or whose header is cut short gives an invalid size and the reason.
PictureSize ReadPictureSize(const QString &path);
