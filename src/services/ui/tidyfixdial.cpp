#include "services/ui/tidyfixdial.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSyntaxHighlighter>
#include <QVBoxLayout>

namespace {
// Lines taken away red, lines put in green, hunk heads grey.
class DiffColours final : public QSyntaxHighlighter
{
public:
    using QSyntaxHighlighter::QSyntaxHighlighter;

protected:
    void highlightBlock(const QString &line) override
    {
        QTextCharFormat f;
        if (line.startsWith(QStringLiteral("---")) || line.startsWith(QStringLiteral("+++"))) {
            f.setFontWeight(QFont::Bold);
        } else if (line.startsWith(u'-')) {
            f.setForeground(QColor(160, 0, 0));
            f.setBackground(QColor(255, 230, 230));
        } else if (line.startsWith(u'+')) {
            f.setForeground(QColor(0, 110, 0));
            f.setBackground(QColor(225, 250, 225));
        } else if (line.startsWith(QStringLiteral("@@"))) {
            f.setForeground(QColor(90, 90, 140));
        } else {
            return;
        }
        setFormat(0, int(line.size()), f);
    }
};
} // namespace

TidyFixDial::TidyFixDial(const QString &documentName, const QString &diff, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TidyFixDial"));
    setWindowTitle(QStringLiteral("Popraw kod (tidy): %1").arg(documentName));
    auto *intro = new QLabel(
        QStringLiteral(
            "Tak tidy zmieni tekst dokumentu (wiersze z „-” znikną, wiersze z „+” zostaną "
            "dodane). Plik na dysku pozostaje bez zmian; polecenie Cofnij przywróci obecny tekst."),
        this);
    intro->setWordWrap(true);
    m_diff = new QPlainTextEdit(this);
    m_diff->setObjectName(QStringLiteral("TidyRoznice"));
    m_diff->setReadOnly(true);
    m_diff->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_diff->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_diff->setPlainText(diff);
    if (diff.size() <= MaxColouredDiff)
        new DiffColours(m_diff->document());

    auto *box = new QDialogButtonBox(this);
    QPushButton *apply = box->addButton(QStringLiteral("&Zastosuj"), QDialogButtonBox::AcceptRole);
    apply->setObjectName(QStringLiteral("BtnZastosuj"));
    QPushButton *cancel = box->addButton(QStringLiteral("&Anuluj"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("BtnAnuluj"));
    cancel->setDefault(true);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(m_diff, 1);
    layout->addWidget(box);
    resize(800, 560);
}
