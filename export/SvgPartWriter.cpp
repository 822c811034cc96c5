#include "export/SvgPartWriter.h"

#include <QBuffer>
#include <QPainter>
#include <QSvgGenerator>
#include <stdexcept>

namespace vedivez {

namespace {

// What the generator ends every document with: its default group and the root element.
const QByteArray kTail = "</g>\n</svg>\n";

} // namespace

SvgPartWriter::SvgPartWriter(QIODevice& out, const QRect& viewBox, const QSize& size,
                             const QString& title)
    : out_(out), viewBox_(viewBox), size_(size), title_(title) {}

QByteArray SvgPartWriter::Generate(const std::function<void(QPainter&)>& paint) const {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setViewBox(viewBox_);
    generator.setSize(size_);
    generator.setTitle(title_);
    generator.setDescription(QStringLiteral("Station panel drawn by vedivez-tool"));
    QPainter painter(&generator);
    painter.setRenderHint(QPainter::Antialiasing, false);
    paint(painter);
    painter.end();
    return buffer.data();
}

void SvgPartWriter::Write(const QByteArray& bytes) {
    if (out_.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write the SVG file: " + out_.errorString().toStdString());
}

void SvgPartWriter::AddPart(const std::function<void(QPainter&)>& paint) {
    const QByteArray text = Generate(paint);
    // The head runs to the end of the line that opens the generator's default group, which
    // follows the (here always empty) definitions.
    const qsizetype defs = text.indexOf("<defs>\n</defs>\n");
    const qsizetype groupEnd = defs < 0 ? -1 : text.indexOf(">\n", defs + 15);
    if (groupEnd < 0 || !text.endsWith(kTail))
        throw std::runtime_error("unexpected output of the SVG generator");
    const QByteArray head = text.left(groupEnd + 2);
    if (head_.isEmpty()) {
        head_ = head;
        Write(head_);
    } else if (head != head_) {
        throw std::runtime_error("unexpected output of the SVG generator");
    }
    Write(text.mid(head.size(), text.size() - head.size() - kTail.size()));
}

void SvgPartWriter::Finish() {
    if (head_.isEmpty())
        AddPart([](QPainter&) {});
    Write(kTail);
}

} // namespace vedivez
