#include "app/ui/tsetupdial.h"

#include "base/datafiles.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {
QComboBox *templateCombo(QWidget *parent, const QString &name, const QStringList &choices)
{
    auto *c = new QComboBox(parent);
    c->setObjectName(name);
    c->setEditable(true);
    c->addItems(choices);
    c->setInsertPolicy(QComboBox::NoInsert);
    return c;
}
} // namespace

QColor TSetupDial::shownColor(qint32 stored, const QColor &system)
{
    return IsSystemColor(stored) ? system : QColor::fromRgb(StoredColorToRgb(stored));
}

QFont TSetupDial::displayFont(const SetupOptions &o)
{
    QFont f(o.fontFace);
    f.setPointSize(o.fontSize);
    if (!QFontDatabase::hasFamily(o.fontFace)) {
        // The stored face is not installed here: show a monospaced one of that size.
        f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        f.setPointSize(o.fontSize);
    }
    f.setStyleHint(QFont::TypeWriter);
    return f;
}

TSetupDial::TSetupDial(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("SetupDial"));
    setWindowTitle(QStringLiteral("Konfiguracja"));
    auto *tabs = m_tabs = new QTabWidget(this);

    auto *general = new QWidget(tabs);
    auto *g = new QFormLayout(general);
    // The code page of new documents, and of files that name none when UTF-8 does not fit.
    auto *codePages = new QHBoxLayout;
    m_inWindows = new QRadioButton(QStringLiteral("Windows 1250"), general);
    m_inWindows->setObjectName(QStringLiteral("InWin"));
    InISO = new QRadioButton(QStringLiteral("ISO 8859-2"), general);
    InISO->setObjectName(QStringLiteral("InISO"));
    InUTF8 = new QRadioButton(QStringLiteral("UTF-8"), general);
    InUTF8->setObjectName(QStringLiteral("InUTF8"));
    for (QRadioButton *b : { m_inWindows, InISO, InUTF8 })
        codePages->addWidget(b);
    codePages->addStretch(1);
    g->addRow(QStringLiteral("Kodowanie nowych dokumentów:"), codePages);
    m_lineBreak = new QComboBox(general);
    m_lineBreak->setObjectName(QStringLiteral("CbKoniecWiersza"));
    m_lineBreak->addItems({ QStringLiteral("CR LF (Windows)"), QStringLiteral("LF (Unix, Linux, macOS)"),
        QStringLiteral("CR (dawny Mac OS)") });
    g->addRow(QStringLiteral("Koniec wiersza nowych dokumentów:"), m_lineBreak);
    m_tabWidth = new QSpinBox(general);
    m_tabWidth->setObjectName(QStringLiteral("SzerTab"));
    m_tabWidth->setRange(0, SetupOptions::MaxTabWidth);
    g->addRow(QStringLiteral("Szerokość tabulacji:"), m_tabWidth);
    m_expandTabs = new QCheckBox(
        QStringLiteral("Zamieniaj tabulatory na spacje przy otwieraniu i wstawianiu plików"), general);
    m_expandTabs->setObjectName(QStringLiteral("ChkZamienTabulatory"));
    g->addRow(m_expandTabs);
    m_openPrevious = new QCheckBox(QStringLiteral("Przy starcie otwórz pliki poprzednio edytowane"), general);
    m_openPrevious->setObjectName(QStringLiteral("ChkOtworzPoprzednie"));
    g->addRow(m_openPrevious);
    m_reloadChanged = new QCheckBox(
        QStringLiteral("Ładuj ponownie pliki zmienione przez inne programy (gdy w edytorze nie było zmian)"),
        general);
    m_reloadChanged->setObjectName(QStringLiteral("ChkPrzeladuj"));
    g->addRow(m_reloadChanged);
    m_wrap = new QCheckBox(QStringLiteral("Zawijanie wierszy"), general);
    m_wrap->setObjectName(QStringLiteral("ChkZawijanieSetup"));
    g->addRow(m_wrap);
    m_template = new QComboBox(general);
    m_template->setObjectName(QStringLiteral("CbSzablon"));
    g->addRow(QStringLiteral("Szablon nowego dokumentu:"), m_template);
    tabs->addTab(general, QStringLiteral("Ogólne"));

    auto *tags = new QWidget(tabs);
    auto *t = new QFormLayout(tags);
    m_lowerInsert = new QCheckBox(QStringLiteral("Wstawiaj tagi używając małych liter"), tags);
    m_lowerInsert->setObjectName(QStringLiteral("ChkMaleLitery"));
    t->addRow(m_lowerInsert);
    m_closeParagraph = new QCheckBox(QStringLiteral("Zawsze wstawiaj koniec paragrafu (</P>)"), tags);
    m_closeParagraph->setObjectName(QStringLiteral("ChkKoniecP"));
    t->addRow(m_closeParagraph);
    m_alignLeft = templateCombo(tags, QStringLiteral("CbWyrownajLewo"), SetupOptions::alignLeftChoices());
    t->addRow(QStringLiteral("Do lewej:"), m_alignLeft);
    m_alignCenter
        = templateCombo(tags, QStringLiteral("CbWyrownajSrodek"), SetupOptions::alignCenterChoices());
    t->addRow(QStringLiteral("Do środka:"), m_alignCenter);
    m_alignRight = templateCombo(tags, QStringLiteral("CbWyrownajPrawo"), SetupOptions::alignRightChoices());
    t->addRow(QStringLiteral("Do prawej:"), m_alignRight);
    m_lowerEdit = new QCheckBox(QStringLiteral("Edytuj tagi używając małych liter"), tags);
    m_lowerEdit->setObjectName(QStringLiteral("ChkMaleLiteryEdycja"));
    t->addRow(m_lowerEdit);
    PdUse = new QCheckBox(QStringLiteral("Pokazuj podgląd edytowanego znacznika"), tags);
    PdUse->setObjectName(QStringLiteral("PdUse"));
    t->addRow(PdUse);
    m_sampleText = new QLineEdit(tags);
    m_sampleText->setObjectName(QStringLiteral("PdText"));
    t->addRow(QStringLiteral("Tekst próbny:"), m_sampleText);
    tabs->addTab(tags, QStringLiteral("Znaczniki"));

    auto *editor = new QWidget(tabs);
    auto *e = new QVBoxLayout(editor);
    m_fontSample = new QLabel(QStringLiteral("<P ALIGN=\"Left\">Zażółć gęślą jaźń</P>"), editor);
    m_fontSample->setObjectName(QStringLiteral("PrzykladCzcionki"));
    m_fontSample->setTextFormat(Qt::PlainText);
    m_fontSample->setAutoFillBackground(true);
    m_fontSample->setMinimumHeight(60);
    m_fontSample->setFrameShape(QFrame::StyledPanel);
    e->addWidget(m_fontSample);
    auto *row = new QHBoxLayout;
    auto *fontBtn = new QPushButton(QStringLiteral("&Czcionka..."), editor);
    fontBtn->setObjectName(QStringLiteral("BtnCzcionka"));
    auto *textBtn = new QPushButton(QStringLiteral("Kolor &tekstu..."), editor);
    textBtn->setObjectName(QStringLiteral("BtnKolorTekstu"));
    auto *backBtn = new QPushButton(QStringLiteral("Kolor &tła..."), editor);
    backBtn->setObjectName(QStringLiteral("BtnKolorTla"));
    row->addWidget(fontBtn);
    row->addWidget(textBtn);
    row->addWidget(backBtn);
    e->addLayout(row);
    e->addStretch(1);
    tabs->addTab(editor, QStringLiteral("Edytor"));

    auto *box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addWidget(box);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(fontBtn, &QPushButton::clicked, this, &TSetupDial::chooseFont);
    connect(textBtn, &QPushButton::clicked, this, [this] { chooseColor(false); });
    connect(backBtn, &QPushButton::clicked, this, [this] { chooseColor(true); });
}

