#include "base/inifile.h"
#include "editor/defaultrules.h"
#include "editor/ui/documenttextaccess.h"
#include "editor/ui/tcolormemo.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QTextBlock>
#include <QtTest>

namespace {

// Counts passes, to see that colouring settles instead of feeding itself.
class CountingMemo : public TColorMemo
{
public:
    using TColorMemo::firstVisibleBlock;
    using TColorMemo::TColorMemo;
    int passes = 0;
    void UpdateColors(bool currentLineOnly) override
    {
        ++passes;
        TColorMemo::UpdateColors(currentLineOnly);
    }
};

// The foreground of each character of a block as one letter: N navy, R red, B blue,
// '.' when no format covers it.
QString foregrounds(const QTextBlock &block)
{
    QString map(block.length() - 1, QLatin1Char('.'));
    const auto formats = block.layout()->formats();
    for (const QTextLayout::FormatRange &r : formats) {
        const QRgb c = r.format.foreground().color().rgb() & 0xFFFFFF;
        const QChar letter = c == 0x000080 ? QLatin1Char('N')
            : c == 0xFF0000                ? QLatin1Char('R')
            : c == 0x0000FF                ? QLatin1Char('B')
                                           : QLatin1Char('?');
        for (int i = r.start; i < r.start + r.length; ++i)
            map[i] = letter;
    }
    return map;
}

} // namespace

class TstTColorMemo : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void tagsColouredNavy();
    void typingRecolours();
    void selectionRun();
    void coloursStayOutOfTheDocument();
    void hotSpotClick();
    void tabsDrawnAtTheTabWidth_data();
    void tabsDrawnAtTheTabWidth();
    void typedCharacterTouchesOnlyItsBlock();
    void glyphsKeptOnlyOnScreen_data();
    void glyphsKeptOnlyOnScreen();
    void longLineColouredWhereShown_data();
    void longLineColouredWhereShown();
    void typingInLongLineLaysItOutOnce();
    void longLineRecolouredAfterFontChange();
    void wavyMarksFollowEdits_data();
    void wavyMarksFollowEdits();
    void wavyMarksDrawnOnlyWhereShown();
    void documentTextAccessReadsAsTheString_data();
    void documentTextAccessReadsAsTheString();

private:
    CountingMemo *m_memo = nullptr;
};

void TstTColorMemo::init()
{
    m_memo = new CountingMemo;
    m_memo->resize(400, 300);
    m_memo->setColorRules(BuildDefaultColorRules(IniFile()));
    m_memo->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_memo));
}

void TstTColorMemo::cleanup()
{
    delete m_memo;
    m_memo = nullptr;
}

void TstTColorMemo::tagsColouredNavy()
{
    m_memo->setPlainText(QStringLiteral("<b>x</b>\nplain <i"));
    m_memo->grab(); // a real paint
    QCOMPARE(foregrounds(m_memo->document()->firstBlock()), QStringLiteral("NNN.NNNN"));
    QCOMPARE(foregrounds(m_memo->document()->lastBlock()), QStringLiteral("........"));
}

void TstTColorMemo::typingRecolours()
{
    m_memo->setPlainText(QStringLiteral("<p>\n<b"));
    m_memo->grab();
    QTextCursor c(m_memo->document()->lastBlock());
    c.movePosition(QTextCursor::EndOfBlock);
    m_memo->setTextCursor(c);
    QCOMPARE(foregrounds(m_memo->document()->lastBlock()), QStringLiteral(".."));
    QTest::keyClick(m_memo, '>');
    // The caret line is recoloured at once, before any paint.
    QCOMPARE(foregrounds(m_memo->document()->lastBlock()), QStringLiteral("NNN"));
    QCOMPARE(foregrounds(m_memo->document()->firstBlock()), QStringLiteral("NNN"));
    // A new line changes the line count: the whole screen is recoloured.
    QTest::keyClick(m_memo, Qt::Key_Return);
    QTest::keyClicks(m_memo, QStringLiteral("<i>"));
    QCOMPARE(foregrounds(m_memo->document()->lastBlock()), QStringLiteral("NNN"));
}

