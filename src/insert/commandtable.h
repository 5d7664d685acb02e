#pragma once

#include "base/documentencoding.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>
#include <vector>

// How a command's texts come about.
enum class InsertKind {
    Pair, // fixed opening and closing, pair insertion
    Block, // fixed opening and closing, block insertion
    Plain, // fixed text replaces the selection (entities)
    Paragraph, // "<P>", "</P>" only with the closing-paragraph option
    Align, // the setup's alignment template; closing from its first word
    TagCaption, // the caption is the opening; "/" after its first character the closing
    SsiCaption, // the caption minus its last four characters, and those four
    EntityCaption, // the caption up to its first blank, accelerator escape removed
    AskText, // opening + answer + suffix after an input question; Cancel inserts nothing
    CharsetDeclaration, // a META declaration, then a question about the document's code page
    StyleFromTag, // "\n" + selected tag name + " {" and "}"
    Dialog, // a dialog or wizard (named by dialog) gives the texts; Cancel inserts nothing
    Repeat, // "Wstaw jeszcze raz"
};

// Where a command is offered.
enum class InsertPlace {
    ToolTab, // a button on its tool-tab page and an item of its group's sub-menu
    TagMenu, // the menu listing every tag (ADRESS1Click)
    SsiMenu, // the server-side include menu (break1Click)
    EntityMenu, // the entity menu (mdashduymylnik1Click)
    InsertMenu, // an item directly in the insert menu
};

enum class Alignment { Left, Center, Right };

// One command. Texts are upper case as the program keeps them; line breaks are "\n".
struct InsertCommand
{
    QString handler; // e.g. "Btn_BClick"; several rows may share one
    QString objectName; // unique; the button's or menu item's object name
    InsertKind kind = InsertKind::Pair;
    InsertPlace place = InsertPlace::ToolTab;
    int page = -1; // index into insertPageNames(); -1 for menu-only rows
    QString caption; // button text or menu caption
    QString hint; // tool tip
    QString opening;
    QString closing;
    QString shortcut; // portable key sequence text ("Ctrl+B"), empty when none
    int tag = 0; // TagCaption: 1 = the item has no closing
    Alignment alignment = Alignment::Left; // Align
    // CharsetDeclaration: the code page the declaration names
    DocumentEncoding::Id declarationCodePage = DocumentEncoding::Windows1250;
    QString prompt; // AskText: question and dialog title
    QString title;
    QString answerSuffix; // AskText: text after the answer in the opening
    int entryMode = -1; // entry mode the caller switches the document to; -1 = unchanged
    QString dialog; // Dialog: the dialog's class name ("TImageDial")
    bool clearsAutoInterpretation = false;
};

// The options of the setup dialog that insertion reads.
struct InsertSettings
{
    bool lowerCase = false; // "Wstawiaj tagi używając małych liter"
    bool closingParagraph = false; // "Zawsze wstawiaj koniec paragrafu (</P>)"
    QString alignLeft = QStringLiteral("<DIV ALIGN=\"Left\">");
    QString alignCenter = QStringLiteral("<DIV ALIGN=\"Center\">");
    QString alignRight = QStringLiteral("<DIV ALIGN=\"Right\">");

    const QString &alignTemplate(Alignment a) const;
};

// The choices the setup dialog offers for an alignment template, the default first.
QStringList alignmentChoices(Alignment a);

enum class InsertMode { None, Pair, Block, Plain };

struct ResolvedInsertion
{
    InsertMode mode = InsertMode::None; // None: nothing to insert (Cancel, no tag, Repeat)
    QString opening;
    QString closing;
};

// The twelve tool-tab pages, in tab order.
const QStringList &insertPageNames();
// Every command, in tool-tab and menu order.
const std::vector<InsertCommand> &insertCommands();
// Index of the first row with that handler or object name, -1 when none.
int findInsertCommand(QStringView handlerOrObjectName);

// The closing an alignment template calls for: "</" + its first word (upper-cased) + ">",
// empty when the word is "P" and closingParagraph is off, or when there is no word.
QString alignmentClosing(QStringView openingTemplate, bool closingParagraph);

// What a row inserts under the settings. answer is the input question's answer for
// AskText (nullopt = Cancel) and the tag selected in the tag list for StyleFromTag
// (nullopt or empty = none); other kinds ignore it. Texts are not lower-cased here. A
// Dialog row resolves to nothing: its dialog gives the texts.
ResolvedInsertion resolveCommand(const InsertCommand &command, const InsertSettings &settings,
    const std::optional<QString> &answer = std::nullopt);
