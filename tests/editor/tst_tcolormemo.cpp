#include "editor/defaultrules.h"
#include "editor/tcolormemo.h"
#include "tags/inifile.h"

#include <QSignalSpy>
#include <QTextBlock>
#include <QtTest>

namespace {

// Counts passes, to see that colouring settles instead of feeding itself.
class CountingMemo : public TColorMemo
{
public:
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

QTEST_MAIN(TstTColorMemo)
#include "tst_tcolormemo.moc"
