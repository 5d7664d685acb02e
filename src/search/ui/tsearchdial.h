#pragma once

#include "search/regex.h"
#include "search/searchengine.h"
#include "search/searchwindowstate.h"

#include <QDialog>
#include <functional>
#include <utility>
#include <vector>

class DocumentSet;
class FindResultsPanel;
class QAbstractButton;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTabBar;

// "Znajdź & zamień": the modeless find-and-replace tool window. At most one exists; it is
// created on the first Find or Replace command and destroyed when it is hidden. Its
// options and histories are kept under "Okna/Znajdź" in the settings.
class TSearchDial : public QDialog
{
    Q_OBJECT
public:
    using StatusFn = std::function<void(const QString &)>;

    // mainWindow: the owner; docs: the open documents; results: the results panel;
    // statusPanel3: receives the progress texts. docs and results must outlive the window.
    TSearchDial(QWidget *mainWindow, DocumentSet *docs, FindResultsPanel *results, StatusFn statusPanel3);
    ~TSearchDial() override;

    // The Find (page 0) and Replace (page 1) commands: create the window if needed,
    // choose the page and show it.
    static TSearchDial *showPage(
        int page, QWidget *mainWindow, DocumentSet *docs, FindResultsPanel *results, StatusFn statusPanel3);
    // The existing window, or nullptr.
    static TSearchDial *instance();

    // The page shown: 0 find, 1 replace.
    void setPage(int page);
    int page() const;
    SearchOptions options() const;
    // The expression object: valid only while the window is shown and after a Prepare.
    const Regex &regex() const { return m_regex; }

public Q_SLOTS:
    void FindBtnClick();
    void FindAllBtnClick();
    void ReplBtnClick();
    void ReplAllBtnClick();
    // The option update, run by every check box and scope button.
    void ZakresAktClick();
    void OptBtnClick();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void updatePage();
    bool prepare();
    void addHistory(QComboBox *combo);
    // The buttons whose checked state the settings keep, with the member of each; the
    // scope buttons are kept apart (one of them is always down).
    std::vector<std::pair<QAbstractButton *, bool SearchWindowState::*>> stateButtons() const;
    void restoreState();
    void saveState() const;
    void runAll(bool replacing);

    DocumentSet *m_docs;
    FindResultsPanel *m_results;
    StatusFn m_status;
    Regex m_regex;

    QTabBar *ZZTabs = nullptr;
    QLabel *FindLbl = nullptr;
    QComboBox *FindCombo = nullptr;
    QLabel *FindOpt = nullptr;
    QLabel *ReplLbl = nullptr;
    QComboBox *ReplCombo = nullptr;
    QLabel *ReplOpt = nullptr;
    QPushButton *FindBtn = nullptr;
    QPushButton *FindAllBtn = nullptr;
    QPushButton *ReplBtn = nullptr;
    QPushButton *ReplAllBtn = nullptr;
    QPushButton *OptBtn = nullptr;
    QPushButton *Button5 = nullptr;
    QWidget *OptArea = nullptr;
    QGroupBox *Zakres = nullptr;
    QRadioButton *ZakresAkt = nullptr;
    QRadioButton *ZakresWsz = nullptr;
    QCheckBox *WyszCase = nullptr;
    QCheckBox *WyszSel = nullptr;
    QCheckBox *UzReg = nullptr;
    QCheckBox *UzDot = nullptr;
    QCheckBox *UzSS = nullptr;
};
