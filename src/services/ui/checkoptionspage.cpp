#include "services/ui/checkoptionspage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

CheckOptionsPage::CheckOptionsPage(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("StronaSprawdzanie"));
    auto check = [this](const char *name, const QString &text) {
        auto *c = new QCheckBox(text, this);
        c->setObjectName(QString::fromLatin1(name));
        return c;
    };

    auto *markup = new QGroupBox(QStringLiteral("Sprawdź poprawność (tidy)"), this);
    auto *m = new QFormLayout(markup);
    m_errors = check("ChkTidyBledy", QStringLiteral("Pokazuj błędy"));
    m_warnings = check("ChkTidyOstrzezenia", QStringLiteral("Pokazuj ostrzeżenia"));
    m_info = check("ChkTidyInformacje", QStringLiteral("Pokazuj informacje"));
    m_access = new QComboBox(this);
    m_access->setObjectName(QStringLiteral("CbDostepnosc"));
    m_access->addItems({ QStringLiteral("nie sprawdzaj"), QStringLiteral("priorytet 1"),
        QStringLiteral("priorytety 1 i 2"), QStringLiteral("priorytety 1, 2 i 3") });
    m->addRow(m_errors);
    m->addRow(m_warnings);
    m->addRow(m_info);
    m->addRow(QStringLiteral("Dostępność (WCAG):"), m_access);

    auto *fix = new QGroupBox(QStringLiteral("Popraw kod (tidy)"), this);
    auto *f = new QFormLayout(fix);
    m_indent = check("ChkTidyWciecia", QStringLiteral("Wcinaj zawartość bloków"));
    m_indentSpaces = new QSpinBox(this);
    m_indentSpaces->setObjectName(QStringLiteral("SpinTidyWciecie"));
    m_indentSpaces->setRange(1, TidyFixOptions::MaxIndentSpaces);
    m_upperCase = check("ChkTidyWielkie", QStringLiteral("Znaczniki i atrybuty wielkimi literami"));
    m_wrap = new QSpinBox(this);
    m_wrap->setObjectName(QStringLiteral("SpinTidyZawijanie"));
    m_wrap->setRange(0, TidyFixOptions::MaxWrap);
    m_wrap->setSpecialValueText(QStringLiteral("nie zawijaj"));
    f->addRow(m_indent);
    f->addRow(QStringLiteral("Spacji na wcięcie:"), m_indentSpaces);
    f->addRow(m_upperCase);
    f->addRow(QStringLiteral("Zawijaj wiersze po kolumnie:"), m_wrap);

    auto *spelling = new QGroupBox(QStringLiteral("Pisownia"), this);
    auto *s = new QFormLayout(spelling);
    m_spelling = check("ChkPisowniaSetup", QStringLiteral("Podkreślaj nieznane słowa (słownik polski)"));
    m_second = new QComboBox(this);
    m_second->setObjectName(QStringLiteral("CbDrugiSlownik"));
    s->addRow(m_spelling);
    s->addRow(QStringLiteral("Drugi słownik:"), m_second);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(markup);
    layout->addWidget(fix);
    layout->addWidget(spelling);
    layout->addStretch(1);
    connect(m_indent, &QCheckBox::toggled, m_indentSpaces, &QSpinBox::setEnabled);
}

void CheckOptionsPage::setOptions(const CheckOptions &o, const QStringList &dictionaries)
{
    m_options = o;
    m_errors->setChecked(o.validation.errors);
    m_warnings->setChecked(o.validation.warnings);
    m_info->setChecked(o.validation.info);
    m_access->setCurrentIndex(std::clamp(o.validation.accessLevel, 0, 3));
    m_indent->setChecked(o.fix.indent);
    m_indentSpaces->setValue(o.fix.indentSpaces);
    m_indentSpaces->setEnabled(o.fix.indent);
    m_upperCase->setChecked(o.fix.upperCaseTags);
    m_wrap->setValue(o.fix.wrap);
    m_spelling->setChecked(o.spelling);
    m_second->clear();
    m_second->addItem(QStringLiteral("(brak)"), QString());
    for (const QString &d : dictionaries)
        m_second->addItem(d, d);
    // A stored name not installed here stays chosen, so that it is not lost.
    if (!o.secondDictionary.isEmpty() && m_second->findData(o.secondDictionary) < 0)
        m_second->addItem(QStringLiteral("%1 (brak w systemie)").arg(o.secondDictionary), o.secondDictionary);
    m_second->setCurrentIndex(std::max(0, m_second->findData(o.secondDictionary)));
}

CheckOptions CheckOptionsPage::options() const
{
    CheckOptions o = m_options;
    o.validation.errors = m_errors->isChecked();
    o.validation.warnings = m_warnings->isChecked();
    o.validation.info = m_info->isChecked();
    o.validation.accessLevel = m_access->currentIndex();
    o.fix.indent = m_indent->isChecked();
    o.fix.indentSpaces = m_indentSpaces->value();
    o.fix.upperCaseTags = m_upperCase->isChecked();
    o.fix.wrap = m_wrap->value();
    o.spelling = m_spelling->isChecked();
    o.secondDictionary = m_second->currentData().toString();
    return o;
}
