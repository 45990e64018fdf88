#include "cli/report.h"
#include "cli/text.h"

#include <QFile>
#include <QFileInfo>

#include <dlfcn.h>
#include <string_view>

namespace cli {
namespace {

// The module, loaded when --report is among the arguments; else why it could not be.
void *module = nullptr;
std::string moduleError;

bool isReportArgument(std::string_view argument)
{
    if (!argument.starts_with('-'))
        return false;
    argument.remove_prefix(argument.starts_with("--") ? 2 : 1);
    return argument == "report" || argument.starts_with("report=");
}

// The module's two entries (report.cpp).
using MakeApplication = QCoreApplication *(*)(int &argc, char **argv);
using StartReport = Report *(*)(const QCommandLineParser &parser, const QString &project,
                                std::string &usageError);

} // namespace

std::unique_ptr<QCoreApplication> application(int &argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (!isReportArgument(argv[i]))
            continue;
        // The module lies where the installation puts it, seen from this program's folder.
        const QString folder = QFileInfo(QFile::symLinkTarget("/proc/self/exe")).absolutePath();
        module = dlopen(QFile::encodeName(folder + "/" KIILA_REPORT_FROM_BIN).constData(),
                        RTLD_NOW | RTLD_LOCAL);
        if (!module) {
            moduleError = dlerror();
            break;
        }
        if (auto make =
                reinterpret_cast<MakeApplication>(dlsym(module, "kiila_report_application")))
            return std::unique_ptr<QCoreApplication>(make(argc, argv));
        moduleError = "no kiila_report_application in " KIILA_REPORT_FROM_BIN;
        break;
    }
    return std::make_unique<QCoreApplication>(argc, argv);
}

void addReportOptions(QCommandLineParser &parser)
{
    parser.addOption({"report", "", "FILE"});
    parser.addOption({"project", "", "NAME"});
}

bool isReportOption(const QString &name)
{
    return name == QLatin1String("report") || name == QLatin1String("project");
}

std::unique_ptr<Report> Report::start(const QCommandLineParser &parser, const QString &project,
                                      const QList<outfile::Input> &runFiles,
                                      std::string &usageError)
{
    if (!parser.isSet("report"))
        return nullptr;
    const QString path = parser.value("report");
    if (const QString refused = outfile::refusal(path, runFiles); !refused.isEmpty()) {
        usageError = "--report: " + cli::quoted(path.toStdString()) + " " + refused.toStdString();
        return nullptr;
    }
    const auto start =
        module ? reinterpret_cast<StartReport>(dlsym(module, "kiila_report_start")) : nullptr;
    if (!start) {
        usageError =
            "--report: cannot load the report module: " +
            (moduleError.empty() ? std::string("--report not given as such") : moduleError);
        return nullptr;
    }
    return std::unique_ptr<Report>(start(parser, project, usageError));
}

} // namespace cli
