#pragma once

// A Finnish locale of the test's own (localedef, Debian package locales), so that the machine's
// set of locales is no matter: a program started with the environment it sets writes and reads
// numbers with a decimal comma.

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

namespace support {

// Makes fi_FI.UTF-8 in `dir` and points `environment` at it; false when it could not be made.
inline bool useFinnishLocale(QProcessEnvironment &environment, const QTemporaryDir &dir)
{
    QProcess::execute("localedef", {"-i", "fi_FI", "-f", "UTF-8", dir.filePath("fi_FI.UTF-8")});
    if (!QFile::exists(dir.filePath("fi_FI.UTF-8/LC_NUMERIC")))
        return false;
    environment.insert("LOCPATH", dir.path());
    environment.insert("LC_ALL", "fi_FI.UTF-8");
    environment.insert("LANG", "fi_FI.UTF-8");
    return true;
}

} // namespace support
