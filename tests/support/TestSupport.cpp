#include "TestSupport.h"

#include <QFile>
#include <gtest/gtest.h>

namespace vedivez::test {

std::string ReadBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return "<missing>";
    const QByteArray data = f.readAll();
    return std::string(data.constData(), static_cast<size_t>(data.size()));
}

void WriteBytes(const QString& path, const std::string& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(f.write(bytes.data(), static_cast<qint64>(bytes.size())),
              static_cast<qint64>(bytes.size()));
}

QString DataPath(const QString& name) {
    return QStringLiteral(VEDIVEZ_TEST_DATA "/") + name;
}

} // namespace vedivez::test
