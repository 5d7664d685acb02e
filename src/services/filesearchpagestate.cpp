#include "services/filesearchpagestate.h"

#include "base/settingstable.h"
#include "search/searchengine.h"

namespace {
using Table = SettingsTable<FileSearchPageState>;

const Table &table()
{
    using S = FileSearchPageState;
    constexpr QStringView group = u"Okna/Znajdź w plikach";
    static const Table t({
        Table::text(group, u"FolderEdit.Text", &S::folder),
        Table::text(group, u"MaskCombo.Text", &S::masks),
        Table::flag(group, u"SubfoldersChk.Checked", &S::subfolders),
        Table::text(group, u"FilesFindCombo.Text", &S::findText),
        Table::text(group, u"FilesReplCombo.Text", &S::replText),
        Table::texts(group, u"FilesFindCombo.Items", &S::findItems),
        Table::texts(group, u"FilesReplCombo.Items", &S::replItems),
        Table::flag(group, u"WyszCase.Checked", &S::wyszCase),
        Table::flag(group, u"UzReg.Checked", &S::uzReg),
        Table::flag(group, u"UzDot.Checked", &S::uzDot),
        Table::flag(group, u"UzSS.Checked", &S::uzSS),
    });
    return t;
}

} // namespace

FileSearchPageState FileSearchPageState::read(const MarkoraSettings &settings)
{
    FileSearchPageState s = table().read(settings);
    s.findItems = SearchEngine::keptHistory(s.findItems);
    s.replItems = SearchEngine::keptHistory(s.replItems);
    return s;
}

void FileSearchPageState::write(MarkoraSettings &settings) const { table().write(settings, *this); }
