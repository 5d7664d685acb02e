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

    // Called once on a window just made, before it shows: where the program adds the
    // pages of its own (addPage).
    using CreatedFn = std::function<void(TSearchDial &)>;

    // The Find (page 0) and Replace (page 1) commands, and the pages added after them:
    // create the window if needed, choose the page and show it.
    static TSearchDial *showPage(int page, QWidget *mainWindow, DocumentSet *docs, FindResultsPanel *results,
        StatusFn statusPanel3, const CreatedFn &created = {});
    // The existing window, or nullptr.
    static TSearchDial *instance();

    // The page shown: 0 find, 1 replace, 2 on the pages added.
    void setPage(int page);
    // A page of the program's own after Find and Replace (search in files), shown in
    // place of the fields and options while its tab is current; the window takes it.
    // Returns its page number.
    int addPage(const QString &caption, QWidget *page);
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
    void fitSize();
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
    QWidget *m_searchArea = nullptr; // Find and Replace: the fields, buttons and options
    QList<QWidget *> m_pages; // the pages added
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
