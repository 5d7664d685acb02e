#include "app/ui/tskrotydial.h"

#include "base/settings.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSet>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
// The dialog's texts.
const QString kTitle = QStringLiteral("Skróty klawiszowe");
const QString kSearch = QStringLiteral("&Szukaj:");
const QString kSearchHint = QStringLiteral("część nazwy polecenia albo skrótu");
const QString kColumns[] = { QStringLiteral("Polecenie"), QStringLiteral("Skrót"), QStringLiteral("Nazwa") };
const QString kRecord = QStringLiteral("&Nowy skrót:");
const QString kUsunSkrot = QStringLiteral("&Bez skrótu");
const QString kDomyslny = QStringLiteral("&Domyślny");
const QString kZamknij = QStringLiteral("&Zamknij");
const QString kConflict = QStringLiteral("Skrót %1 ma już polecenie „%2”. Najpierw zmień albo usuń tamten.");

const char *const kDefaultProperty = "markoraDefaultShortcut";

QString keysOf(const QAction *a)
{
    return QKeySequence::listToString(a->shortcuts(), QKeySequence::PortableText);
}

QString nativeKeys(const QString &portable)
{
    return QKeySequence::listToString(
        QKeySequence::listFromString(portable, QKeySequence::PortableText), QKeySequence::NativeText);
}

// The caption without its accelerator marks.
QString captionOf(const QAction *a)
{
    QString text = a->text();
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(u'&');
    text.replace(u'\x01', u'&');
    text.replace(u'\t', u' ');
    return text.trimmed().isEmpty() ? a->toolTip() : text;
}

// The commands of a list of actions and the action of each, their defaults remembered on
// the actions the first time they are seen.
ShortcutMap commandsOf(const QList<QAction *> &actions, QList<QAction *> *kept)
{
    QList<ShortcutCommand> commands;
    QSet<QString> seen;
    for (QAction *a : actions) {
        if (!a || a->isSeparator() || a->menu() || a->objectName().isEmpty()
            || seen.contains(a->objectName()))
            continue;
        seen.insert(a->objectName());
        if (!a->property(kDefaultProperty).isValid())
            a->setProperty(kDefaultProperty, keysOf(a));
        commands.append(
            { a->objectName(), captionOf(a), a->property(kDefaultProperty).toString(), keysOf(a) });
        kept->append(a);
    }
    return ShortcutMap(commands);
}

void setKeys(QAction *a, const QString &keys)
{
    a->setShortcuts(QKeySequence::listFromString(keys, QKeySequence::PortableText));
}
} // namespace

TSkrotyDial::TSkrotyDial(const QList<QAction *> &actions, MarkoraSettings &settings, QWidget *parent)
    : QDialog(parent)
    , m_settings(settings)
    , m_map(commandsOf(actions, &m_actions))
{
    setObjectName(QStringLiteral("SkrotyDial"));
    setWindowTitle(kTitle);

    EdSzukaj = new QLineEdit(this);
    EdSzukaj->setObjectName(QStringLiteral("EdSzukaj"));
    EdSzukaj->setPlaceholderText(kSearchHint);
    EdSzukaj->setClearButtonEnabled(true);
    auto *searchLabel = new QLabel(kSearch, this);
    searchLabel->setBuddy(EdSzukaj);
    ListaPolecen = new QTreeWidget(this);
    ListaPolecen->setObjectName(QStringLiteral("ListaPolecen"));
    ListaPolecen->setHeaderLabels({ kColumns[0], kColumns[1], kColumns[2] });
    ListaPolecen->setRootIsDecorated(false);
    ListaPolecen->setSortingEnabled(false);
    ListaPolecen->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    EdSkrot = new QKeySequenceEdit(this);
    EdSkrot->setObjectName(QStringLiteral("EdSkrot"));
    auto *recordLabel = new QLabel(kRecord, this);
    recordLabel->setBuddy(EdSkrot);
    LbKonflikt = new QLabel(this);
    LbKonflikt->setObjectName(QStringLiteral("LbKonflikt"));
    LbKonflikt->setWordWrap(true);
    LbKonflikt->setStyleSheet(QStringLiteral("color: #B00000"));
    BtnUsunSkrot = new QPushButton(kUsunSkrot, this);
    BtnDomyslny = new QPushButton(kDomyslny, this);
    BtnZamknij = new QPushButton(kZamknij, this);

    auto *search = new QHBoxLayout;
    search->addWidget(searchLabel);
    search->addWidget(EdSzukaj, 1);
    auto *record = new QHBoxLayout;
    record->addWidget(recordLabel);
    record->addWidget(EdSkrot, 1);
    record->addWidget(BtnUsunSkrot);
    record->addWidget(BtnDomyslny);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(BtnZamknij);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(search);
    layout->addWidget(ListaPolecen, 1);
    layout->addLayout(record);
    layout->addWidget(LbKonflikt);
    layout->addLayout(bottom);
    resize(620, 480);

    for (int i = 0; i < m_map.commands().size(); ++i) {
        auto *item = new QTreeWidgetItem(ListaPolecen);
        item->setText(0, m_map.commands()[i].caption);
        item->setText(2, m_map.commands()[i].objectName);
        updateRow(i);
    }

    connect(EdSzukaj, &QLineEdit::textChanged, this, &TSkrotyDial::EdSzukajChange);
    connect(ListaPolecen, &QTreeWidget::currentItemChanged, this, &TSkrotyDial::ListaPolecenChange);
    connect(EdSkrot, &QKeySequenceEdit::editingFinished, this, &TSkrotyDial::EdSkrotEditingFinished);
    connect(BtnUsunSkrot, &QPushButton::clicked, this, &TSkrotyDial::BtnUsunSkrotClick);
    connect(BtnDomyslny, &QPushButton::clicked, this, &TSkrotyDial::BtnDomyslnyClick);
    connect(BtnZamknij, &QPushButton::clicked, this, &QDialog::accept);
    if (ListaPolecen->topLevelItemCount() > 0)
        ListaPolecen->setCurrentItem(ListaPolecen->topLevelItem(0));
    ListaPolecenChange();
}

