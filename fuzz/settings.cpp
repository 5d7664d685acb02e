// The settings store as a hand-edited file: whatever it holds, the options read back
// within the ranges the program works with, and written and read again they stay.
// The input is the whole settings file.
#include "fuzzsupport.h"

#include "base/settings.h"
#include "app/setupoptions.h"
#include "app/startupsettings.h"
#include "services/charsetdetect.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir root;
    static int serial = 0;
    // A folder of its own per input: the settings reader caches files by name and time.
    const QString folder = root.filePath(QString::number(serial++));
    QDir().mkpath(folder + QStringLiteral("/Lindenworks"));
    {
        QFile f(folder + QStringLiteral("/Lindenworks/Markora.conf"));
        if (!f.open(QIODevice::WriteOnly))
            return 0;
        f.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder);
    {
        MarkoraSettings settings;
        const SetupOptions o = SetupOptions::read(settings);
        FUZZ_CHECK(o.tabWidth >= 0 && o.tabWidth <= SetupOptions::MaxTabWidth);
        FUZZ_CHECK(o.fontSize > 0 && o.fontSize <= 400);
        FUZZ_CHECK(!o.fontFace.trimmed().isEmpty() && !o.alignLeft.trimmed().isEmpty()
            && !o.alignCenter.trimmed().isEmpty() && !o.alignRight.trimmed().isEmpty());
        // A loaded tab costs at most the widest setting.
        FUZZ_CHECK(ExpandTabs(u"\t", o.tabWidth).size() <= SetupOptions::MaxTabWidth);
        const StartupSettings v = StartupSettings::read(settings);
        FUZZ_CHECK(v.userButtons.size() == 6);
        FilePanelFilter(v.ogExt);
        settings.readNumberedList(QStringLiteral("StartupFiles"));

        o.write(settings);
        FUZZ_CHECK(SetupOptions::read(settings) == o);
    }
    QDir(folder).removeRecursively();
    return 0;
}

std::vector<QByteArray> fuzz::GeneratedInputs() { return {}; }
