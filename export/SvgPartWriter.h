#pragma once

#include <QByteArray>
#include <QRect>
#include <QString>
#include <functional>

class QIODevice;
class QPainter;

namespace vedivez {

// Writes one SVG document part by part, each part painted through Qt's SVG generator. The
// generator keeps its whole document in memory until it ends, which a panel of a million
// elements would not fit; so every part is generated on its own and only its drawing is
// appended to the output, below the document head of the first part.
class SvgPartWriter {
public:
    SvgPartWriter(QIODevice& out, const QRect& viewBox, const QSize& size, const QString& title);

    // Paints one part in the coordinates of the view box. Throws std::runtime_error when the
    // generator's output does not have the expected head and tail.
    void AddPart(const std::function<void(QPainter&)>& paint);

    // Closes the document (also when no part was added).
    void Finish();

private:
    QByteArray Generate(const std::function<void(QPainter&)>& paint) const;
    void Write(const QByteArray& bytes);

    QIODevice& out_;
    QRect viewBox_;
    QSize size_;
    QString title_;
    QByteArray head_;
};

} // namespace vedivez
