#pragma once
// Where the program lives: the executable's path and the application folder
// (the folder beside the executable that holds the settings file and, by
// default, the store).
#include <filesystem>

namespace furlong {

// Full path of the running executable; empty when the platform cannot tell.
std::filesystem::path ExecutablePath();

// The application folder: the override when one is set, else the
// executable's folder (empty when unknown, meaning the current directory).
std::filesystem::path ApplicationDir();

// Points ApplicationDir() at another folder (tests, the command line);
// an empty path removes the override.
void SetApplicationDirOverride(const std::filesystem::path& dir);

// The folder where system-wide settings files live: the Windows folder on
// Windows, the user's configuration folder ($XDG_CONFIG_HOME or ~/.config)
// elsewhere.
std::filesystem::path SystemSettingsDir();

}  // namespace furlong
