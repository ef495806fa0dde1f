#pragma once

#include <QStringList>

/// vuma-cli convert --stream RAW OUT [--log N] [--excel]: decodes the bytes received for
/// "lgr b" (a dump file or an archived download, echo included or not) exactly as a download
/// does and writes the logs to OUT by its extension. "--stream" may be among the arguments.
int RunConvertStream(const QStringList& args);
