// The page checks. Markup: tidy's check and repair of a 50 MB page, and how soon the
// worker hands control back (the call returns, and a cancel takes effect). Spelling: one
// screen (60 lines of about 100 characters of Polish prose with markup) checked with no
// word looked up before and again with the answers remembered, a screen of words that are
// all different, and the words of the last screen of a 1, 10 and 50 MB document (read
// from a string and from a QTextDocument), which must cost the same whatever the size.
// In the window: two keystrokes (a letter and Backspace, each a key event and a repaint)
// in the middle of a 50 MB page with the spelling off, on, and on with the check of the
// screen that follows a pause.
// Run: QT_QPA_PLATFORM=offscreen build/bin/bench_pagecheck
// Instruction counts of the keystrokes, steady on a loaded machine (only the keystrokes
// and checks are collected; MARKORA_BENCH_MB makes the page smaller for valgrind):
//   MARKORA_BENCH_MB=5 QT_QPA_PLATFORM=offscreen valgrind --tool=callgrind
//     --collect-atstart=no build/bin/bench_pagecheck --benchmark_filter=KeystrokeSpellingOff
//     --benchmark_repetitions=1
#include "app/ui/checkscontroller.h"
#include "app/ui/toknogl.h"
#include "base/textaccess.h"
#include "editor/ui/documenttextaccess.h"
#include "services/hunspelldictionary.h"
#include "services/spelling.h"
#include "services/spelltokenizer.h"
#include "services/tidyfix.h"
#include "services/ui/spellhighlighter.h"
#include "services/validator.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QRandomGenerator>
#include <QSettings>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QThread>
#include <benchmark/benchmark.h>
#include <map>
#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#else
#define CALLGRIND_TOGGLE_COLLECT
#endif
#include <memory>

