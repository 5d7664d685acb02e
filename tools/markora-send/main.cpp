// markora-send: drives the running editor from scripts, one exchange per call.
//
// Prints the result on the first line of standard output and, for the messages that
// fetch text (get-sel, get-text, raw 0x405/0x407), the text right after it, as is.
// With -u (--utf8) texts and answers are UTF-8 on the channel, every character as it
// is, and set-sel takes positions past 65,535. Communication errors go to standard error. Exit status: 0 for
// a non-zero result, 1 when the editor answered 0, 2 for bad usage, 3/4/5 for the communication errors
// (cannot create the block / cannot find the editor / no block).

#include "ipc/client/commclient.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <cstdio>

namespace {

enum Exit {
    Success = 0,
    Refused = 1,
    Usage = 2,
    ExitCannotCreateBlock = 3,
    ExitEditorNotFound = 4,
    ExitNoBlock = 5
};

const char UsageText[]
    = "Użycie: markora-send [-t MS] [-s NAZWA] [-n] [-u] POLECENIE ARGUMENTY...\n"
      "  open PLIK                  otwiera plik (0x401)\n"
      "  select-line DOK WIERSZ     zaznacza wiersz liczony od 0 (0x402)\n"
      "  replace-sel DOK TEKST      zastępuje zaznaczenie (0x403)\n"
      "  insert-pair DOK OTW ZAMK   wstawia parę znaczników wokół zaznaczenia (0x404)\n"
      "  get-sel DOK N              wypisuje zaznaczenie, najwyżej N - 1 znaków (0x405)\n"
      "  set-text DOK TEKST         zastępuje cały tekst (0x406)\n"
      "  get-text DOK N             wypisuje cały tekst, najwyżej N - 1 znaków (0x407)\n"
      "  set-sel DOK POCZ DŁ        ustawia zaznaczenie (0x408)\n"
      "  raw KOMUNIKAT WPARAM LPARAM [TEKST [TEKST]]\n"
      "DOK: identyfikator dokumentu albo -1 (active) dla bieżącego.\n"
      "TEKST \"-\" oznacza standardowe wejście. Liczby także szesnastkowo (0x...).\n"
      "-t MS   najdłuższy czas wymiany w ms (0: bez limitu; domyślnie 60000)\n"
      "-s NAZWA  nazwa serwera edytora (domyślnie $MARKORA_SERVER_NAME lub nazwa użytkownika)\n"
      "-n      bez wiersza z wynikiem\n"
      "-u, --utf8  teksty w UTF-8 (bez odwołań &#N;), set-sel także powyżej 65535\n";

struct UsageError
{
};

// A request that would not reach the editor as given.
struct Unsendable
{
};

void writeOut(FILE *stream, const QByteArray &bytes)
{
    fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

qint64 number(const QString &arg, qint64 min, qint64 max)
{
    bool ok = false;
    const qint64 value = arg.toLongLong(&ok, 0);
    if (!ok || value < min || value > max)
        throw UsageError();
    return value;
}

quint32 docNumber(const QString &arg)
{
    if (arg == QStringLiteral("active"))
        return 0xFFFFu;
    return quint32(number(arg, -32768, 65535)) & 0xFFFFu;
}

QString text(const QString &arg)
{
    if (arg != QStringLiteral("-"))
        return arg;
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly))
        throw UsageError();
    return QString::fromLocal8Bit(in.readAll());
}

