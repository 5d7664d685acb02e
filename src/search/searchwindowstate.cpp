#include "search/searchwindowstate.h"

#include "base/settingstable.h"
#include "search/searchengine.h"

namespace {
using Table = SettingsTable<SearchWindowState>;

const Table &table()
{
    using W = SearchWindowState;
    constexpr QStringView group = u"Okna/Znajdź";
    static const Table t({
        Table::number(group, u"Left", &W::left, -W::MaxCoordinate, W::MaxCoordinate),
        Table::number(group, u"Top", &W::top, -W::MaxCoordinate, W::MaxCoordinate),
        Table::text(group, u"FindCombo.Text", &W::findText),
        Table::text(group, u"ReplCombo.Text", &W::replText),
        Table::flag(group, u"OptBtn.Down", &W::optBtnDown),
        Table::texts(group, u"FindCombo.Items", &W::findItems),
        Table::texts(group, u"ReplCombo.Items", &W::replItems),
        Table::flag(group, u"UzDot.Checked", &W::uzDot),
        Table::flag(group, u"UzReg.Checked", &W::uzReg),
        Table::flag(group, u"UzSS.Checked", &W::uzSS),
        Table::flag(group, u"WyszCase.Checked", &W::wyszCase),
        Table::flag(group, u"WyszSel.Checked", &W::wyszSel),
        Table::flag(group, u"ZakresAkt.Checked", &W::zakresAkt),
        Table::flag(group, u"ZakresWsz.Checked", &W::zakresWsz),
    });
    return t;
}

} // namespace

SearchWindowState SearchWindowState::read(const MarkoraSettings &settings)
{
    SearchWindowState s = table().read(settings);
    s.findItems = SearchEngine::keptHistory(s.findItems);
    s.replItems = SearchEngine::keptHistory(s.replItems);
    return s;
}

void SearchWindowState::write(MarkoraSettings &settings) const { table().write(settings, *this); }
