#pragma once

#include <QDialog>

class QPlainTextEdit;

// "Popraw kod (tidy)": what tidy would change in the document, as a unified difference
// ('-' lines go, '+' lines come). Accepting ("Zastosuj") lets the caller replace the text;
// the dialog itself changes nothing.
class TidyFixDial : public QDialog
{
    Q_OBJECT
public:
    // Past this many characters the difference is shown without colours.
    static constexpr int MaxColouredDiff = 4 * 1024 * 1024;

    TidyFixDial(const QString &documentName, const QString &diff, QWidget *parent = nullptr);

    QPlainTextEdit *diffView() const { return m_diff; }

private:
    QPlainTextEdit *m_diff;
};
