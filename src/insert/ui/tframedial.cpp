#include "insert/ui/tframedial.h"

#include "base/settings.h"
#include "insert/insertdialogstate.h"
#include "insert/relativepath.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
enum Column { Size, Name, Source };
} // namespace

TFrameDial::TFrameDial(const InsertTarget &target, QWidget *parent)
    : TInsertDial(DialogSections::Frames, QStringLiteral("Kreator ramek"), target, parent)
{
    RbKolumny = new QRadioButton(QStringLiteral("&Kolumny (COLS)"), this);
    RbWiersze = new QRadioButton(QStringLiteral("&Wiersze (ROWS)"), this);
    SpRamki = new QSpinBox(this);
    SpRamki->setRange(1, FrameFields::MaxFrames);
    TblRamki = new QTableWidget(0, 3, this);
    TblRamki->setHorizontalHeaderLabels(
        { QStringLiteral("Rozmiar"), QStringLiteral("Nazwa (NAME)"), QStringLiteral("Źródło (SRC)") });
    TblRamki->horizontalHeader()->setStretchLastSection(true);
    TblRamki->setColumnWidth(Size, 80);
    TblRamki->setColumnWidth(Name, 120);
    TblRamki->setToolTip(
        QStringLiteral("Rozmiar w pikselach (200), w procentach (30%) albo względny (*, 2*)"));
    BtnZrodlo = new QPushButton(QStringLiteral("Wybierz &źródło..."), this);
    LbUwaga = new QLabel(this);
    LbUwaga->setWordWrap(true);
    LbUwaga->hide();
    ChkBezRamek = new QCheckBox(QStringLiteral("Treść dla przeglądarek bez ramek (&NOFRAMES):"), this);
    EdBezRamek = new QLineEdit(this);
    SpWciecie = new QSpinBox(this);
    SpWciecie->setRange(0, 8);
    SpWciecie->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 32);

    auto *kind = new QHBoxLayout;
    kind->addWidget(RbKolumny);
    kind->addWidget(RbWiersze);
    kind->addStretch(1);
    kind->addWidget(buddyLabel(QStringLiteral("&Liczba ramek:"), SpRamki));
    kind->addWidget(SpRamki);
    auto *source = new QHBoxLayout;
    source->addWidget(LbUwaga, 1);
    source->addStretch(0);
    source->addWidget(BtnZrodlo, 0, Qt::AlignTop | Qt::AlignRight);
    auto *form = new QFormLayout;
    form->addRow(ChkBezRamek);
    form->addRow(EdBezRamek);
    form->addRow(QStringLiteral("Wcię&cie wierszy (spacje):"), SpWciecie);
    auto *content = new QVBoxLayout;
    content->addLayout(kind);
    content->addWidget(TblRamki, 1);
    content->addLayout(source);
    content->addLayout(form);
    setContent(content);
    setMinimumSize(540, 400);

    connect(SpRamki, qOverload<int>(&QSpinBox::valueChanged), this, &TFrameDial::SpRamkiChange);
    connect(BtnZrodlo, &QPushButton::clicked, this, &TFrameDial::BtnZrodloClick);
    connect(ChkBezRamek, &QCheckBox::toggled, EdBezRamek, &QLineEdit::setEnabled);
    FrameFields f;
    ReadDialogFields(MarkoraSettings(), f);
    setFields(f);
}

QString TFrameDial::cell(int row, int column) const
{
    const QTableWidgetItem *item = TblRamki->item(row, column);
    return item ? item->text().trimmed() : QString();
}

void TFrameDial::setCell(int row, int column, const QString &text)
{
    if (QTableWidgetItem *item = TblRamki->item(row, column))
        item->setText(text);
    else
        TblRamki->setItem(row, column, new QTableWidgetItem(text));
}

FrameFields TFrameDial::fields() const
{
    FrameFields f;
    f.columns = RbKolumny->isChecked();
    f.frames.clear();
    for (int row = 0; row < TblRamki->rowCount(); ++row)
        f.frames.append({ cell(row, Size), cell(row, Name), cell(row, Source) });
    f.noFrames = ChkBezRamek->isChecked();
    f.noFramesText = EdBezRamek->text();
    f.indent = SpWciecie->value();
    return f;
}

void TFrameDial::setFields(const FrameFields &f)
{
    (f.columns ? RbKolumny : RbWiersze)->setChecked(true);
    const int count = std::clamp(int(f.frames.size()), 1, FrameFields::MaxFrames);
    TblRamki->setRowCount(0);
    SpRamki->setValue(count);
    SpRamkiChange(count);
    for (int row = 0; row < count && row < f.frames.size(); ++row) {
        setCell(row, Size, f.frames[row].size);
        setCell(row, Name, f.frames[row].name);
        setCell(row, Source, f.frames[row].source);
    }
    ChkBezRamek->setChecked(f.noFrames);
    EdBezRamek->setText(f.noFramesText);
    EdBezRamek->setEnabled(f.noFrames);
    SpWciecie->setValue(f.indent);
}

ResolvedInsertion TFrameDial::insertion() const { return BuildFrames(fields(), target().lineIndent); }

void TFrameDial::SpRamkiChange(int count)
{
    const int old = TblRamki->rowCount();
    TblRamki->setRowCount(count);
    for (int row = old; row < count; ++row) {
        setCell(row, Size, QStringLiteral("*"));
        setCell(row, Name, QStringLiteral("ramka") + QString::number(row + 1));
        setCell(row, Source, QString());
    }
}

void TFrameDial::BtnZrodloClick()
{
    const int row = std::max(0, TblRamki->currentRow());
    const QString folder
        = target().fileName.isEmpty() ? QDir::homePath() : QFileInfo(target().fileName).absolutePath();
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Wybierz źródło ramki"), folder,
        QStringLiteral("Strony (*.htm *.html *.php *.asp);;Wszystkie pliki (*)"));
    if (!path.isEmpty())
        SourceFileChosen(row, path);
}

void TFrameDial::SourceFileChosen(int row, const QString &path)
{
    if (row < 0 || row >= TblRamki->rowCount())
        return;
    const LinkPath link = RelativeLink(target().fileName, QFileInfo(path).absoluteFilePath());
    setCell(row, Source, link.href);
    LbUwaga->setText(LinkPathNote(link.kind));
    LbUwaga->setVisible(link.kind != LinkPathKind::Relative);
}

bool TFrameDial::checkFields()
{
    for (int row = 0; row < TblRamki->rowCount(); ++row) {
        const QString size = cell(row, Size);
        if (!size.isEmpty() && !IsFrameSize(size)) {
            TblRamki->setCurrentCell(row, Size);
            return refuse(TblRamki,
                QStringLiteral("Rozmiar ramki ") + QString::number(row + 1)
                    + QStringLiteral(" podaj w pikselach (200), w procentach (30%) albo względnie (*, 2*)."));
        }
    }
    return true;
}

void TFrameDial::saveFields(MarkoraSettings &settings) const { WriteDialogFields(settings, fields()); }
