#pragma once

#include "insert/tablemarkup.h"
#include "insert/ui/tinsertdial.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableWidget;

// "Kreator ramek": a FRAMESET of columns or rows, each frame with its size, name and source
// (a chosen file written with the relative-path rule), and a NOFRAMES part for browsers
// without frames, which receives the selection.
class TFrameDial : public TInsertDial
{
    Q_OBJECT
public:
    explicit TFrameDial(const InsertTarget &target, QWidget *parent = nullptr);

    FrameFields fields() const;
    void setFields(const FrameFields &f);
    ResolvedInsertion insertion() const override;

    QRadioButton *RbKolumny = nullptr;
    QRadioButton *RbWiersze = nullptr;
    QSpinBox *SpRamki = nullptr;
    // Columns: size, name, source.
    QTableWidget *TblRamki = nullptr;
    QPushButton *BtnZrodlo = nullptr;
    QLabel *LbUwaga = nullptr;
    QCheckBox *ChkBezRamek = nullptr;
    QLineEdit *EdBezRamek = nullptr;
    QSpinBox *SpWciecie = nullptr;

public Q_SLOTS:
    // The table gets as many rows as frames.
    void SpRamkiChange(int count);
    // Opens the file dialog for the current frame's source.
    void BtnZrodloClick();
    // Writes path as the source of frame row (from 0), as if chosen in the file dialog.
    void SourceFileChosen(int row, const QString &path);

protected:
    bool checkFields() override;
    void saveFields(MarkoraSettings &settings) const override;

private:
    QString cell(int row, int column) const;
    void setCell(int row, int column, const QString &text);
};
