// Loading, saving and recoding 50 MB documents, against iconv and a bare
// QPlainTextEdit::setPlainText of the same text; in ISO 8859-2 and in UTF-8.
#include "base/codepage.h"
#include "base/utf8.h"
#include "services/charsetdetect.h"
#include "services/docfile.h"
#include "services/konwerter.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <memory>

namespace {

constexpr qsizetype kSize = 50 * 1024 * 1024;

struct Fixture
{
    QTemporaryDir dir;
    QByteArray isoBytes; // an ISO 8859-2 HTML file with CR LF line breaks
    QString text; // its decoded text, as the editor holds it
    QString isoPath;
    QString utf16Path;
    // A UTF-8 page with LF breaks and no head at all, so that detection reads every
    // byte: no "</head>" ends the search for a declaration, and none is found.
    QByteArray utf8Bytes;
    QString utf8Text;
    QString utf8Path;
    QString utf8Utf16Path;

    Fixture()
    {
        const QByteArray line = CodePage::encode(
            QStringLiteral("<p class=\"tekst\">Zażółć gęślą jaźń, <b>ŹDŹBŁO</b> &amp; łódź\t12345</p>\r\n"),
            CodePage::Iso8859_2);
        isoBytes.reserve(kSize + line.size());
        isoBytes = "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-2\">"
                   "</head><body>\r\n";
        while (isoBytes.size() < kSize)
            isoBytes.append(line);
        text = LoadDocumentFile(write(QStringLiteral("doc.html"), isoBytes), 0, false, 1).text;
        isoPath = dir.filePath(QStringLiteral("doc.html"));
        const QString decoded = CodePage::decode(isoBytes, CodePage::Iso8859_2);
        utf16Path = write(QStringLiteral("doc.utf16"),
            QByteArray(reinterpret_cast<const char *>(decoded.utf16()), decoded.size() * 2));

        const QByteArray utf8Line = QStringLiteral(
            "<p class=\"tekst\">Zażółć gęślą jaźń, <b>ŹDŹBŁO</b> &amp; łódź \U0001F600\t12345</p>\n")
                                        .toUtf8();
        utf8Bytes.reserve(kSize + utf8Line.size());
        utf8Bytes = "<html><body>\n";
        while (utf8Bytes.size() < kSize)
            utf8Bytes.append(utf8Line);
        utf8Path = write(QStringLiteral("doc-utf8.html"), utf8Bytes);
        LoadOptions options;
        options.expandTabs = false;
        const LoadResult loaded = LoadDocumentFile(utf8Path, options);
        if (loaded.encoding.codePage != DocumentEncoding::Utf8 || loaded.lineBreak != LineBreak::Lf)
            std::abort();
        utf8Text = loaded.text;
        const QString whole = QString::fromUtf8(utf8Bytes);
        utf8Utf16Path = write(QStringLiteral("doc-utf8.utf16"),
            QByteArray(reinterpret_cast<const char *>(whole.utf16()), whole.size() * 2));
    }
    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = dir.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            std::abort();
        return path;
    }
};

Fixture &fixture()
{
    static Fixture f;
    return f;
}

void setBytes(benchmark::State &state, qsizetype bytes)
{
    state.SetBytesProcessed(int64_t(state.iterations()) * bytes);
}

void BM_DecodeIso(benchmark::State &state)
{
    const Fixture &f = fixture();
    for (auto _ : state)
        benchmark::DoNotOptimize(CodePage::decode(f.isoBytes, CodePage::Iso8859_2));
    setBytes(state, f.isoBytes.size());
}

void BM_EncodeIso(benchmark::State &state)
{
    const Fixture &f = fixture();
    for (auto _ : state)
        benchmark::DoNotOptimize(CodePage::encode(f.text, CodePage::Iso8859_2));
    setBytes(state, f.isoBytes.size());
}

// The same work done by the iconv program (process start included, output discarded).
void runIconv(
    benchmark::State &state, const QString &from, const QString &to, const QString &path, qsizetype bytes)
{
    const QByteArray cmd
        = QStringLiteral("iconv -f %1 -t %2 '%3' > /dev/null").arg(from, to, path).toLocal8Bit();
    for (auto _ : state)
        if (std::system(cmd.constData()) != 0)
            state.SkipWithError("iconv failed");
    setBytes(state, bytes);
}

void BM_IconvDecodeIso(benchmark::State &state)
{
    runIconv(state, QStringLiteral("ISO-8859-2"), QStringLiteral("UTF-16LE"), fixture().isoPath,
        fixture().isoBytes.size());
}

void BM_IconvEncodeIso(benchmark::State &state)
{
    runIconv(state, QStringLiteral("UTF-16LE"), QStringLiteral("ISO-8859-2"), fixture().utf16Path,
        fixture().isoBytes.size());
}

void BM_DetectIsoNoMarker(benchmark::State &state)
{
    // Worst case: no "</head>" and no marker, so the whole text is searched.
    const QString plain = QString(fixture().text).replace(u'<', u'[');
    for (auto _ : state)
        benchmark::DoNotOptimize(DetectIso(plain, 0, false));
    setBytes(state, plain.size());
}

void BM_LoadDocumentFile(benchmark::State &state)
{
    const Fixture &f = fixture();
    for (auto _ : state)
        benchmark::DoNotOptimize(LoadDocumentFile(f.isoPath, 0, false, 4));
    setBytes(state, f.isoBytes.size());
}

