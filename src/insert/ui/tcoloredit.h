#pragma once

#include <QWidget>

class QComboBox;
class QToolButton;

// A colour field: an editable list of the HTML colour names, and a button that opens the
// colour chooser and writes "#RRGGBB". The button shows the colour the field holds.
class TColorEdit : public QWidget
{
    Q_OBJECT
public:
    explicit TColorEdit(QWidget *parent = nullptr);

    QString text() const;
    void setText(const QString &text);

    QComboBox *CbKolor = nullptr;
    QToolButton *BtnKolor = nullptr;

public Q_SLOTS:
    void BtnKolorClick();

private:
    void CbKolorChange();
};
