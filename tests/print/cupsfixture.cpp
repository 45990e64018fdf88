#include "cupsfixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

#include <cups/cups.h>

#include <csignal>
#include <grp.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The CUPS tools live in sbin as well as bin; the test process's PATH need not name sbin.
QString findTool(const QString &name)
{
    QString found = QStandardPaths::findExecutable(name);
    if (found.isEmpty())
        found = QStandardPaths::findExecutable(name, {"/usr/sbin", "/sbin"});
    return found;
}

bool writeFile(const QString &path, const QString &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(text.toUtf8()) == text.toUtf8().size();
}

} // namespace

CupsFixture::CupsFixture()
{
    m_cupsd.setProcessChannelMode(QProcess::ForwardedErrorChannel);
}

CupsFixture::~CupsFixture()
{
    if (m_cupsd.state() == QProcess::NotRunning)
        return;
    m_cupsd.terminate();
    if (!m_cupsd.waitForFinished(5000)) {
        m_cupsd.kill();
        m_cupsd.waitForFinished(5000);
    }
}

QString CupsFixture::outputPath() const
{
    return path("page.pdf");
}

bool CupsFixture::start()
{
    const QString cupsd = findTool("cupsd");
    if (cupsd.isEmpty() || findTool("lpadmin").isEmpty() || findTool("lpstat").isEmpty()) {
        m_unavailable = true;
        m_error = "cupsd, lpadmin or lpstat is not installed";
        return false;
    }
    if (!m_dir.isValid() || !writeConfig()) {
        m_error = "cannot write the scheduler's configuration in " + m_dir.path();
        return false;
    }
    const QString socket = path("cups.sock");

    // From here on every CUPS client in this process and its children talks to our scheduler
    // only: no system client.conf or lpoptions, no LPDEST or PRINTER naming another default, and
    // a home of its own, so that the user's ~/.cups/lpoptions (lpoptions -d) names no default.
    if (!QDir().mkpath(path("home"))) {
        m_error = "cannot make a home folder in " + m_dir.path();
        return false;
    }
    qputenv("HOME", QFile::encodeName(path("home")));
    qputenv("CUPS_SERVER", QFile::encodeName(socket));
    qputenv("CUPS_SERVERROOT", QFile::encodeName(m_dir.path()));
    qputenv("CUPS_STATEDIR", QFile::encodeName(path("state")));
    qunsetenv("LPDEST");
    qunsetenv("PRINTER");

    // This process (Qt's print support) and the tools must name our socket as their server,
    // never the system's scheduler; libcups keeps the first server it was asked for.
    if (QFile::decodeName(cupsServer()) != socket ||
        cups("lpstat", {"-H"}).value_or("").trimmed() != socket) {
        m_error = "CUPS_SERVER does not lead to a private scheduler; refusing to go on";
        return false;
    }
    // A test that crashes must not leave its scheduler behind: it dies with us.
    m_cupsd.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
    m_cupsd.start(cupsd, {"-f", "-c", path("cupsd.conf"), "-s", path("cups-files.conf")});
    if (!m_cupsd.waitForStarted(10000)) {
        m_unavailable = true;
        m_error = "cupsd cannot be started: " + m_cupsd.errorString();
        return false;
    }

    QElapsedTimer timer;
    timer.start();
    for (;;) {
        if (m_cupsd.state() == QProcess::NotRunning) {
            m_error = "cupsd stopped at once\n" + log();
            return false;
        }
        if (http_t *http = httpConnect2(QFile::encodeName(socket).constData(), 0, nullptr, AF_LOCAL,
                                        HTTP_ENCRYPTION_NEVER, 1, 1000, nullptr)) {
            httpClose(http);
            break;
        }
        if (timer.hasExpired(10000)) {
            m_error = "cupsd did not answer on " + socket + "\n" + log();
            return false;
        }
        QThread::msleep(50);
    }
    return addQueue();
}

