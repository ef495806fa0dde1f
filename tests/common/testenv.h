#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

/// Points HOME and the XDG folders at a fresh temporary folder for the lifetime of the object,
/// so a test never touches the real settings or documents.
class TestHome {
public:
    TestHome();
    ~TestHome();
    QString path() const { return m_dir.path(); }
    QString settingsFile() const;  // .../config/vuma/vu.ini
    QString documentsFolder() const;
    void writeSettings(const QByteArray& bytes) const;

private:
    QTemporaryDir m_dir;
    QByteArray m_oldHome, m_oldConfig, m_oldData, m_oldDocs, m_oldTmp;
};
