// Reading and writing record and settings files on disk.
//
// Files are written as UTF-8 without BOM with CR LF line ends, atomically:
// a temporary file in the same folder, flushed to disk, then renamed over the
// old one. Readers also accept LF, UTF-16LE with BOM, and legacy GBK files.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "record/ini_document.h"
#include "record/text.h"

namespace xuanshu {

// Decodes file bytes: UTF-16LE with BOM, UTF-8 (BOM optional), else GBK.
Text DecodeFileBytes(std::string_view bytes);

// Whole file as text; nullopt when it cannot be read. Reads at most
// maxBytes (files beyond it are refused) so a stray huge file cannot stall.
std::optional<Text> ReadTextFile(const std::filesystem::path& path,
                                 std::size_t maxBytes = 64u << 20);

// The first maxBytes bytes of a regular file (all of a shorter one);
// nullopt when it cannot be opened or is no regular file.
std::optional<std::string> ReadFileHead(const std::filesystem::path& path, std::size_t maxBytes);

// A regular file opened for reading its beginning in steps, so a caller that
// usually needs only a small head reads no more. Closed when it goes.
class FileHeadReader {
 public:
  // How much is known of the file before it is opened.
  enum class Listed {
    kAnyEntry,      // nothing: checked to be a regular file once open
    kRegularEntry,  // its folder listed it as a regular file, not a link
  };
  // The file `name` in the open folder `folder`, or the path `name` with
  // folder AT_FDCWD. Not opened (ok() false) when missing, unreadable or no
  // regular file. A kRegularEntry is opened without following a link and not
  // checked again: one swapped for a link since is refused, and one swapped
  // for a pipe or device cannot block the read.
  FileHeadReader(int folder, const char* name, Listed listed = Listed::kAnyEntry);
  ~FileHeadReader();
  FileHeadReader(const FileHeadReader&) = delete;
  FileHeadReader& operator=(const FileHeadReader&) = delete;

  bool ok() const { return fd_ >= 0; }
  // Reads on from where bytes ends until it holds `limit` bytes or the whole
  // file; false on a read error.
  bool ReadUpTo(std::size_t limit, std::string& bytes);

 private:
  int fd_ = -1;
};

// Writes bytes to a fresh hidden temporary beside target
// (".<name>.tmp-<pid>-<n>", which the history listing skips), with the
// permission bits of an existing target, flushed to disk when `flush`.
// Nullopt on failure, with nothing left behind.
std::optional<std::filesystem::path> WriteTemporaryBeside(const std::filesystem::path& target,
                                                          std::string_view bytes, bool flush);
// Makes renames inside the folder durable; failures are ignored.
void SyncFolder(const std::filesystem::path& folder);

// Writes bytes atomically; false (and the old file untouched) on any failure,
// with errno telling why. A regular file keeps its permission bits; a file
// that replaces a link gets the default mode.
bool WriteFileAtomic(const std::filesystem::path& path, std::string_view bytes);

// True for the name of a temporary that WriteTemporaryBeside made.
bool IsTemporaryFileName(std::string_view name);
// Removes those of the temporaries that are stale: older than a minute, not
// held by their writer, and not in a folder another program holds locked.
void RemoveStaleTemporaries(const std::vector<std::filesystem::path>& temporaries);

// The same for the temporaries directly in one folder.
void RemoveStaleTemporariesIn(const std::filesystem::path& folder);

// What failed, in words for the user, for an errno of a failed write.
Text FileErrorText(int error);

// A file the user names for output: a missing or regular file is replaced
// atomically; a link, pipe or terminal is written through; a folder, disk or
// socket is refused. 0 when done, else the errno.
int WriteOutputFile(const std::filesystem::path& path, std::string_view bytes);

// True when files can be created in the folder.
bool FolderIsWritable(const std::filesystem::path& folder);

// Record / INI file: parse (missing or unreadable file -> empty document).
IniDocument LoadIniFile(const std::filesystem::path& path);
// Serialises to UTF-8 with CR LF and writes atomically, holding the lock of
// the file's folder (record/folder_lock.h); errno tells why it failed
// (EWOULDBLOCK: another program held the lock too long).
bool SaveIniFile(const IniDocument& doc, const std::filesystem::path& path);

// Load, edit, save, all under the lock of the file's folder, so no other
// save comes in between. Refused (false) when an existing file cannot be
// read, so a write never throws away what is there.
bool UpdateIniFile(const std::filesystem::path& path,
                   const std::function<void(IniDocument&)>& edit);

// One profile-string write into a file on disk: load, set, save.
bool WriteProfileString(const std::filesystem::path& path, TextView section, TextView key,
                        TextView value);

// Path <-> UTF-16 names.
std::filesystem::path PathFromText(TextView text);
Text TextFromPath(const std::filesystem::path& path);

}  // namespace xuanshu
