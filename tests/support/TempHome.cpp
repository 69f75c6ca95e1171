#include "tests/support/TempHome.h"

#include <QDir>

#include <cstdlib>
#include <string>

TempHome::TempHome()
{
    std::string tmpl = (QDir::tempPath() + QStringLiteral("/quorlex-test-XXXXXX")).toStdString();
    if (char* made = ::mkdtemp(tmpl.data()))
        m_path = QString::fromStdString(made);
    ::setenv("QUORLEX_HOME", m_path.toLocal8Bit().constData(), 1);
}

TempHome::~TempHome()
{
    QDir(m_path).removeRecursively();
    ::unsetenv("QUORLEX_HOME");
}
