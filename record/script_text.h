// The characters the program shows its texts in: Simplified, as the sources
// write them, or Traditional. Traditional forms come from one reviewed table
// of every text the program shows (record/traditional_table.inc, made by
// tools/traditional/make_table.py); nothing converts at run time beyond
// looking texts up in it. Records and settings are always written in
// Simplified: only what is shown changes.
//
// Program texts go through InScript or Shown: the literals, and the texts the
// program puts together from its own words (relation texts, score lists,
// place labels of the place table, warnings with numbers). User data — a
// person's name, a group name, a path, a typed place that is not one of the
// table — never does.
#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "record/text.h"

namespace xuanshu {

enum class Script { kSimplified, kTraditional };

// "simplified" or "traditional", as Config.ini and the command line write
// them; nullopt for any other text.
std::optional<Script> ScriptNamed(std::string_view key);
std::string_view ScriptKey(Script script);

// The script of every text shown from now on; Simplified until set. The
// desktop program sets it from its settings, xuanshu-cli from Config.ini or
// --script.
void SetShownScript(Script script);
Script ShownScript();

// A program text in `script`. Simplified: the text itself. Traditional: at
// each position the longest Simplified entry of the table that starts there
// is replaced by its reviewed form, and a character without an entry stays as
// it is; a whole text of the table thus becomes exactly its reviewed form.
Text InScript(TextView text, Script script);
// InScript in the shown script.
Text Shown(TextView text);

// Back to the program's Simplified text by the same table (the longest
// reviewed form at each position): for what the user picks from the
// program's own lists, or types in Traditional, such as a place name.
Text SimplifiedOf(TextView text);

// One entry of the table: a Simplified text and its reviewed Traditional
// form, of the same length in UTF-16 units.
struct ScriptPair {
  TextView simplified;
  TextView traditional;
};
// Every entry, sorted by the Simplified text.
std::span<const ScriptPair> TraditionalTable();
// The reviewed form of a text of the table; nullopt when the table lacks it.
std::optional<TextView> TraditionalForm(TextView simplified);

}  // namespace xuanshu
