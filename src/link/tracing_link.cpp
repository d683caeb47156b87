#include "link/tracing_link.h"

namespace zx {

QString TracingLink::line(std::int64_t atUs, bool sent, const QByteArray& bytes) {
    const std::int64_t tenths = (std::max<std::int64_t>(atUs, 0) + 50) / 100;
    const QString ms = QString::number(tenths / 10) + '.' + QString::number(tenths % 10);
    QString text = ms.rightJustified(10) + (sent ? QStringLiteral(" ->") : QStringLiteral(" <-"));
    for (const char c : bytes)
        text += ' ' + QString::number(static_cast<unsigned char>(c), 16)
                          .rightJustified(2, QLatin1Char('0'))
                          .toUpper();
    return text;
}

void TracingLink::write(const QByteArray& bytes) {
    // The moment the burst was handed to the line; reported once the link has taken it.
    const std::int64_t at = nowUs_();
    inner_.write(bytes);
    if (!bytes.isEmpty()) sink_(line(at, true, bytes));
}

QByteArray TracingLink::readAvailable(int maxBytes) {
    const QByteArray bytes = inner_.readAvailable(maxBytes);
    if (!bytes.isEmpty()) sink_(line(nowUs_(), false, bytes));
    return bytes;
}

void WireTraceLog::start(const QString& comment) {
    started_.restart();
    if (!comment.isEmpty()) text_ += "# " + comment.toUtf8() + '\n';
}

TracingLink::TimeSource WireTraceLog::timeSource() const {
    return [this] { return started_.nsecsElapsed() / 1000; };
}

TracingLink::Sink WireTraceLog::sink() {
    return [this](const QString& line) { text_ += line.toLatin1() + '\n'; };
}

} // namespace zx
