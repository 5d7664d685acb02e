#pragma once

#include "editor/colorrule.h"

class IniFile;

// The editor's HTML colouring: tags, quoted values, entities, style blocks and script
// keywords, then one rule per tag section of tags.ini (sections starting with "_" or
// "%" are groups and shared argument lists, not tags), coloured by the tag's group and
// matched by whole names; last, comments in gray.
TDrawRules BuildDefaultColorRules(const IniFile &tags);

// The shared instance every editor copies: built from the first call's tags and kept
// for the rest of the run.
const TDrawRules &DefaultColorRules(const IniFile &tags);
