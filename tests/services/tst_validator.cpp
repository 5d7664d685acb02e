#include "services/tidyfix.h"
#include "services/validator.h"

#include <QTest>

namespace {
// An unclosed <div>, a missing alt after Polish letters and a tab, and an unknown
// attribute after a character outside the BMP (two QString units, one column).
const char16_t kPage[] = u"<!DOCTYPE html>\n"
                         u"<html lang=\"pl\">\n"
                         u"<head><title>Strona</title></head>\n"
                         u"<body>\n"
                         u"<div>\n"
                         u"<p>Zażółć gęśl\tjaźń <img src=\"a.png\"></p>\n"
                         u"<p>😀 <span bogus=\"tak\">Żółw</span></p>\n"
                         u"</body>\n"
                         u"</html>\n";

const ValidationMessage *findKey(const ValidationResult &r, const QString &key)
{
    for (const ValidationMessage &m : r.messages)
        if (m.key == key)
            return &m;
    return nullptr;
}

bool hasKind(const ValidationResult &r, ValidationMessage::Kind kind)
{
    return std::any_of(
        r.messages.begin(), r.messages.end(), [kind](const auto &m) { return m.kind == kind; });
}

// A page to tidy: entities and Polish letters must come through as they are written.
const char16_t kMessy[]
    = u"<!DOCTYPE html>\n"
      u"<html><head><title>T</title></head><body><P>Żółw &zdot;ółw idzie</P></body></html>\n";
} // namespace

class TstValidator : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void places_data();
    void places();
    void declaredVersion_data();
    void declaredVersion();
    void kindsKept_data();
    void kindsKept();
    void stopsAndReports();
    void workerGivesTheSameRows();
    void fix_data();
    void fix();
    void fixRefusedOnErrors();
    void fixOfTidyOutputIsUnchanged();
};

void TstValidator::places_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("at"); // the text the place must point at
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("column"); // 0: not compared
    QTest::addColumn<ValidationMessage::Kind>("kind");

    const QString lf = QString::fromUtf16(kPage);
    const QString variants[][2] = {
        { QStringLiteral("LF"), lf },
        // tidy ends lines at CR LF and CR as well; the places must still agree.
        { QStringLiteral("CR LF"), QString(lf).replace(u'\n', QStringLiteral("\r\n")) },
        { QStringLiteral("CR"), QString(lf).replace(u'\n', u'\r') },
        // tidy drops a byte order mark without counting it.
        { QStringLiteral("BOM"), QChar(0xFEFF) + lf },
    };
    for (const auto &v : variants) {
        // After a lone CR tidy's columns run on from the line before: only the place counts.
        const bool lone = v[0] == QStringLiteral("CR");
        QTest::addRow("unclosed element, %s", qPrintable(v[0]))
            << v[1] << QStringLiteral("MISSING_ENDTAG_FOR") << QStringLiteral("<div>") << 5 << 1
            << ValidationMessage::Warning;
        QTest::addRow("missing alt after Polish letters and a tab, %s", qPrintable(v[0]))
            << v[1] << QStringLiteral("MISSING_ATTRIBUTE") << QStringLiteral("<img") << 6 << (lone ? 0 : 21)
            << ValidationMessage::Warning;
        QTest::addRow("unknown attribute after an emoji, %s", qPrintable(v[0]))
            << v[1] << QStringLiteral("PROPRIETARY_ATTRIBUTE") << QStringLiteral("<span") << 7
            << (lone ? 0 : 6) << ValidationMessage::Warning;
    }
    QTest::newRow("unknown element at the end of a line without a break")
        << QStringLiteral("<!DOCTYPE html>\n<title>t</title>\n<p>ą\tę <foo>")
        << QStringLiteral("UNKNOWN_ELEMENT") << QStringLiteral("<foo>") << 3 << 8 << ValidationMessage::Error;
}

void TstValidator::places()
{
    QFETCH(QString, page);
    QFETCH(QString, key);
    QFETCH(QString, at);
    QFETCH(int, line);
    QFETCH(int, column);
    QFETCH(ValidationMessage::Kind, kind);

    const ValidationResult r = Validator::Validate(page, ValidationOptions());
    const ValidationMessage *m = findKey(r, key);
    QVERIFY2(m, qPrintable(key));
    QCOMPARE(m->kind, kind);
    QCOMPARE(m->line, line);
    if (column > 0)
        QCOMPARE(m->column, column);
    QCOMPARE(m->position, int(page.indexOf(at)));
    QVERIFY(!m->text.isEmpty());
    // Rows come in text order, those without a place first.
    for (int i = 1; i < r.messages.size(); ++i)
        QVERIFY(r.messages[i - 1].position <= r.messages[i].position);
}