void TstTColorMemo::selectionRun()
{
    m_memo->setPlainText(QStringLiteral("<b>xy"));
    QTextCursor c(m_memo->document());
    c.setPosition(1);
    c.setPosition(4, QTextCursor::KeepAnchor);
    m_memo->setTextCursor(c);
    QCOMPARE(foregrounds(m_memo->document()->firstBlock()), QStringLiteral("NRRR."));
    c.clearSelection();
    m_memo->setTextCursor(c);
    QCOMPARE(foregrounds(m_memo->document()->firstBlock()), QStringLiteral("NNN.."));
}

void TstTColorMemo::coloursStayOutOfTheDocument()
{
    m_memo->setPlainText(QStringLiteral("<b>x</b>"));
    m_memo->grab();
    QCoreApplication::processEvents();
    QVERIFY(!m_memo->document()->isModified());
    QVERIFY(!m_memo->document()->isUndoAvailable());
    // Applying colours must not trigger further passes by itself.
    const int settled = m_memo->passes;
    for (int i = 0; i < 5; ++i) {
        m_memo->grab();
        QCoreApplication::processEvents();
    }
    QCOMPARE(m_memo->passes, settled);
}

void TstTColorMemo::hotSpotClick()
{
    THotSpot hs;
    hs.Active = true;
    m_memo->setHotSpot(hs);
    m_memo->setPlainText(
        QStringLiteral("see ") + QChar(30) + QStringLiteral("link") + QChar(31) + QStringLiteral(" end"));
    m_memo->grab();
    const QTextBlock block = m_memo->document()->firstBlock();
    const auto formats = block.layout()->formats();
    QCOMPARE(formats.size(), 3);
    QVERIFY(formats[1].format.fontUnderline());
    QCOMPARE(formats[0].format.foreground(), formats[0].format.background()); // hidden marker
    QCOMPARE(foregrounds(block).mid(5, 4), QStringLiteral("BBBB"));

    QSignalSpy spy(m_memo, &TColorMemo::OnHotSpotClick);
    QTextCursor at(m_memo->document());
    at.setPosition(7); // between "li" and "nk"
    const QPoint p = m_memo->cursorRect(at).center();
    QWidget *vp = m_memo->viewport();
    QMouseEvent move(QEvent::MouseMove, p, vp->mapToGlobal(p), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(vp, &move);
    QCOMPARE(vp->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(vp, Qt::LeftButton, Qt::NoModifier, p);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("link"));

    // Past the hot spot the pointer is the text cursor again.
    at.setPosition(int(block.length()) - 2);
    const QPoint q = m_memo->cursorRect(at).center();
    QMouseEvent away(QEvent::MouseMove, q, vp->mapToGlobal(q), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(vp, &away);
    QCOMPARE(vp->cursor().shape(), Qt::IBeamCursor);
}

void TstTColorMemo::tabsDrawnAtTheTabWidth_data()
{
    QTest::addColumn<int>("tabWidth");
    QTest::addColumn<int>("spaces");
    QTest::newRow("four") << 4 << 4;
    QTest::newRow("eight") << 8 << 8;
    QTest::newRow("zero: one space") << 0 << 1;
}

// Tabs kept in the text: drawn as wide as the tab width says (following the font), and
// one character for the colours, the caret and the hot spots.
void TstTColorMemo::tabsDrawnAtTheTabWidth()
{
    QFETCH(int, tabWidth);
    QFETCH(int, spaces);
    THotSpot hs;
    hs.Active = true;
    m_memo->setHotSpot(hs);
    m_memo->setTabWidth(tabWidth);
    m_memo->setPlainText(QStringLiteral("\t<b>x</b>\t") + QChar(30) + QStringLiteral("link") + QChar(31));
    m_memo->grab();
    const QTextBlock block = m_memo->document()->firstBlock();
    QCOMPARE(foregrounds(block).mid(1, 8), QStringLiteral("NNN.NNNN"));
    QCOMPARE(foregrounds(block).mid(11, 4), QStringLiteral("BBBB"));
    const auto xAt = [this](int pos) {
        QTextCursor c(m_memo->document());
        c.setPosition(pos);
        return m_memo->cursorRect(c).left();
    };
    const auto tabIsWide = [&] {
        const qreal space
            = QFontMetricsF(m_memo->document()->defaultFont()).horizontalAdvance(QLatin1Char(' '));
        return qAbs(xAt(1) - xAt(0) - spaces * space) <= 1.0;
    };
    QVERIFY(tabIsWide());
    QFont bigger = m_memo->font();
    bigger.setPointSize(bigger.pointSize() * 2);
    m_memo->setFont(bigger);
    QVERIFY(tabIsWide());

    // The hot spot behind the second tab is clicked where it is drawn.
    m_memo->grab();
    QSignalSpy spy(m_memo, &TColorMemo::OnHotSpotClick);
    QTextCursor at(m_memo->document());
    at.setPosition(13);
    const QPoint p = m_memo->cursorRect(at).center();
    QWidget *vp = m_memo->viewport();
    QMouseEvent move(QEvent::MouseMove, p, vp->mapToGlobal(p), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(vp, &move);
    QCOMPARE(vp->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(vp, Qt::LeftButton, Qt::NoModifier, p);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("link"));
}

// Many short lines of markup, more than fit on the screen.
QString manyLines(int n)
{
    QString text;
    for (int i = 0; i < n; ++i)
        text += QStringLiteral("<td class=\"c%1\">tekst %1</td>\n").arg(i);
    return text;
}

void TstTColorMemo::typedCharacterTouchesOnlyItsBlock()
{
    m_memo->setPlainText(manyLines(40));
    m_memo->grab();
    QTextDocument *doc = m_memo->document();
    const QTextBlock caretBlock = doc->findBlockByNumber(5);
    QTextCursor c(caretBlock);
    c.setPosition(caretBlock.position() + 4); // inside the tag
    m_memo->setTextCursor(c);
    m_memo->grab();
    QCoreApplication::processEvents();

    // The format lists of every other block must stay the very same objects.
    QList<QList<QTextLayout::FormatRange>> before;
    for (QTextBlock b = doc->firstBlock(); b.isValid(); b = b.next())
        before.append(b.layout()->formats());
    QSignalSpy blockUpdates(doc->documentLayout(), &QAbstractTextDocumentLayout::updateBlock);
    QSignalSpy fullUpdates(doc->documentLayout(), &QAbstractTextDocumentLayout::update);
    QTest::keyClick(m_memo, 'x');

    QVERIFY(!blockUpdates.isEmpty());
    for (const QList<QVariant> &args : blockUpdates)
        QCOMPARE(args.at(0).value<QTextBlock>().blockNumber(), 5);
    QCOMPARE(fullUpdates.count(), 0); // no repaint of the whole viewport
    int n = 0;
    for (QTextBlock b = doc->firstBlock(); b.isValid(); b = b.next(), ++n) {
        if (n == 5)
            continue;
        QVERIFY2(b.layout()->formats().constData() == before.at(n).constData(),
            qPrintable(QStringLiteral("block %1 was formatted again").arg(n)));
    }
    // The caret block still shows the value in navy, the typed letter included.
    QCOMPARE(foregrounds(doc->findBlockByNumber(5)).left(6), QStringLiteral("NNNNNN"));
}

void TstTColorMemo::glyphsKeptOnlyOnScreen_data()
{
    QTest::addColumn<int>("target"); // 0 end of text, 1 middle, 2 text replaced
    QTest::newRow("scrolled to the end") << 0;
    QTest::newRow("scrolled to the middle") << 1;
    QTest::newRow("text replaced") << 2;
}

void TstTColorMemo::glyphsKeptOnlyOnScreen()
{
    QFETCH(int, target);
    m_memo->setPlainText(manyLines(2000));
    m_memo->grab();
    const auto visibleBlocks = [this] {
        const int first = m_memo->firstVisibleBlock().blockNumber();
        const int rows = m_memo->viewport()->height() / m_memo->fontMetrics().lineSpacing() + 2;
        return std::make_pair(first, first + rows);
    };
    const auto checkCache = [&] {
        const auto [first, last] = visibleBlocks();
        QVERIFY(m_memo->GlyphCachedBlocks() > 0);
        QVERIFY(m_memo->GlyphCachedBlocks() <= last - first + 1);
        int n = 0;
        for (QTextBlock b = m_memo->document()->firstBlock(); b.isValid(); b = b.next(), ++n)
            if (b.layout() && b.layout()->cacheEnabled())
                QVERIFY2(n >= first && n <= last, qPrintable(QString::number(n)));
    };
    checkCache();
    QCOMPARE(m_memo->firstVisibleBlock().blockNumber(), 0);

    if (target == 2) {
        m_memo->setPlainText(QStringLiteral("<b>x</b>"));
    } else {
        QTextCursor c(m_memo->document()->findBlockByNumber(target == 0 ? 1999 : 1000));
        m_memo->setTextCursor(c);
        m_memo->centerCursor();
    }
    m_memo->grab();
    QCoreApplication::processEvents();
    checkCache();
    QVERIFY(!m_memo->document()->firstBlock().layout()->cacheEnabled() || target == 2);
    // Colours are still drawn where the view went.
    QCOMPARE(foregrounds(m_memo->firstVisibleBlock()).left(3), QStringLiteral("NNN"));
}

// One line of about 2 MB of minified markup.
QString longLine()
{
    const QString unit = QStringLiteral("<b class=\"c\">tekst</b> zwykly tekst akapitu ");
    QString text;
    while (text.size() < 2000 * 1000)
        text += unit;
    return text;
}

// Whether the character at pos shows in a blue ink (navy, as tags are) somewhere.
bool inkIsBlue(CountingMemo *memo, const QImage &shot, int pos)
{
    QTextCursor c(memo->document());
    c.setPosition(pos);
    const QRect at = memo->cursorRect(c);
    c.setPosition(pos + 1);
    const QRect next = memo->cursorRect(c);
    const QPoint origin = memo->viewport()->mapTo(memo, QPoint(0, 0));
    for (int y = at.top(); y <= at.bottom(); ++y)
        for (int x = at.left() + 1; x < next.left(); ++x) {
            const QColor px = shot.pixelColor(origin + QPoint(x, y));
            if (px.blue() - std::max(px.red(), px.green()) > 40)
                return true;
        }
    return false;
}

void TstTColorMemo::longLineColouredWhereShown_data()
{
    QTest::addColumn<bool>("wrap");
    QTest::newRow("wrapped") << true;
    QTest::newRow("not wrapped") << false;
}

void TstTColorMemo::longLineColouredWhereShown()
{
    QFETCH(bool, wrap);
    m_memo->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    const QString text = longLine();
    m_memo->setPlainText(text);
    // The caret on the "t" of a "tekst" inside <b> in the middle, scrolled to.
    const int middle = int(text.indexOf(QLatin1String("<b"), text.size() / 2));
    QTextCursor c(m_memo->document());
    c.setPosition(middle + 14);
    m_memo->setTextCursor(c);
    m_memo->centerCursor();
    const QImage shot = m_memo->grab().toImage();

    // Colours are drawn, not set on the layout of the whole block.
    const QTextBlock block = m_memo->document()->firstBlock();
    QVERIFY(block.layout()->formats().isEmpty());
    // Only a stretch around what is shown was scanned.
    const std::vector<TKeyDescr> &runs = m_memo->LastRuns();
    QVERIFY(!runs.empty());
    QVERIFY(runs.front().BeginChar > middle - 4 * TColorMemo::LongBlockMargin);
    QVERIFY(runs.back().EndChar < middle + 4 * TColorMemo::LongBlockMargin);
    // The tag before the caret shows navy, the plain text after it does not.
    QVERIFY(inkIsBlue(m_memo, shot, middle + 1)); // "b"
    QVERIFY(!inkIsBlue(m_memo, shot, middle + 23)); // "z" of "zwykly"
}

void TstTColorMemo::typingInLongLineLaysItOutOnce()
{
    const QString text = longLine();
    m_memo->setPlainText(text);
    const int middle = int(text.indexOf(QLatin1String("<b"), text.size() / 2));
    QTextCursor c(m_memo->document());
    c.setPosition(middle + 2);
    m_memo->setTextCursor(c);
    m_memo->centerCursor();
    m_memo->grab();
    QCoreApplication::processEvents();
    // Each lay-out of the block tells its views; one typed letter is one lay-out.
    QTextDocument *doc = m_memo->document();
    QSignalSpy blockUpdates(doc->documentLayout(), &QAbstractTextDocumentLayout::updateBlock);
    QSignalSpy fullUpdates(doc->documentLayout(), &QAbstractTextDocumentLayout::update);
    QTest::keyClick(m_memo, 'x');
    m_memo->grab();
    QCOMPARE(blockUpdates.count() + fullUpdates.count(), 1);
    QVERIFY(doc->firstBlock().layout()->formats().isEmpty());
    // The typed letter is inside the tag, so it is coloured with it.
    const auto &runs = m_memo->LastRuns();
    QVERIFY(std::any_of(runs.begin(), runs.end(), [&](const TKeyDescr &k) {
        return k.BeginChar <= middle + 2 && k.EndChar >= middle + 2 && (k.Color & 0xFFFFFF) == 0x800000;
    }));
}

void TstTColorMemo::longLineRecolouredAfterFontChange()
{
    const QString text = longLine();
    m_memo->setPlainText(text);
    QTextCursor c(m_memo->document());
    c.setPosition(int(text.size() / 2));
    m_memo->setTextCursor(c);
    m_memo->centerCursor();
    m_memo->grab();
    // A larger font at the same scroll shows characters far from those coloured before.
    const int scroll = m_memo->verticalScrollBar()->value();
    QFont bigger = m_memo->font();
    bigger.setPointSizeF(bigger.pointSizeF() * 2);
    m_memo->setFont(bigger);
    m_memo->verticalScrollBar()->setValue(scroll);
    const QImage shot = m_memo->grab().toImage();
    const int shown = m_memo->cursorForPosition(QPoint(4, 4)).position();
    const int tag = int(text.indexOf(QLatin1String("<b"), shown + 40));
    QTextCursor at(m_memo->document());
    at.setPosition(tag + 1);
    QVERIFY(m_memo->viewport()->rect().contains(m_memo->cursorRect(at)));
    QVERIFY(inkIsBlue(m_memo, shot, tag + 1));
}

using Marks = QVector<TWavyMark>;

void TstTColorMemo::wavyMarksFollowEdits_data()
{
    QTest::addColumn<int>("at");
    QTest::addColumn<int>("removed");
    QTest::addColumn<QString>("inserted");
    QTest::addColumn<Marks>("expected");
    // "Ala ma kota i psa": marks under "ma" (4, 2) and "psa" (14, 3).
    QTest::newRow("before both") << 0 << 0 << QStringLiteral("XY") << Marks { { 6, 2 }, { 16, 3 } };
    QTest::newRow("between") << 8 << 1 << QString() << Marks { { 4, 2 }, { 13, 3 } };
    QTest::newRow("typed at a word's end") << 6 << 0 << QStringLiteral("x") << Marks { { 15, 3 } };
    QTest::newRow("typed at a word's start") << 14 << 0 << QStringLiteral("x") << Marks { { 4, 2 } };
    QTest::newRow("over a word") << 3 << 4 << QStringLiteral(" ") << Marks { { 11, 3 } };
    QTest::newRow("a line break after a word") << 17 << 0 << QStringLiteral("\nnowy") << Marks { { 4, 2 } };
}

void TstTColorMemo::wavyMarksFollowEdits()
{
    QFETCH(int, at);
    QFETCH(int, removed);
    QFETCH(QString, inserted);
    QFETCH(Marks, expected);
    m_memo->setPlainText(QStringLiteral("Ala ma kota i psa"));
    m_memo->setWavyMarks({ { 4, 2 }, { 14, 3 } });
    m_memo->grab(); // a colouring pass changes no text: the marks stay
    QCOMPARE(m_memo->WavyMarks(), (Marks { { 4, 2 }, { 14, 3 } }));
    QTextCursor c(m_memo->document());
    c.setPosition(at);
    c.setPosition(at + removed, QTextCursor::KeepAnchor);
    c.insertText(inserted);
    QCOMPARE(m_memo->WavyMarks(), expected);
    m_memo->setPlainText(QStringLiteral("nowy tekst"));
    QVERIFY(m_memo->WavyMarks().isEmpty());
}

// The marks are drawn in their colour under their words, and only while they are shown.
void TstTColorMemo::wavyMarksDrawnOnlyWhereShown()
{
    m_memo->setColorRules(TDrawRules());
    m_memo->setPlainText(manyLines(200));
    const QColor red(220, 0, 0);
    const QTextBlock first = m_memo->document()->firstBlock();
    const QTextBlock far = m_memo->document()->findBlockByNumber(150);
    const int word = int(first.text().indexOf(QStringLiteral("tekst")));
    m_memo->setWavyMarks({ { first.position() + word, 5 }, { far.position() + word, 5 } }, red);
    const auto [from, to] = m_memo->VisibleRange();
    QCOMPARE(from, 0);
    QVERIFY(to > first.length() && to < far.position());

    auto redColumns = [&] {
        const QImage image = m_memo->viewport()->grab().toImage();
        QSet<int> columns;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelColor(x, y) == red)
                    columns.insert(x);
        return columns;
    };
    QTextCursor c(m_memo->document());
    c.setPosition(first.position() + word);
    const int left = m_memo->cursorRect(c).left();
    c.setPosition(first.position() + word + 5);
    const int right = m_memo->cursorRect(c).left();
    const QSet<int> shown = redColumns();
    QVERIFY(!shown.isEmpty());
    for (int x : shown)
        QVERIFY2(x >= left - 1 && x <= right + 1, qPrintable(QString::number(x)));

    // Scrolled so that neither line is on screen: nothing is drawn.
    m_memo->verticalScrollBar()->setValue(60);
    QVERIFY(redColumns().isEmpty());
}

void TstTColorMemo::documentTextAccessReadsAsTheString_data()
{
    QTest::addColumn<QString>("text");
    const QString longLine(40000, QLatin1Char('x'));
    QTest::newRow("short lines") << QStringLiteral("<p>a</p>\n\n<b>x\u00A0y</b>\nkoniec");
    QTest::newRow("a long line between short ones")
        << QStringLiteral("a\n") + longLine + QStringLiteral("<i>\nb\n");
    QTest::newRow("empty") << QString();
}

void TstTColorMemo::documentTextAccessReadsAsTheString()
{
    // Read by blocks, a line whole or a long one by characters: what a string of the same
    // text gives, every stretch, line breaks and no-break spaces as they are.
    QFETCH(QString, text);
    QTextDocument doc;
    doc.setPlainText(text);
    const DocumentTextAccess fromDoc(&doc);
    const StringTextAccess fromString(text);
    QCOMPARE(fromDoc.length(), fromString.length());
    const int len = int(text.size());
    for (const int pos : { -3, 0, 1, 2, 3, len / 2, len - 3, len - 1, len, len + 2 })
        for (const int n : { 0, 1, 2, 5, 17000, len + 5 }) {
            QCOMPARE(fromDoc.mid(pos, n), fromString.mid(pos, n));
            if (pos >= 0 && pos <= len) {
                const int line = fromString.lineOf(pos);
                const int from = pos - fromString.lineStart(line);
                QCOMPARE(fromDoc.lineMid(line, from, n), fromString.lineMid(line, from, n));
            }
        }
}

QTEST_MAIN(TstTColorMemo)
#include "tst_tcolormemo.moc"
