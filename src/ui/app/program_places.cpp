#include "app/program_places.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include "io/settings.h"

namespace planimo {
namespace {

QString FromStd(const std::string& s) { return QString::fromStdString(s); }

class DiskFacts : public FileFacts {
 public:
  bool IsFile(const std::string& path) const override { return QFileInfo(FromStd(path)).isFile(); }

  // The settings writer replaces the file through a new one in the same
  // folder and leaves a file alone whose owner may not write it, even when
  // this user is root.
  bool IsWritableFile(const std::string& path) const override {
    const QFileInfo file(FromStd(path));
    return file.isWritable() && file.permission(QFileDevice::WriteOwner) &&
           QFileInfo(file.absolutePath()).isWritable();
  }

  // A fresh file, so the copy does not inherit a read-only installation's
  // permissions.
  bool CopyFile(const std::string& from, const std::string& to) override {
    QFile source(FromStd(from));
    if (!source.open(QIODevice::ReadOnly)) return false;
    const QByteArray bytes = source.readAll();
    if (source.error() != QFileDevice::NoError) return false;
    if (!QDir().mkpath(QFileInfo(FromStd(to)).absolutePath())) return false;
    QSaveFile target(FromStd(to));
    if (!target.open(QIODevice::WriteOnly)) return false;
    if (target.write(bytes) != bytes.size()) {
      target.cancelWriting();
      return false;
    }
    return target.commit();
  }
};

}  // namespace

ProgramPlaces PlacesInFolder(const QString& folder) {
  const QString ini = FromStd(SettingsPath(folder.toStdString()));
  return {folder, ini, ini};
}

InstallFolders RunningInstallFolders() {
  const QDir program(QCoreApplication::applicationDirPath());
  const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  return {program.path().toStdString(),
          QDir::cleanPath(program.filePath(QStringLiteral(PLANIMO_SHARED_FROM_PROGRAM))).toStdString(),
          config.isEmpty() ? std::string() : QDir(config).filePath(QStringLiteral("planimo")).toStdString()};
}

ProgramPlaces LocateProgramPlaces(const InstallFolders& folders) {
  DiskFacts facts;
  const SettingsFiles settings = ChooseSettingsFiles(folders, facts);
  return {FromStd(ShippedFilesFolder(folders, facts)), FromStd(settings.read), FromStd(settings.write)};
}

}  // namespace planimo
