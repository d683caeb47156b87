#include "files/ini_file.h"

#include "files/cp1250.h"
#include "files/file_bytes.h"

#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>

#include <limits>

namespace zx {

namespace {

bool sameName(const QString& a, const QString& b) {
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

// Values are single lines; quotes around a whole value are not part of it.
QString cleanValue(QString v) {
    v = v.trimmed();
    if (v.size() >= 2 && v.startsWith(QLatin1Char('"')) && v.endsWith(QLatin1Char('"')))
        v = v.mid(1, v.size() - 2);
    return v;
}

QString oneLine(QString text) {
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

} // namespace

QString IniFile::decode(const QByteArray& bytes) {
    QByteArray body = bytes;
    if (body.startsWith("\xEF\xBB\xBF")) return QString::fromUtf8(body.mid(3));
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString asUtf8 = utf8.decode(body);
    if (!utf8.hasError()) return asUtf8;
    return fromCp1250(
        RawText(std::string_view(body.constData(), static_cast<std::size_t>(body.size()))));
}

IniFile::IniFile(const QString& path) : path_(path) {
    // A settings file is a few hundred bytes; anything far larger is not one.
    const FileReadResult file = readFileBytes(path, MaxFileSize);
    if (file.ok())
        parse(file.bytes);
    else if (QFileInfo::exists(path))
        unreadable_ = file.message;
}

IniFile IniFile::fromBytes(const QByteArray& bytes, const QString& path) {
    IniFile ini;
    ini.path_ = path;
    ini.parse(bytes);
    return ini;
}

void IniFile::parse(const QByteArray& bytes) {
    const QString text = decode(bytes);
    Section* current = nullptr;
    for (QString line : text.split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        const QString t = line.trimmed();
        const qsizetype close = t.lastIndexOf(QLatin1Char(']'));
        if (t.startsWith(QLatin1Char('[')) && close > 0) {
            const QString name = t.mid(1, close - 1).trimmed();
            current = find(name);
            if (!current) {
                sections_.push_back(Section{name, {}});
                current = &sections_.back();
            }
            continue;
        }
        Line l;
        l.raw = line;
        const qsizetype eq = t.indexOf(QLatin1Char('='));
        if (eq > 0 && !t.startsWith(QLatin1Char(';'))) {
            l.key = t.left(eq).trimmed();
            l.value = cleanValue(t.mid(eq + 1));
        }
        if (current)
            current->lines.push_back(l);
        else
            preamble_.push_back(line);
    }
    // The text's own last line end leaves one empty line behind.
    if (!sections_.empty() && !sections_.back().lines.empty() &&
        sections_.back().lines.back().raw.isEmpty() && sections_.back().lines.back().key.isEmpty())
        sections_.back().lines.pop_back();
    else if (sections_.empty() && !preamble_.empty() && preamble_.back().isEmpty())
        preamble_.pop_back();
}

QStringList IniFile::sections() const {
    QStringList names;
    for (const Section& s : sections_)
        names << s.name;
    return names;
}

const IniFile::Section* IniFile::find(const QString& section) const {
    for (const Section& s : sections_)
        if (sameName(s.name, section)) return &s;
    return nullptr;
}

IniFile::Section* IniFile::find(const QString& section) {
    return const_cast<Section*>(static_cast<const IniFile*>(this)->find(section));
}

const IniFile::Line* IniFile::findKey(const Section& s, const QString& key) {
    for (const Line& l : s.lines)
        if (!l.key.isEmpty() && sameName(l.key, key)) return &l;
    return nullptr;
}

bool IniFile::hasSection(const QString& section) const {
    return find(section) != nullptr;
}

bool IniFile::hasKey(const QString& section, const QString& key) const {
    const Section* s = find(section);
    return s && findKey(*s, key);
}

QString IniFile::readString(const QString& section, const QString& key,
                            const QString& fallback) const {
    const Section* s = find(section);
    const Line* l = s ? findKey(*s, key) : nullptr;
    return l ? l->value : fallback;
}

int IniFile::readInteger(const QString& section, const QString& key, int fallback) const {
    const QString text = readString(section, key, QString()).trimmed();
    if (text.isEmpty()) return fallback;
    bool ok = false;
    qlonglong v = 0;
    if (text.startsWith(QLatin1Char('$')))
        v = text.mid(1).toLongLong(&ok, 16);
    else if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        v = text.mid(2).toLongLong(&ok, 16);
    else
        v = text.toLongLong(&ok, 10);
    if (!ok || v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
        return fallback;
    return static_cast<int>(v);
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value) {
    const QString name = oneLine(section).trimmed();
    const QString k = oneLine(key).trimmed();
    const QString v = oneLine(value);
    Section* s = find(name);
    if (!s) {
        sections_.push_back(Section{name, {}});
        s = &sections_.back();
    }
    Line line{k, v.trimmed(), k + QLatin1Char('=') + v};
    for (Line& l : s->lines) {
        if (!l.key.isEmpty() && sameName(l.key, k)) {
            line.raw = l.key + QLatin1Char('=') + v;
            line.key = l.key;
            l = line;
            return;
        }
    }
    // After the section's last key, before any blank lines that close it.
    auto at = s->lines.end();
    while (at != s->lines.begin() && std::prev(at)->key.isEmpty() &&
           std::prev(at)->raw.trimmed().isEmpty())
        --at;
    s->lines.insert(at, line);
}

void IniFile::writeInteger(const QString& section, const QString& key, int value) {
    writeString(section, key, QString::number(value));
}

QByteArray IniFile::toBytes() const {
    QString text;
    for (const QString& l : preamble_)
        text += l + QLatin1String("\r\n");
    for (const Section& s : sections_) {
        text += QLatin1Char('[') + s.name + QLatin1String("]\r\n");
        for (const Line& l : s.lines)
            text += l.raw + QLatin1String("\r\n");
    }
    const RawText bytes = toCp1250(text);
    return QByteArray(bytes.view().data(), static_cast<qsizetype>(bytes.size()));
}

bool IniFile::save(QString* error) const {
    // Saving what could be read of a file that could not be read would lose the rest of it.
    if (!unreadable_.isEmpty()) {
        if (error) *error = unreadable_;
        return false;
    }
    QDir().mkpath(QFileInfo(path_).absolutePath());
    const FileWriteResult written = writeFileAtomically(path_, toBytes());
    if (!written.ok && error) *error = written.message;
    return written.ok;
}

} // namespace zx
