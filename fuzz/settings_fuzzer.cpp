// The settings readers on any bytes: Config.ini and the saved font file.
// Properties: the settings read as the record reader reads the file; a
// written pane width reads back clamped and leaves the other settings as
// they were; a font record survives encode -> decode.
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "record/app_config.h"
#include "record/font_file.h"
#include "record/record_file.h"

namespace xuanshu {
namespace {

// A folder of this run in memory when possible: settings are saved with a
// flush to disk.
std::filesystem::path ScratchFolder() {
  static const std::filesystem::path folder = [] {
    std::string base = std::filesystem::exists("/dev/shm") ? "/dev/shm" : "/tmp";
    std::string pattern = base + "/xuanshu-fuzz-XXXXXX";
    const char* made = ::mkdtemp(pattern.data());
    FUZZ_CHECK(made != nullptr);
    return std::filesystem::path(made);
  }();
  static const bool removedAtExit = [] {
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(folder, ignored);
    });
    return true;
  }();
  (void)removedAtExit;
  return folder;
}

int Clamped(long long value) {
  return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

}  // namespace
}  // namespace xuanshu

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace xuanshu;
  if (size > 64 * 1024) return 0;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  const FontRecord font = DecodeFontRecord(bytes);
  const std::string encoded = EncodeFontRecord(font);
  FUZZ_CHECK(encoded.size() == kFontRecordSize);
  FUZZ_CHECK(DecodeFontRecord(encoded) == font);
  FUZZ_CHECK(encoded == std::string(bytes.substr(0, kFontRecordSize)) +
                            std::string(kFontRecordSize - std::min(size, kFontRecordSize), '\0'));
  FontRecord named;
  SetFaceName(named, DecodeFileBytes(bytes));
  FUZZ_CHECK(FaceName(named).size() < kFaceNameUnits);

  const std::filesystem::path path = ScratchFolder() / "Config.ini";
  FUZZ_CHECK(WriteFileAtomic(path, bytes));
  const IniDocument doc = IniDocument::Parse(DecodeFileBytes(bytes));
  const AppConfig config(path);
  const int layout = config.ReadLayout();
  FUZZ_CHECK(layout == Clamped(doc.ReadInt(u"Option", u"format", 0)));
  const PaneWidth width = config.ReadPaneWidth();
  FUZZ_CHECK(width.cx == Clamped(doc.ReadInt(u"Option", u"cx", kDefaultPaneWidth)));
  const int wanted = static_cast<int>(size * 7) - 100;
  FUZZ_CHECK(config.WritePaneWidth(wanted));
  FUZZ_CHECK(config.ReadPaneWidth().cx == std::clamp(wanted, kMinPaneWidth, kMaxPaneWidth));
  FUZZ_CHECK(config.ReadLayout() == layout);
  return 0;
}
