#pragma once

#include <QWidget>

class QLabel;
class QModelIndex;
class QTreeView;
class ValidationModel;

// The page "Poprawność" of the results panel: the summary of the last markup check and
// its rows (ValidationModel). A double-click on a row asks to go to its place.
class ValidationPage : public QWidget
{
    Q_OBJECT
public:
    explicit ValidationPage(QWidget *parent = nullptr);

    ValidationModel *model() const { return m_model; }
    QTreeView *view() const { return m_view; }
    // Shows the model's summary (after a check, or after the list was emptied).
    void updateSummary();

    void BtnPoprawnoscClearClick();
    void WynikiPoprawnoscDblClick(const QModelIndex &index);

Q_SIGNALS:
    // Row row of the model was chosen: its place is to be shown.
    void rowActivated(int row);

private:
    ValidationModel *m_model;
    QLabel *m_summary;
    QTreeView *m_view;
};
