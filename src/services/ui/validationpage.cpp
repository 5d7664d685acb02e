#include "services/ui/validationpage.h"

#include "services/validationmodel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

ValidationPage::ValidationPage(QWidget *parent)
    : QWidget(parent)
    , m_model(new ValidationModel(this))
{
    setObjectName(QStringLiteral("TabPoprawnosc"));
    auto *clear = new QToolButton(this);
    clear->setObjectName(QStringLiteral("BtnPoprawnoscClear"));
    clear->setText(QStringLiteral("Wyczyść"));
    clear->setToolTip(QStringLiteral("Wyczyść listę wyników sprawdzania poprawności"));
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("PoprawnoscPodsumowanie"));
    m_summary->setTextFormat(Qt::PlainText);
    m_view = new QTreeView(this);
    m_view->setObjectName(QStringLiteral("WynikiPoprawnosc"));
    m_view->setRootIsDecorated(false);
    m_view->setItemsExpandable(false);
    m_view->setUniformRowHeights(true);
    m_view->setAllColumnsShowFocus(true);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setModel(m_model);
    m_view->setColumnWidth(ValidationModel::ColumnKind, 100);
    m_view->setColumnWidth(ValidationModel::ColumnLine, 60);
    m_view->setColumnWidth(ValidationModel::ColumnColumn, 60);

    auto *buttons = new QVBoxLayout;
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->addWidget(clear);
    buttons->addStretch();
    auto *list = new QVBoxLayout;
    list->setContentsMargins(0, 0, 0, 0);
    list->addWidget(m_summary);
    list->addWidget(m_view, 1);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addLayout(buttons);
    layout->addLayout(list, 1);

    connect(clear, &QToolButton::clicked, this, &ValidationPage::BtnPoprawnoscClearClick);
    connect(m_view, &QTreeView::doubleClicked, this, &ValidationPage::WynikiPoprawnoscDblClick);
}

void ValidationPage::updateSummary() { m_summary->setText(m_model->summary()); }

void ValidationPage::BtnPoprawnoscClearClick()
{
    m_model->clear();
    updateSummary();
}

void ValidationPage::WynikiPoprawnoscDblClick(const QModelIndex &index)
{
    if (index.isValid())
        Q_EMIT rowActivated(index.row());
}
