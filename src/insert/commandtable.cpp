#include "insert/commandtable.h"

#define S(x) QStringLiteral(x)

namespace {

enum Page {
    Podstawowe,
    Tekst,
    Listy,
    Tabele,
    Formularze,
    Ramki,
    Naglowek,
    Skrypty,
    Serwer,
    Encje,
    Odnosniki,
    Html5,
};

QString objectNameOf(const QString &handler)
{
    return handler.endsWith(QLatin1String("Click")) ? handler.chopped(5) : handler;
}

struct Builder
{
    std::vector<InsertCommand> rows;

    InsertCommand &add(InsertKind kind, const QString &handler, int page, const QString &caption,
        const QString &hint, const QString &opening = QString(), const QString &closing = QString())
    {
        InsertCommand c;
        c.handler = handler;
        c.objectName = objectNameOf(handler);
        c.kind = kind;
        c.page = page;
        c.caption = caption;
        c.hint = hint;
        c.opening = opening;
        c.closing = closing;
        rows.push_back(c);
        return rows.back();
    }
    InsertCommand &pair(const QString &handler, int page, const QString &caption, const QString &hint,
        const QString &opening, const QString &closing = QString())
    {
        return add(InsertKind::Pair, handler, page, caption, hint, opening, closing);
    }
    InsertCommand &block(const QString &handler, int page, const QString &caption, const QString &hint,
        const QString &opening, const QString &closing)
    {
        return add(InsertKind::Block, handler, page, caption, hint, opening, closing);
    }
    // Several menu items share one handler; each gets its own object name.
    InsertCommand &menuItem(InsertKind kind, InsertPlace place, const QString &handler,
        const QString &objectName, const QString &caption)
    {
        InsertCommand &c = add(kind, handler, -1, caption, caption);
        c.place = place;
        c.objectName = objectName;
        return c;
    }
    InsertCommand &align(const QString &handler, const QString &caption, const QString &hint, Alignment a)
    {
        InsertCommand &c = add(InsertKind::Align, handler, Podstawowe, caption, hint);
        c.alignment = a;
        return c;
    }
    // A button that opens a dialog; its menu item reads as the hint, which ends in "...".
    InsertCommand &dialog(const QString &handler, int page, const QString &caption, const QString &hint,
        const QString &dialogName)
    {
        InsertCommand &c = add(InsertKind::Dialog, handler, page, caption, hint);
        c.dialog = dialogName;
        return c;
    }
    InsertCommand &ask(const QString &handler, int page, const QString &caption, const QString &prompt,
        const QString &title, const QString &opening, const QString &suffix, const QString &closing)
    {
        InsertCommand &c = add(InsertKind::AskText, handler, page, caption, title, opening, closing);
        c.prompt = prompt;
        c.title = title;
        c.answerSuffix = suffix;
        return c;
    }
};

QString tagObjectName(const QString &caption)
{
    QString name = caption;
    name.remove(u'<').remove(u'>');
    return QStringLiteral("Znacznik") + name;
}

std::vector<InsertCommand> buildTable()
{
    Builder b;

    // Podstawowe
    b.pair(S("Podst_HRClick"), Podstawowe, S("HR"), S("Linia pozioma"), S("<HR>"));
    b.pair(S("Btn_BRClick"), Podstawowe, S("BR"), S("Złamanie wiersza"), S("<BR>"));
    b.add(InsertKind::Paragraph, S("Btn_PClick"), Podstawowe, S("P"), S("Akapit"), S("<P>"), S("</P>"));
    b.pair(S("Btn_BClick"), Podstawowe, S("B"), S("Pogrubienie"), S("<B>"), S("</B>"));
    b.pair(S("Btn_IClick"), Podstawowe, S("I"), S("Kursywa"), S("<I>"), S("</I>"));
    b.pair(S("Btn_UClick"), Podstawowe, S("U"), S("Podkreślenie"), S("<U>"), S("</U>"));
    b.align(S("BTN_LeftClick"), S("Do lewej"), S("Wyrównanie do lewej"), Alignment::Left);
    b.align(S("Btn_CenterClick"), S("Do środka"), S("Wyśrodkowanie"), Alignment::Center);
    b.align(S("Btn_RightClick"), S("Do prawej"), S("Wyrównanie do prawej"), Alignment::Right);
    b.pair(S("N23Click"), Podstawowe, S("<!-- -->"), S("Komentarz"), S("<!--"), S("-->"));
    b.add(InsertKind::Repeat, S("BtnWstawJRazClick"), Podstawowe, S("Jeszcze raz"),
        S("Wstaw jeszcze raz ostatnio wstawiony znacznik"));

    // Tekst
    b.pair(S("Btn_PreClick"), Tekst, S("PRE"), S("Tekst preformatowany"), S("<PRE>"), S("</PRE>"));
    b.pair(S("Btn_SupClick"), Tekst, S("SUP"), S("Indeks górny"), S("<SUP>"), S("</SUP>"));
    b.pair(S("Btn_SubClick"), Tekst, S("SUB"), S("Indeks dolny"), S("<SUB>"), S("</SUB>"));
    b.pair(S("Btn_plus1Click"), Tekst, S("+1"), S("Czcionka większa o jeden stopień"), S("<FONT SIZE=+1>"),
        S("</FONT>"));
    b.pair(S("Btn_minus1Click"), Tekst, S("-1"), S("Czcionka mniejsza o jeden stopień"), S("<FONT SIZE=-1>"),
        S("</FONT>"));
    for (int level = 1; level <= 6; ++level) {
        const QString n = QString::number(level);
        b.pair(S("Btn_H") + n + S("Click"), Tekst, S("H") + n, S("Nagłówek stopnia ") + n,
            S("<H") + n + S(">"), S("</H") + n + S(">"));
    }
    b.pair(S("Btn_ArialClick"), Tekst, S("Arial"), S("Czcionka Arial"), S("<FONT FACE=\"Arial\">"),
        S("</FONT>"));
    b.pair(S("Btn_CourierClick"), Tekst, S("Courier"), S("Czcionka Courier New"),
        S("<FONT FACE=\"Courier New,Courier\">"), S("</FONT>"));
    b.pair(S("Btn_TimesClick"), Tekst, S("Times"), S("Czcionka Times New Roman"),
        S("<FONT FACE=\"Times New Roman\">"), S("</FONT>"));
    b.pair(S("Btn_BasefontClick"), Tekst, S("BASEFONT"), S("Czcionka podstawowa dokumentu"), S("<BASEFONT>"));
    b.pair(S("NOBR1Click"), Tekst, S("NOBR"), S("Tekst bez łamania wierszy"), S("<NOBR>"), S("</NOBR>"));
    b.pair(S("S2Click"), Tekst, S("S"), S("Przekreślenie"), S("<S>"), S("</S>"));
    b.pair(S("STRIKE1Click"), Tekst, S("STRIKE"), S("Przekreślenie (STRIKE)"), S("<STRIKE>"), S("</STRIKE>"));
    b.pair(S("TT1Click"), Tekst, S("TT"), S("Czcionka o stałej szerokości"), S("<TT>"), S("</TT>"));
    b.pair(S("EM1Click"), Tekst, S("EM"), S("Wyróżnienie"), S("<EM>"), S("</EM>"));
    b.pair(S("S1Click"), Tekst, S("STRONG"), S("Silne wyróżnienie"), S("<STRONG>"), S("</STRONG>"));
    b.pair(S("DIV1Click"), Tekst, S("DIV"), S("Blok tekstu"), S("<DIV>"), S("</DIV>"));
    b.pair(S("CENTER1Click"), Tekst, S("CENTER"), S("Wyśrodkowanie (CENTER)"), S("<CENTER>"), S("</CENTER>"));
    b.pair(S("BtnSpanClick"), Tekst, S("SPAN"), S("Fragment tekstu do nadania stylu"), S("<SPAN>"),
        S("</SPAN>"));
    b.pair(S("BtnDivClick"), Tekst, S("DIV"), S("Blok tekstu do nadania stylu"), S("<DIV>"), S("</DIV>"));
    b.dialog(S("BtnDataClick"), Tekst, S("Data..."), S("Bieżąca data i godzina..."), S("TDateDial"));

    // Listy
    b.pair(S("SpeedButton8Click"), Listy, S("DD"), S("Opis pojęcia listy definicji"), S("\n<DD>"));
    b.pair(S("SpeedButton7Click"), Listy, S("DT"), S("Pojęcie listy definicji"), S("\n<DT>"));
    b.pair(S("SpeedButton9Click"), Listy, S("LI"), S("Element listy"), S("\n<LI>"));
    b.pair(S("BtnULClick"), Listy, S("UL"), S("Lista wypunktowana"), S("<UL>\n<LI>"), S("\n</UL>"));
    b.pair(S("BTnOLClick"), Listy, S("OL"), S("Lista numerowana"), S("<OL>\n<LI>"), S("\n</OL>"));
    b.pair(S("BtnDLClick"), Listy, S("DL"), S("Lista definicji"), S("<DL>"), S("\n</DL>"));

    // Tabele
    b.pair(S("BtnTableClick"), Tabele, S("TABLE"), S("Tabela"), S("<TABLE>"), S("</TABLE>"));
    b.pair(S("BtnTabTRClick"), Tabele, S("TR"), S("Wiersz tabeli"), S("<TR>"), S("</TR>"));
    b.pair(S("BtnTabTDClick"), Tabele, S("TD"), S("Komórka tabeli"), S("<TD>"), S("</TD>"));
    b.pair(S("BtnTabHeaderClick"), Tabele, S("TH"), S("Komórka nagłówka tabeli"), S("<TH>"), S("</TH>"));
    b.pair(S("BtnTabCaptionClick"), Tabele, S("CAPTION"), S("Tytuł tabeli"), S("<CAPTION>"), S("</CAPTION>"));
    b.pair(S("BtnTblStartClick"), Tabele, S("Nowa tabela"), S("Początek tabeli z pierwszą komórką"),
        S("<TABLE BORDER=\"2\">\n<TR>\n<TD>"), S("\n</TD>\n</TR>\n</TABLE>"));
    b.dialog(S("BtnKreatorTabeliClick"), Tabele, S("Kreator..."), S("Kreator tabeli..."), S("TTableDial"));

    // Formularze
    b.block(S("BtnFormClick"), Formularze, S("FORM"), S("Formularz"), S("<FORM>"), S("</FORM>"));
    b.pair(S("BtnEditClick"), Formularze, S("Tekst"), S("Pole tekstowe"), S("<INPUT TYPE=\"text\">"));
    b.pair(S("BtnPasswdClick"), Formularze, S("Hasło"), S("Pole hasła"), S("<INPUT TYPE=\"password\">"));
    b.pair(S("BtnSubmitClick"), Formularze, S("Wyślij"), S("Przycisk wysyłający formularz"),
        S("<INPUT TYPE=\"submit\">"));
    b.pair(S("BtnResetClick"), Formularze, S("Wyczyść"), S("Przycisk czyszczący formularz"),
        S("<INPUT TYPE=\"reset\">"));
    b.pair(
        S("BtnCheckClick"), Formularze, S("Pole wyboru"), S("Pole wyboru"), S("<INPUT TYPE=\"checkbox\">"));
    b.pair(S("BtnRadioClick"), Formularze, S("Opcja"), S("Przycisk opcji"), S("<INPUT TYPE=\"radio\">"));
    b.pair(S("BtnHiddenClick"), Formularze, S("Ukryte"), S("Pole ukryte"), S("<INPUT TYPE=\"hidden\">"));
    b.pair(S("BtnFrmFileClick"), Formularze, S("Plik"), S("Wybór pliku do wysłania"),
        S("<INPUT TYPE=\"file\">"));
    b.pair(
        S("BtnMemoClick"), Formularze, S("TEXTAREA"), S("Obszar tekstu"), S("<TEXTAREA>"), S("</TEXTAREA>"));
    b.pair(S("BtnSelectClick"), Formularze, S("SELECT"), S("Lista wyboru"), S("<SELECT>"), S("</SELECT>"));
    b.pair(S("BtnOptionClick"), Formularze, S("OPTION"), S("Pozycja listy wyboru"), S("<OPTION>"));

    // Ramki
    b.pair(S("BtnFSetClick"), Ramki, S("FRAMESET"), S("Zestaw ramek"), S("<FRAMESET>\n"), S("</FRAMESET>"));
    b.pair(S("BtnFrameClick"), Ramki, S("FRAME"), S("Ramka"), S("<FRAME>"));
    b.pair(S("BtnNoFrmClick"), Ramki, S("NOFRAMES"), S("Treść dla przeglądarek bez ramek"), S("<NOFRAMES>\n"),
        S("</NOFRAMES>"));
    b.dialog(
        S("BtnKreatorRamekClick"), Ramki, S("Kreator..."), S("Kreator zestawu ramek..."), S("TFrameDial"));
    b.pair(S("SpeedButton1Click"), Ramki, S("TARGET"), S("Domyślna ramka docelowa"), S("<BASE TARGET=\""),
        S("\">"));

    // Nagłówek
    b.pair(S("DOCTYPE1Click"), Naglowek, S("DOCTYPE"), S("Deklaracja typu dokumentu"), S("<!DOCTYPE>"));
    b.pair(S("html2Click"), Naglowek, S("HTML"), S("Dokument HTML"), S("<HTML>"), S("</HTML>"));
    b.pair(S("HEAD1Click"), Naglowek, S("HEAD"), S("Nagłówek dokumentu"), S("<HEAD>"), S("</HEAD>"));
    b.pair(S("TITLE1Click"), Naglowek, S("TITLE"), S("Tytuł dokumentu"), S("<TITLE>"), S("</TITLE>"));
    b.pair(S("BODY1Click"), Naglowek, S("BODY"), S("Treść dokumentu"), S("<BODY>"), S("</BODY>"));
    b.pair(S("META1Click"), Naglowek, S("META"), S("Metadane"), S("<META>"));
    b.pair(S("BASE1Click"), Naglowek, S("BASE"), S("Adres bazowy dokumentu"), S("<BASE>"));
    b.pair(S("ISINDEX1Click"), Naglowek, S("ISINDEX"), S("Pole przeszukiwania"), S("<ISINDEX>"));
    b.pair(S("LINK1Click"), Naglowek, S("LINK"), S("Powiązanie z innym dokumentem"), S("<LINK>"));
    b.pair(S("NEXTID1Click"), Naglowek, S("NEXTID"), S("Następny identyfikator"), S("<NEXTID>"));
    b.dialog(S("BtnHeadClick"), Naglowek, S("HEAD..."),
        S("Nagłówek dokumentu: tytuł, opis, słowa kluczowe..."), S("THeadDial"));
    b.dialog(S("BtnBodyClick"), Naglowek, S("BODY..."), S("Treść dokumentu: kolory, tło i marginesy..."),
        S("TBodyDial"));
    b.dialog(S("BtnMetaClick"), Naglowek, S("META..."), S("Metadane: nazwa i wartość..."), S("TMetaDial"));
    {
        InsertCommand &c = b.add(InsertKind::CharsetDeclaration, S("WstawdeklaracjISO1Click"), Naglowek,
            S("ISO 8859-2"), S("Wstaw deklarację kodowania ISO 8859-2"),
            S("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=iso-8859-2\">"));
        c.declarationCodePage = DocumentEncoding::Iso8859_2;
        c.title = S("Wstawianie deklaracji: pytanie");
        c.prompt = S("Kodowanie ustawione dla tego dokumentu różni się od tego, które ustawia wstawiona "
                     "deklaracja. Ustawić kodowanie wedle deklaracji?");
        InsertCommand w = c;
        w.handler = S("WstawdeklaracjWin1Click");
        w.objectName = S("WstawdeklaracjWin1");
        w.caption = S("Windows 1250");
        w.hint = S("Wstaw deklarację kodowania Windows 1250");
        w.opening = S("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=windows-1250\">");
        w.declarationCodePage = DocumentEncoding::Windows1250;
        b.rows.push_back(w);
        InsertCommand u = c;
        u.handler = S("WstawdeklaracjUTF81Click");
        u.objectName = S("WstawdeklaracjUTF81");
        u.caption = S("UTF-8");
        u.hint = S("Wstaw deklarację kodowania UTF-8");
        u.opening = S("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=utf-8\">");
        u.declarationCodePage = DocumentEncoding::Utf8;
        b.rows.push_back(u);
    }
    b.block(S("BtnStyleClick"), Naglowek, S("STYLE"), S("Arkusz stylów w dokumencie"),
        S("<STYLE TYPE=\"text/css\">"), S("</STYLE>"));
    b.pair(S("btnLinkClick"), Naglowek, S("CSS"), S("Dołączenie zewnętrznego arkusza stylów"),
        S("<LINK REL=\"Stylesheet\" TYPE=\"text/css\" HREF=\""), S("\">"));
    b.add(InsertKind::StyleFromTag, S("BtnWstawJakoStylClick"), Naglowek, S("Jako styl"),
        S("Wstaw znacznik wybrany na liście jako regułę stylu"), S(" {"), S("}"));
    b.dialog(S("BtnStylClick"), Naglowek, S("Styl..."),
        S("Prosta reguła stylu albo arkusz stylów z pliku..."), S("TStyleDial"));

    // Skrypty i obiekty
    b.block(
        S("BtnScriptClick"), Skrypty, S("SCRIPT"), S("Skrypt"), S("<SCRIPT>\n<!--"), S("\n//-->\n</SCRIPT>"));
    b.block(S("BtnNoScriptClick"), Skrypty, S("NOSCRIPT"), S("Treść dla przeglądarek bez skryptów"),
        S("<NOSCRIPT>"), S("</NOSCRIPT>"));
    b.block(S("BtnAppletClick"), Skrypty, S("APPLET"), S("Aplet"), S("<APPLET>"), S("</APPLET>"));
    b.block(S("BtnObjectClick"), Skrypty, S("OBJECT"), S("Obiekt osadzony"), S("<OBJECT>"), S("</OBJECT>"));
    b.dialog(S("BtnSkryptClick"), Skrypty, S("Skrypt..."), S("Skrypt w dokumencie albo z pliku..."),
        S("TScriptDial"));
    b.pair(S("BtnParamClick"), Skrypty, S("PARAM"), S("Parametr apletu lub obiektu"), S("<PARAM>"));
    b.ask(S("BtnAlertClick"), Skrypty, S("alert"), S("Tekst ostrzeżenia:"), S("JavaSkryptowe ostrzeżenie"),
        S("alert(\""), S("\");"), QString());
    b.ask(S("BtnConfirmClick"), Skrypty, S("confirm"), S("Tekst pytania:"), S("JavaSkryptowe pytanie"),
        S("confirm(\""), S("\");"), QString());

    // Serwer
    b.pair(S("BtnSSIIncludeClick"), Serwer, S("include"), S("Dołączenie pliku (SSI)"),
        S("<!--#include virtual=\""), S("\" -->"));
    b.pair(
        S("BtnSSIexecClick"), Serwer, S("exec"), S("Wykonanie polecenia (SSI)"), S("<!--#exec "), S("-->"));
    b.pair(S("BtnSSIechoClick"), Serwer, S("echo"), S("Wypisanie zmiennej (SSI)"), S("<!--#echo var=\""),
        S("\" -->"));
    b.pair(S("BtnSSIflastmodClick"), Serwer, S("flastmod"), S("Data ostatniej zmiany pliku (SSI)"),
        S("<!--#flastmod "), S("-->"));
    b.pair(S("BtnPhpClick"), Serwer, S("PHP"), S("Blok kodu PHP"), S("<?PHP \n"), S("\n?>"));
    b.pair(S("BtnPhpEchoClick"), Serwer, S("PHP echo"), S("Wypisanie wartości w PHP"), S("<?PHP echo "),
        S("; ?>"));
    b.pair(S("BtnAspClick"), Serwer, S("ASP"), S("Blok kodu ASP"), S("<% \n"), S("\n%>"));
    b.pair(S("BtnAspEchoClick"), Serwer, S("ASP ="), S("Wypisanie wartości w ASP"), S("<%= "), S(" %>"));

    // Encje: the shared handler inserts the button's hint.
    b.add(InsertKind::Plain, S("BtnNbspClick"), Encje, S("nbsp"), S("Twarda spacja"), S("&nbsp;"));
    struct Entity
    {
        const char *objectName;
        QString caption;
        QString text;
    };
    const Entity entities[] = {
        { "BtnLt", S("<"), S("&lt;") },
        { "BtnHt", S(">"), S("&gt;") },
        { "BtnAmp", S("&"), S("&amp;") },
        { "BtnQuote", S("\""), S("&quot;") },
        { "BtnCopy", S("©"), S("&copy;") },
        { "BtnReg", S("®"), S("&reg;") },
        { "BtnTM", S("™"), S("&trade;") },
    };
    for (const Entity &e : entities)
        b.add(InsertKind::Plain, S("BtnLtClick"), Encje, e.caption, e.text, e.text).objectName
            = QString::fromLatin1(e.objectName);

    // Odnośniki i grafika
    b.pair(S("A1Click"), Odnosniki, S("A"), S("Odnośnik"), S("<A>"), S("</A>"));
    b.pair(S("MAP1Click"), Odnosniki, S("MAP"), S("Mapa odnośników"), S("<MAP>"), S("</MAP>"));
    b.pair(S("AREA1Click"), Odnosniki, S("AREA"), S("Obszar mapy odnośników"), S("<AREA>"));
    b.dialog(S("BtnOdnosnikClick"), Odnosniki, S("Odnośnik..."),
        S("Odnośnik do pliku, adresu, poczty albo kotwicy..."), S("TLinkDial"));
    b.dialog(S("BtnObrazekClick"), Odnosniki, S("Obrazek..."), S("Obrazek z rozmiarem odczytanym z pliku..."),
        S("TImageDial"));
    b.ask(S("BtnAnchorClick"), Odnosniki, S("Kotwica"), S("Podaj nazwę kotwicy, którą mam wstawić:"),
        S("Zakotwiczenie"), S("<A NAME=\""), S("\">"), S("</A>"));
    b.ask(S("BtnMailClick"), Odnosniki, S("E-mail"), S("Podaj adres poczty elektronicznej:"),
        S("Odnośnik e-mailowy"), S("<A HREF=\"mailto:"), S("\">"), S("</A>"));

    // HTML5: sectioning, media and interactive elements of the current standard.
    b.pair(
        S("Html5SectionClick"), Html5, S("SECTION"), S("Sekcja dokumentu"), S("<SECTION>"), S("</SECTION>"));
    b.pair(S("Html5ArticleClick"), Html5, S("ARTICLE"), S("Artykuł: samodzielna część strony"),
        S("<ARTICLE>"), S("</ARTICLE>"));
    b.pair(S("Html5NavClick"), Html5, S("NAV"), S("Nawigacja"), S("<NAV>"), S("</NAV>"));
    b.pair(S("Html5HeaderClick"), Html5, S("HEADER"), S("Nagłówek strony lub sekcji"), S("<HEADER>"),
        S("</HEADER>"));
    b.pair(S("Html5FooterClick"), Html5, S("FOOTER"), S("Stopka strony lub sekcji"), S("<FOOTER>"),
        S("</FOOTER>"));
    b.pair(S("Html5MainClick"), Html5, S("MAIN"), S("Główna treść strony"), S("<MAIN>"), S("</MAIN>"));
    b.pair(S("Html5AsideClick"), Html5, S("ASIDE"), S("Treść poboczna"), S("<ASIDE>"), S("</ASIDE>"));
    b.pair(S("Html5FigureClick"), Html5, S("FIGURE"), S("Ilustracja z podpisem (FIGURE i FIGCAPTION)"),
        S("<FIGURE>\n"), S("\n<FIGCAPTION></FIGCAPTION>\n</FIGURE>"));
    b.pair(S("Html5PictureClick"), Html5, S("PICTURE"), S("Obraz w kilku wersjach (PICTURE i SOURCE)"),
        S("<PICTURE>\n<SOURCE SRCSET=\"\" TYPE=\"image/webp\">\n"), S("\n</PICTURE>"));
    b.pair(S("Html5VideoClick"), Html5, S("VIDEO"), S("Film"), S("<VIDEO CONTROLS>"), S("</VIDEO>"));
    b.pair(S("Html5AudioClick"), Html5, S("AUDIO"), S("Dźwięk"), S("<AUDIO CONTROLS>"), S("</AUDIO>"));
    b.pair(S("Html5DetailsClick"), Html5, S("DETAILS"), S("Rozwijane szczegóły (DETAILS i SUMMARY)"),
        S("<DETAILS>\n<SUMMARY>"), S("</SUMMARY>\n\n</DETAILS>"));
    b.pair(S("Html5MarkClick"), Html5, S("MARK"), S("Wyróżnienie zaznaczeniem"), S("<MARK>"), S("</MARK>"));
    b.pair(S("Html5TimeClick"), Html5, S("TIME"), S("Data lub godzina (TIME)"), S("<TIME DATETIME=\"\">"),
        S("</TIME>"));
    b.pair(S("Html5DialogClick"), Html5, S("DIALOG"), S("Okno dialogowe"), S("<DIALOG>"), S("</DIALOG>"));

    // The menu listing every tag; items marked 1 have no closing.
    const char *const tags[] = {
        "BDO",
        "H1",
        "H2",
        "H3",
        "H4",
        "H5",
        "H6",
        "BIG",
        "SMALL",
        "FONT",
        "*BASEFONT",
        "S",
        "STRIKE",
        "TT",
        "EM",
        "STRONG",
        "NOBR",
        "*WBR",
        "BLOCKQUOTE",
        "Q",
        "ABBR",
        "ACRONYM",
        "DEL",
        "INS",
        "ADDRESS",
        "CITE",
        "CODE",
        "DFN",
        "KBD",
        "LISTING",
        "PLAINTEXT",
        "SAMP",
        "VAR",
        "XMP",
        "UL",
        "OL",
        "DL",
        "DIR",
        "MENU",
        "*LI",
        "*DT",
        "*DD",
        "TABLE",
        "CAPTION",
        "TH",
        "TR",
        "TD",
        "*THEAD",
        "*TBODY",
        "*TFOOT",
        "FRAMESET",
        "*FRAME",
        "NOFRAMES",
        "IFRAME",
        "FORM",
        "*INPUT",
        "BUTTON",
        "TEXTAREA",
        "LABEL",
        "SELECT",
        "*OPTION",
        "OPTGROUP",
        "FIELDSET",
        "LEGEND",
        "APPLET",
        "OBJECT",
        "*PARAM",
        "SCRIPT",
        "NOSCRIPT",
        "*LINK",
        "STYLE",
        "SPAN",
        "DIV",
    };
    for (const char *t : tags) {
        const bool single = t[0] == '*';
        const QString caption = S("<") + QString::fromLatin1(single ? t + 1 : t) + S(">");
        b.menuItem(
             InsertKind::TagCaption, InsertPlace::TagMenu, S("ADRESS1Click"), tagObjectName(caption), caption)
            .tag
            = single ? 1 : 0;
    }

    // Server-side include menu.
    const char *const ssi[] = { "include", "exec", "echo", "fsize", "flastmod", "config", "odbc", "email",
        "if", "goto", "label", "break" };
    for (const char *d : ssi) {
        const QString word = QString::fromLatin1(d);
        b.menuItem(InsertKind::SsiCaption, InsertPlace::SsiMenu, S("break1Click"), S("SSI") + word,
             S("<!--") + word + S(" -->"))
            .clearsAutoInterpretation
            = true;
    }

    // Entity menu: "&&" shows one "&" in a menu caption.
    const struct
    {
        const char *name;
        QString caption;
    } entityItems[] = {
        { "nbsp", S("&&nbsp; twarda spacja") },
        { "lt", S("&&lt; znak mniejszości") },
        { "gt", S("&&gt; znak większości") },
        { "amp", S("&&amp; znak et (ampersand)") },
        { "quot", S("&&quot; cudzysłów prosty") },
        { "copy", S("&&copy; zastrzeżenie praw autorskich") },
        { "reg", S("&&reg; zastrzeżony znak towarowy") },
        { "trade", S("&&trade; znak towarowy") },
        { "plusmn", S("&&plusmn; plus minus") },
        { "deg", S("&&deg; stopień") },
        { "ndash", S("&&ndash; krótka kreska (półpauza)") },
        { "mdash", S("&&mdash; długa kreska (pauza)") },
    };
    for (const auto &e : entityItems)
        b.menuItem(InsertKind::EntityCaption, InsertPlace::EntityMenu, S("mdashduymylnik1Click"),
            S("Encja") + QString::fromLatin1(e.name), e.caption);

    b.menuItem(InsertKind::Repeat, InsertPlace::InsertMenu, S("Wstawjeszczeraz1Click"), S("Wstawjeszczeraz1"),
         S("Wstaw jeszcze raz"))
        .hint
        = S("Wstaw jeszcze raz ostatnio wstawiony znacznik");

    // Keys: the menu items carry them. Return alone and Shift+Return belong to typing.
    const struct
    {
        const char *objectName;
        const char *key;
    } keys[] = {
        { "Btn_B", "Ctrl+B" },
        { "Btn_I", "Ctrl+I" },
        { "Btn_U", "Ctrl+U" },
        { "Btn_P", "Ctrl+Shift+P" },
        { "Btn_BR", "Ctrl+Shift+Return" },
        { "BtnNbsp", "Ctrl+Shift+Space" },
        { "Wstawjeszczeraz1", "F4" },
    };
    // The list commands switch the document to list-item entry, the table start to cells.
    const struct
    {
        const char *objectName;
        int mode;
    } modes[] = { { "BtnUL", 1 }, { "BTnOL", 1 }, { "BtnTblStart", 2 } };
    for (InsertCommand &c : b.rows) {
        for (const auto &k : keys)
            if (c.objectName == QLatin1String(k.objectName))
                c.shortcut = QString::fromLatin1(k.key);
        for (const auto &m : modes)
            if (c.objectName == QLatin1String(m.objectName))
                c.entryMode = m.mode;
    }

    return std::move(b.rows);
}

// The word an alignment template opens: after the leading "<", up to a blank, "<" or ">".
QString firstWord(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && (text.at(i) == u'<' || text.at(i) == u' '))
        ++i;
    qsizetype end = i;
    while (end < text.size() && text.at(end) != u' ' && text.at(end) != u'<' && text.at(end) != u'>')
        ++end;
    return text.mid(i, end - i).toString().toUpper();
}

} // namespace

