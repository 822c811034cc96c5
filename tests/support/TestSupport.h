#pragma once

#include <QString>
#include <QTemporaryDir>
#include <string>

namespace vedivez::test {

// Reads a whole file as raw bytes; an unreadable file reads as "<missing>".
std::string ReadBytes(const QString& path);

// Writes raw bytes to a file, replacing it; fails the current test on error.
void WriteBytes(const QString& path, const std::string& bytes);

// Path of a file in the committed test data folder.
QString DataPath(const QString& name);

} // namespace vedivez::test
