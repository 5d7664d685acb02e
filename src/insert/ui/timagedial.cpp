#include "insert/ui/timagedial.h"

#include "base/settings.h"
#include "insert/insertdialogstate.h"
#include "insert/ui/picturesize.h"
#include "insert/ui/taddressedit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
// A preview is not worth reading a picture file larger than this.
constexpr qint64 kPreviewFileLimit = 32 * 1024 * 1024;
} // namespace

TImageDial::TImageDial(const InsertTarget &target, QWidget *parent)
    : TInsertDial(DialogSections::Image, QStringLiteral("Wstawianie obrazka"), target, parent)
{
    EdSrc = new TAddressEdit(target.fileName,
        QStringLiteral("Obrazki (*.png *.jpg *.jpeg *.gif *.webp *.svg *.bmp);;Wszystkie pliki (*)"), this);
    EdAlt = new QLineEdit(this);
    EdAlt->setToolTip(QStringLiteral("Opis obrazka dla przeglądarek bez obrazków i czytników ekranu"));
    ChkOzdobny = new QCheckBox(QStringLiteral("Obrazek ozdobny, bez opisu (ALT=\"\")"), this);
    EdSzerokosc = numberEdit(100000);
    EdWysokosc = numberEdit(100000);
    BtnRozmiar = new QPushButton(QStringLiteral("Odczytaj z pliku"), this);
    LbRozmiar = new QLabel(this);
    LbRozmiar->setWordWrap(true);
    EdRamka = numberEdit(99);
    CbWyrownanie = new QComboBox(this);
    const QStringList aligns = ImageAlignments();
    for (const QString &a : aligns)
        CbWyrownanie->addItem(a.isEmpty() ? QStringLiteral("(bez wyrównania)") : a, a);
    Podglad = new QLabel(this);
    Podglad->setFixedSize(PreviewSize);
    Podglad->setAlignment(Qt::AlignCenter);
    Podglad->setFrameShape(QFrame::StyledPanel);
    Podglad->setWordWrap(true);

    auto *size = new QHBoxLayout;
    size->addWidget(EdSzerokosc);
    size->addWidget(new QLabel(QStringLiteral("×"), this));
    size->addWidget(EdWysokosc);
    size->addWidget(BtnRozmiar);
    size->addStretch(1);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("&Plik (SRC):"), EdSrc);
    form->addRow(QStringLiteral("&Opis (ALT):"), EdAlt);
    form->addRow(QString(), ChkOzdobny);
    form->addRow(buddyLabel(QStringLiteral("&Rozmiar w pikselach:"), EdSzerokosc), size);
    form->addRow(QString(), LbRozmiar);
    form->addRow(QStringLiteral("Ra&mka (BORDER):"), EdRamka);
    form->addRow(QStringLiteral("&Wyrównanie (ALIGN):"), CbWyrownanie);
    auto *content = new QHBoxLayout;
    content->addLayout(form, 1);
    auto *preview = new QVBoxLayout;
    preview->addWidget(new QLabel(QStringLiteral("Podgląd:"), this));
    preview->addWidget(Podglad);
    preview->addStretch(1);
    content->addLayout(preview);
    setContent(content);
    setMinimumWidth(680);

    connect(EdSrc, &TAddressEdit::fileChosen, this, &TImageDial::EdSrcFileChosen);
    connect(BtnRozmiar, &QPushButton::clicked, this, &TImageDial::BtnRozmiarClick);
    connect(ChkOzdobny, &QCheckBox::toggled, this, &TImageDial::ChkOzdobnyClick);

    ImageFields f;
    ReadDialogFields(MarkoraSettings(), f);
    setFields(f);
    showPreview(EdSrc->localFile());
}

ImageFields TImageDial::fields() const
{
    ImageFields f;
    f.source = EdSrc->text();
    f.alt = EdAlt->text();
    f.decorative = ChkOzdobny->isChecked();
    f.width = numberOf(EdSzerokosc);
    f.height = numberOf(EdWysokosc);
    f.border = numberOf(EdRamka);
    f.align = CbWyrownanie->currentData().toString();
    return f;
}

