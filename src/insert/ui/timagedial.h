#pragma once

#include "insert/linkmarkup.h"
#include "insert/ui/tinsertdial.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TAddressEdit;

// "Wstawianie obrazka": the IMG tag. A chosen file is written with the relative-path rule,
// its width and height are read from its header and a small preview shows it. The
// alternative text is asked for: an empty one goes in only for a picture confirmed as
// decorative.
class TImageDial : public TInsertDial
{
    Q_OBJECT
public:
    static constexpr QSize PreviewSize { 160, 120 };

    explicit TImageDial(const InsertTarget &target, QWidget *parent = nullptr);

    ImageFields fields() const;
    void setFields(const ImageFields &f);
    ResolvedInsertion insertion() const override;

    TAddressEdit *EdSrc = nullptr;
    QLineEdit *EdAlt = nullptr;
    QCheckBox *ChkOzdobny = nullptr;
    QLineEdit *EdSzerokosc = nullptr;
    QLineEdit *EdWysokosc = nullptr;
    QPushButton *BtnRozmiar = nullptr;
    QLabel *LbRozmiar = nullptr;
    QLineEdit *EdRamka = nullptr;
    QComboBox *CbWyrownanie = nullptr;
    QLabel *Podglad = nullptr;

public Q_SLOTS:
    // A file was chosen for the source: its size and preview.
    void EdSrcFileChosen(const QString &path);
    // Reads the size (and preview) of the file the source names again.
    void BtnRozmiarClick();
    void ChkOzdobnyClick(bool checked);

protected:
    bool checkFields() override;
    void saveFields(MarkoraSettings &settings) const override;

private:
    // Fills the width and height from the file, or empties them and says why.
    void readPicture(const QString &path);
    void showPreview(const QString &path);
};
