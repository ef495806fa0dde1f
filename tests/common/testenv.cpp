#include "common/testenv.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include "support/paths.h"
#include "support/textfiles.h"

TestHome::TestHome()
    : m_oldHome(qgetenv("HOME")),
      m_oldConfig(qgetenv("XDG_CONFIG_HOME")),
      m_oldData(qgetenv("XDG_DATA_HOME")),
      m_oldDocs(qgetenv("XDG_DOCUMENTS_DIR")) {
    QStandardPaths::setTestModeEnabled(false);
    qputenv("HOME", QFile::encodeName(m_dir.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.path() + "/config"));
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir.path() + "/data"));
    qputenv("XDG_DOCUMENTS_DIR", QFile::encodeName(m_dir.path() + "/Documents"));
    m_oldTmp = qgetenv("TMPDIR");
    QDir().mkpath(m_dir.path() + "/tmp");
    qputenv("TMPDIR", QFile::encodeName(m_dir.path() + "/tmp"));  // the port-scan log goes here
}

TestHome::~TestHome() {
    qputenv("HOME", m_oldHome);
    qputenv("XDG_CONFIG_HOME", m_oldConfig);
    qputenv("XDG_DATA_HOME", m_oldData);
    qputenv("XDG_DOCUMENTS_DIR", m_oldDocs);
    if (m_oldTmp.isNull()) {
        qunsetenv("TMPDIR");
    } else {
        qputenv("TMPDIR", m_oldTmp);
    }
}

QString TestHome::settingsFile() const { return SettingsFolder() + QStringLiteral("vu.ini"); }

QString TestHome::documentsFolder() const { return DocumentsFolder(); }

void TestHome::writeSettings(const QByteArray& bytes) const {
    ForceFolder(SettingsFolder());
    SaveStringToFile(settingsFile(), bytes);
}
