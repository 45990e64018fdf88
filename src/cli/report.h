#pragma once

// kiila-calc --report: the program's report page of each design, the pages in one PDF file.
//
// The page is the program's own window FrmPRINT, made without a display (the offscreen
// platform) and filled as the program fills it (print/reportdata.h): from the design and the
// result kiila-calc calculated and wrote for it, with the captions its language gives the main
// window. Nothing is calculated here. The page is painted into the PDF file.
//
//   reportloader.cpp  in kiila-calc: the options; loads the module only when --report is given,
//                     so that the other modes start without the widget libraries
//   report.cpp        the module kiila-report.so: the application object and the pages

#include "calc/calc.h"
#include "design/design.h"
#include "outfile/outfile.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <memory>
#include <string>

namespace cli {

// The application object: with --report among the arguments the module's QApplication on the
// offscreen platform (windows are painted, no display is needed), else a plain QCoreApplication.
std::unique_ptr<QCoreApplication> application(int &argc, char **argv);

// --report FILE.pdf and --project NAME (which goes with --report or --save).
void addReportOptions(QCommandLineParser &parser);
bool isReportOption(const QString &name);

class Report
{
public:
    virtual ~Report() = default;

    // The report the options ask for, `project` on its project line (--project, or the name in
    // the --design file); nullptr without --report, or with the reason (one line) in
    // `usageError` when the options are wrong, the file may not be written (it is one of
    // `runFiles`, or not a regular file) or the module cannot be loaded.
    static std::unique_ptr<Report> start(const QCommandLineParser &parser, const QString &project,
                                         const QList<outfile::Input> &runFiles,
                                         std::string &usageError);

    // The report page of the design and its result (with its working values when the details
    // pages are asked for) into the file. After a page that could not be written no more are
    // made, and finish() fails.
    // `cases`: what MitoitusCases gave for a design of several load cases, else nullptr.
    virtual void addPage(const design::Design &design, const calc::Result &result,
                         const calc::CasesResult *cases) = 0;
    // Completes the file; with no page at all nothing is written. False when it could not be
    // written (error() tells why); the file is then left as it was.
    virtual bool finish() = 0;
    virtual std::string error() const = 0;
};

} // namespace cli
