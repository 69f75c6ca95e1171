#include "platform/NativePath.h"

#include "tests/support/TempHome.h"

#include <QUrl>

#include <fstream>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

TEST(NativePath, AnyBytesComeBackAndShowWithTheReplacementCharacter)
{
    struct Case {
        std::string bytes;
        QString shown;
    } cases[] = {
        {"/tmp/\xC3\xA7\xC4\xB1k\xF0\x9F\x98\x80", QString::fromUtf8("/tmp/\xC3\xA7\xC4\xB1k\xF0\x9F\x98\x80")},
        {"caf\xE9 \xFC.txt", QString::fromUtf8("caf\xEF\xBF\xBD \xEF\xBF\xBD.txt")},
        {"\xC3", QString(QChar(0xFFFD))},                       // a sequence cut short
        {"\xC0\xAF", QString(2, QChar(0xFFFD))},                // an overlong "/"
        {"\xED\xB2\x80", QString(3, QChar(0xFFFD))},            // an encoded surrogate
        {"\xF4\x90\x80\x80", QString(4, QChar(0xFFFD))},        // beyond U+10FFFF
    };
    for (const Case& c : cases) {
        const QString path = PathFromNative(c.bytes);
        EXPECT_EQ(NativePath(path).toStdString(), c.bytes);
        EXPECT_EQ(ShownPath(path), c.shown) << c.bytes;
    }
}

// A drop's URL escapes the bytes; Qt's own dialog shows them as U+FFFD.
TEST(NativePath, DropsAndDialogsGiveTheBytesBack)
{
    EXPECT_EQ(NativePath(PathFromFileUrl(QUrl(QStringLiteral("file:///tmp/caf%E9%20%C3%A7.txt")))).toStdString(),
              "/tmp/caf\xE9 \xC3\xA7.txt");
    TempHome home;
    const std::string folder = NativePath(home.Path()).toStdString(), file = folder + "/caf\xE9.txt";
    std::ofstream(file) << "x";
    EXPECT_EQ(NativePath(ResolveShownPath(home.File(QString::fromUtf8("caf\xEF\xBF\xBD.txt")))).toStdString(), file);
    const QString missing = home.File(QString::fromUtf8("\xEF\xBF\xBD.txt"));
    EXPECT_EQ(ResolveShownPath(missing), missing);
    ::unlink(file.c_str());
}

} // namespace