namespace {
constexpr int kScreenLines = 60;

const char16_t *const kSentences[] = {
    u"Wczoraj wieczorem poszliśmy nad rzekę, gdzie wiatr szumiał w wysokich trzcinach.",
    u"Na stole leżała stara mapa okolicy, pełna zapisków i zagiętych rogów.",
    u"Żółty tramwaj skręcił za róg, a dzieci pobiegły do szkoły przez zielony park.",
    u"Biblioteka miejska jest otwarta od poniedziałku do soboty, także w święta.",
    u"Kiedy spadł pierwszy śnieg, cała ulica nagle ucichła i zrobiło się jasno.",
    u"Przepis wymaga mąki, jajek, masła oraz odrobiny cukru i szczypty soli.",
    u"Księgarnia na rogu sprzedaje też pocztówki, kalendarze i mapy turystyczne.",
    u"Zażółć gęślą jaźń: to zdanie ma wszystkie polskie litery, więc dobrze je sprawdzić.",
    u"Mały &zdot;ółw szedł powoli przez ogród, a żułw z bajki wogóle się nie spieszył.",
    u"Nauczyciel poprosił uczniów o napisanie krótkiego wypracowania o wakacjach.",
    u"W muzeum można obejrzeć obrazy, rzeźby oraz dawne narzędzia rzemieślników.",
    u"Pociąg do Krakowa odjeżdża z trzeciego peronu dokładnie o siódmej rano.",
    u"Ktury żułw wogóle nie zdąrzył na pociong do Krakowa?",
};

// The words of s that fit in n characters (a cut word would be misspelt).
QString firstWords(const QString &s, int n)
{
    if (s.size() <= n)
        return s;
    const qsizetype space = s.lastIndexOf(u' ', n);
    return s.left(space > 0 ? space : n);
}

// One line of a page, of about 100 characters: prose in a paragraph, now and then a link
// or a picture.
QString proseLine(QRandomGenerator &rng)
{
    QString line;
    for (;;) {
        const QString s = QString::fromUtf16(kSentences[rng.bounded(int(std::size(kSentences)))]);
        QString piece;
        switch (rng.bounded(4)) {
        case 0:
            piece = QStringLiteral("<a href=\"strona.html\" title=\"Więcej o tym\">") + firstWords(s, 30)
                + QStringLiteral("</a> ");
            break;
        case 1:
            piece = QStringLiteral("<img src=\"obraz.png\" alt=\"") + firstWords(s, 25)
                + QStringLiteral("\"> ");
            break;
        default:
            piece = firstWords(s, 60) + u' ';
        }
        if (!line.isEmpty() && line.size() + piece.size() > 95)
            break;
        line += piece;
    }
    return QStringLiteral("<p>") + line + QStringLiteral("</p>\n");
}

QString prosePage(qsizetype chars, quint32 seed = 7)
{
    QRandomGenerator rng(seed);
    QString t
        = QStringLiteral("<!DOCTYPE html>\n<html lang=\"pl\"><head><title>Strona</title></head><body>\n");
    t.reserve(chars + 200);
    while (t.size() < chars)
        t += proseLine(rng);
    t += QStringLiteral("</body></html>\n");
    return t;
}

const QString &page(qsizetype chars)
{
    static std::map<qsizetype, QString> pages;
    auto it = pages.find(chars);
    if (it == pages.end())
        it = pages.emplace(chars, prosePage(chars)).first;
    return it->second;
}

QString lastScreen(const QString &text, int *from)
{
    int pos = int(text.size());
    for (int n = 0; n <= kScreenLines && pos > 0; ++n)
        pos = int(text.lastIndexOf(u'\n', pos - 1));
    *from = pos + 1;
    return text.mid(*from);
}

std::unique_ptr<Spelling> freshSpelling(const QTemporaryDir &dir)
{
    SpellingSetup s;
    s.personalPath = dir.filePath(QStringLiteral("slownik.txt"));
    return std::make_unique<Spelling>(s);
}

bool polishMissing(benchmark::State &state)
{
    if (HunspellDictionary::Installed().contains(QStringLiteral("pl_PL")))
        return false;
    state.SkipWithError("hunspell-pl is not installed");
    return true;
}

// --- markup -------------------------------------------------------------------------

void BM_TidyCheck(benchmark::State &state)
{
    const QString &text = page(qsizetype(state.range(0)) * 1000 * 1000);
    int rows = 0;
    for (auto _ : state)
        rows = Validator::Validate(text, ValidationOptions()).messages.size();
    state.counters["rows"] = rows;
    state.counters["MB"] = double(text.size()) / 1e6;
}

void BM_TidyFix(benchmark::State &state)
{
    const QString &text = page(qsizetype(state.range(0)) * 1000 * 1000);
    int status = -1;
    for (auto _ : state)
        status = TidyFix::Fix(text, TidyFixOptions()).status;
    state.counters["changed"] = status == TidyFixResult::Changed;
}

// The window's side of a check on a worker: the call that starts it, and a cancel given
// a second into the run until the worker has stopped.
void BM_TidyWorkerHandsBack(benchmark::State &state)
{
    const QString &text = page(50 * 1000 * 1000);
    double startMs = 0;
    double cancelMs = 0;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        QFuture<ValidationResult> f = Validator::ValidateAsync(text, ValidationOptions());
        startMs = double(t.nsecsElapsed()) / 1e6;
        QThread::msleep(1000);
        t.restart();
        f.cancel();
        f.waitForFinished();
        cancelMs = double(t.nsecsElapsed()) / 1e6;
    }
    state.counters["start_ms"] = startMs;
    state.counters["cancel_to_stop_ms"] = cancelMs;
}

// --- spelling -----------------------------------------------------------------------

void BM_SpellScreenFirstTime(benchmark::State &state)
{
    if (polishMissing(state))
        return;
    QTemporaryDir dir;
    const QString screen = prosePage(kScreenLines * 100, 11);
    const StringTextAccess text(screen);
    int wrong = 0;
    std::unique_ptr<Spelling> spelling;
    for (auto _ : state) {
        state.PauseTiming();
        spelling.reset();
        spelling = freshSpelling(dir);
        state.ResumeTiming();
        wrong = spelling->misspelt(text, 0, text.length()).size();
    }
    state.counters["words"] = SpellTokenizer::Words(screen, 0, int(screen.size())).size();
    state.counters["misspelt"] = wrong;
}

