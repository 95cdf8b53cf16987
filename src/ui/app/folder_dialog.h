#pragma once

// dlgFolda "フォルダ設定": changes the image folder MAP_FD and the drawing
// folder PRJ_FD and stores them in Init.ini.

#include <QDialog>
#include <QString>
#include <functional>
#include <string>

#include "model/unit_tables.h"

class QLineEdit;

namespace planimo {

// Asks for a folder; an empty answer means the user cancelled.
using FolderBrowser = std::function<QString(QWidget* owner, const QString& prompt, const QString& start)>;

// The platform's folder chooser, restricted to folders.
QString BrowseForFolder(QWidget* owner, const QString& prompt, const QString& start);

class FolderDialog : public QDialog {
  Q_OBJECT

 public:
  FolderDialog(AppSettings& settings, std::string iniPath, QWidget* parent = nullptr,
               FolderBrowser browser = BrowseForFolder);

  // cmdSansyou(i): i = 0 browses for the image folder, 1 for the drawing folder.
  void browse(int index);

 public slots:
  void accept() override;

 private:
  AppSettings& settings_;
  std::string iniPath_;
  FolderBrowser browse_;
  QLineEdit* txtPict_;
  QLineEdit* txtZumen_;
};

}  // namespace planimo