void TImageDial::setFields(const ImageFields &f)
{
    EdSrc->setText(f.source);
    EdAlt->setText(f.alt);
    ChkOzdobny->setChecked(f.decorative);
    ChkOzdobnyClick(f.decorative);
    setNumber(EdSzerokosc, f.width);
    setNumber(EdWysokosc, f.height);
    setNumber(EdRamka, f.border);
    CbWyrownanie->setCurrentIndex(std::max(0, CbWyrownanie->findData(f.align)));
}

ResolvedInsertion TImageDial::insertion() const { return BuildImage(fields()); }

void TImageDial::EdSrcFileChosen(const QString &path) { readPicture(path); }

void TImageDial::BtnRozmiarClick()
{
    const QString path = EdSrc->localFile();
    if (path.isEmpty()) {
        message(QMessageBox::Information, QStringLiteral("informacja"),
            QStringLiteral(
                "Rozmiar można odczytać tylko z pliku na dysku; podany adres nie wskazuje pliku (albo "
                "dokument nie jest jeszcze zapisany, a adres jest względny)."));
        return;
    }
    readPicture(path);
}

void TImageDial::ChkOzdobnyClick(bool checked) { EdAlt->setEnabled(!checked); }

void TImageDial::readPicture(const QString &path)
{
    const PictureSize picture = ReadPictureSize(path);
    showPreview(path);
    if (picture.ok()) {
        setNumber(EdSzerokosc, picture.size.width());
        setNumber(EdWysokosc, picture.size.height());
        LbRozmiar->setText(QStringLiteral("Rozmiar z pliku: %1 × %2 (%3).")
                               .arg(picture.size.width())
                               .arg(picture.size.height())
                               .arg(picture.format.toUpper()));
        return;
    }
    EdSzerokosc->clear();
    EdWysokosc->clear();
    LbRozmiar->setText(QStringLiteral("Nie odczytano rozmiaru: ") + picture.error + QLatin1Char('.'));
    message(QMessageBox::Warning, QStringLiteral("ostrzeżenie"),
        QStringLiteral("Nie udało się odczytać rozmiaru obrazka z pliku ") + QDir::toNativeSeparators(path)
            + QStringLiteral(": ") + picture.error
            + QStringLiteral(".\nPola szerokości i wysokości zostały puste."));
}

void TImageDial::showPreview(const QString &path)
{
    Podglad->setPixmap(QPixmap());
    Podglad->setText(QStringLiteral("Brak podglądu"));
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile() || info.size() > kPreviewFileLimit)
        return;
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    const QSize full = reader.size();
    if (full.isValid() && (full.width() > PreviewSize.width() || full.height() > PreviewSize.height()))
        reader.setScaledSize(full.scaled(PreviewSize, Qt::KeepAspectRatio));
    const QImage image = reader.read();
    if (!image.isNull())
        Podglad->setPixmap(QPixmap::fromImage(image));
}

bool TImageDial::checkFields()
{
    if (EdSrc->text().isEmpty())
        return refuse(EdSrc, QStringLiteral("Podaj plik albo adres obrazka."));
    if (!ChkOzdobny->isChecked() && EdAlt->text().trimmed().isEmpty()) {
        const auto answer = message(QMessageBox::Question, QStringLiteral("pytanie"),
            QStringLiteral("Obrazek nie ma opisu (ALT), który czytają przeglądarki bez obrazków i czytniki "
                           "ekranu.\nCzy to obrazek tylko ozdobny, któremu opis nie jest potrzebny?"),
            QMessageBox::Yes | QMessageBox::No);
        if (answer != QMessageBox::Yes) {
            EdAlt->setFocus();
            return false;
        }
        ChkOzdobny->setChecked(true);
    }
    return true;
}

void TImageDial::saveFields(MarkoraSettings &settings) const { WriteDialogFields(settings, fields()); }