void TstValidator::declaredVersion_data()
{
    QTest::addColumn<QString>("doctype");
    QTest::addColumn<int>("version");
    QTest::addColumn<bool>("html5Complaints");
    QTest::newRow("HTML5") << QStringLiteral("<!DOCTYPE html>") << 500 << true;
    QTest::newRow("none is HTML5") << QString() << 500 << true;
    QTest::newRow("HTML 4.01 Transitional")
        << QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" "
                          "\"http://www.w3.org/TR/html4/loose.dtd\">")
        << 401 << false;
}

void TstValidator::declaredVersion()
{
    QFETCH(QString, doctype);
    QFETCH(int, version);
    QFETCH(bool, html5Complaints);
    const QString page = doctype
        + QStringLiteral("\n<html><head><title>t</title></head><body>\n<center>x</center>\n"
                         "<p align=\"left\">y</p>\n</body></html>\n");
    const ValidationResult r = Validator::Validate(page, ValidationOptions());
    QCOMPARE(r.htmlVersion, version);
    QCOMPARE(findKey(r, QStringLiteral("REMOVED_HTML5")) != nullptr, html5Complaints);
    QCOMPARE(findKey(r, QStringLiteral("MISMATCHED_ATTRIBUTE_WARN")) != nullptr, html5Complaints);
}

void TstValidator::kindsKept_data()
{
    QTest::addColumn<bool>("errors");
    QTest::addColumn<bool>("warnings");
    QTest::addColumn<bool>("info");
    QTest::addColumn<int>("accessLevel");
    QTest::newRow("everything but accessibility") << true << true << true << 0;
    QTest::newRow("errors only") << true << false << false << 0;
    QTest::newRow("warnings only") << false << true << false << 0;
    QTest::newRow("accessibility, priority 1") << false << false << false << 1;
    QTest::newRow("accessibility up to priority 3 and info") << false << false << true << 3;
}

void TstValidator::kindsKept()
{
    QFETCH(bool, errors);
    QFETCH(bool, warnings);
    QFETCH(bool, info);
    QFETCH(int, accessLevel);
    ValidationOptions o;
    o.errors = errors;
    o.warnings = warnings;
    o.info = info;
    o.accessLevel = accessLevel;
    const QString page = QString::fromUtf16(kPage) + QStringLiteral("<foo>x</foo>\n");
    const ValidationResult r = Validator::Validate(page, o);
    const bool kept[] = { errors, warnings, info, accessLevel > 0 };
    for (int kind = 0; kind < 4; ++kind) {
        const bool shown = hasKind(r, ValidationMessage::Kind(kind));
        // Every kind the page has is counted; only the wanted ones become rows.
        QCOMPARE(shown, kept[kind] && r.found[kind] > 0);
    }
    QVERIFY(r.found[ValidationMessage::Error] > 0);
    QVERIFY(r.found[ValidationMessage::Warning] > 0);
    QCOMPARE(r.found[ValidationMessage::Access] > 0, accessLevel > 0);
}

void TstValidator::stopsAndReports()
{
    QString big = QStringLiteral("<!DOCTYPE html>\n<title>t</title>\n");
    while (big.size() < 300 * 1024)
        big += QStringLiteral("<p>Zażółć gęślą jaźń <img src=\"a.png\"></p>\n");

    QVector<int> seen;
    TidyRunControl follow;
    follow.progress = [&seen](int permille) { seen << permille; };
    const ValidationResult whole = Validator::Validate(big, ValidationOptions(), follow);
    QVERIFY(!whole.cancelled);
    QVERIFY(seen.size() > 2);
    QVERIFY(std::is_sorted(seen.begin(), seen.end()));
    QCOMPARE(seen.last(), 1000);
    QVERIFY(!whole.messages.isEmpty());

    int asked = 0;
    TidyRunControl stop;
    stop.cancelled = [&asked] { return ++asked >= 2; };
    const ValidationResult stopped = Validator::Validate(big, ValidationOptions(), stop);
    QVERIFY(stopped.cancelled);
    QVERIFY(stopped.messages.isEmpty());
    QCOMPARE(asked, 2);

    stop.cancelled = [] { return true; };
    QCOMPARE(TidyFix::Fix(big, TidyFixOptions(), stop).status, TidyFixResult::Cancelled);
}

