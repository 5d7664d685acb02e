#pragma once

#include "services/validator.h"

#include <QByteArray>
#include <QString>
#include <tidy/tidy.h>

// The language tidy's messages are in ("pl" when this libtidy has it, otherwise "en"),
// chosen once for the process before the first document is made: tidy keeps it globally.
QString TidyLanguage();

// One tidy document over a text in memory, shared by the check and the repair: the
// options both use, the input fed from memory (with cancel and progress), and tidy's
// messages collected as rows. Not copyable; one per run.
class TidySession
{
public:
    explicit TidySession(const ValidationOptions &options);
    ~TidySession();
    TidySession(const TidySession &) = delete;
    TidySession &operator=(const TidySession &) = delete;

    TidyDoc doc() const { return m_doc; }

    // Parses text (as UTF-8), repairs the tree and runs the diagnostics. False when
    // control asked to stop; the rows gathered so far stay.
    bool run(const QString &text, const TidyRunControl &control);

    // The rows with their places in text (the text run() read), sorted into text order.
    ValidationResult result(const QString &text) const;

private:
    static Bool TIDY_CALL onMessage(TidyMessage message);
    static int TIDY_CALL getByte(void *source);
    static void TIDY_CALL ungetByte(void *source, byte b);
    static Bool TIDY_CALL isEof(void *source);

    TidyDoc m_doc;
    ValidationOptions m_options;
    QVector<ValidationMessage> m_rows;
    std::array<int, 4> m_found {};
    int m_dropped = 0;

    // The input while run() parses.
    QByteArray m_input;
    qsizetype m_next = 0;
    qsizetype m_checkAt = 0;
    int m_reported = -1;
    bool m_stopped = false;
    const TidyRunControl *m_control = nullptr;
};
