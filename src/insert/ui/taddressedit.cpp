#include "insert/ui/taddressedit.h"

#include "insert/relativepath.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

TAddressEdit::TAddressEdit(const QString &documentFile, const QString &filter, QWidget *parent)
    : QWidget(parent)
    , m_documentFile(documentFile)
    , m_filter(filter)
{
    Edit = new QLineEdit(this);
    BtnWybierz = new QToolButton(this);
    BtnWybierz->setText(QStringLiteral("Wybierz..."));
    BtnWybierz->setToolTip(
        QStringLiteral("Wybierz plik; adres zostanie zapisany względem folderu dokumentu"));
    LbUwaga = new QLabel(this);
    LbUwaga->setWordWrap(true);
    LbUwaga->setVisible(false);
    QPalette p = LbUwaga->palette();
    p.setColor(QPalette::WindowText, QColor(0x80, 0x40, 0x00));
    LbUwaga->setPalette(p);

    auto *row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(Edit, 1);
    row->addWidget(BtnWybierz);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addLayout(row);
    layout->addWidget(LbUwaga);
    setFocusProxy(Edit);

    connect(BtnWybierz, &QToolButton::clicked, this, &TAddressEdit::BtnWybierzClick);
    // The note speaks of the chosen file only.
    connect(Edit, &QLineEdit::textEdited, LbUwaga, &QLabel::hide);
}

QString TAddressEdit::text() const { return Edit->text().trimmed(); }

void TAddressEdit::setText(const QString &text)
{
    Edit->setText(text);
    Edit->setToolTip(QString());
    LbUwaga->hide();
}

QString TAddressEdit::localFile() const { return LinkToLocalFile(m_documentFile, text()); }

void TAddressEdit::BtnWybierzClick()
{
    QString folder = QFileInfo(localFile()).absolutePath();
    if (localFile().isEmpty() || !QFileInfo(folder).isDir())
        folder = m_documentFile.isEmpty() ? QDir::homePath() : QFileInfo(m_documentFile).absolutePath();
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Wybierz plik"), folder, m_filter);
    if (!path.isEmpty())
        FileChosen(path);
}

void TAddressEdit::FileChosen(const QString &path)
{
    const LinkPath link = RelativeLink(m_documentFile, QFileInfo(path).absoluteFilePath());
    Edit->setText(link.href);
    // The address is encoded; its start and the file it names read better.
    Edit->setCursorPosition(0);
    Edit->setToolTip(QDir::toNativeSeparators(path));
    LbUwaga->setText(LinkPathNote(link.kind));
    LbUwaga->setVisible(link.kind != LinkPathKind::Relative);
    Q_EMIT fileChosen(path);
}
