#pragma once

#include <QString>
#include <QStringList>
#include <limits>

class MarkoraSettings;

// What the search window keeps between its openings, under "Okna/Znajdź" in the settings:
// its place, the texts and histories of its two combo boxes, and its options, each named
// after its control.
struct SearchWindowState
{
    // The place: any screen's coordinates fit within ±MaxCoordinate; NoPlace when none
    // was stored (or a stored one was out of range).
    static constexpr int MaxCoordinate = 32767;
    static constexpr int NoPlace = std::numeric_limits<int>::min();
    int left = NoPlace;
    int top = NoPlace;
    QString findText; // FindCombo.Text
    QString replText; // ReplCombo.Text
    // The histories, newest first, read as at most SearchEngine::HistorySize non-empty
    // entries of at most SearchEngine::HistoryEntryLength characters.
    QStringList findItems;
    QStringList replItems;
    bool optBtnDown = false; // the options shown
    bool uzDot = false;
    bool uzReg = false;
    bool uzSS = false;
    bool wyszCase = false;
    bool wyszSel = false;
    bool zakresAkt = false;
    bool zakresWsz = false;

    static SearchWindowState read(const MarkoraSettings &settings);
    void write(MarkoraSettings &settings) const;
};
