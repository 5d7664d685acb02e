#pragma once

#include "app/setupoptions.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;

// The setup dialog: edits a copy of the setup options and the wrap setting; the
// caller takes them back after OK.
class TSetupDial : public QDialog
{
    Q_OBJECT
public:
    explicit TSetupDial(QWidget *parent = nullptr);

    void setOptions(const SetupOptions &options, bool wordWrap);
    SetupOptions options() const;
    bool wordWrap() const;
    // Another part's page of options, after the dialog's own.
    void addPage(QWidget *page, const QString &title);
    // The template of new documents: "(brak)" or a file of the templates folder; a file
    // elsewhere, chosen before, stays on the list. Empty: none.
    void setDefaultTemplate(const QString &path);
    QString defaultTemplate() const;
    // Where the templates offered live (szablony/ beside the program, or installed).
    static QString templateFolder();

    // The font the editors show for these options (a monospaced face when the stored
    // one is not installed) — the stored name is never changed by the fallback.
    static QFont displayFont(const SetupOptions &options);
    // A stored colour as shown: the system colour given for a system colour.
    static QColor shownColor(qint32 stored, const QColor &system);

private:
    void chooseFont();
    void chooseColor(bool background);
    void updateSample();

    SetupOptions m_options;
    QTabWidget *m_tabs;
    QRadioButton *m_inWindows;
    QRadioButton *InISO;
    QRadioButton *InUTF8;
    QComboBox *m_lineBreak;
    QSpinBox *m_tabWidth;
    QCheckBox *m_expandTabs;
    QCheckBox *m_openPrevious;
    QCheckBox *m_reloadChanged;
    QCheckBox *m_lowerInsert;
    QCheckBox *m_closeParagraph;
    QComboBox *m_alignLeft;
    QComboBox *m_alignCenter;
    QComboBox *m_alignRight;
    QCheckBox *m_lowerEdit;
    QCheckBox *PdUse;
    QLineEdit *m_sampleText;
    QCheckBox *m_wrap;
    QComboBox *m_template;
    QLabel *m_fontSample;
};
