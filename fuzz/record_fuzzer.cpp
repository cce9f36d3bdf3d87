// The record reader and the report renderer on any bytes: the bytes as a
// record file, and their text again as UTF-16LE with a byte-order mark and
// as GBK. Properties: parse -> save -> parse gives the same record; the
// history and the report read the same main keys; rendering twice gives the
// same text; a report is bounded by what a record can hold; the web page
// escapes the record's text; the JSON document parses, holds no raw control
// character and is bounded like the report; the additional pillars render.
#include <iconv.h>

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "fuzz/fuzz_check.h"
#include "record/history_store.h"
#include "record/ini_document.h"
#include "record/record_file.h"
#include "report/chart_json.h"
#include "report/report_output.h"
#include "report/report_renderer.h"

namespace xuanshu {
namespace {

constexpr std::size_t kMaxInput = 64 * 1024;

std::string Utf16LeWithBom(TextView text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

// The text in GBK, characters GBK cannot hold left out.
std::string Gbk(TextView text) {
  static const iconv_t cd = iconv_open("GBK//IGNORE", "UTF-16LE");
  if (cd == reinterpret_cast<iconv_t>(-1)) return {};
  std::string in;
  for (char16_t unit : text) {
    in += static_cast<char>(unit & 0xFF);
    in += static_cast<char>(unit >> 8);
  }
  std::string out(in.size() + 16, '\0');
  char* inPtr = in.data();
  char* outPtr = out.data();
  std::size_t inLeft = in.size(), outLeft = out.size();
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);  // -1 when something was left out
  out.resize(out.size() - outLeft);
  return out;
}

// Everything between <pre class="report"> and </pre> but the colour spans
// must be escaped text, and so must the title.
void CheckHtmlEscaped(const std::string& page) {
  const std::string open = "<pre class=\"report\">";
  const std::string spanOpen = "<span style=\"color:#";
  const std::string spanClose = "</span>";
  const std::size_t start = page.find(open);
  const std::size_t end = page.rfind("</pre>");
  FUZZ_CHECK(start != std::string::npos && end != std::string::npos && start < end);
  for (std::size_t at = start + open.size(); at < end;) {
    if (page.compare(at, spanOpen.size(), spanOpen) == 0) {
      at += spanOpen.size() + 8;  // six hex digits, a quote and ">"
    } else if (page.compare(at, spanClose.size(), spanClose) == 0) {
      at += spanClose.size();
    } else {
      FUZZ_CHECK(page[at] != '<' && page[at] != '>' && page[at] != '"');
      ++at;
    }
  }
  const std::size_t titleEnd = page.find("</title>");
  FUZZ_CHECK(page.find_first_of("<>", page.find("<title>") + 7) == titleEnd);
}

// A JSON document: valid (parsing throws otherwise), no raw control
// character, and like the report bounded by what the record holds.
void CheckJson(const std::string& json, std::size_t recordSize) {
  FUZZ_CHECK(nlohmann::json::accept(json));
  for (std::size_t i = 0; i < json.size(); ++i) {
    const auto byte = static_cast<unsigned char>(json[i]);
    FUZZ_CHECK((byte >= 0x20 && byte != 0x7F) || byte == '\n');
    FUZZ_CHECK(
        !(byte == 0xC2 && i + 1 < json.size() && static_cast<unsigned char>(json[i + 1]) < 0xA0));
  }
  // A value is read at most nine times (one luck pillar key shared by all
  // nine), each read bounded by its capacity; every other item of the
  // document needs a key of its own in the record.
  FUZZ_CHECK(json.size() <= 500000 + 40 * recordSize);
}

void CheckRecord(std::string_view bytes, std::initializer_list<int> layouts) {
  const Text text = DecodeFileBytes(bytes);
  const IniDocument record = IniDocument::Parse(text);

  // Parse -> save -> parse: the saved bytes are a fixed point.
  const std::string saved = ToUtf8(record.Serialize());
  const IniDocument reread = IniDocument::Parse(DecodeFileBytes(saved));
  FUZZ_CHECK(ToUtf8(reread.Serialize()) == saved);
  FUZZ_CHECK(reread.sections().size() == record.sections().size());

  // The history's reader of main keys and the report's agree.
  const RecordMainKeys keys = MainKeysOf(text);
  FUZZ_CHECK(keys.name == record.ReadString(u"main", u"name", 260));
  FUZZ_CHECK(keys.group == record.ReadString(u"main", u"class", 260));

  for (int layout : layouts) {
    IniDocument first = record;
    CollectingSink once;
    RenderChart(first, layout, once);
    if (layout == 1) {
      CollectingSink twice;
      RenderChart(first, layout, twice);
      FUZZ_CHECK(once.PlainText() == twice.PlainText());
    }
    // A computed record's report has some 12,000 characters; a record may
    // add what its own values hold, never a multiple of its counts.
    FUZZ_CHECK(once.PlainText().size() <= 60000 + 8 * text.size());
    if (layout == 1) CheckHtmlEscaped(HtmlPage(once.pieces(), keys.name));
  }
  if (layouts.size() == 0) return;

  IniDocument copy = record;
  CollectingSink extras;
  RenderChart(copy, ReportOptions{.layout = 1, .extras = true}, extras);
  FUZZ_CHECK(extras.PlainText().size() <= 60500 + 8 * text.size());
  CheckJson(ChartJson(record), text.size());

  // Traditional replaces characters one for one, whatever the record holds.
  IniDocument traditionalCopy = record;
  CollectingSink traditional;
  RenderChart(traditionalCopy,
              ReportOptions{.layout = 1, .extras = true, .script = Script::kTraditional},
              traditional);
  FUZZ_CHECK(traditional.PlainText().size() == extras.PlainText().size());
  CheckJson(ChartJson(record, Script::kTraditional), text.size());
}

}  // namespace
}  // namespace xuanshu

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace xuanshu;
  if (size > kMaxInput) return 0;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CheckRecord(bytes, {0, 1, 2});
  const Text text = DecodeFileBytes(bytes);
  const std::string utf16 = Utf16LeWithBom(text);
  FUZZ_CHECK(DecodeFileBytes(utf16) == text);
  CheckRecord(utf16, {});
  CheckRecord(Gbk(text), {});
  return 0;
}
