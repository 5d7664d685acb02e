#include "app/shortcutmap.h"
#include "base/settings.h"

#include "testsupport.h"

#include <QTest>

namespace {
ShortcutMap sample()
{
    return ShortcutMap({
        { QStringLiteral("Btn_B"), QStringLiteral("Pogrubienie"), QStringLiteral("Ctrl+B"),
            QStringLiteral("Ctrl+B") },
        { QStringLiteral("Btn_I"), QStringLiteral("Kursywa"), QStringLiteral("Ctrl+I"),
            QStringLiteral("Ctrl+I") },
        { QStringLiteral("Podglad1"), QStringLiteral("Podgląd"), QStringLiteral("F9"), QStringLiteral("F9") },
        { QStringLiteral("Btn_P"), QStringLiteral("Akapit"), QString(), QString() },
    });
}
const QString kShortcutz = QStringLiteral("Shortcutz");
} // namespace

class TstShortcutMap : public testsupport::IsolatedTestCase
{
    Q_OBJECT
private Q_SLOTS:
    void clash_data();
    void clash();
    void conflictRefused();
    void store();
    void storedClashesDropped();
};

void TstShortcutMap::clash_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<bool>("clash");
    QTest::newRow("same") << QStringLiteral("Ctrl+B") << QStringLiteral("Ctrl+B") << true;
    QTest::newRow("different") << QStringLiteral("Ctrl+B") << QStringLiteral("Ctrl+Shift+B") << false;
    QTest::newRow("prefix of a chord sequence")
        << QStringLiteral("Ctrl+K") << QStringLiteral("Ctrl+K, Ctrl+C") << true;
    QTest::newRow("sequences part") << QStringLiteral("Ctrl+K, Ctrl+C") << QStringLiteral("Ctrl+K, Ctrl+D")
                                    << false;
    QTest::newRow("second of a list") << QStringLiteral("F5; Ctrl+R") << QStringLiteral("Ctrl+R") << true;
    QTest::newRow("none") << QString() << QString() << false;
    QTest::newRow("comma key") << QStringLiteral("Ctrl+,") << QStringLiteral("Ctrl+,, X") << true;
}

void TstShortcutMap::clash()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QTEST(ShortcutMap::clash(a, b), "clash");
    QTEST(ShortcutMap::clash(b, a), "clash");
}

void TstShortcutMap::conflictRefused()
{
    ShortcutMap map = sample();
    QCOMPARE(map.setKeys(3, QStringLiteral("Ctrl+I")), 1); // names Kursywa
    QCOMPARE(map.commands()[3].keys, QString());
    QCOMPARE(map.setKeys(3, QStringLiteral("Ctrl+P")), -1);
    QCOMPARE(map.commands()[3].keys, QStringLiteral("Ctrl+P"));
    QCOMPARE(map.setKeys(1, QStringLiteral("Ctrl+I")), -1); // its own keys clash with nothing
    // The default may be taken meanwhile: restoring it is refused as well.
    QCOMPARE(map.setKeys(0, QStringLiteral("Ctrl+Shift+B")), -1);
    QCOMPARE(map.setKeys(2, QStringLiteral("Ctrl+B")), -1);
    QCOMPARE(map.restoreDefault(0), 2);
    QCOMPARE(map.commands()[0].keys, QStringLiteral("Ctrl+Shift+B"));
}

void TstShortcutMap::store()
{
    ShortcutMap map = sample();
    MarkoraSettings settings;
    settings.writeString(kShortcutz, QStringLiteral("Doklejka"), QStringLiteral("Ctrl+J")); // not in the map
    map.setKeys(0, QString());
    map.setKeys(3, QStringLiteral("Ctrl+P"));
    for (int i = 0; i < map.commands().size(); ++i)
        map.writeStored(settings, i);
    QCOMPARE(settings.keys(kShortcutz),
        QStringList({ QStringLiteral("Btn_B"), QStringLiteral("Btn_P"), QStringLiteral("Doklejka") }));
    QCOMPARE(settings.readString(kShortcutz, QStringLiteral("Btn_B")), QString());

    ShortcutMap again = sample();
    QVERIFY(again.readStored(settings).isEmpty());
    QCOMPARE(again.commands()[0].keys, QString());
    QCOMPARE(again.commands()[3].keys, QStringLiteral("Ctrl+P"));
    again.restoreDefault(0);
    again.writeStored(settings, 0);
    QVERIFY(!settings.contains(kShortcutz, QStringLiteral("Btn_B")));
}

void TstShortcutMap::storedClashesDropped()
{
    MarkoraSettings settings;
    settings.writeString(kShortcutz, QStringLiteral("Btn_P"), QStringLiteral("ctrl+i")); // Kursywa's
    settings.writeString(kShortcutz, QStringLiteral("Btn_I"), QStringLiteral("F2"));
    settings.writeString(kShortcutz, QStringLiteral("Podglad1"), QStringLiteral("F2"));
    ShortcutMap map = sample();
    const QStringList dropped = map.readStored(settings,
        [](const QString &v) { return v == QStringLiteral("ctrl+i") ? QStringLiteral("Ctrl+I") : v; });
    // Btn_I and Podglad1 clash: the first falls back to Ctrl+I, which Btn_P then clashes with.
    QCOMPARE(dropped, QStringList({ QStringLiteral("Btn_I"), QStringLiteral("Btn_P") }));
    QCOMPARE(map.commands()[1].keys, QStringLiteral("Ctrl+I"));
    QCOMPARE(map.commands()[2].keys, QStringLiteral("F2"));
    QCOMPARE(map.commands()[3].keys, QString());
}

QTEST_GUILESS_MAIN(TstShortcutMap)
#include "tst_shortcutmap.moc"
