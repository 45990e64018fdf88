#pragma once

// A private CUPS scheduler for print tests. `cupsd` runs in the foreground with its configuration,
// spool, cache, state and Unix socket in a temporary folder; one queue, `queue`, a generic PDF
// printer, writes each job to `outputPath()` and is the default. The process's CUPS_SERVER points
// at that socket, so Qt's print support and the CUPS tools reach this scheduler only: the system's
// scheduler, its printers and /etc/cups are never touched. HOME and CUPS_SERVERROOT point into
// the temporary folder too, so that neither the user's lpoptions nor the system's client
// settings name another default printer. The scheduler stops with the object,
// and with the test process if that dies.
//
// libcups reads CUPS_SERVER once per thread, so a test process starts one fixture (in
// initTestCase) and changes the queue's state between tests.

#include <optional>

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

class CupsFixture
{
public:
    static constexpr const char *queue = "kiila-test";

    CupsFixture();
    ~CupsFixture();
    CupsFixture(const CupsFixture &) = delete;
    CupsFixture &operator=(const CupsFixture &) = delete;

    // Starts the scheduler and adds the queue as the default, accepting jobs. On false, `error()`
    // says why (with the scheduler's log) and `unavailable()` whether cupsd cannot run here at
    // all (not installed, cannot be started): only then may a test skip.
    bool start();
    bool unavailable() const { return m_unavailable; }
    QString error() const { return m_error; }

    // The file the queue writes each job to (PDF behind a PJL header, which Poppler's tools
    // skip); `clearOutput` removes it.
    QString outputPath() const;
    bool clearOutput();
    // Waits until no job is pending and the output file has content (bounded in time).
    bool waitForPage(int timeoutMs = 30000);
    // Every job the scheduler has had, finished or not; -1 with `error()` set when it cannot say.
    int jobCount();

    bool addQueue();           // (again) the queue, the default, accepting
    bool removeQueue();        // no printer at all
    bool clearDefault();       // the queue stays, no printer is the default
    bool rejectJobs(bool yes); // cupsreject / cupsaccept

    // Runs a CUPS tool against this scheduler; its output, or nullopt with `error()` set.
    std::optional<QString> cups(const QString &tool, const QStringList &args);

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    bool writeConfig();
    QString log() const;

    QTemporaryDir m_dir;
    QProcess m_cupsd;
    QString m_error;
    bool m_unavailable = false;
};

// For a test's initTestCase: starts the fixture; skips the test where no scheduler can run here,
// fails it on any other trouble.
#define KIILA_START_CUPS(fixture)                                                                  \
    do {                                                                                           \
        if (!(fixture).start()) {                                                                  \
            if ((fixture).unavailable())                                                           \
                QSKIP(qPrintable("no CUPS scheduler can run here: " + (fixture).error()));         \
            QFAIL(qPrintable((fixture).error()));                                                  \
        }                                                                                          \
    } while (false)