void TSetupDial::setOptions(const SetupOptions &o, bool wordWrap)
{
    m_options = o;
    (o.inUtf8 ? InUTF8 : o.inIso ? InISO : m_inWindows)->setChecked(true);
    m_lineBreak->setCurrentIndex(std::clamp(o.newLineBreak, 0, 2));
    m_tabWidth->setValue(o.tabWidth);
    m_expandTabs->setChecked(o.expandTabs);
    m_openPrevious->setChecked(o.openPrevious);
    m_reloadChanged->setChecked(o.reloadChanged);
    m_lowerInsert->setChecked(o.lowerCaseInsert);
    m_closeParagraph->setChecked(o.closeParagraph);
    m_alignLeft->setEditText(o.alignLeft);
    m_alignCenter->setEditText(o.alignCenter);
    m_alignRight->setEditText(o.alignRight);
    m_lowerEdit->setChecked(o.lowerCaseEdit);
    PdUse->setChecked(o.pdUse);
    m_sampleText->setText(o.sampleText);
    m_wrap->setChecked(wordWrap);
    updateSample();
}

SetupOptions TSetupDial::options() const
{
    SetupOptions o = m_options;
    // "_InISO" keeps its meaning for a UTF-8 choice: the 8-bit code page chosen before.
    if (!InUTF8->isChecked())
        o.inIso = InISO->isChecked();
    o.inUtf8 = InUTF8->isChecked();
    o.newLineBreak = m_lineBreak->currentIndex();
    o.tabWidth = m_tabWidth->value();
    o.expandTabs = m_expandTabs->isChecked();
    o.openPrevious = m_openPrevious->isChecked();
    o.reloadChanged = m_reloadChanged->isChecked();
    o.lowerCaseInsert = m_lowerInsert->isChecked();
    o.closeParagraph = m_closeParagraph->isChecked();
    const SetupOptions defaults;
    auto templ = [](const QComboBox *c, const QString &def) {
        const QString s = c->currentText().trimmed();
        return s.isEmpty() ? def : s;
    };
    o.alignLeft = templ(m_alignLeft, defaults.alignLeft);
    o.alignCenter = templ(m_alignCenter, defaults.alignCenter);
    o.alignRight = templ(m_alignRight, defaults.alignRight);
    o.lowerCaseEdit = m_lowerEdit->isChecked();
    o.pdUse = PdUse->isChecked();
    o.sampleText = m_sampleText->text();
    return o;
}

