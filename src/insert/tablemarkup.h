#pragma once

#include "insert/commandtable.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVector>

// What the table and frame wizards write (see pagemarkup.h for the common habits). Both
// use block insertion: every line after the first is indented by indent blanks a level,
// and every line starts with baseIndent, the indentation of the line the caret is on.

struct TableFields
{
    static constexpr int MaxRows = 500;
    static constexpr int MaxColumns = 100;
    int rows = 2; // 1..MaxRows
    int columns = 2; // 1..MaxColumns
    bool headerRow = false; // the first row of TH cells
    bool headerColumn = false; // the first cell of each row a TH
    QString caption; // CAPTION, text
    int border = 1; // BORDER; -1 = not written
    int padding = -1; // CELLPADDING
    int spacing = -1; // CELLSPACING
    QString width; // WIDTH: pixels ("600") or per cent ("80%")
    QString align; // ALIGN: "Left", "Center", "Right" or empty
    bool placeholder = false; // cells filled with placeholderText instead of left empty
    QString placeholderText = QStringLiteral("&nbsp;"); // markup, written as it is
    int indent = 2; // blanks a level, 0..8

    bool operator==(const TableFields &o) const;
};
// Whether a width or size is a whole number of pixels or per cent ("600", "80%").
bool IsHtmlLength(QStringView text);
// The selection (or the caret) goes into the first cell; selectionGoesIn leaves that cell
// without the placeholder, since the selected text fills it.
ResolvedInsertion BuildTable(
    const TableFields &f, bool selectionGoesIn, const QString &baseIndent = QString());
// The alignments the wizard offers, the empty one (not written) first.
QStringList TableAlignments();

struct FrameEntry
{
    QString size = QStringLiteral("*"); // pixels, per cent, "*" or "2*"
    QString name; // NAME
    QString source; // SRC: an address

    bool operator==(const FrameEntry &o) const;
};
struct FrameFields
{
    static constexpr int MaxFrames = 10;
    bool columns = true; // COLS; false: ROWS
    QVector<FrameEntry> frames = { { QStringLiteral("25%"), QStringLiteral("menu"), QString() },
        { QStringLiteral("*"), QStringLiteral("tresc"), QString() } };
    bool noFrames = true; // a NOFRAMES part with a BODY
    // Markup, written as it is.
    QString noFramesText = QStringLiteral("Ta strona używa ramek, których Twoja przeglądarka nie pokazuje.");
    int indent = 2;

    bool operator==(const FrameFields &o) const;
};
// Whether a frame size is fit for COLS or ROWS: pixels, per cent or a relative "*", "2*".
bool IsFrameSize(QStringView text);
// "<FRAMESET COLS=...>" and one FRAME a line; the NOFRAMES part with its text before the
// selection; then the part's end and "</FRAMESET>". An empty size counts as "*".
ResolvedInsertion BuildFrames(const FrameFields &f, const QString &baseIndent = QString());
