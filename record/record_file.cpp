#include "record/record_file.h"

#include <fcntl.h>
#include <iconv.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <string>

#include "record/folder_lock.h"
#include "record/script_text.h"

namespace xuanshu {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool HasPrefix(std::string_view bytes, std::string_view prefix) {
  return bytes.substr(0, prefix.size()) == prefix;
}

Text DecodeUtf16Le(std::string_view bytes) {
  Text out;
  out.reserve(bytes.size() / 2 + 1);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    out.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                        (static_cast<unsigned char>(bytes[i + 1]) << 8)));
  }
  if (bytes.size() % 2 != 0) out.push_back(kReplacement);
  return out;
}

// Converter for the legacy code page, opened once per thread. GB18030 is a
// superset of GBK, so every GBK record decodes the same.
class LegacyDecoder {
 public:
  LegacyDecoder() : cd_(iconv_open("UTF-16LE", "GB18030")) {
    if (cd_ == kInvalid) cd_ = iconv_open("UTF-16LE", "GBK");
  }
  ~LegacyDecoder() {
    if (cd_ != kInvalid) iconv_close(cd_);
  }
  LegacyDecoder(const LegacyDecoder&) = delete;
  LegacyDecoder& operator=(const LegacyDecoder&) = delete;

  Text Decode(std::string_view bytes) {
    if (cd_ == kInvalid) return DecodeAsciiOnly(bytes);
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    Text out;
    out.reserve(bytes.size());
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char buffer[4096];
    while (inLeft > 0) {
      char* outPtr = buffer;
      std::size_t outLeft = sizeof buffer;
      const std::size_t rc = iconv(cd_, &in, &inLeft, &outPtr, &outLeft);
      const int error = errno;
      AppendUtf16Le(out, buffer, static_cast<std::size_t>(outPtr - buffer));
      if (rc != static_cast<std::size_t>(-1) || error == E2BIG) continue;
      // EILSEQ: an invalid byte; EINVAL: a sequence cut off at the end.
      out.push_back(kReplacement);
      ++in;
      --inLeft;
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    }
    return out;
  }

 private:
  static inline const iconv_t kInvalid = reinterpret_cast<iconv_t>(-1);