void BM_SpellScreenAgain(benchmark::State &state)
{
    if (polishMissing(state))
        return;
    QTemporaryDir dir;
    std::unique_ptr<Spelling> spelling = freshSpelling(dir);
    const QString screen = prosePage(kScreenLines * 100, 11);
    const StringTextAccess text(screen);
    spelling->misspelt(text, 0, text.length());
    for (auto _ : state)
        benchmark::DoNotOptimize(spelling->misspelt(text, 0, text.length()));
}

// Every word different: dictionary entries drawn at random, none looked up before.
void BM_SpellScreenAllWordsNew(benchmark::State &state)
{
    if (polishMissing(state))
        return;
    QFile dic(QStringLiteral("/usr/share/hunspell/pl_PL.dic"));
    if (!dic.open(QIODevice::ReadOnly)) {
        state.SkipWithError("pl_PL.dic cannot be read");
        return;
    }
    QStringDecoder latin2("ISO-8859-2");
    const QStringList entries = QString(latin2.decode(dic.readAll())).split(u'\n');
    QRandomGenerator rng(5);
    QTemporaryDir dir;
    int words = 0;
    std::unique_ptr<Spelling> spelling;
    for (auto _ : state) {
        state.PauseTiming();
        spelling.reset();
        QString screen;
        for (int line = 0; line < kScreenLines; ++line) {
            QString l = QStringLiteral("<p>");
            while (l.size() < 96)
                l += entries[rng.bounded(1, int(entries.size()))].section(u'/', 0, 0) + u' ';
            screen += l + QStringLiteral("</p>\n");
        }
        const StringTextAccess text(screen);
        words = SpellTokenizer::Words(screen, 0, int(screen.size())).size();
        spelling = freshSpelling(dir);
        state.ResumeTiming();
        benchmark::DoNotOptimize(spelling->misspelt(text, 0, text.length()));
    }
    state.counters["words"] = words;
}

// The words of the last screen of a document of range(0) MB, through a string.
void BM_TokenizeLastScreenOfString(benchmark::State &state)
{
    const QString &text = page(qsizetype(state.range(0)) * 1000 * 1000);
    const StringTextAccess access(text);
    int from = 0;
    lastScreen(text, &from);
    for (auto _ : state)
        benchmark::DoNotOptimize(SpellTokenizer::Words(access, from, access.length()));
}

// The same through the editor's document.
void BM_TokenizeLastScreenOfDocument(benchmark::State &state)
{
    const QString &text = page(qsizetype(state.range(0)) * 1000 * 1000);
    QTextDocument doc;
    doc.setPlainText(text);
    const DocumentTextAccess access(&doc);
    int from = 0;
    lastScreen(text, &from);
    for (auto _ : state)
        benchmark::DoNotOptimize(SpellTokenizer::Words(access, from, access.length()));
}

// Misspelt words of the last screen of a 50 MB document, answers remembered: what the
// editor pays after a pause in typing.
void BM_SpellLastScreenOfDocument(benchmark::State &state)
{
    if (polishMissing(state))
        return;
    const QString &text = page(50 * 1000 * 1000);
    QTextDocument doc;
    doc.setPlainText(text);
    const DocumentTextAccess access(&doc);
    int from = 0;
    lastScreen(text, &from);
    QTemporaryDir dir;
    std::unique_ptr<Spelling> spelling = freshSpelling(dir);
    spelling->misspelt(access, from, access.length());
    for (auto _ : state)
        benchmark::DoNotOptimize(spelling->misspelt(access, from, access.length()));
}
// --- a keystroke in the window --------------------------------------------------------

