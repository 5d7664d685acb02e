#include "services/ui/spelldial.h"

#include "base/documents.h"
#include "base/ui/msgbox.h"
#include "services/spelling.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QString addCaption() { return QStringLiteral("Dodawanie do słownika: błąd"); }
} // namespace

SpellDial::SpellDial(EditableDocument *document, std::shared_ptr<Spelling> spelling, QWidget *parent)
    : QDialog(parent)
    , m_document(document)
    , m_spelling(std::move(spelling))
{
    setObjectName(QStringLiteral("SpellDial"));
    setWindowTitle(QStringLiteral("Sprawdzanie pisowni"));
    m_word = new QLineEdit(this);
    m_word->setObjectName(QStringLiteral("EdSlowo"));
    m_word->setReadOnly(true);
    m_replacement = new QLineEdit(this);
    m_replacement->setObjectName(QStringLiteral("EdZamienNa"));
    m_suggestions = new QListWidget(this);
    m_suggestions->setObjectName(QStringLiteral("ListaPodpowiedzi"));
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("LblStan"));

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Nie ma w słowniku:"), m_word);
    form->addRow(QStringLiteral("Zamień &na:"), m_replacement);
    form->addRow(QStringLiteral("&Podpowiedzi:"), m_suggestions);

    auto button = [this](const char *name, const QString &text) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    m_zamien = button("BtnZamien", QStringLiteral("&Zamień"));
    m_pomin = button("BtnPomin", QStringLiteral("P&omiń"));
    m_ignoruj = button("BtnIgnoruj", QStringLiteral("&Ignoruj"));
    m_dodaj = button("BtnDodaj", QStringLiteral("&Dodaj do słownika"));
    QPushButton *close = button("BtnZamknij", QStringLiteral("Za&mknij"));
    auto *buttons = new QVBoxLayout;
    for (QPushButton *b : { m_zamien, m_pomin, m_ignoruj, m_dodaj })
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(close);

    auto *top = new QHBoxLayout;
    top->addLayout(form, 1);
    top->addLayout(buttons);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_status);

    connect(m_zamien, &QPushButton::clicked, this, &SpellDial::BtnZamienClick);
    connect(m_pomin, &QPushButton::clicked, this, &SpellDial::BtnPominClick);
    connect(m_ignoruj, &QPushButton::clicked, this, &SpellDial::BtnIgnorujClick);
    connect(m_dodaj, &QPushButton::clicked, this, &SpellDial::BtnDodajClick);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_suggestions, &QListWidget::currentTextChanged, m_replacement, &QLineEdit::setText);
    connect(m_suggestions, &QListWidget::itemDoubleClicked, this, [this] { BtnZamienClick(); });
    connect(m_replacement, &QLineEdit::returnPressed, this, &SpellDial::BtnZamienClick);
    m_step.setInterval(0);
    connect(&m_step, &QTimer::timeout, this, &SpellDial::searchStep);
    setButtons(false);
}

void SpellDial::start()
{
    m_origin = m_document->selStart();
    m_wrapped = false;
    m_finished = false;
    searchFrom(m_origin);
}

void SpellDial::setButtons(bool onWord)
{
    for (QPushButton *b : { m_zamien, m_pomin, m_ignoruj, m_dodaj })
        b->setEnabled(onWord);
    m_replacement->setEnabled(onWord);
    m_suggestions->setEnabled(onWord);
}

void SpellDial::searchFrom(int position)
{
    m_current = SpellWord();
    m_at = position;
    setButtons(false);
    m_status->setText(QStringLiteral("Szukanie..."));
    m_step.start();
}

void SpellDial::searchStep()
{
    const TextAccess &text = m_document->textAccess();
    // Before the wrap the walk goes to the end; after it, back to where it began.
    const int limit = m_wrapped ? std::min(m_origin, text.length()) : text.length();
    if (m_at >= limit) {
        if (m_wrapped || m_origin == 0) {
            finish();
            return;
        }
        m_wrapped = true;
        m_at = 0;
        return;
    }
    const int to = std::min(limit, m_at + StepChars);
    const SpellWord w = m_spelling->nextMisspelt(text, m_at, to);
    if (w.position >= 0) {
        m_step.stop();
        showWord(w);
        return;
    }
    m_at = to;
}

void SpellDial::showWord(const SpellWord &word)
{
    m_current = word;
    m_document->setSelection(word.position, word.length);
    m_word->setText(word.word);
    m_suggestions->clear();
    const QStringList suggestions = m_spelling->suggestions(word.word, MaxSuggestions);
    m_suggestions->addItems(suggestions);
    m_replacement->setText(suggestions.isEmpty() ? word.word : suggestions.first());
    if (!suggestions.isEmpty())
        m_suggestions->setCurrentRow(0);
    setButtons(true);
    m_status->setText(suggestions.isEmpty() ? QStringLiteral("Brak podpowiedzi.") : QString());
}

void SpellDial::finish()
{
    m_step.stop();
    m_finished = true;
    m_current = SpellWord();
    m_word->clear();
    m_replacement->clear();
    m_suggestions->clear();
    setButtons(false);
    m_status->setText(QStringLiteral("Sprawdzanie pisowni zakończone: nie ma więcej nieznanych słów."));
}

void SpellDial::BtnZamienClick()
{
    if (m_current.position < 0)
        return;
    const QString replacement = m_replacement->text();
    if (!m_snapshotTaken) {
        m_document->takeSnapshot();
        m_snapshotTaken = true;
    }
    m_document->setSelection(m_current.position, m_current.length);
    m_document->replaceSelection(replacement);
    const int shift = int(replacement.size()) - m_current.length;
    // The walk ends where it began, which moves with a change before it.
    if (m_current.position < m_origin)
        m_origin += shift;
    searchFrom(m_current.position + int(replacement.size()));
}

void SpellDial::BtnPominClick()
{
    if (m_current.position >= 0)
        searchFrom(m_current.position + m_current.length);
}

void SpellDial::BtnIgnorujClick()
{
    if (m_current.position < 0)
        return;
    m_spelling->ignore(m_current.word);
    Q_EMIT wordsAccepted();
    searchFrom(m_current.position + m_current.length);
}

void SpellDial::BtnDodajClick()
{
    if (m_current.position < 0)
        return;
    QString error;
    if (!m_spelling->addToPersonal(m_current.word, &error))
        MsgBox::show(this, QMessageBox::Warning, addCaption(), error);
    Q_EMIT wordsAccepted();
    searchFrom(m_current.position + m_current.length);
}
