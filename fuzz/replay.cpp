// Runs a fuzz entry point over files and folders of inputs, then over the inputs the
// target builds itself: the fuzz targets stay compiled and their corpus stays checked
// in every build, without libFuzzer.
#include "fuzzsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace {

int run(const QByteArray &input, const QString &name)
{
    const QByteArray local = name.toLocal8Bit();
    fuzz::currentInput = local.constData();
    // A copy of exactly the input's size, so that AddressSanitizer sees any read past it.
    std::vector<uint8_t> copy(input.begin(), input.end());
    LLVMFuzzerTestOneInput(copy.data(), copy.size());
    fuzz::currentInput = nullptr;
    return 1;
}

} // namespace

int main(int argc, char **argv)
{
    int count = 0;
    for (int a = 1; a < argc; ++a) {
        const QString arg = QString::fromLocal8Bit(argv[a]);
        const QFileInfo info(arg);
        QStringList files;
        if (info.isDir()) {
            const QDir dir(arg);
            for (const QString &f : dir.entryList(QDir::Files, QDir::Name))
                files << dir.filePath(f);
        } else {
            files << arg;
        }
        for (const QString &path : files) {
            QFile f(path);
            if (!f.open(QIODevice::ReadOnly)) {
                std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
                return 2;
            }
            count += run(f.readAll(), path);
        }
    }
    const std::vector<QByteArray> generated = fuzz::GeneratedInputs();
    for (size_t i = 0; i < generated.size(); ++i)
        count += run(generated[i], QStringLiteral("generated input %1").arg(i));
    if (count == 0) {
        std::fprintf(stderr, "no inputs\n");
        return 2;
    }
    std::printf("%d inputs replayed\n", count);
    return 0;
}
