#pragma once

#include <QString>

/// The n-th field (from 1) of text split at every separator. Two separators in a row give an
/// empty field, a leading separator makes field 1 empty, a trailing separator opens no further
/// field, a field beyond the last (or n < 1) is empty; nothing is trimmed.
QString GetToken(const QString& text, int n, QChar separator);

/// The number of fields GetToken sees: 0 for empty text.
int CountTokens(const QString& text, QChar separator);