void BM_SetPlainText(benchmark::State &state)
{
    const Fixture &f = fixture();
    for (auto _ : state) {
        state.PauseTiming();
        auto edit = std::make_unique<QPlainTextEdit>();
        state.ResumeTiming();
        edit->setPlainText(f.text);
        state.PauseTiming(); // destroying the document is not loading it
        edit.reset();
        state.ResumeTiming();
    }
    setBytes(state, f.isoBytes.size());
}

void BM_SaveDocumentFile(benchmark::State &state)
{
    Fixture &f = fixture();
    const QString out = f.dir.filePath(QStringLiteral("saved.html"));
    for (auto _ : state)
        if (!SaveDocumentFile(out, f.text, true).ok)
            state.SkipWithError("save failed");
    setBytes(state, f.isoBytes.size());
}

// The one pass that loading runs: UTF-8 to text, breaks counted, tabs kept.
void BM_DecodeUtf8(benchmark::State &state)
{
    const Fixture &f = fixture();
    for (auto _ : state) {
        QString text;
        LineBreakCounts breaks;
        if (!Utf8::decodeText(f.utf8Bytes, &text, 0, &breaks))
            state.SkipWithError("not UTF-8");
        benchmark::DoNotOptimize(text);
    }
    setBytes(state, f.utf8Bytes.size());
}

// Qt's own decoder on the same bytes, for reference (no line breaks, no validation result).
void BM_QtFromUtf8(benchmark::State &state)
{
    const Fixture &f = fixture();
    for (auto _ : state)
        benchmark::DoNotOptimize(QString::fromUtf8(f.utf8Bytes));
    setBytes(state, f.utf8Bytes.size());
}

void BM_IconvDecodeUtf8(benchmark::State &state)
{
    runIconv(state, QStringLiteral("UTF-8"), QStringLiteral("UTF-16LE"), fixture().utf8Path,
        fixture().utf8Bytes.size());
}

void BM_EncodeUtf8(benchmark::State &state)
{
    const Fixture &f = fixture();
    for (auto _ : state)
        benchmark::DoNotOptimize(Utf8::encode(f.utf8Text, LineBreak::Lf));
    setBytes(state, f.utf8Bytes.size());
}

void BM_IconvEncodeUtf8(benchmark::State &state)
{
    runIconv(state, QStringLiteral("UTF-16LE"), QStringLiteral("UTF-8"), fixture().utf8Utf16Path,
        fixture().utf8Bytes.size());
}

// Worst case: no byte-order mark, no "</head>", no declaration, so the search for META
// tags and the UTF-8 check both read all 50 MB.
void BM_DetectUtf8NoDeclaration(benchmark::State &state)
{
    const Fixture &f = fixture();
    for (auto _ : state) {
        const EncodingDetection d = DetectEncoding(f.utf8Bytes, 0, DocumentEncoding());
        if (d.source != EncodingSource::Content)
            state.SkipWithError("not detected by content");
    }
    setBytes(state, f.utf8Bytes.size());
}

void BM_LoadDocumentFileUtf8(benchmark::State &state)
{
    const Fixture &f = fixture();
    LoadOptions options;
    options.expandTabs = false;
    for (auto _ : state)
        benchmark::DoNotOptimize(LoadDocumentFile(f.utf8Path, options));
    setBytes(state, f.utf8Bytes.size());
}

void BM_SetPlainTextUtf8(benchmark::State &state)
{
    const Fixture &f = fixture();
    for (auto _ : state) {
        state.PauseTiming();
        auto edit = std::make_unique<QPlainTextEdit>();
        state.ResumeTiming();
        edit->setPlainText(f.utf8Text);
        state.PauseTiming();
        edit.reset();
        state.ResumeTiming();
    }
    setBytes(state, f.utf8Bytes.size());
}

void BM_SaveDocumentFileUtf8(benchmark::State &state)
{
    Fixture &f = fixture();
    const QString out = f.dir.filePath(QStringLiteral("saved-utf8.html"));
    for (auto _ : state)
        if (!SaveDocumentFile(out, f.utf8Text, DocumentEncoding::utf8(), LineBreak::Lf).ok)
            state.SkipWithError("save failed");
    setBytes(state, f.utf8Bytes.size());
}

void BM_ConvertPolish(benchmark::State &state)
{
    const Fixture &f = fixture();
    TConvData win;
    win.name = QStringLiteral("Windows 1250");
    const unsigned char codes[18]
        = { 165, 198, 202, 163, 209, 211, 140, 143, 175, 185, 230, 234, 179, 241, 243, 156, 159, 191 };
    std::copy(std::begin(codes), std::end(codes), win.codes.begin());
    const TConvData plain = PolskawyTable();
    for (auto _ : state)
        benchmark::DoNotOptimize(ConvertPolish(f.text, win, plain));
    setBytes(state, f.text.size());
}

} // namespace

BENCHMARK(BM_DecodeIso)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IconvDecodeIso)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_EncodeIso)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IconvEncodeIso)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_DetectIsoNoMarker)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadDocumentFile)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SetPlainText)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_SaveDocumentFile)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_ConvertPolish)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeUtf8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QtFromUtf8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IconvDecodeUtf8)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_EncodeUtf8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IconvEncodeUtf8)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_DetectUtf8NoDeclaration)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadDocumentFileUtf8)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SetPlainTextUtf8)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_SaveDocumentFileUtf8)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
