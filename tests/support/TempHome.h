#pragma once

#include <QString>

// A fresh program folder for one test: QUORLEX_HOME points at it while the object lives.
class TempHome {
public:
    TempHome();
    ~TempHome();
    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;

    const QString& Path() const { return m_path; }
    QString File(const QString& name) const { return m_path + u'/' + name; }

private:
    QString m_path;
};