  static void AppendUtf16Le(Text& out, const char* bytes, std::size_t size) {
    for (std::size_t i = 0; i + 1 < size; i += 2) {
      out.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                          (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    }
  }

  static Text DecodeAsciiOnly(std::string_view bytes) {
    Text out;
    out.reserve(bytes.size());
    for (char c : bytes) out.push_back(static_cast<unsigned char>(c) < 0x80 ? c : kReplacement);
    return out;
  }

  iconv_t cd_;
};

// Opens a regular file for reading without blocking on FIFOs or devices.
int OpenRegularFile(const std::filesystem::path& path, struct stat& info) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return -1;
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// Reads up to limit bytes; false on a read error.
bool ReadUpTo(int fd, std::size_t limit, std::string& out) {
  char buffer[65536];
  while (out.size() < limit) {
    const std::size_t want = std::min(sizeof buffer, limit - out.size());
    const ssize_t n = ::read(fd, buffer, want);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) break;
    out.append(buffer, static_cast<std::size_t>(n));
  }
  return true;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

std::filesystem::path FolderOf(const std::filesystem::path& path) {
  const std::filesystem::path folder = path.parent_path();
  return folder.empty() ? std::filesystem::path(".") : folder;
}

// Creates a fresh hidden temporary file beside target: ".<name>.tmp-<pid>-<n>".
// A record's name always ends in ".bze", so no chart can be named like it.
// The temporary is locked while it is open, so a clean-up leaves it alone.
int CreateTempBeside(const std::filesystem::path& target, std::filesystem::path& tempPath) {
  static std::atomic<unsigned> counter{0};
  const std::string stem = "." + target.filename().string() + ".tmp-" + std::to_string(::getpid());
  for (int attempt = 0; attempt < 100; ++attempt) {
    tempPath = FolderOf(target) / (stem + "-" + std::to_string(counter++));
    const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) ::flock(fd, LOCK_EX | LOCK_NB);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// The replacement keeps the permission bits of the regular file it replaces;
// one that replaces a link (or nothing) gets the default mode. Set-user and
// set-group bits are never carried over.
void CopyModeOfExisting(const std::filesystem::path& target, int fd) {
  struct stat info {};
  if (::lstat(target.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
    ::fchmod(fd, info.st_mode & 0777);
  }
}

bool AllDigits(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A temporary is stale once it is older than this and no writer holds it.
constexpr auto kStaleAge = std::chrono::minutes(1);

// Removes one temporary of an interrupted save when it is stale.
void RemoveIfStale(const std::filesystem::path& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return;
  const auto modified = std::chrono::system_clock::from_time_t(info.st_mtime);
  if (std::chrono::system_clock::now() - modified < kStaleAge) return;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (fd < 0) return;
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0) ::unlink(path.c_str());
  ::close(fd);
}

}  // namespace

Text DecodeFileBytes(std::string_view bytes) {
  if (HasPrefix(bytes, "\xFF\xFE")) return DecodeUtf16Le(bytes.substr(2));
  if (HasPrefix(bytes, "\xEF\xBB\xBF")) return FromUtf8(bytes.substr(3));
  if (std::optional<Text> text = FromValidUtf8(bytes)) return std::move(*text);
  thread_local LegacyDecoder legacy;
  return legacy.Decode(bytes);
}

std::optional<std::string> ReadFileHead(const std::filesystem::path& path, std::size_t maxBytes) {
  struct stat info {};
  const int fd = OpenRegularFile(path, info);
  if (fd < 0) return std::nullopt;
  std::string bytes;
  bytes.reserve(std::min<std::size_t>(static_cast<std::size_t>(info.st_size), maxBytes));
  const bool ok = ReadUpTo(fd, maxBytes, bytes);
  ::close(fd);
  if (!ok) return std::nullopt;
  return bytes;
}

FileHeadReader::FileHeadReader(int folder, const char* name, Listed listed) {
  constexpr int kFlags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
  if (listed == Listed::kRegularEntry) {
    fd_ = ::openat(folder, name, kFlags | O_NOFOLLOW);
    return;
  }
  fd_ = ::openat(folder, name, kFlags);
  struct stat info {};
  if (fd_ >= 0 && (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode))) {
    ::close(fd_);
    fd_ = -1;
  }
}

FileHeadReader::~FileHeadReader() {
  if (fd_ >= 0) ::close(fd_);
}

// Reads straight into the caller's buffer, which keeps its capacity from
// file to file.
bool FileHeadReader::ReadUpTo(std::size_t limit, std::string& bytes) {
  std::size_t size = bytes.size();
  if (size >= limit) return true;
  bytes.resize(limit);
  bool ok = true;
  while (size < limit) {
    const ssize_t n = ::read(fd_, bytes.data() + size, limit - size);
    if (n < 0 && errno == EINTR) continue;
    ok = n >= 0;
    if (n <= 0) break;
    size += static_cast<std::size_t>(n);
  }
  bytes.resize(size);
  return ok;
}

std::optional<Text> ReadTextFile(const std::filesystem::path& path, std::size_t maxBytes) {
  struct stat info {};
  const int fd = OpenRegularFile(path, info);
  if (fd < 0) return std::nullopt;
  std::string bytes;
  bool ok = static_cast<std::size_t>(info.st_size) <= maxBytes;
  if (ok) {
    bytes.reserve(static_cast<std::size_t>(info.st_size));
    // One byte more than allowed tells a file that grew past the cap.
    ok = ReadUpTo(fd, maxBytes + 1, bytes) && bytes.size() <= maxBytes;
  }
  ::close(fd);
  if (!ok) return std::nullopt;
  return DecodeFileBytes(bytes);
}

std::optional<std::filesystem::path> WriteTemporaryBeside(const std::filesystem::path& target,
                                                          std::string_view bytes, bool flush) {
  std::filesystem::path tempPath;
  const int fd = CreateTempBeside(target, tempPath);
  if (fd < 0) return std::nullopt;
  CopyModeOfExisting(target, fd);
  bool ok = WriteAll(fd, bytes) && (!flush || ::fsync(fd) == 0);
  int error = ok ? 0 : errno;
  if (::close(fd) != 0 && ok) {
    ok = false;
    error = errno;
  }
  if (!ok) {
    ::unlink(tempPath.c_str());
    errno = error;
    return std::nullopt;
  }
  return tempPath;
}

void SyncFolder(const std::filesystem::path& folder) {
  const int saved = errno;
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);  // some file systems refuse it; the rename has happened by then
    ::close(fd);
  }
  errno = saved;
}

bool WriteFileAtomic(const std::filesystem::path& path, std::string_view bytes) {
  const std::optional<std::filesystem::path> tempPath = WriteTemporaryBeside(path, bytes, true);
  if (!tempPath) return false;
  if (::rename(tempPath->c_str(), path.c_str()) != 0) {
    const int error = errno;
    ::unlink(tempPath->c_str());
    errno = error;
    return false;
  }
  SyncFolder(FolderOf(path));
  return true;
}

