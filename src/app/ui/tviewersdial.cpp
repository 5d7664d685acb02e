#include "app/ui/tviewersdial.h"

#include "base/settings.h"
#include "base/ui/msgbox.h"

#include <QAction>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// The dialog's texts.
const QString kTitle = QStringLiteral("Przeglądarki zewnętrzne");
const QString kName = QStringLiteral("&Nazwa:");
const QString kCommand = QStringLiteral("&Program:");
const QString kArguments = QStringLiteral("&Argumenty:");
const QString kArgumentsHint
    = QStringLiteral("%PLIK% to plik podglądu (bez niego plik idzie na koniec). "
                     "Argumenty z odstępami ujmij w cudzysłów; powłoka nie jest uruchamiana.");
const QString kNewName = QStringLiteral("Nowa przeglądarka");
const QString kSampleFile = QStringLiteral("/folder/strona.html");
const QString kWillRun = QStringLiteral("Uruchomi: %1");
const QString kBadEntry = QStringLiteral("Nie da się uruchomić: %1");
const QString kDodaj = QStringLiteral("&Dodaj");
const QString kUsun = QStringLiteral("&Usuń");
const QString kWGore = QStringLiteral("W &górę");
const QString kWDol = QStringLiteral("W d&ół");
const QString kCancel = QStringLiteral("Anuluj");
const QString kError = QStringLiteral("Przeglądarki: błąd");
const QString kNoName = QStringLiteral("Przeglądarka nr %1 nie ma nazwy.");
const QString kNoCommand = QStringLiteral("Przeglądarka „%1” nie ma programu.");
const QString kBadArguments = QStringLiteral("Przeglądarka „%1”: %2.");
const QString kTooMany = QStringLiteral("Przeglądarek może być najwyżej %1.");
const QString kStartError = QStringLiteral("Podgląd: błąd");
const QString kCannotStart = QStringLiteral("Nie można uruchomić przeglądarki „%1”: %2.");

// A word as a shell user would read it back: quoted when it holds anything special.
QString shown(const QString &word)
{
    if (!word.isEmpty() && std::none_of(word.begin(), word.end(), [](QChar c) {
            return c.isSpace() || QStringView(u"'\"\\$`*?;&|<>()").contains(c);
        }))
        return word;
    QString q = word;
    q.replace(u'\'', QStringLiteral("'\\''"));
    return u'\'' + q + u'\'';
}
} // namespace

TViewersDial::TViewersDial(MarkoraSettings &settings, QWidget *parent)
    : QDialog(parent)
    , m_settings(settings)
    , m_viewers(ReadViewers(settings))
{
    setObjectName(QStringLiteral("ViewersDial"));
    setWindowTitle(kTitle);

    ListaPrzegladarek = new QListWidget(this);
    ListaPrzegladarek->setObjectName(QStringLiteral("ListaPrzegladarek"));
    EdNazwa = new QLineEdit(this);
    EdNazwa->setObjectName(QStringLiteral("EdNazwa"));
    EdPolecenie = new QLineEdit(this);
    EdPolecenie->setObjectName(QStringLiteral("EdPolecenie"));
    EdArgumenty = new QLineEdit(this);
    EdArgumenty->setObjectName(QStringLiteral("EdArgumenty"));
    EdArgumenty->setToolTip(kArgumentsHint);
    auto *hint = new QLabel(kArgumentsHint, this);
    hint->setWordWrap(true);
    LbPolecenie = new QLabel(this);
    LbPolecenie->setObjectName(QStringLiteral("LbPolecenie"));
    LbPolecenie->setWordWrap(true);
    LbPolecenie->setTextInteractionFlags(Qt::TextSelectableByMouse);

    BtnDodaj = new QPushButton(kDodaj, this);
    BtnUsun = new QPushButton(kUsun, this);
    BtnWGore = new QPushButton(kWGore, this);
    BtnWDol = new QPushButton(kWDol, this);
    BtnOK = new QPushButton(QStringLiteral("OK"), this);
    BtnOK->setDefault(true);
    BtnAnuluj = new QPushButton(kCancel, this);

    auto *side = new QVBoxLayout;
    for (QPushButton *b : { BtnDodaj, BtnUsun, BtnWGore, BtnWDol })
        side->addWidget(b);
    side->addStretch(1);
    auto *top = new QHBoxLayout;
    top->addWidget(ListaPrzegladarek, 1);
    top->addLayout(side);
    auto *form = new QFormLayout;
    form->addRow(kName, EdNazwa);
    form->addRow(kCommand, EdPolecenie);
    form->addRow(kArguments, EdArgumenty);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(BtnOK);
    bottom->addWidget(BtnAnuluj);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(form);
    layout->addWidget(hint);
    layout->addWidget(LbPolecenie);
    layout->addLayout(bottom);
    resize(560, 400);

    connect(ListaPrzegladarek, &QListWidget::currentRowChanged, this, &TViewersDial::ListaPrzegladarekChange);
    for (QLineEdit *e : { EdNazwa, EdPolecenie, EdArgumenty })
        connect(e, &QLineEdit::textEdited, this, &TViewersDial::fieldEdited);
    connect(BtnDodaj, &QPushButton::clicked, this, &TViewersDial::BtnDodajClick);
    connect(BtnUsun, &QPushButton::clicked, this, &TViewersDial::BtnUsunClick);
    connect(BtnWGore, &QPushButton::clicked, this, &TViewersDial::BtnWGoreClick);
    connect(BtnWDol, &QPushButton::clicked, this, &TViewersDial::BtnWDolClick);
    connect(BtnOK, &QPushButton::clicked, this, &TViewersDial::BtnOKClick);
    connect(BtnAnuluj, &QPushButton::clicked, this, &QDialog::reject);

    for (const ExternalViewer &v : std::as_const(m_viewers))
        ListaPrzegladarek->addItem(v.name);
    ListaPrzegladarek->setCurrentRow(m_viewers.isEmpty() ? -1 : 0);
    ListaPrzegladarekChange();
}

