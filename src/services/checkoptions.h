#pragma once

#include "services/tidyfix.h"
#include "services/validator.h"

#include <QString>

class MarkoraSettings;

// The options of the page checks, under "Sprawdzanie" in the settings: which rows the
// markup check shows and whether it checks accessibility, how "Popraw kod (tidy)" writes
// the page, and the spelling check (on or off, and a second dictionary).
struct CheckOptions
{
    ValidationOptions validation;
    TidyFixOptions fix;
    bool spelling = true; // underline misspelt words
    QString secondDictionary; // a Hunspell dictionary's name, e.g. "en_US"; empty for none

    static CheckOptions read(const MarkoraSettings &settings);
    void write(MarkoraSettings &settings) const;
    bool operator==(const CheckOptions &o) const;
    bool operator!=(const CheckOptions &o) const { return !(*this == o); }
};
