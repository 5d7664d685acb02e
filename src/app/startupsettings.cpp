#include "app/startupsettings.h"

#include <QDir>
#include <QFileInfo>

namespace {
const QString kKontrolki = QStringLiteral("Kontrolki");
const QString kUserBar = QStringLiteral("Pasek uzytkownika");
// Larger than any screen: a pane size beyond it was not written by the program.
const int kMaxPaneSize = 10000;
} // namespace

StartupSettings StartupSettings::read(const MarkoraSettings &s)
{
    StartupSettings v;
    v.zawijanie = s.readBool(kKontrolki, QStringLiteral("Zawijanie"), v.zawijanie);
    v.pasekPrzyc = s.readBool(kKontrolki, QStringLiteral("Pasek przyc"), v.pasekPrzyc);
    v.panelPlikow = s.readBool(kKontrolki, QStringLiteral("Panel plikow"), v.panelPlikow);
    v.status = s.readBool(kKontrolki, QStringLiteral("Status"), v.status);
    v.splitter1 = s.readInt(kKontrolki, QStringLiteral("Splitter1"), v.splitter1, 0, kMaxPaneSize);
    v.splitter2 = s.readInt(kKontrolki, QStringLiteral("Splitter2"), v.splitter2, 0, kMaxPaneSize);
    v.splitter3 = s.readInt(kKontrolki, QStringLiteral("Splitter3"), v.splitter3, 0, kMaxPaneSize);
    v.pliki = s.readInt(kKontrolki, QStringLiteral("Pliki"), v.pliki, 0, FilePanelFilterCount - 1);
    v.podgladMsie = s.readBool(kKontrolki, QStringLiteral("PodglądMSIE"), v.podgladMsie);
    v.defTemplate = s.readString(kKontrolki, QStringLiteral("DefTemplate"));
    v.ogExt = s.readString(QStringLiteral("Setup"), QStringLiteral("_OgExt"), v.ogExt);
    for (int i = 0; i < 6; ++i)
        v.userButtons[i] = s.readString(kUserBar, QString::number(i + 1));
    return v;
}

void StartupSettings::write(MarkoraSettings &s) const
{
    s.writeBool(kKontrolki, QStringLiteral("Zawijanie"), zawijanie);
    s.writeBool(kKontrolki, QStringLiteral("Pasek przyc"), pasekPrzyc);
    s.writeBool(kKontrolki, QStringLiteral("Panel plikow"), panelPlikow);
    s.writeBool(kKontrolki, QStringLiteral("Status"), status);
    s.writeInt(kKontrolki, QStringLiteral("Splitter1"), splitter1);
    s.writeInt(kKontrolki, QStringLiteral("Splitter2"), splitter2);
    s.writeInt(kKontrolki, QStringLiteral("Splitter3"), splitter3);
    s.writeInt(kKontrolki, QStringLiteral("Pliki"), pliki);
    s.writeBool(kKontrolki, QStringLiteral("PodglądMSIE"), podgladMsie);
    s.writeString(kKontrolki, QStringLiteral("DefTemplate"), defTemplate);
    for (int i = 0; i < 6; ++i)
        s.writeString(kUserBar, QString::number(i + 1), userButtons.value(i));
}

QString FilePanelFilter(const QString &ogExt)
{
    return QStringLiteral("Wszystkie pliki WWW|") + ogExt
        + QStringLiteral(
            "|Pliki HTML|*.*htm*|Arkusze stylów (*.css)|*.css|Grafiki internetowe|*.gif;*.jp*;*.png"
            "|Wszystkie pliki (*.*)|*.*");
}

CommandLine ParseCommandLine(const QStringList &args)
{
    CommandLine c;
    for (const QString &arg : args) {
        if (arg.startsWith(QLatin1Char('-'))) {
            const QString sw = arg.toLower();
            if (sw == QLatin1String("-msie"))
                c.msie = true;
            else if (sw == QLatin1String("-nomsie"))
                c.msie = false;
            else if (sw == QLatin1String("-moz"))
                c.moz = true;
            else if (sw == QLatin1String("-nomoz"))
                c.moz = false;
            continue;
        }
        const QFileInfo fi(arg);
        if (arg.isEmpty() || !fi.isFile())
            continue;
        // The folder as given, the file's own name as the file system spells it.
        QString full = QDir::cleanPath(fi.absoluteFilePath());
        const QString canonical = fi.canonicalFilePath();
        if (!canonical.isEmpty()
            && QFileInfo(full).fileName().compare(QFileInfo(canonical).fileName(), Qt::CaseInsensitive) == 0)
            full = QFileInfo(full).absolutePath() + QLatin1Char('/') + QFileInfo(canonical).fileName();
        c.documents << full;
    }
    return c;
}

PreviewButtons ChoosePreviewButtons(bool msieAvailable, bool mozAvailable, bool podgladMsie)
{
    PreviewButtons b;
    b.msieEnabled = msieAvailable;
    b.mozEnabled = mozAvailable;
    if (msieAvailable && mozAvailable) {
        b.msieDown = podgladMsie;
        b.mozDown = !podgladMsie;
    } else {
        b.msieDown = msieAvailable;
        b.mozDown = mozAvailable;
    }
    return b;
}
