#include "record/script_text.h"

#include <algorithm>
#include <atomic>
#include <unordered_map>
#include <vector>

namespace xuanshu {
namespace {

// kTraditionalForms, sorted by the Simplified text.
#include "record/traditional_table.inc"

std::atomic<Script> shownScript{Script::kSimplified};

// Replaces, at each position, the longest `from` text of the table that
// starts there by its `to` text.
class LongestMatch {
 public:
  LongestMatch(TextView ScriptPair::*from, TextView ScriptPair::*to) : from_(from), to_(to) {
    for (const ScriptPair& pair : kTraditionalForms) {
      const TextView key = pair.*from_;
      if (!key.empty()) byFirstUnit_[key.front()].push_back(&pair);
    }
    for (auto& [unit, pairs] : byFirstUnit_) {
      std::stable_sort(pairs.begin(), pairs.end(),
                       [this](const ScriptPair* a, const ScriptPair* b) {
                         return (a->*from_).size() > (b->*from_).size();
                       });
    }
  }

  Text Convert(TextView text) const {
    Text out;
    out.reserve(text.size());
    std::size_t at = 0;
    while (at < text.size()) {
      const ScriptPair* match = LongestAt(text.substr(at));
      if (match == nullptr) {
        out += text[at++];
        continue;
      }
      out += match->*to_;
      at += (match->*from_).size();
    }
    return out;
  }

 private:
  const ScriptPair* LongestAt(TextView rest) const {
    const auto found = byFirstUnit_.find(rest.front());
    if (found == byFirstUnit_.end()) return nullptr;
    for (const ScriptPair* pair : found->second) {
      if (rest.starts_with(pair->*from_)) return pair;
    }
    return nullptr;
  }

  TextView ScriptPair::*from_;
  TextView ScriptPair::*to_;
  // Entries by their first code unit, longest first.
  std::unordered_map<char16_t, std::vector<const ScriptPair*>> byFirstUnit_;
};

const LongestMatch& ToTraditional() {
  static const LongestMatch match(&ScriptPair::simplified, &ScriptPair::traditional);
  return match;
}

const LongestMatch& ToSimplified() {
  static const LongestMatch match(&ScriptPair::traditional, &ScriptPair::simplified);
  return match;
}

}  // namespace

std::optional<Script> ScriptNamed(std::string_view key) {
  if (key == "simplified") return Script::kSimplified;
  if (key == "traditional") return Script::kTraditional;
  return std::nullopt;
}

std::string_view ScriptKey(Script script) {
  return script == Script::kTraditional ? "traditional" : "simplified";
}

void SetShownScript(Script script) {
  shownScript.store(script);
}

Script ShownScript() {
  return shownScript.load();
}

Text InScript(TextView text, Script script) {
  if (script == Script::kSimplified) return Text(text);
  return ToTraditional().Convert(text);
}

Text Shown(TextView text) {
  return InScript(text, ShownScript());
}

Text SimplifiedOf(TextView text) {
  return ToSimplified().Convert(text);
}

std::span<const ScriptPair> TraditionalTable() {
  return kTraditionalForms;
}

std::optional<TextView> TraditionalForm(TextView simplified) {
  const auto found =
      std::lower_bound(std::begin(kTraditionalForms), std::end(kTraditionalForms), simplified,
                       [](const ScriptPair& pair, TextView key) { return pair.simplified < key; });
  if (found == std::end(kTraditionalForms) || found->simplified != simplified) return std::nullopt;
  return found->traditional;
}

}  // namespace xuanshu
