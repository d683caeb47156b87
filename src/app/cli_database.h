#pragma once
// The database file a command works on: read and checked as opening does (format, then the
// --password typed), and written back atomically when the command has changed it. A command
// that changes the file holds it against other writers from the read to the write.
#include "app/cli_args.h"
#include "files/file_lock.h"
#include "model/database_record.h"

#include <QDateTime>
#include <QString>

#include <memory>
#include <optional>

namespace zx::cli {

struct CliDatabase {
    QString path; // "-": read from standard input, written to standard output
    DeviceModel model = DeviceModel::Line4;
    DatabaseRecord record;
    QDateTime lastModified;
    std::shared_ptr<FileWriteLock> lock; // held while the command may write the file
};

// What a command does with the file: read it, or read it, change it and write it back.
enum class Access { Read, Change };

// The options by which a command that reads a database file chooses the model it is read as.
inline const QSet<QString> ModelOptions{QStringLiteral("--model"), QStringLiteral("--as-model")};

// Reads the file named by `path` ("-": standard input) with the --model, --as-model and
// --password options of `p`. Without either the model is the one whose layout the image fits
// (recognizeModel: the 16-line model only when the image fits it and not the 4-line one), said
// as a notice; --model names the model where the layout fits both (or neither), and a file
// whose layout fits only the other model is refused (usage status); --as-model reads it as that
// model whatever its layout (to look at or mend a file read wrongly), said as a notice when the
// layout speaks against it. For Access::Change the file is locked first (a second writer waits
// FileLockWaitMs, then fails). On failure prints the message, which names the file, and sets
// `status` (usage or failure); nothing is returned then. A command that offers no --as-model
// (upload) gives `asModelOffered` false, so that its refusal does not point to it.
std::optional<CliDatabase> openDatabase(const QString& path, const ParsedArgs& p, int& status,
                                        Access access = Access::Read, bool asModelOffered = true);

// Stores --site, --owner and the password (--password, or for a file already there
// --password-new) into the record of the file `path`. A text with a character that Windows-1250
// cannot hold, or longer than the record's 255 characters, is refused with a message naming the
// file and the option; the record is then left as it was and false returned.
bool setRecordTexts(DatabaseRecord& record, const ParsedArgs& p, const QString& path,
                    const char* passwordOption = "--password");

// The output file (-o FILE, "-": standard output) of an export command beside its one database
// file; when either is missing the operator is told and nothing is returned.
std::optional<QString> exportTarget(const ParsedArgs& p);

// Writes the record back to its file in one atomic step (standard output for "-"), with the
// connection name it was read with; a new file is its owner's only. Returns the exit status; a
// failure is printed, naming the file, and leaves the file as it was.
int saveDatabase(const CliDatabase& db);

} // namespace zx::cli
