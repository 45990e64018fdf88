#pragma once

// kiila-calc --report: the program's report page of each design, the pages in one PDF file.
//
// The page is the program's own: its main window runs without a display (the offscreen
// platform), the design is set as a user sets it (arrangement, concrete state, fields), the
// calculate and print commands run and the confirmation is answered "Yes" with the project name.
// The page printing paints goes into the PDF file instead of onto a printer.

#include "cli/output.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <memory>
#include <string>

namespace cli {

// The application object: with --report among the arguments a QApplication on the offscreen
// platform (windows are painted, no display is needed), else a plain QCoreApplication.
std::unique_ptr<QCoreApplication> application(int &argc, char **argv);

// --report FILE.pdf and --project NAME.
void addReportOptions(QCommandLineParser &parser);
bool isReportOption(const QString &name);

class Report
{
public:
    ~Report();

    // The report the options ask for; nullptr without --report, or with the reason (one line)
    // in `usageError` when the options are wrong.
    static std::unique_ptr<Report> start(const QCommandLineParser &parser, std::string &usageError);

    // Calculates the design in the main window and prints its report page into the file. False
    // when the page could not be written; error() tells why.
    bool addPage(const Design &design);
    // Completes the file; with no page at all nothing is written. False when it could not be
    // written.
    bool finish();
    std::string error() const;

private:
    struct Pages;
    explicit Report(std::unique_ptr<Pages> pages);
    std::unique_ptr<Pages> d;
};

} // namespace cli