const QString &InsertSettings::alignTemplate(Alignment a) const
{
    switch (a) {
    case Alignment::Center:
        return alignCenter;
    case Alignment::Right:
        return alignRight;
    case Alignment::Left:
        break;
    }
    return alignLeft;
}

QStringList alignmentChoices(Alignment a)
{
    switch (a) {
    case Alignment::Center:
        return { S("<DIV ALIGN=\"Center\">"), S("<P ALIGN=\"Center\">"), S("<CENTER>") };
    case Alignment::Right:
        return { S("<DIV ALIGN=\"Right\">"), S("<P ALIGN=\"Right\">") };
    case Alignment::Left:
        break;
    }
    return { S("<DIV ALIGN=\"Left\">"), S("<P ALIGN=\"Left\">") };
}

const QStringList &insertPageNames()
{
    static const QStringList names = {
        S("Podstawowe"),
        S("Tekst"),
        S("Listy"),
        S("Tabele"),
        S("Formularze"),
        S("Ramki"),
        S("Nagłówek"),
        S("Skrypty i obiekty"),
        S("Serwer"),
        S("Encje"),
        S("Odnośniki i grafika"),
        S("HTML5"),
    };
    return names;
}

const std::vector<InsertCommand> &insertCommands()
{
    static const std::vector<InsertCommand> table = buildTable();
    return table;
}