bool IsTemporaryFileName(std::string_view name) {
  // ".<file>.tmp-<pid>-<n>"
  if (name.size() < 2 || name[0] != '.') return false;  // a record's name ends here
  const std::size_t dash = name.rfind('-');
  const std::size_t tmp = name.rfind(".tmp-");
  if (dash == std::string_view::npos || tmp == std::string_view::npos || tmp < 2 ||
      tmp + 5 > dash) {
    return false;
  }
  return AllDigits(name.substr(tmp + 5, dash - tmp - 5)) && AllDigits(name.substr(dash + 1));
}

void RemoveStaleTemporaries(const std::vector<std::filesystem::path>& temporaries) {
  for (const std::filesystem::path& path : temporaries) {
    // A program that holds the folder may be about to rename it into place.
    const FolderLock lock = FolderLock::TryLock(FolderOf(path));
    if (!lock.busy()) RemoveIfStale(path);
  }
}

bool FolderIsWritable(const std::filesystem::path& folder) {
  struct stat info {};
  return ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
         ::access(folder.c_str(), W_OK | X_OK) == 0;
}

IniDocument LoadIniFile(const std::filesystem::path& path) {
  const std::optional<Text> text = ReadTextFile(path);
  return text ? IniDocument::Parse(*text) : IniDocument{};
}

bool SaveIniFile(const IniDocument& doc, const std::filesystem::path& path) {
  const FolderLock lock = FolderLock::Lock(FolderOf(path));
  if (lock.busy()) {
    errno = EWOULDBLOCK;
    return false;
  }
  return WriteFileAtomic(path, doc.SerializeUtf8());
}

bool UpdateIniFile(const std::filesystem::path& path,
                   const std::function<void(IniDocument&)>& edit) {
  const FolderLock lock = FolderLock::Lock(FolderOf(path));
  if (lock.busy()) {
    errno = EWOULDBLOCK;
    return false;
  }
  IniDocument doc;
  if (std::optional<Text> text = ReadTextFile(path)) {
    doc = IniDocument::Parse(*text);
  } else {
    std::error_code ec;
    if (std::filesystem::exists(path, ec) || ec) return false;
  }
  edit(doc);
  return SaveIniFile(doc, path);
}

void RemoveStaleTemporariesIn(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> temporaries;
  std::error_code ec;
  std::filesystem::directory_iterator it(folder, ec);
  for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
    if (IsTemporaryFileName(it->path().filename().native())) temporaries.push_back(it->path());
  }
  RemoveStaleTemporaries(temporaries);
}

Text FileErrorText(int error) {
  switch (error) {
    case ENOTDIR:
    case EEXIST:
    case ELOOP:
      return Shown(u"路径中有一段不是文件夹");
    case ENOENT:
      return Shown(u"文件夹不存在");
    case ENAMETOOLONG:
      return Shown(u"路径过长");
    case EACCES:
    case EPERM:
      return Shown(u"没有写入权限");
    case EROFS:
      return Shown(u"文件系统只读");
    case ENOSPC:
    case EDQUOT:
      return Shown(u"磁盘空间不足");
    case EISDIR:
      return Shown(u"同名的文件夹已存在");
    case EWOULDBLOCK:
      return Shown(u"排盘记录正被其他程序修改，请稍后再试");
    default:
      return Shown(u"写入失败（错误") + Num(error) + u"）";
  }
}

int WriteOutputFile(const std::filesystem::path& path, std::string_view bytes) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0 || S_ISREG(info.st_mode)) {
    return WriteFileAtomic(path, bytes) ? 0 : errno;
  }
  if (S_ISDIR(info.st_mode)) return EISDIR;
  // A link, a pipe or a device: written through, as a shell's redirection does.
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY, 0666);
  if (fd < 0) return errno;
  int error = 0;
  if (::fstat(fd, &info) != 0) {
    error = errno;
  } else if (S_ISDIR(info.st_mode) || S_ISBLK(info.st_mode) || S_ISSOCK(info.st_mode)) {
    error = EPERM;  // never a disk or a socket
  } else if (!WriteAll(fd, bytes)) {
    error = errno;
  }
  if (::close(fd) != 0 && error == 0) error = errno;
  return error;
}

bool WriteProfileString(const std::filesystem::path& path, TextView section, TextView key,
                        TextView value) {
  return UpdateIniFile(path, [&](IniDocument& doc) { doc.Set(section, key, value); });
}

std::filesystem::path PathFromText(TextView text) {
  return std::filesystem::path(ToUtf8(text));
}

Text TextFromPath(const std::filesystem::path& path) {
  return FromUtf8(path.native());
}

}  // namespace xuanshu
