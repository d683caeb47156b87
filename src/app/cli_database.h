#pragma once
// The database file a command works on: read and checked as opening does (format, then the
// --password typed), and written back atomically when the command has changed it.
#include "app/cli_args.h"
#include "model/database_record.h"

#include <QDateTime>
#include <QString>

#include <optional>

namespace zx::cli {

struct CliDatabase {
    QString path;
    DeviceModel model = DeviceModel::Line4; // --model, 4 when not given
    DatabaseRecord record;
    QDateTime lastModified;
};

// Reads the file named by `path` with the --model and --password options of `p`. Without
// --model the model is the one whose layout the image fits (recognizeModel: the 16-line model
// only when the image fits it and not the 4-line one), said on stderr when it is not the 4-line
// model; every command that reads a database file takes it so. On failure prints the message
// and sets `status` (usage or failure); nothing is returned then.
std::optional<CliDatabase> openDatabase(const QString& path, const ParsedArgs& p, int& status);

// Stores --site, --owner and --password into the record. A text with a character that
// Windows-1250 cannot hold is refused with a message (it would be stored as '?'); the record
// is then left as it was and false returned.
bool setRecordTexts(DatabaseRecord& record, const ParsedArgs& p);

// The output file (-o FILE) of an export command beside its one database file; when either is
// missing the operator is told and nothing is returned.
std::optional<QString> exportTarget(const ParsedArgs& p);

// Writes the record back to its file in one atomic step, with the connection name it was read
// with. Returns the exit status; a failure is printed and leaves the file as it was.
int saveDatabase(const CliDatabase& db);

} // namespace zx::cli
