#include "tags/ui/taggrid.h"

#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QScrollArea>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QString unsupportedText() { return QStringLiteral("Ten znacznik nie jest obsługiwany."); }

// Exact match first: a list may hold both "a" and "A" (list numbering).
int findChoice(const QComboBox *combo, const QString &value)
{
    const int exact = combo->findText(value, Qt::MatchExactly | Qt::MatchCaseSensitive);
    return exact >= 0 ? exact : combo->findText(value, Qt::MatchFixedString);
}

QLineEdit *lineEditOf(QWidget *editor)
{
    if (auto *e = qobject_cast<QLineEdit *>(editor))
        return e;
    return editor ? editor->findChild<QLineEdit *>() : nullptr;
}

} // namespace

TagInspector::TagInspector(const TagDefs *defs, QWidget *parent)
    : QWidget(parent)
    , m_defs(defs)
    , m_title(new QLabel(this))
    , m_description(new QLabel(this))
    , m_grid(new QTableWidget(0, 2, this))
{
    // The inspector lives in a low pane: the grid takes the full height beside the
    // description, which scrolls when it is long.
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    QFont bold = m_title->font();
    bold.setBold(true);
    m_title->setFont(bold);
    m_description->setWordWrap(true);
    m_description->setTextFormat(Qt::PlainText);
    m_title->setTextFormat(Qt::PlainText);
    m_grid->setHorizontalHeaderLabels({ QStringLiteral("Parametr"), QStringLiteral("Wartość") });
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->verticalHeader()->hide();
    m_grid->setSelectionMode(QAbstractItemView::NoSelection);
    m_description->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto *descriptionArea = new QScrollArea(this);
    descriptionArea->setWidget(m_description);
    descriptionArea->setWidgetResizable(true);
    descriptionArea->setFrameShape(QFrame::NoFrame);
    descriptionArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto *body = new QHBoxLayout;
    body->setSpacing(4);
    body->addWidget(m_grid, 2);
    body->addWidget(descriptionArea, 1);
    layout->addWidget(m_title);
    layout->addLayout(body, 1);

    m_reportError
        = [this](const QString &caption, const QString &text) { QMessageBox::critical(this, caption, text); };
}

void TagInspector::setErrorReporter(std::function<void(const QString &, const QString &)> reporter)
{
    m_reportError = std::move(reporter);
}

void TagInspector::clear()
{
    m_title->clear();
    m_title->setToolTip(QString());
    m_description->clear();
    m_grid->setRowCount(0);
    m_rows.clear();
    m_tagName.clear();
    m_openingHint.clear();
    m_remainder.clear();
}

void TagInspector::ShowTagInInspector(const QString &tagText)
{
    const TagText tag = ParseTag(FlattenTagText(tagText));
    if (tag.Name == QLatin1String("!"))
        return;
    clear();
    m_tagName = tag.Name;
    m_openingHint = (QLatin1Char('<') + tag.Name + QLatin1Char('>')).toUpper();
    QString hint = m_openingHint;
    if (tag.Closing)
        hint += QStringLiteral("  (kończący)");
    m_title->setText(QStringLiteral("Tag: ") + hint);
    m_title->setToolTip(hint);
    const QString info = m_defs->info(tag.Name);
    m_description->setText(info.isEmpty() ? unsupportedText() : info);
    if (!tag.Closing && !info.isEmpty()) {
        FillArgumentRows(tag);
        PutArgumentValues(tag);
    }
    Q_EMIT tagShown();
}

void TagInspector::FillArgumentRows(const TagText &tag)
{
    m_filling = true;
    const quint32 color = m_defs->clr(tag.Name);
    for (const TagArg &arg : m_defs->offeredArgs(tag.Name))
        addRow(tag.Name, arg, color);
    addOpenAttributeRows(tag, color);
    m_filling = false;
}

void TagInspector::addOpenAttributeRows(const TagText &tag, quint32 nameColor)
{
    for (const auto &arg : tag.Args) {
        if (!TagDefs::isOpenAttribute(arg.first))
            continue;
        bool shown = false;
        for (const Row &row : m_rows)
            shown = shown || row.name.compare(arg.first, Qt::CaseInsensitive) == 0;
        if (!shown)
            addRow(tag.Name,
                { arg.second.Written, m_defs->argDescriptor(tag.Name, arg.first), ArgScope::Own }, nameColor);
    }
}

void TagInspector::addRow(const QString &tagName, const TagArg &tagArg, quint32 nameColor)
{
    const QString &arg = tagArg.name;
    Row row;
    row.name = arg;
    row.desc = tagArg.desc;
    const int index = m_grid->rowCount();
    m_grid->insertRow(index);
    auto *nameItem = new QTableWidgetItem(arg);
    nameItem->setFlags(Qt::ItemIsEnabled);
    nameItem->setForeground(QColor(QRgb(0xFF000000u | nameColor)));
    m_grid->setItem(index, 0, nameItem);

    const QString &kind = row.desc.kind;
    if (kind == QLatin1String("text") || kind == QLatin1String("color")) {
        auto *edit = new QLineEdit;
        connect(edit, &QLineEdit::textChanged, this, &TagInspector::valueEdited);
        row.editor = edit;
    } else if (kind == QLatin1String("file")) {
        auto *box = new QWidget;
        auto *h = new QHBoxLayout(box);
        h->setContentsMargins(0, 0, 0, 0);
        h->setSpacing(2);
        auto *edit = new QLineEdit(box);
        auto *button = new QToolButton(box);
        button->setText(QStringLiteral("..."));
        h->addWidget(edit, 1);
        h->addWidget(button);
        connect(edit, &QLineEdit::textChanged, this, &TagInspector::valueEdited);
        connect(button, &QToolButton::clicked, this, [this, index] { browse(index); });
        row.editor = box;
    } else if (kind == QLatin1String("choice")) {
        auto *combo = new QComboBox;
        combo->addItem(QString()); // no value: the argument is left out
        combo->addItems(row.desc.choices());
        connect(combo, &QComboBox::currentIndexChanged, this, &TagInspector::valueEdited);
        row.editor = combo;
    } else if (kind == QLatin1String("bool")) {
        auto *combo = new QComboBox;
        combo->addItems({ BoolYes(), BoolNo() });
        combo->setCurrentIndex(1);
        connect(combo, &QComboBox::currentIndexChanged, this, &TagInspector::valueEdited);
        row.editor = combo;
    } else {
        m_reportError(QStringLiteral("Tagi: błąd"),
            QStringLiteral("TAGS.INI: [") + tagName + QStringLiteral("],") + arg
                + QStringLiteral(" - niewłaściwy typ kontrolki / inny błąd:") + kind);
    }
    if (row.editor)
        m_grid->setCellWidget(index, 1, row.editor);
    m_rows.append(row);
}

