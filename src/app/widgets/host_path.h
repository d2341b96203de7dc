#pragma once

#include <QFile>
#include <QString>
#include <filesystem>

namespace vantrel::app {

// A path from a file dialog as the system spells it, for the host file readers and writers.
inline std::filesystem::path HostPath(const QString& path) {
  return std::filesystem::path(QFile::encodeName(path).toStdString());
}

}  // namespace vantrel::app
