#pragma once

#include <QString>
#include <QStringList>

class MarkoraSettings;

// What the page "W plikach" of the search window keeps between its openings, under
// "Okna/Znajdź w plikach" in the settings: the folder, the file masks, the subfolders
// switch, the texts and histories of its two combo boxes and its options, each named
// after its control.
struct FileSearchPageState
{
    QString folder; // FolderEdit.Text
    QString masks; // MaskCombo.Text: "*.html; *.htm"
    bool subfolders = true; // SubfoldersChk.Checked
    QString findText; // FilesFindCombo.Text
    QString replText; // FilesReplCombo.Text
    // Newest first, at most SearchEngine::HistorySize non-empty entries.
    QStringList findItems;
    QStringList replItems;
    bool wyszCase = false;
    bool uzReg = false;
    bool uzDot = false;
    bool uzSS = false;

    static FileSearchPageState read(const MarkoraSettings &settings);
    void write(MarkoraSettings &settings) const;
};
