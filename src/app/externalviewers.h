#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

class MarkoraSettings;

// An external viewer: a program the preview file is opened in, besides the system
// browser. arguments is one line split into words as a shell would split it (blanks
// between words, '…' taken literally, "…" with \" \\ \$ \` escapes, \ before any other
// character outside quotes), but no shell ever runs: nothing is expanded. Every
// kViewerFilePlaceholder in a word becomes the file's full path, inside that one word;
// without a placeholder the path is the last argument.
struct ExternalViewer
{
    QString name; // the preview menu's caption
    QString command; // the program: a path, or a name looked up in PATH
    QString arguments = QStringLiteral("%PLIK%");

    bool operator==(const ExternalViewer &o) const
    {
        return name == o.name && command == o.command && arguments == o.arguments;
    }
};

constexpr QStringView kViewerFilePlaceholder = u"%PLIK%";
constexpr int kMaxViewers = 64;

// The viewers of section "Viewers": "Ilosc" viewers, the n-th (from 1) under "Nazwa<n>",
// "Polecenie<n>" and "Argumenty<n>". A viewer without a name or a command is skipped.
QList<ExternalViewer> ReadViewers(const MarkoraSettings &settings);
// Erases the section and writes the list.
void WriteViewers(MarkoraSettings &settings, const QList<ExternalViewer> &viewers);

// Splits an argument line into words (see ExternalViewer); nullopt with the reason in
// error for an unclosed quote or a backslash at the end.
std::optional<QStringList> SplitArguments(QStringView line, QString *error = nullptr);

struct ViewerCommand
{
    QString program;
    QStringList arguments;
    QString error; // why the entry gives no command (then program is empty)
};

// The program and its arguments that open file in viewer.
ViewerCommand BuildViewerCommand(const ExternalViewer &viewer, const QString &file);

// Starts the command detached, in the folder of workingFolder (when given), without a
// shell. False with the reason: a program that is not there or cannot be run is named as
// such, other failures give the system's words.
bool StartViewer(const ViewerCommand &command, const QString &workingFolder, QString *reason = nullptr,
    qint64 *pid = nullptr);
