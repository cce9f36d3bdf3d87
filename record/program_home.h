// Where the program keeps its files: the "program folder".
//
// Like the original desktop program, the data folder, Config.ini and the font
// file live beside the program file. An installed program usually may not
// write there; it then uses the per-user data folder instead, and so does a
// program installed under /usr even when run by root.
#pragma once

#include <filesystem>

namespace xuanshu {

// Full path of the running program file; empty when it cannot be found.
std::filesystem::path ExecutablePath();

// $XDG_DATA_HOME/xuanshu, by default ~/.local/share/xuanshu.
std::filesystem::path UserDataHome();

// programFolder when files can be created in it and it lies outside /usr (the
// system's read-only programs, /usr/bin, /usr/local/bin, …); otherwise
// userHome, created when missing.
std::filesystem::path ChooseProgramHome(const std::filesystem::path& programFolder,
                                        const std::filesystem::path& userHome);

// The program folder of this run: ChooseProgramHome(folder of
// ExecutablePath(), UserDataHome()).
std::filesystem::path ProgramHome();

// home/data: one record file per chart.
std::filesystem::path DataDir(const std::filesystem::path& home);
// home/Config.ini: the settings.
std::filesystem::path ConfigPath(const std::filesystem::path& home);
// The saved report font: the program file's name with its extension replaced
// by ".config" (appended when it has none), in home.
std::filesystem::path FontFilePath(const std::filesystem::path& home,
                                   const std::filesystem::path& executable);

}  // namespace xuanshu