void TViewersDial::ListaPrzegladarekChange()
{
    const int row = ListaPrzegladarek->currentRow();
    const bool chosen = row >= 0 && row < m_viewers.size();
    m_loading = true;
    EdNazwa->setText(chosen ? m_viewers[row].name : QString());
    EdPolecenie->setText(chosen ? m_viewers[row].command : QString());
    EdArgumenty->setText(chosen ? m_viewers[row].arguments : QString());
    m_loading = false;
    for (QWidget *w : std::initializer_list<QWidget *> { EdNazwa, EdPolecenie, EdArgumenty, BtnUsun })
        w->setEnabled(chosen);
    BtnWGore->setEnabled(chosen && row > 0);
    BtnWDol->setEnabled(chosen && row + 1 < m_viewers.size());
    showCommand();
}

void TViewersDial::fieldEdited()
{
    const int row = ListaPrzegladarek->currentRow();
    if (m_loading || row < 0 || row >= m_viewers.size())
        return;
    m_viewers[row] = { EdNazwa->text(), EdPolecenie->text(), EdArgumenty->text() };
    ListaPrzegladarek->item(row)->setText(m_viewers[row].name);
    showCommand();
}

void TViewersDial::showCommand()
{
    const int row = ListaPrzegladarek->currentRow();
    if (row < 0 || row >= m_viewers.size()) {
        LbPolecenie->clear();
        return;
    }
    const ViewerCommand c = BuildViewerCommand(m_viewers[row], kSampleFile);
    if (c.program.isEmpty()) {
        LbPolecenie->setText(kBadEntry.arg(c.error));
        return;
    }
    QStringList words { shown(c.program) };
    for (const QString &a : c.arguments)
        words << shown(a);
    LbPolecenie->setText(kWillRun.arg(words.join(u' ')));
}

void TViewersDial::BtnDodajClick()
{
    if (m_viewers.size() >= kMaxViewers) {
        MsgBox::show(this, QMessageBox::Warning, kError, kTooMany.arg(kMaxViewers));
        return;
    }
    m_viewers.append({ kNewName, QString(), kViewerFilePlaceholder.toString() });
    ListaPrzegladarek->addItem(kNewName);
    ListaPrzegladarek->setCurrentRow(int(m_viewers.size()) - 1);
    EdNazwa->setFocus();
    EdNazwa->selectAll();
}

void TViewersDial::BtnUsunClick()
{
    const int row = ListaPrzegladarek->currentRow();
    if (row < 0 || row >= m_viewers.size())
        return;
    m_viewers.removeAt(row);
    delete ListaPrzegladarek->takeItem(row);
    ListaPrzegladarek->setCurrentRow(qMin(row, int(m_viewers.size()) - 1));
    ListaPrzegladarekChange();
}

void TViewersDial::move(int by)
{
    const int row = ListaPrzegladarek->currentRow();
    const int to = row + by;
    if (row < 0 || to < 0 || to >= m_viewers.size())
        return;
    m_viewers.swapItemsAt(row, to);
    ListaPrzegladarek->item(row)->setText(m_viewers[row].name);
    ListaPrzegladarek->item(to)->setText(m_viewers[to].name);
    ListaPrzegladarek->setCurrentRow(to);
}

void TViewersDial::BtnWGoreClick() { move(-1); }
void TViewersDial::BtnWDolClick() { move(1); }

void TViewersDial::BtnOKClick()
{
    for (int i = 0; i < m_viewers.size(); ++i) {
        const ExternalViewer &v = m_viewers[i];
        QString problem;
        QString why;
        if (v.name.trimmed().isEmpty())
            problem = kNoName.arg(i + 1);
        else if (v.command.trimmed().isEmpty())
            problem = kNoCommand.arg(v.name);
        else if (!SplitArguments(v.arguments, &why))
            problem = kBadArguments.arg(v.name, why);
        if (!problem.isEmpty()) {
            ListaPrzegladarek->setCurrentRow(i);
            MsgBox::show(this, QMessageBox::Warning, kError, problem);
            return;
        }
    }
    WriteViewers(m_settings, m_viewers);
    accept();
}

QList<QAction *> TViewersDial::viewerActions(const QList<ExternalViewer> &viewers, QObject *parent,
    const std::function<QString()> &previewFile, QWidget *messageParent)
{
    QList<QAction *> out;
    for (int i = 0; i < viewers.size(); ++i) {
        const ExternalViewer v = viewers[i];
        QString caption = v.name;
        caption.replace(u'&', QStringLiteral("&&"));
        auto *a = new QAction(caption, parent);
        a->setObjectName(QStringLiteral("Viewer%1").arg(i + 1));
        QObject::connect(a, &QAction::triggered, a, [v, previewFile, messageParent] {
            const QString file = previewFile ? previewFile() : QString();
            if (file.isEmpty())
                return;
            QString reason;
            if (!StartViewer(BuildViewerCommand(v, file), QFileInfo(file).absolutePath(), &reason))
                MsgBox::show(
                    messageParent, QMessageBox::Critical, kStartError, kCannotStart.arg(v.name, reason));
        });
        out << a;
    }
    return out;
}
