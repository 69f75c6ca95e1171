// Every input in fuzz-cases/ (the fuzzer's seeds and whatever it ever found) through the
// fuzz target's run and its rules.
#include "fuzz/ExtractFuzz.h"
#include "tests/support/TempHome.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

TEST(FuzzCases, EveryKeptInputRunsCleanly)
{
    const QDir cases(QStringLiteral(QUORLEX_SOURCE_DIR "/tests/extract/fuzz-cases"));
    const QStringList names = cases.entryList(QDir::Files);
    ASSERT_FALSE(names.isEmpty()) << cases.path().toStdString();
    for (const QString& name : names) {
        TempHome home;
        const std::string input = ReadFileBytes(cases.filePath(name));
        EXPECT_EQ(fuzz::RunExtraction(input, home.Path()), "") << name.toStdString();
    }
}
