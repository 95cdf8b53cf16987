#pragma once

// Where this run of the program finds its help and keeps its settings.

#include <QString>

#include "io/settings_place.h"

namespace planimo {

struct ProgramPlaces {
  QString shippedFolder;      // help.chm, help/ and the default Init.ini
  QString settingsFile;       // the Init.ini read at start
  QString settingsWriteFile;  // where folder choices go; empty: this run only
};

// A folder that holds everything itself and is written in place: a build, a
// portable copy, a test's folder.
ProgramPlaces PlacesInFolder(const QString& folder);

// The running executable's folder, the installation's shared folder beside
// it, and the user's configuration folder for Planimo.
InstallFolders RunningInstallFolders();

// Chooses the shipped folder and the settings file from the file system,
// copying the installation's Init.ini to the user's folder on a first start.
ProgramPlaces LocateProgramPlaces(const InstallFolders& folders);

}  // namespace planimo