void TagInspector::PutArgumentValues(const TagText &tag)
{
    m_filling = true;
    QList<QPair<QString, TArgVal>> left = tag.Args;
    for (int index = 0; index < m_rows.size(); ++index) {
        Row &row = m_rows[index];
        const QString upper = row.name.toUpper();
        int found = -1;
        for (int i = 0; i < left.size(); ++i) {
            if (left.at(i).first == upper) {
                found = i;
                break;
            }
        }
        if (found < 0)
            continue;
        const TArgVal v = left.takeAt(found).second;
        // A boolean attribute is on whenever it is present; CHECKED="checked" counts too.
        if (row.desc.kind == QLatin1String("bool"))
            setEditorValue(row, BoolYes());
        else
            setEditorValue(row, v.Value);
        // Written back as it stood: a name alone stays alone (<a download>), and a row
        // without an editor keeps its value.
        row.bare = v.NoValue && row.desc.kind != QLatin1String("bool");
        row.kept = v;
        // Among a hundred rows, the ones the tag carries stand out.
        if (QTableWidgetItem *item = m_grid->item(index, 0)) {
            QFont bold = item->font();
            bold.setBold(true);
            item->setFont(bold);
        }
    }
    m_remainder = RemainderText(left);
    m_filling = false;
    if (m_grid->isVisible())
        m_grid->setFocus();
}

void TagInspector::setEditorValue(const Row &row, const QString &value)
{
    if (auto *combo = qobject_cast<QComboBox *>(row.editor)) {
        // As written: a value the list offers in another letter case ("Center") is kept
        // so, never rewritten to the list's.
        int i = combo->findText(value, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (i < 0) {
            // Keep a value the list does not offer rather than lose it.
            combo->addItem(value);
            i = combo->count() - 1;
        }
        combo->setCurrentIndex(i);
    } else if (QLineEdit *edit = lineEditOf(row.editor)) {
        edit->setText(value);
    }
}

QString TagInspector::editorValue(const Row &row) const
{
    if (auto *combo = qobject_cast<QComboBox *>(row.editor))
        return combo->currentText();
    if (QLineEdit *edit = lineEditOf(row.editor))
        return edit->text();
    return row.kept.Value;
}

void TagInspector::valueEdited()
{
    if (m_filling)
        return;
    Q_EMIT tagRebuilt(rebuiltTag());
}

QString TagInspector::rebuiltTag() const
{
    QList<ArgRow> rows;
    for (const Row &row : m_rows) {
        const bool quoted = row.editor ? row.desc.quoted : row.kept.Quoted;
        rows.append({ row.name, editorValue(row), row.desc.kind, quoted, row.bare });
    }
    return RebuildTag(m_openingHint, rows, m_remainder, m_lowerCase);
}

void TagInspector::browse(int row)
{
    if (row < 0 || row >= m_rows.size())
        return;
    QString filter = m_rows.at(row).desc.fileFilter();
    if (!filter.isEmpty())
        filter += QStringLiteral(";;");
    filter += QStringLiteral("Wszystkie pliki (*)");
    const QString file
        = QFileDialog::getOpenFileName(this, QStringLiteral("Wybierz plik"), QString(), filter);
    if (!file.isEmpty())
        setRowValue(row, QDir::toNativeSeparators(file));
}

QString TagInspector::title() const { return m_title->text(); }
QString TagInspector::titleHint() const { return m_title->toolTip(); }
QString TagInspector::description() const { return m_description->text(); }
int TagInspector::rowCount() const { return int(m_rows.size()); }

QString TagInspector::rowName(int row) const
{
    return row >= 0 && row < m_rows.size() ? m_rows.at(row).name : QString();
}

QString TagInspector::rowKind(int row) const
{
    return row >= 0 && row < m_rows.size() ? m_rows.at(row).desc.kind : QString();
}

QString TagInspector::rowValue(int row) const
{
    return row >= 0 && row < m_rows.size() ? editorValue(m_rows.at(row)) : QString();
}

QWidget *TagInspector::rowEditor(int row) const
{
    return row >= 0 && row < m_rows.size() ? m_rows.at(row).editor : nullptr;
}

bool TagInspector::setRowValue(int row, const QString &value)
{
    if (row < 0 || row >= m_rows.size() || !m_rows.at(row).editor)
        return false;
    const Row &r = m_rows.at(row);
    if (auto *combo = qobject_cast<QComboBox *>(r.editor)) {
        const int i = findChoice(combo, value);
        if (i < 0)
            return false;
        combo->setCurrentIndex(i);
        return true;
    }
    if (QLineEdit *edit = lineEditOf(r.editor)) {
        edit->setText(value);
        return true;
    }
    return false;
}
