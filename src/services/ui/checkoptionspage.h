#pragma once

#include "services/checkoptions.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QSpinBox;

// The page "Sprawdzanie" of the setup dialog: which rows the markup check shows and
// its accessibility check, how "Popraw kod (tidy)" writes the page, and the spelling
// (on or off, the second dictionary among those installed).
class CheckOptionsPage : public QWidget
{
    Q_OBJECT
public:
    explicit CheckOptionsPage(QWidget *parent = nullptr);

    // dictionaries: the names a second dictionary may be chosen from.
    void setOptions(const CheckOptions &options, const QStringList &dictionaries);
    CheckOptions options() const;

private:
    CheckOptions m_options;
    QCheckBox *m_errors;
    QCheckBox *m_warnings;
    QCheckBox *m_info;
    QComboBox *m_access;
    QCheckBox *m_indent;
    QSpinBox *m_indentSpaces;
    QCheckBox *m_upperCase;
    QSpinBox *m_wrap;
    QCheckBox *m_spelling;
    QComboBox *m_second;
};