bool TSetupDial::wordWrap() const { return m_wrap->isChecked(); }

void TSetupDial::addPage(QWidget *page, const QString &title) { m_tabs->addTab(page, title); }

QString TSetupDial::templateFolder() { return DataFilePath(QStringLiteral("szablony")); }

void TSetupDial::setDefaultTemplate(const QString &path)
{
    // Listed afresh each time: templates may have been added since.
    m_template->clear();
    m_template->addItem(QStringLiteral("(brak)"), QString());
    const QDir folder(templateFolder());
    const QFileInfoList files = folder.entryInfoList(
        { QStringLiteral("*.html"), QStringLiteral("*.htm") }, QDir::Files | QDir::Readable, QDir::Name);
    for (const QFileInfo &f : files)
        m_template->addItem(f.fileName(), f.absoluteFilePath());
    if (path.isEmpty()) {
        m_template->setCurrentIndex(0);
        return;
    }
    const QString wanted = QFileInfo(path).absoluteFilePath();
    int index = m_template->findData(wanted);
    if (index < 0) {
        m_template->addItem(QDir::toNativeSeparators(wanted), wanted);
        index = m_template->count() - 1;
    }
    m_template->setCurrentIndex(index);
}

QString TSetupDial::defaultTemplate() const { return m_template->currentData().toString(); }

void TSetupDial::chooseFont()
{
    bool ok = false;
    const QFont f
        = QFontDialog::getFont(&ok, displayFont(m_options), this, QStringLiteral("Czcionka edytora"));
    if (!ok)
        return;
    m_options.fontFace = f.family();
    if (f.pointSize() > 0)
        m_options.fontSize = f.pointSize();
    updateSample();
}

void TSetupDial::chooseColor(bool background)
{
    const QColor current = background ? shownColor(m_options.background, palette().color(QPalette::Base))
                                      : shownColor(m_options.fontColor, palette().color(QPalette::Text));
    const QColor c = QColorDialog::getColor(
        current, this, background ? QStringLiteral("Kolor tła") : QStringLiteral("Kolor tekstu"));
    if (!c.isValid())
        return;
    (background ? m_options.background : m_options.fontColor) = RgbToStoredColor(c.rgb() & 0xFFFFFFu);
    updateSample();
}

void TSetupDial::updateSample()
{
    m_fontSample->setFont(displayFont(m_options));
    QPalette p = m_fontSample->palette();
    p.setColor(QPalette::Window, shownColor(m_options.background, palette().color(QPalette::Base)));
    p.setColor(QPalette::WindowText, shownColor(m_options.fontColor, palette().color(QPalette::Text)));
    m_fontSample->setPalette(p);
}