void TSkrotyDial::updateRow(int index)
{
    QTreeWidgetItem *item = ListaPolecen->topLevelItem(index);
    const ShortcutCommand &c = m_map.commands()[index];
    item->setText(1, nativeKeys(c.keys));
    QFont f = item->font(1);
    f.setBold(c.keys != c.defaultKeys);
    item->setFont(1, f);
}

QStringList TSkrotyDial::shownCommands() const
{
    QStringList out;
    for (int i = 0; i < ListaPolecen->topLevelItemCount(); ++i)
        if (!ListaPolecen->topLevelItem(i)->isHidden())
            out << m_map.commands()[i].objectName;
    return out;
}

void TSkrotyDial::setCurrentCommand(const QString &objectName)
{
    const int i = m_map.indexOf(objectName);
    ListaPolecen->setCurrentItem(i >= 0 ? ListaPolecen->topLevelItem(i) : nullptr);
}

QString TSkrotyDial::currentCommand() const
{
    const int i = ListaPolecen->indexOfTopLevelItem(ListaPolecen->currentItem());
    return i >= 0 ? m_map.commands()[i].objectName : QString();
}

void TSkrotyDial::EdSzukajChange(const QString &text)
{
    const QString t = text.trimmed();
    for (int i = 0; i < ListaPolecen->topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = ListaPolecen->topLevelItem(i);
        const bool match = t.isEmpty() || item->text(0).contains(t, Qt::CaseInsensitive)
            || item->text(1).contains(t, Qt::CaseInsensitive)
            || item->text(2).contains(t, Qt::CaseInsensitive);
        item->setHidden(!match);
    }
    if (ListaPolecen->currentItem() && ListaPolecen->currentItem()->isHidden())
        ListaPolecen->setCurrentItem(nullptr);
}

void TSkrotyDial::ListaPolecenChange()
{
    LbKonflikt->clear();
    showKeys();
    const bool chosen = !currentCommand().isEmpty();
    for (QWidget *w : std::initializer_list<QWidget *> { EdSkrot, BtnUsunSkrot, BtnDomyslny })
        w->setEnabled(chosen);
}

void TSkrotyDial::showKeys()
{
    const int i = m_map.indexOf(currentCommand());
    const QList<QKeySequence> keys = i >= 0
        ? QKeySequence::listFromString(m_map.commands()[i].keys, QKeySequence::PortableText)
        : QList<QKeySequence>();
    const QSignalBlocker block(EdSkrot);
    EdSkrot->setKeySequence(keys.isEmpty() ? QKeySequence() : keys.first());
}

bool TSkrotyDial::apply(int index, const QString &keys)
{
    if (index < 0)
        return false;
    const int other = m_map.setKeys(index, keys);
    if (other >= 0) {
        LbKonflikt->setText(kConflict.arg(nativeKeys(keys), m_map.commands()[other].caption));
        return false;
    }
    LbKonflikt->clear();
    setKeys(m_actions[index], keys);
    m_map.writeStored(m_settings, index);
    updateRow(index);
    return true;
}

bool TSkrotyDial::assign(const QString &objectName, const QKeySequence &keys)
{
    return apply(m_map.indexOf(objectName), keys.toString(QKeySequence::PortableText));
}

bool TSkrotyDial::restoreDefault(const QString &objectName)
{
    const int i = m_map.indexOf(objectName);
    const bool done = i >= 0 && apply(i, m_map.commands()[i].defaultKeys);
    showKeys();
    return done;
}

void TSkrotyDial::EdSkrotEditingFinished()
{
    const QString name = currentCommand();
    if (!name.isEmpty())
        assign(name, EdSkrot->keySequence());
}

void TSkrotyDial::BtnUsunSkrotClick()
{
    const QString name = currentCommand();
    if (!name.isEmpty() && assign(name, QKeySequence()))
        showKeys();
}

void TSkrotyDial::BtnDomyslnyClick() { restoreDefault(currentCommand()); }

QStringList TSkrotyDial::applyStored(const QList<QAction *> &actions, MarkoraSettings &settings)
{
    QList<QAction *> kept;
    ShortcutMap map = commandsOf(actions, &kept);
    const QStringList dropped = map.readStored(settings, [](const QString &stored) {
        return QKeySequence::listToString(
            QKeySequence::listFromString(stored, QKeySequence::PortableText), QKeySequence::PortableText);
    });
    for (int i = 0; i < kept.size(); ++i)
        if (map.commands()[i].keys != keysOf(kept[i]))
            setKeys(kept[i], map.commands()[i].keys);
    return dropped;
}
