#include "services/templatefill.h"

#include <QTest>

class TstTemplateFill : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void fill_data();
    void fill();
    void cancelledPromptLeavesNothing();
};

void TstTemplateFill::fill_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QStringList>("asked");
    QTest::newRow("date and time preset") << QStringLiteral("<p>%DATE% %TIME%</p>")
                                          << QStringLiteral("<p>2024-05-01 12:30</p>") << QStringList();
    QTest::newRow("double percent") << QStringLiteral("100%% pewne") << QStringLiteral("100% pewne")
                                    << QStringList();
    QTest::newRow("name asked once") << QStringLiteral("<title>%Tytuł%</title><h1>%Tytuł%</h1>")
                                     << QStringLiteral("<title>[Tytuł]</title><h1>[Tytuł]</h1>")
                                     << QStringList { QStringLiteral("Tytuł") };
    QTest::newRow("names asked in order") << QStringLiteral("%b%%a%%b%") << QStringLiteral("[b][a][b]")
                                          << QStringList { QStringLiteral("b"), QStringLiteral("a") };
    QTest::newRow("names are case sensitive")
        << QStringLiteral("%date%") << QStringLiteral("[date]") << QStringList { QStringLiteral("date") };
    QTest::newRow("unpaired percent stays") << QStringLiteral("50% i %DATE") << QStringLiteral("50[ i ]DATE")
                                            << QStringList { QStringLiteral(" i ") };
    QTest::newRow("trailing percent") << QStringLiteral("x %") << QStringLiteral("x %") << QStringList();
    QTest::newRow("placeholder across lines")
        << QStringLiteral("%a\nb%") << QStringLiteral("[a\nb]") << QStringList { QStringLiteral("a\nb") };
    QTest::newRow("answer not rescanned") << QStringLiteral("%q%%DATE%") << QStringLiteral("%DATE%2024-05-01")
                                          << QStringList { QStringLiteral("q") };
    QTest::newRow("no placeholders") << QStringLiteral("zwykły tekst") << QStringLiteral("zwykły tekst")
                                     << QStringList();
}

void TstTemplateFill::fill()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QFETCH(QStringList, asked);
    QStringList prompts;
    const auto result = FillTemplate(text, QStringLiteral("2024-05-01"), QStringLiteral("12:30"),
        [&](QString name) -> std::optional<QString> {
            prompts.append(name);
            // An answer holding placeholder syntax must stay literal.
            if (name == QStringLiteral("q"))
                return QStringLiteral("%DATE%");
            return u'[' + name + u']';
        });
    QVERIFY(result.has_value());
    QCOMPARE(*result, expected);
    QCOMPARE(prompts, asked);
}

void TstTemplateFill::cancelledPromptLeavesNothing()
{
    int calls = 0;
    const auto result = FillTemplate(
        QStringLiteral("%a% %b% %c%"), QString(), QString(), [&](QString name) -> std::optional<QString> {
            ++calls;
            if (name == QStringLiteral("b"))
                return std::nullopt;
            return name;
        });
    QVERIFY(!result.has_value());
    QCOMPARE(calls, 2);
}

QTEST_GUILESS_MAIN(TstTemplateFill)
#include "tst_templatefill.moc"
