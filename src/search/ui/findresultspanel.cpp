#include "search/ui/findresultspanel.h"

#include "base/documents.h"
#include "base/ui/drawnicon.h"
#include "base/ui/msgbox.h"
#include "search/findresults.h"
#include "search/searchengine.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QIdentityProxyModel>
#include <QPainter>
#include <QPixmap>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

// The three row pictures: a magnifying glass (found), two arrows (replaced), a sum sign (summary).
QIcon rowIcon(int image)
{
    return DrawnIcon(16, [image](QPainter &p) {
        p.setRenderHint(QPainter::Antialiasing);
        switch (image) {
        case FindResultRow::Found:
            p.setPen(QPen(QColor(30, 70, 160), 2));
            p.drawEllipse(QRectF(2, 2, 8, 8));
            p.setPen(QPen(QColor(90, 60, 20), 3, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(10, 10), QPointF(14, 14));
            break;
        case FindResultRow::Replaced:
            p.setPen(QPen(QColor(20, 130, 40), 2));
            p.drawLine(QPointF(2, 5), QPointF(13, 5));
            p.drawLine(QPointF(10, 2), QPointF(13, 5));
            p.setPen(QPen(QColor(180, 60, 20), 2));
            p.drawLine(QPointF(14, 11), QPointF(3, 11));
            p.drawLine(QPointF(6, 14), QPointF(3, 11));
            break;
        default:
            p.setPen(QPen(Qt::black, 2));
            p.drawPolyline(
                QPolygonF({ QPointF(12, 3), QPointF(4, 3), QPointF(9, 8), QPointF(4, 13), QPointF(12, 13) }));
            break;
        }
    });
}

// Adds the pictures to the core model's rows.
class ImageProxy final : public QIdentityProxyModel
{
public:
    explicit ImageProxy(QObject *parent)
        : QIdentityProxyModel(parent)
    {
        for (int i = 0; i < 3; ++i)
            m_icons[i] = rowIcon(i);
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role == Qt::DecorationRole && index.column() == FindResultsModel::ColumnText) {
            const int image = QIdentityProxyModel::data(index, FindResultsModel::ImageRole).toInt();
            return image >= 0 && image < 3 ? QVariant(m_icons[image]) : QVariant();
        }
        return QIdentityProxyModel::data(index, role);
    }

private:
    QIcon m_icons[3];
};

} // namespace

FindResultsPanel::FindResultsPanel(DocumentSet *docs, QWidget *parent)
    : QDockWidget(QStringLiteral("Wyniki"), parent)
    , m_docs(docs)
    , m_model(new FindResultsModel(this))
{
    setObjectName(QStringLiteral("TbarWyniki"));
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("ResultsTabs"));
    m_tabFind = new QWidget(m_tabs);
    m_tabFind->setObjectName(QStringLiteral("TabFind"));

    m_clear = new QToolButton(m_tabFind);
    m_clear->setObjectName(QStringLiteral("BtnWynikiClear"));
    m_clear->setText(QStringLiteral("Wyczyść"));
    m_clear->setToolTip(QStringLiteral("Wyczyść widoczną listę wyników"));
    m_clearBefore = new QToolButton(m_tabFind);
    m_clearBefore->setObjectName(QStringLiteral("BtnWynikiClBef"));
    m_clearBefore->setText(QStringLiteral("Czyść przed"));
    m_clearBefore->setToolTip(QStringLiteral("Czyść listę, gdy pojawiają się nowe wyniki"));
    m_clearBefore->setCheckable(true);

    m_view = new QTreeView(m_tabFind);
    m_view->setObjectName(QStringLiteral("FindResults"));
    // A flat report: uniform rows keep a million of them cheap to lay out.
    m_view->setRootIsDecorated(false);
    m_view->setItemsExpandable(false);
    m_view->setUniformRowHeights(true);
    m_view->setAllColumnsShowFocus(true);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    auto *proxy = new ImageProxy(this);
    proxy->setSourceModel(m_model);
    m_view->setModel(proxy);
    m_view->header()->setStretchLastSection(false);
    for (int c = 0; c < FindResultsModel::ColumnCount; ++c)
        m_view->setColumnWidth(c, FindResultsModel::defaultColumnWidth(c));

    auto *buttons = new QVBoxLayout;
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->addWidget(m_clear);
    buttons->addWidget(m_clearBefore);
    buttons->addStretch();
    auto *layout = new QHBoxLayout(m_tabFind);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addLayout(buttons);
    layout->addWidget(m_view, 1);
    m_tabs->addTab(m_tabFind, QStringLiteral("Znajdź / Zamień"));
    setWidget(m_tabs);

    connect(m_clear, &QToolButton::clicked, this, &FindResultsPanel::BtnWynikiClearClick);
    connect(m_view, &QTreeView::doubleClicked, this, &FindResultsPanel::FindResultsDblClick);
}

FindResultsPanel::~FindResultsPanel() = default;

bool FindResultsPanel::clearBeforeNew() const { return m_clearBefore->isChecked(); }

void FindResultsPanel::showFindPage()
{
    show();
    raise();
    m_tabs->setCurrentWidget(m_tabFind);
}

void FindResultsPanel::BtnWynikiClearClick() { m_model->clear(); }

void FindResultsPanel::FindResultsDblClick(const QModelIndex &index)
{
    if (!index.isValid() || !m_docs)
        return;
    const FindResultRow &row = m_model->row(index.row());
    if (SearchEngine::jumpTo(*m_docs, row) == SearchEngine::JumpResult::DocumentClosed)
        MsgBox::show(
            this, QMessageBox::Information, SearchTexts::findCaption(), SearchTexts::documentClosed());
}