bool CupsFixture::writeConfig()
{
    const QString dir = m_dir.path();
    // The filters run as lp: they must reach the folder and write their temporary files.
    if (!QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                        QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                        QFile::ExeOther))
        return false;
    for (const char *sub : {"spool", "cache", "state", "tmp", "ssl"}) {
        if (!QDir(dir).mkpath(sub))
            return false;
    }
    const bool root = geteuid() == 0;
    if (root) {
        const group *lp = getgrnam("lp");
        const QByteArray tmp = QFile::encodeName(path("tmp"));
        if (!lp || chown(tmp.constData(), 0, lp->gr_gid) != 0 || chmod(tmp.constData(), 01770) != 0)
            return false;
    }

    const QString cupsd = QString("Listen %1\n"
                                  "Browsing No\n"
                                  "WebInterface No\n"
                                  "LogLevel warn\n"
                                  "ErrorPolicy abort-job\n"
                                  "<Location />\n"
                                  "  Order allow,deny\n"
                                  "  Allow localhost\n"
                                  "</Location>\n")
                              .arg(path("cups.sock"));
    // Every place the scheduler writes lies in our folder.
    QString files = QString("FileDevice Yes\n"
                            "ServerRoot %1\n"
                            "RequestRoot %1/spool\n"
                            "CacheDir %1/cache\n"
                            "StateDir %1/state\n"
                            "TempDir %1/tmp\n"
                            "ServerKeychain %1/ssl\n"
                            "Printcap %1/printcap\n"
                            "ErrorLog %1/error_log\n"
                            "AccessLog %1/access_log\n"
                            "PageLog %1/page_log\n"
                            "ServerBin /usr/lib/cups\n"
                            "DataDir /usr/share/cups\n")
                        .arg(dir);
    if (root)
        files += "User lp\nGroup lp\n";
    return writeFile(path("cupsd.conf"), cupsd) && writeFile(path("cups-files.conf"), files);
}

QString CupsFixture::log() const
{
    QFile file(path("error_log"));
    if (!file.open(QIODevice::ReadOnly))
        return "(no scheduler log)";
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
    return "scheduler log:\n" + lines.mid(std::max<qsizetype>(0, lines.size() - 30)).join('\n');
}

std::optional<QString> CupsFixture::cups(const QString &tool, const QStringList &args)
{
    QProcess process;
    process.start(findTool(tool), args);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        m_error = QString("%1 %2 failed: %3\n%4")
                      .arg(tool, args.join(' '),
                           QString::fromLocal8Bit(process.readAllStandardError()).trimmed(), log());
        return std::nullopt;
    }
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

int CupsFixture::jobCount()
{
    const std::optional<QString> jobs = cups("lpstat", {"-W", "all", "-o"});
    return jobs ? int(jobs->split('\n', Qt::SkipEmptyParts).size()) : -1;
}

bool CupsFixture::addQueue()
{
    // A PDF printer: the page keeps its text, which a PostScript queue's filters turn into
    // glyph numbers that no tool reads back.
    return cups("lpadmin", {"-p", queue, "-E", "-v", "file://" + outputPath(), "-m",
                            "lsb/usr/cupsfilters/Generic-PDF_Printer-PDF.ppd"}) &&
           cups("lpadmin", {"-d", queue});
}

bool CupsFixture::removeQueue()
{
    return cups("lpadmin", {"-x", queue}).has_value();
}

bool CupsFixture::clearDefault()
{
    // CUPS cannot unset the default directly; deleting the default queue leaves none.
    const QString other = "kiila-gone";
    return cups("lpadmin", {"-p", other, "-v", "file:///dev/null", "-m", "raw"}) &&
           cups("lpadmin", {"-d", other}) && cups("lpadmin", {"-x", other});
}

bool CupsFixture::rejectJobs(bool yes)
{
    return cups(yes ? "cupsreject" : "cupsaccept", {queue}).has_value();
}

bool CupsFixture::clearOutput()
{
    return !QFile::exists(outputPath()) || QFile::remove(outputPath());
}

bool CupsFixture::waitForPage(int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        // Asked of the scheduler directly: a few milliseconds apart, so that a benchmark can
        // wait with it too.
        cups_job_t *jobs = nullptr;
        const int pending = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queue, 0, CUPS_WHICHJOBS_ACTIVE);
        cupsFreeJobs(std::max(pending, 0), jobs);
        if (pending < 0) {
            m_error = QString("cannot ask for the jobs: %1\n%2").arg(cupsLastErrorString(), log());
            return false;
        }
        if (pending == 0 && QFileInfo(outputPath()).size() > 0)
            return true;
        if (timer.hasExpired(timeoutMs)) {
            m_error = QString("no page in %1 after %2 ms; %3 jobs pending\n%4")
                          .arg(outputPath())
                          .arg(timeoutMs)
                          .arg(pending)
                          .arg(log());
            return false;
        }
        QThread::msleep(2);
    }
}