int findInsertCommand(QStringView name)
{
    const auto &table = insertCommands();
    for (size_t i = 0; i < table.size(); ++i)
        if (table[i].handler == name || table[i].objectName == name)
            return int(i);
    return -1;
}

QString alignmentClosing(QStringView openingTemplate, bool closingParagraph)
{
    const QString word = firstWord(openingTemplate);
    if (word.isEmpty() || (word == u"P" && !closingParagraph))
        return QString();
    return S("</") + word + S(">");
}

ResolvedInsertion resolveCommand(
    const InsertCommand &c, const InsertSettings &settings, const std::optional<QString> &answer)
{
    ResolvedInsertion r;
    switch (c.kind) {
    case InsertKind::Pair:
    case InsertKind::CharsetDeclaration:
        r = { InsertMode::Pair, c.opening, c.closing };
        break;
    case InsertKind::Block:
        r = { InsertMode::Block, c.opening, c.closing };
        break;
    case InsertKind::Plain:
        r = { InsertMode::Plain, c.opening, QString() };
        break;
    case InsertKind::Paragraph:
        r = { InsertMode::Pair, c.opening, settings.closingParagraph ? c.closing : QString() };
        break;
    case InsertKind::Align: {
        const QString &t = settings.alignTemplate(c.alignment);
        r = { InsertMode::Pair, t, alignmentClosing(t, settings.closingParagraph) };
        break;
    }
    case InsertKind::TagCaption: {
        QString closing;
        if (c.tag != 1 && !c.caption.isEmpty())
            closing = c.caption.left(1) + u'/' + c.caption.mid(1);
        r = { InsertMode::Pair, c.caption, closing };
        break;
    }
    case InsertKind::SsiCaption:
        r = { InsertMode::Pair, c.caption.chopped(qMin<qsizetype>(4, c.caption.size())), c.caption.right(4) };
        break;
    case InsertKind::EntityCaption: {
        const qsizetype blank = c.caption.indexOf(u' ');
        QString text = blank < 0 ? c.caption : c.caption.left(blank);
        if (text.startsWith(QLatin1String("&&")))
            text.remove(0, 1);
        r = { InsertMode::Plain, text, QString() };
        break;
    }
    case InsertKind::AskText:
        if (answer)
            r = { InsertMode::Pair, c.opening + *answer + c.answerSuffix, c.closing };
        break;
    case InsertKind::StyleFromTag:
        if (answer && !answer->isEmpty())
            r = { InsertMode::Pair, QLatin1Char('\n') + *answer + c.opening, c.closing };
        break;
    case InsertKind::Dialog:
    case InsertKind::Repeat:
        break;
    }
    return r;
}