struct Window
{
    QTemporaryDir dir;
    std::unique_ptr<TOknoGl> window;
    TEditor *editor = nullptr;
    Window()
    {
        // The user's own settings stay untouched.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
        qputenv("MARKORA_RECOVERY_DIR", QFile::encodeName(dir.filePath(QStringLiteral("odzysk"))));
        window = std::make_unique<TOknoGl>();
        window->resize(1200, 900);
        window->show();
        editor = window->CurrentEditor();
        const int mb = qEnvironmentVariableIsSet("MARKORA_BENCH_MB")
            ? qEnvironmentVariableIntValue("MARKORA_BENCH_MB")
            : 50;
        editor->loadText(page(qsizetype(std::max(1, mb)) * 1000 * 1000));
        QTextCursor c = editor->textCursor();
        c.setPosition(int(editor->textAccess().length() / 2));
        c.movePosition(QTextCursor::EndOfWord);
        editor->setTextCursor(c);
        editor->centerCursor();
        QApplication::processEvents();
    }
    void setSpelling(bool on)
    {
        ChecksController *checks = window->checks();
        checks->spelling(); // the dictionaries loaded
        if (checks->spellingToggle()->isChecked() != on)
            checks->spellingToggle()->trigger();
    }
    void key(Qt::Key key, const QString &text)
    {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QApplication::sendEvent(editor, &press);
        QApplication::sendEvent(editor, &release);
        editor->viewport()->repaint();
    }
    // Two keystrokes, a letter and Backspace, so that the text stays as it was.
    void type()
    {
        CALLGRIND_TOGGLE_COLLECT;
        key(Qt::Key_A, QStringLiteral("a"));
        key(Qt::Key_Backspace, QString());
        CALLGRIND_TOGGLE_COLLECT;
    }
};

Window &window()
{
    static Window w;
    return w;
}

void BM_KeystrokeSpellingOff(benchmark::State &state)
{
    Window &w = window();
    w.setSpelling(false);
    for (auto _ : state)
        w.type();
}

void BM_KeystrokeSpellingOn(benchmark::State &state)
{
    if (polishMissing(state))
        return;
    Window &w = window();
    w.setSpelling(true);
    SpellHighlighter::of(w.editor)->checkNow();
    state.counters["underlined"] = w.editor->WavyMarks().size();
    for (auto _ : state)
        w.type();
}

// As if typing paused after every key: the keystroke and the check of the screen.
void BM_KeystrokeSpellingOnWithCheck(benchmark::State &state)
{
    if (polishMissing(state))
        return;
    Window &w = window();
    w.setSpelling(true);
    SpellHighlighter *h = SpellHighlighter::of(w.editor);
    for (auto _ : state) {
        w.type();
        CALLGRIND_TOGGLE_COLLECT;
        h->checkNow();
        CALLGRIND_TOGGLE_COLLECT;
    }
}

// The check of the screen alone, in the window (what the pause costs).
void BM_CheckScreenInWindow(benchmark::State &state)
{
    if (polishMissing(state))
        return;
    Window &w = window();
    w.setSpelling(true);
    SpellHighlighter *h = SpellHighlighter::of(w.editor);
    for (auto _ : state) {
        CALLGRIND_TOGGLE_COLLECT;
        h->checkNow();
        CALLGRIND_TOGGLE_COLLECT;
    }
    const auto [from, to] = w.editor->VisibleRange();
    state.counters["chars_on_screen"] = to - from;
}
} // namespace

BENCHMARK(BM_TidyCheck)->Arg(1)->Arg(50)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_TidyFix)->Arg(1)->Arg(50)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_TidyWorkerHandsBack)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_SpellScreenFirstTime)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_SpellScreenAgain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SpellScreenAllWordsNew)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_TokenizeLastScreenOfString)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TokenizeLastScreenOfDocument)->Arg(1)->Arg(50)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SpellLastScreenOfDocument)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KeystrokeSpellingOff)->Unit(benchmark::kMicrosecond)->Repetitions(3);
BENCHMARK(BM_KeystrokeSpellingOn)->Unit(benchmark::kMicrosecond)->Repetitions(3);
BENCHMARK(BM_KeystrokeSpellingOnWithCheck)->Unit(benchmark::kMicrosecond)->Repetitions(3);
BENCHMARK(BM_CheckScreenInWindow)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
