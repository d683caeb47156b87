#pragma once
// A Windows-style INI file as the program keeps its settings: sections in the order of the
// file, section and key names compared without regard to case, text in Windows-1250 (a file in
// UTF-8 is read too). Comments and lines it does not understand survive a rewrite.
#include <QString>
#include <QStringList>

#include <vector>

namespace zx {

class IniFile {
  public:
    // Settings files larger than this are not read.
    static constexpr qint64 MaxFileSize = 1024 * 1024;

    // Reads the file; a missing or unreadable file reads as empty. An existing file that cannot
    // be read is never overwritten by save().
    explicit IniFile(const QString& path);
    // The settings held in `bytes`, to be saved (if at all) as `path`.
    static IniFile fromBytes(const QByteArray& bytes, const QString& path = QString());

    const QString& path() const { return path_; }
    // Section names in the order they first appear in the file.
    QStringList sections() const;
    bool hasSection(const QString& section) const;
    bool hasKey(const QString& section, const QString& key) const;
    QString readString(const QString& section, const QString& key, const QString& fallback) const;
    // Decimal, or hexadecimal with "0x" or "$"; anything else gives the fallback.
    int readInteger(const QString& section, const QString& key, int fallback) const;

    // Replaces the key's value in place, or adds the key (and the section) at the end.
    void writeString(const QString& section, const QString& key, const QString& value);
    void writeInteger(const QString& section, const QString& key, int value);

    // The file's bytes as save() writes them: Windows-1250, CR LF line ends.
    QByteArray toBytes() const;
    // Writes the whole file at once (never half-written); false with a reason on failure, also
    // when the file existed but could not be read.
    bool save(QString* error = nullptr) const;

    // Text of the file's bytes: UTF-8 when they are valid UTF-8, Windows-1250 otherwise.
    static QString decode(const QByteArray& bytes);

  private:
    IniFile() = default;
    void parse(const QByteArray& bytes);

    struct Line {
        QString key; // empty for a comment, a blank or a line without '='
        QString value;
        QString raw;
    };
    struct Section {
        QString name;
        std::vector<Line> lines;
    };

    const Section* find(const QString& section) const;
    Section* find(const QString& section);
    static const Line* findKey(const Section& s, const QString& key);

    QString path_;
    QString unreadable_; // why the existing file could not be read
    std::vector<QString> preamble_;
    std::vector<Section> sections_;
};

} // namespace zx
