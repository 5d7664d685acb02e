#include "insert/ui/inserttooltabs.h"

#include "insert/commandtable.h"

#include <QAction>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QMenu>
#include <QScrollArea>
#include <QToolButton>

namespace {

// A literal "&" in a widget text would be taken as an accelerator mark.
QString escapeAmpersands(QString text) { return text.replace(QLatin1Char('&'), QLatin1String("&&")); }

} // namespace

InsertToolTabs::InsertToolTabs(QWidget *parent)
    : QTabWidget(parent)
{
    setObjectName(QStringLiteral("InsertToolTabs"));
    // For queued connections and signal spies on buttonRightClicked.
    qRegisterMetaType<QToolButton *>();
    const QStringList &pages = insertPageNames();
    QVector<QHBoxLayout *> layouts;
    for (const QString &name : pages) {
        auto *page = new QWidget;
        auto *layout = new QHBoxLayout(page);
        layout->setContentsMargins(2, 2, 2, 2);
        layout->setSpacing(1);
        layouts.append(layout);
        auto *scroll = new QScrollArea;
        scroll->setWidget(page);
        scroll->setWidgetResizable(true);
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        addTab(scroll, name);
    }

    const auto &table = insertCommands();
    for (size_t i = 0; i < table.size(); ++i) {
        const InsertCommand &c = table[i];
        if (c.place != InsertPlace::ToolTab || c.page < 0 || c.page >= layouts.size())
            continue;
        auto *b = new QToolButton;
        b->setObjectName(c.objectName);
        b->setText(escapeAmpersands(c.caption));
        b->setToolTip(c.hint);
        b->setAutoRaise(true);
        b->setContextMenuPolicy(Qt::CustomContextMenu);
        const int index = int(i);
        const QString handler = c.handler;
        connect(b, &QToolButton::clicked, this,
            [this, handler, index] { Q_EMIT commandTriggered(handler, index); });
        connect(b, &QWidget::customContextMenuRequested, this, [this, b] { Q_EMIT buttonRightClicked(b); });
        layouts[c.page]->addWidget(b);
    }
    for (QHBoxLayout *layout : layouts)
        layout->addStretch(1);
}

QToolButton *InsertToolTabs::button(const QString &objectName) const
{
    return findChild<QToolButton *>(objectName);
}

QMenu *InsertToolTabs::createInsertMenu(QWidget *parent)
{
    auto *menu = new QMenu(QStringLiteral("&Wstaw"), parent);
    menu->setObjectName(QStringLiteral("Wstaw1"));

    QVector<QMenu *> groups;
    for (const QString &name : insertPageNames())
        groups.append(menu->addMenu(escapeAmpersands(name)));
    menu->addSeparator();
    QMenu *tagMenu = menu->addMenu(QStringLiteral("Znaczniki"));
    tagMenu->setObjectName(QStringLiteral("ADRESS"));
    QMenu *ssiMenu = menu->addMenu(QStringLiteral("Dyrektywy serwera (SSI)"));
    ssiMenu->setObjectName(QStringLiteral("SSI"));
    QMenu *entityMenu = menu->addMenu(QStringLiteral("Znaki specjalne"));
    entityMenu->setObjectName(QStringLiteral("Encje"));
    menu->addSeparator();

    const auto &table = insertCommands();
    for (size_t i = 0; i < table.size(); ++i) {
        const InsertCommand &c = table[i];
        QMenu *target = nullptr;
        QString text = c.caption; // menu captions are written with their accelerator escapes
        switch (c.place) {
        case InsertPlace::ToolTab:
            if (c.page >= 0 && c.page < groups.size())
                target = groups[c.page];
            // Buttons' captions are terse; their items read as the hint says.
            text = escapeAmpersands(c.hint);
            break;
        case InsertPlace::TagMenu:
            target = tagMenu;
            break;
        case InsertPlace::SsiMenu:
            target = ssiMenu;
            break;
        case InsertPlace::EntityMenu:
            target = entityMenu;
            break;
        case InsertPlace::InsertMenu:
            target = menu;
            break;
        }
        if (!target)
            continue;
        QAction *a = target->addAction(text);
        a->setObjectName(c.objectName);
        if (!c.shortcut.isEmpty())
            a->setShortcut(QKeySequence::fromString(c.shortcut, QKeySequence::PortableText));
        const int index = int(i);
        const QString handler = c.handler;
        connect(a, &QAction::triggered, this,
            [this, handler, index] { Q_EMIT commandTriggered(handler, index); });
    }
    return menu;
}