CommRequest buildRequest(const QStringList &a, bool utf8)
{
    const quint32 flag = utf8 ? Comm::Utf8Flag : 0u;
    const QString &cmd = a.value(0);
    auto need = [&a](int n) {
        if (a.size() != n + 1)
            throw UsageError();
    };
    const qint64 u32Max = 0xFFFFFFFFll;
    if (cmd == QStringLiteral("open")) {
        need(1);
        // The editor cannot know this process's working folder: the path goes absolute.
        bool carried = false;
        CommRequest request = CommMakeOpenRequest(a[1], &carried, utf8);
        if (!carried)
            throw Unsendable();
        return request;
    }
    if (cmd == QStringLiteral("select-line")) {
        need(2);
        return CommMakeRequest(Comm::SelectLine, docNumber(a[1]) | flag, quint32(number(a[2], 0, u32Max)));
    }
    if (cmd == QStringLiteral("replace-sel")) {
        need(2);
        return CommMakeRequest(Comm::ReplaceSelection, docNumber(a[1]) | flag, 0, { text(a[2]) });
    }
    if (cmd == QStringLiteral("insert-pair")) {
        need(3);
        return CommMakeRequest(Comm::InsertPair, docNumber(a[1]) | flag, 0, { text(a[2]), text(a[3]) });
    }
    if (cmd == QStringLiteral("get-sel") || cmd == QStringLiteral("get-text")) {
        need(2);
        const quint32 msg = cmd == QStringLiteral("get-sel") ? Comm::GetSelection : Comm::GetText;
        return CommMakeRequest(msg, docNumber(a[1]) | flag, quint32(number(a[2], 0, u32Max)));
    }
    if (cmd == QStringLiteral("set-text")) {
        need(2);
        return CommMakeRequest(Comm::SetText, docNumber(a[1]) | flag, 0, { text(a[2]) });
    }
    if (cmd == QStringLiteral("set-sel")) {
        need(3);
        const qint64 max = utf8 ? u32Max : 0xFFFF;
        const quint32 start = quint32(number(a[2], 0, max));
        const quint32 length = quint32(number(a[3], 0, max));
        return CommMakeSetSelectionRequest(docNumber(a[1]) | flag, start, length);
    }
    if (cmd == QStringLiteral("raw")) {
        if (a.size() < 4 || a.size() > 6)
            throw UsageError();
        QStringList texts;
        for (int i = 4; i < a.size(); ++i)
            texts << text(a[i]);
        return CommMakeRequest(quint32(number(a[1], -0x80000000ll, u32Max)),
            quint32(number(a[2], -0x80000000ll, u32Max)) | flag, quint32(number(a[3], -0x80000000ll, u32Max)),
            texts);
    }
    throw UsageError();
}

int run(const QStringList &args)
{
    int timeout = CommDefaultTimeout;
    QString server;
    bool printResult = true;
    bool utf8 = false;
    int i = 0;
    // Options come only before the command, so texts such as "-->" pass untouched.
    for (; i < args.size() && args[i].startsWith(QLatin1Char('-')); ++i) {
        if (args[i] == QStringLiteral("-n")) {
            printResult = false;
        } else if (args[i] == QStringLiteral("-u") || args[i] == QStringLiteral("--utf8")) {
            utf8 = true;
        } else if (args[i] == QStringLiteral("-t") && i + 1 < args.size()) {
            const int ms = int(number(args[++i], 0, 0x7FFFFFFF));
            timeout = ms == 0 ? CommNoTimeout : ms;
        } else if (args[i] == QStringLiteral("-s") && i + 1 < args.size()) {
            server = args[++i];
        } else {
            throw UsageError();
        }
    }
    const CommRequest request = buildRequest(args.mid(i), utf8);
    const CommOutcome outcome = CommExchange(request, timeout, server);
    if (outcome.error != CommError::None) {
        writeOut(stderr, (commErrorText(outcome.error) + QLatin1Char('\n')).toLocal8Bit());
        switch (outcome.error) {
        case CommError::CannotCreateBlock:
            return ExitCannotCreateBlock;
        case CommError::EditorNotFound:
            return ExitEditorNotFound;
        default:
            return ExitNoBlock;
        }
    }
    if (printResult)
        writeOut(stdout, QByteArray::number(outcome.result) + '\n');
    if (request.message == Comm::GetSelection || request.message == Comm::GetText)
        writeOut(stdout, CommAnswerText(request, outcome.answer).toLocal8Bit());
    fflush(stdout);
    return outcome.result != 0 ? Success : Refused;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    try {
        return run(args);
    } catch (const UsageError &) {
        writeOut(stderr, QByteArray(UsageText));
        return Usage;
    } catch (const Unsendable &) {
        writeOut(stderr, (commErrorText(CommError::CannotCreateBlock) + QLatin1Char('\n')).toLocal8Bit());
        return ExitCannotCreateBlock;
    }
}
