#pragma once

// One named character reference of HTML: its name without "&" and ";" and the
// characters it stands for (one or two UTF-16 code units; the second is 0 when unused).
struct EntityTableEntry
{
    const char *name;
    char16_t units[2];
    unsigned char flags;
};

enum EntityTableFlag : unsigned char {
    NoSemicolon = 1, // also valid without ";" (the legacy names of HTML 4 and before)
    Preferred = 2, // the name written for its characters when letters become references
};

// Sorted by name in byte order.
extern const EntityTableEntry kEntityTable[];
extern const int kEntityTableSize;
