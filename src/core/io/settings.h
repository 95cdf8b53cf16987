#pragma once

// Init.ini, the installation-wide settings beside the program: the drawing
// and image folders and the unit tables.

#include <string>

#include "model/unit_tables.h"

namespace planimo {

// The settings file in `programFolder`; a folder already ending in "/" or
// "\" gets no second separator, and an empty folder means the current one.
std::string SettingsPath(const std::string& programFolder);

// Reads the folders, unit captions (each followed by one blank) and the five
// coefficient tables, then fills whatever the file lacks (a missing file, a
// missing or zero coefficient, an empty caption) from the built-in tables.
void ReadSettings(const std::string& iniPath, AppSettings& out);

// Stores PRJ_FD and then MAP_FD in one rewrite of the file; an empty folder is
// not written, so the file keeps its previous value. False when the file
// could not be read or written, or when there is no file (an empty path).
bool WriteFolders(const std::string& iniPath, const AppSettings& settings);

}  // namespace planimo
