#pragma once
// What a database file without a password holds, read as a test reads it back.
#include "files/database_file.h"

#include <gtest/gtest.h>

namespace zx {

inline ConfigImage imageInFile(const QString& file) {
    const DatabaseReadResult read = readDatabaseFile(file);
    EXPECT_TRUE(read.ok()) << read.message.toStdString();
    return read.record.image;
}

} // namespace zx