void TstValidator::workerGivesTheSameRows()
{
    const QString page = QString::fromUtf16(kPage);
    QFuture<ValidationResult> future = Validator::ValidateAsync(page, ValidationOptions());
    const ValidationResult there = future.result();
    const ValidationResult here = Validator::Validate(page, ValidationOptions());
    QCOMPARE(there.messages.size(), here.messages.size());
    for (int i = 0; i < here.messages.size(); ++i) {
        QCOMPARE(there.messages[i].key, here.messages[i].key);
        QCOMPARE(there.messages[i].position, here.messages[i].position);
    }
    QCOMPARE(
        TidyFix::FixAsync(page, TidyFixOptions()).result().text, TidyFix::Fix(page, TidyFixOptions()).text);
}

void TstValidator::fix_data()
{
    QTest::addColumn<bool>("indent");
    QTest::addColumn<bool>("upper");
    QTest::addColumn<int>("wrap");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("diff");

    QTest::newRow("indented, lower case")
        << true << false << 0
        << QStringLiteral("<!DOCTYPE html>\n<html>\n<head>\n  <title>T</title>\n</head>\n<body>\n"
                          "  <p>Żółw &zdot;ółw idzie</p>\n</body>\n</html>\n")
        << QStringLiteral(
               "--- przed\n+++ po (tidy)\n@@ -1,2 +1,9 @@\n <!DOCTYPE html>\n"
               "-<html><head><title>T</title></head><body><P>Żółw &zdot;ółw idzie</P></body></html>\n"
               "+<html>\n+<head>\n+  <title>T</title>\n+</head>\n+<body>\n"
               "+  <p>Żółw &zdot;ółw idzie</p>\n+</body>\n+</html>\n");
    QTest::newRow("flat, upper case")
        << false << true << 0
        << QStringLiteral("<!DOCTYPE html>\n<HTML>\n<HEAD>\n<TITLE>T</TITLE>\n</HEAD>\n<BODY>\n"
                          "<P>Żółw &zdot;ółw idzie</P>\n</BODY>\n</HTML>\n")
        << QString();
    QTest::newRow("wrapped at 16")
        << false << false << 16
        << QStringLiteral("<!DOCTYPE html>\n<html>\n<head>\n<title>\nT</title>\n</head>\n<body>\n"
                          "<p>Żółw\n&zdot;ółw\nidzie</p>\n</body>\n</html>\n")
        << QString();
}

void TstValidator::fix()
{
    QFETCH(bool, indent);
    QFETCH(bool, upper);
    QFETCH(int, wrap);
    QFETCH(QString, expected);
    QFETCH(QString, diff);
    TidyFixOptions o;
    o.indent = indent;
    o.upperCaseTags = upper;
    o.wrap = wrap;
    const QString page = QString::fromUtf16(kMessy);
    const TidyFixResult r = TidyFix::Fix(page, o);
    QCOMPARE(r.status, TidyFixResult::Changed);
    QCOMPARE(r.text, expected);
    if (!diff.isEmpty())
        QCOMPARE(r.diff, diff);
}

void TstValidator::fixRefusedOnErrors()
{
    const QString page = QStringLiteral("<!DOCTYPE html>\n<title>t</title>\n<p>x <foo>y</foo></p>\n");
    const TidyFixResult r = TidyFix::Fix(page, TidyFixOptions());
    QCOMPARE(r.status, TidyFixResult::Refused);
    QVERIFY(r.text.isEmpty());
    QVERIFY(r.diff.isEmpty());
    const ValidationMessage *why = findKey(r.diagnostics, QStringLiteral("UNKNOWN_ELEMENT"));
    QVERIFY(why);
    QCOMPARE(why->kind, ValidationMessage::Error);
    QCOMPARE(why->position, int(page.indexOf(QStringLiteral("<foo>"))));
}

void TstValidator::fixOfTidyOutputIsUnchanged()
{
    const TidyFixResult once = TidyFix::Fix(QString::fromUtf16(kMessy), TidyFixOptions());
    QCOMPARE(once.status, TidyFixResult::Changed);
    const TidyFixResult twice = TidyFix::Fix(once.text, TidyFixOptions());
    QCOMPARE(twice.status, TidyFixResult::Unchanged);
    QVERIFY(twice.text.isEmpty());
    QVERIFY(twice.diff.isEmpty());
}

QTEST_GUILESS_MAIN(TstValidator)
#include "tst_validator.moc"
