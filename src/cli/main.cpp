// kiila-calc: the design calculation of the program for scripts and batch runs.

#include "calc/calc.h"
#include "calc/numbers.h"
#include "cli/batch.h"
#include "cli/csv.h"
#include "cli/report.h"
#include "cli/text.h"
#include "cli/writer.h"
#include "designfile/designfile.h"
#include "lang/languagefile.h"
#include "loadcases/loadcases.h"
#include "outfile/outfile.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace {

constexpr int ExitRowFailed = 1;
constexpr int ExitUsage = 2;
constexpr int ExitWriteFailed = 3;

const char Usage[] =
    "Usage: kiila-calc --arrangement N [--cracked] [--c1 X] [--c2 X] [--s1 X] [--s2 X]\n"
    "                  [--nsd X] [--v1d X] [--e1 X] [--e2 X] [--lang eng|fin|rus|none] [--json]\n"
    "                  [--details]\n"
    "       kiila-calc --design FILE.kiila [--lang eng|fin|rus|none] [--json] [--details]\n"
    "       kiila-calc --csv FILE|- [--lang eng|fin|rus|none] [--json] [--details] [--jobs N]\n"
    "       any form with [--report FILE.pdf], the first two with [--cases FILE|-] and\n"
    "       [--save FILE.kiila], either of these with [--project NAME]\n"
    "\n"
    "Tries the wedge anchor sizes M8 to M16 for one fastening and names the smallest that\n"
    "carries the loads, as the program's calculate command does.\n"
    "\n"
    "  --arrangement N  anchor arrangement 1 to 7 (TAPAUS 1 to TAPAUS 7)\n"
    "  --cracked        cracked concrete (default: non-cracked)\n"
    "  --c1, --c2       edge distances (mm)\n"
    "  --s1, --s2       anchor spacings (mm)\n"
    "  --nsd, --v1d     design tension and shear (kN)\n"
    "  --e1, --e2       eccentricities of the tension and the shear (mm)\n"
    "                   (an omitted value is 0; a point or a comma separates the\n"
    "                   decimals; 1,000 is refused: write 1000 for a thousand, 1.000 or\n"
    "                   1,0 for one)\n"
    "  --lang L         texts from the language file beside the program: eng (default), fin,\n"
    "                   rus, or none for the built-in Finnish texts; the summary's and the\n"
    "                   working's own words in Finnish for fin, else in English\n"
    "  --json           one JSON object per design\n"
    "  --details        also the working values of every size tried: with the summary each\n"
    "                   check's formula in words and numbers, its load, capacity and\n"
    "                   utilisation and which check governs; with --json a \"details\" object\n"
    "                   in each entry of \"sizes\" (and in \"message\" for the size that\n"
    "                   stopped the run); with --report a details page after each report\n"
    "                   page\n"
    "  --design FILE    the design in the design file FILE (.kiila), which the program saves:\n"
    "                   its fields read as the program reads them when it calculates; an\n"
    "                   empty field that the arrangement uses, or one that is not a\n"
    "                   number, is an error\n"
    "  --csv FILE       the designs of a CSV file (- for standard input) with the header\n"
    "                   arrangement,cracked,c1,c2,s1,s2,nsd,v1d,e1,e2 in any order;\n"
    "                   cracked is 0/1 or yes/no\n"
    "  --cases FILE     the load cases of a CSV file (- for standard input) with the header\n"
    "                   name,nsd,v1d,e1,e2 in any order, for the geometry of the options or\n"
    "                   of --design (in place of --nsd, --v1d, --e1, --e2): the size chosen\n"
    "                   carries every case, and the summary, --json and --report name the\n"
    "                   case that governs and each case's utilisation per size; at most\n"
    "                   1000 cases. A --design file of several cases is calculated for its\n"
    "                   cases, which --cases replaces; --save keeps the cases\n"
    "  --jobs N         the rows of --csv calculated in N threads at once (default 1): the\n"
    "                   same output, in the order of the rows; not with --report\n"
    "  --report FILE    also the program's report page of each design (rows that fail\n"
    "                   have none) into the PDF file FILE; exit status 3 when it cannot be\n"
    "                   written\n"
    "  --save FILE      also the design as the design file FILE (.kiila), which the program\n"
    "                   opens; exit status 3 when it cannot be written\n"
    "  --project NAME   the project name on the report page and in the saved design (default:\n"
    "                   the name in the --design file)\n"
    "  --version        the version of kiila-calc\n"
    "\n"
    "Exit status: 0 done, 1 a CSV row could not be calculated, 2 wrong usage or an input\n"
    "that cannot be read, 3 the output could not be written.\n";

int usageError(const std::string &message)
{
    std::fprintf(stderr, "kiila-calc: %s\n", message.c_str());
    return ExitUsage;
}

[[noreturn]] void writeFailed(const char *reason)
{
    std::fprintf(stderr, "kiila-calc: cannot write the output: %s\n", reason);
    std::_Exit(ExitWriteFailed);
}

// A write that fails ends the program at once. A reader of a pipe that has gone ends it by
// SIGPIPE (see main), quietly, as it ends other Unix tools.
void write(std::string_view text)
{
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() ||
        std::fputc('\n', stdout) == EOF)
        writeFailed(std::strerror(errno));
}

// Lines already ended, written as they are.
void writeText(std::string_view text)
{
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size())
        writeFailed(std::strerror(errno));
}

// What is still buffered, and the close, fail as a write does.
void finishOutput()
{
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        writeFailed(std::strerror(errno));
    if (std::fclose(stdout) != 0)
        writeFailed(std::strerror(errno));
}

// Standard input, output or error closed when the program starts would be taken by the first
// files it opens, and output meant for standard output would go into one of them. Each closed
// one is opened on /dev/null instead, before anything else opens a file; returns which were
// closed (bit 0 input, 1 output, 2 error).
int reserveStandardDescriptors()
{
    int closed = 0;
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        closed |= 1 << fd;
        // The lowest free number: this one, as the lower ones are open.
        if (::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY) != fd)
            std::_Exit(ExitWriteFailed);
    }
    return closed;
}

// A reader of standard output that goes away (kiila-calc ... | head) ends the program quietly,
// also when SIGPIPE came ignored or blocked from the parent.
void endQuietlyOnClosedPipe()
{
    std::signal(SIGPIPE, SIG_DFL);
    sigset_t pipe;
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    sigprocmask(SIG_UNBLOCK, &pipe, nullptr);
}

std::string trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}

std::string lowered(std::string text)
{
    for (char &c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// A plain decimal ("250", "12.5"), as nearly every cell of a file is, read at once: the
// general reading gives the same value, as both round to the nearest double.
std::optional<double> plainDecimal(std::string_view text)
{
    if (text.empty() || text.size() > 24)
        return std::nullopt;
    const auto digitsFrom = [&text](std::size_t i) {
        while (i < text.size() && text[i] >= '0' && text[i] <= '9')
            ++i;
        return i;
    };
    std::size_t end = digitsFrom(0);
    if (end == 0)
        return std::nullopt;
    if (end < text.size() && text[end] == '.') {
        const std::size_t fraction = end + 1;
        end = digitsFrom(fraction);
        if (end == fraction)
            return std::nullopt;
    }
    if (end != text.size())
        return std::nullopt;
    // Up to 15 digits make an exact integer, and a power of ten up to 10^22 is exact too: their
    // quotient, one rounding, is the nearest double.
    static constexpr double Powers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    std::uint64_t digits = 0;
    int count = 0;
    int decimals = 0;
    bool afterPoint = false;
    for (const char c : text) {
        if (c == '.') {
            afterPoint = true;
            continue;
        }
        digits = digits * 10 + std::uint64_t(c - '0');
        ++count;
        decimals += afterPoint;
    }
    if (count <= 15)
        return double(digits) / Powers[decimals];
    double v = 0;
    if (std::from_chars(text.data(), text.data() + end, v).ptr != text.data() + end)
        return std::nullopt;
    return v;
}

// Why a text that is not one number is refused: "not a number: '5 kN'", or for "1,000" how to
// write each of the numbers it may mean.
std::string refusal(std::string_view text, calc::Reading reading)
{
    if (reading != calc::Reading::Ambiguous)
        return "not a number: " + cli::quoted(std::string(text));
    const calc::AmbiguousReadings r = calc::ambiguousReadings(text);
    return cli::quoted(std::string(text)) + " can be read as " + calc::writtenForm(r.thousands) +
           " or as " + calc::writtenForm(r.decimals) + ": write " + r.thousandsText +
           " if the comma separates thousands, or " + r.pointText + " or " + r.commaText +
           " if it separates decimals";
}

// A value that is wholly a number, blanks around it allowed; an empty text is 0. Else nothing,
// with `why` saying why not.
std::optional<double> value(std::string_view text, std::string &why)
{
    if (const std::optional<double> plain = plainDecimal(text))
        return plain;
    const calc::ReadNumber read = calc::readNumber(text);
    if (read.reading == calc::Reading::NotNumber || read.reading == calc::Reading::Ambiguous) {
        why = refusal(text, read.reading);
        return std::nullopt;
    }
    return read.value;
}

std::optional<int> arrangement(std::string_view text)
{
    std::string why;
    const std::optional<double> v = value(text, why);
    if (!v || trimmed(text).empty() || *v != std::floor(*v) || *v < 1 || *v > 7)
        return std::nullopt;
    return static_cast<int>(*v);
}

std::optional<bool> cracked(std::string_view text)
{
    const std::string t = lowered(trimmed(text));
    if (t == "1" || t == "yes")
        return true;
    if (t == "0" || t == "no" || t.empty())
        return false;
    return std::nullopt;
}

constexpr int MaxJobs = 256;

std::optional<int> jobCount(const QString &text)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    if (!ok || n < 1 || n > MaxJobs)
        return std::nullopt;
    return n;
}

// The texts of the language: the fragments, the caption of arrangement 7 and the advice from
// the language file beside the program; the Finnish texts when there is none.
std::optional<calc::Texts> textsFor(const QString &lang)
{
    calc::Texts texts;
    if (lang == "none")
        return texts;
    const lang::LanguageRow *row = lang::rowOfTag(lang.toStdString());
    if (!row)
        return std::nullopt;
    const QString path = lang::findFile(QCoreApplication::applicationDirPath(), row->language);
    if (path.isEmpty())
        return texts;
    if (const std::optional<QStringList> lines = lang::readLines(path, row->language))
        lang::applyToTexts(*lines, texts);
    return texts;
}

// What --lang takes: the tags in alphabetical order, or none ("eng, fin, rus or none").
std::string langChoices()
{
    std::vector<std::string> tags;
    for (const lang::LanguageRow &row : lang::Languages)
        tags.emplace_back(row.tag);
    std::sort(tags.begin(), tags.end());
    std::string choices;
    for (const std::string &tag : tags)
        choices += tag + ", ";
    choices.resize(choices.size() - 2);
    return choices + " or none";
}

// The files of the run an output file may not replace: the CSV or design file or standard input
// it reads, the language files, and standard output.
QList<outfile::Input> runFiles(const QCommandLineParser &parser)
{
    QList<outfile::Input> files;
    const auto add = [&files](const std::optional<outfile::Input> &file) {
        if (file)
            files << *file;
    };
    if (const QString cases = parser.value("cases"); cases == "-")
        add(outfile::input(STDIN_FILENO, "standard input"));
    else if (!cases.isEmpty())
        add(outfile::input(
            cases, QString::fromStdString("the load cases " + cli::quoted(cases.toStdString()))));
    const QString csv = parser.value("csv");
    if (csv == "-")
        add(outfile::input(STDIN_FILENO, "standard input"));
    else if (!csv.isEmpty())
        add(outfile::input(csv,
                           QString::fromStdString("the input " + cli::quoted(csv.toStdString()))));
    if (const QString design = parser.value("design"); !design.isEmpty())
        add(outfile::input(
            design, QString::fromStdString("the design " + cli::quoted(design.toStdString()))));
    for (const QString &path : lang::findFiles(QCoreApplication::applicationDirPath()))
        add(outfile::input(
            path, QString::fromStdString("the language file " + cli::quoted(path.toStdString()))));
    add(outfile::input(STDOUT_FILENO, "standard output"));
    return files;
}

// The command line as the system gave it, in bytes.
std::vector<std::string_view> givenArguments;

// Whether the file name `name`, as Qt took it from the command line, names the file given. Bytes
// that are not UTF-8 reach Qt as U+FFFD: the file named so would be another one, and could be
// replaced.
bool nameAsGiven(const QString &name)
{
    if (!name.contains(QChar::ReplacementCharacter))
        return true;
    const std::string bytes = QFile::encodeName(name).toStdString();
    return std::any_of(givenArguments.begin(), givenArguments.end(), [&](std::string_view given) {
        return given == bytes || given.ends_with("=" + bytes);
    });
}

// Whether two names are of one file: the same path, or the same file through links.
bool sameFile(const QString &a, const QString &b)
{
    if (QDir::cleanPath(QFileInfo(a).absoluteFilePath()) ==
        QDir::cleanPath(QFileInfo(b).absoluteFilePath()))
        return true;
    const std::optional<outfile::Input> first = outfile::input(a, {});
    const std::optional<outfile::Input> second = outfile::input(b, {});
    return first && second && first->device == second->device && first->inode == second->inode;
}

// What becomes of each design read: it is calculated once with the texts, written, and then
// seen by the observer (--report makes its page of the same result).
struct Designs
{
    using Observer = std::function<void(const design::Design &, const calc::Result &,
                                        const calc::CasesResult *)>;
    const calc::Texts &texts;
    cli::Writer &writer;
    const Observer &observer;                       // may be empty
    calc::Working working = calc::Working::Omitted; // Kept for --details
    // Counts the calculations when the run was asked to tell them (KIILA_COUNT_CALCULATIONS).
    std::atomic<long> *calculations = nullptr;

    void calculate(const design::Design &design) const
    {
        if (design.cases.size() >= 2) {
            std::vector<calc::CaseLoads> loads;
            for (const design::LoadCase &c : design.cases)
                loads.push_back(c.loads);
            calc::CasesResult cases;
            const calc::Result result =
                calc::MitoitusCases(design.input, loads, design.arrangement, design.concreteState(),
                                    texts, cases, ".", working);
            if (calculations)
                ++*calculations;
            writer.cases(design, result, cases);
            if (observer)
                observer(design, result, &cases);
            return;
        }
        // A report shows every text of the result; a format may write fewer.
        const calc::Displays displays = observer || writer.writesDisplays()
                                            ? calc::Displays::Composed
                                            : calc::Displays::Omitted;
        const calc::Result result =
            calc::Mitoitus(design.input, design.arrangement, design.concreteState(), texts, ".",
                           working, displays);
        if (calculations)
            ++*calculations;
        writer.design(design, result);
        if (observer)
            observer(design, result, nullptr);
    }
};

bool isInputOption(const QString &option)
{
    for (const design::Input &input : design::Inputs)
        if (option == QLatin1String(input.key.data(), qsizetype(input.key.size())))
            return true;
    return false;
}

// The design the options give, and for --save the texts as given. An omitted value is 0: it is
// saved as "0" where the arrangement uses the input, so that the file means the same design to
// the program. An input the arrangement does not use (which the calculation does not read) is
// saved as an empty field, as the program, whose field for it is empty, saves it.
std::string optionsDesign(const QCommandLineParser &parser, design::Design &design,
                          designfile::Contents &contents)
{
    const std::optional<int> n = arrangement(parser.value("arrangement").toStdString());
    if (!n)
        return "--arrangement: give a number from 1 to 7, not " +
               cli::quoted(parser.value("arrangement").toStdString());
    design.arrangement = contents.arrangement = *n;
    design.cracked = contents.cracked = parser.isSet("cracked");
    for (int i = 0; i < design::InputCount; ++i) {
        const design::Input &input = design::Inputs[i];
        const QString name = QString::fromLatin1(input.key.data(), input.key.size());
        QString &saved = contents.texts[std::size_t(i)];
        if (!parser.isSet(name)) {
            if (design::uses(*n, input))
                saved = QStringLiteral("0");
            continue;
        }
        const std::string text = parser.value(name).toStdString();
        std::string why = "not a number: " + cli::quoted(text);
        const std::optional<double> v = value(text, why);
        if (!v || trimmed(text).empty())
            return "--" + name.toStdString() + ": " + why;
        design.input.*input.value = *v;
        if (design::uses(*n, input))
            saved = parser.value(name);
    }
    return {};
}

// The value of an input's text in a design file, read as the program reads it when it
// calculates; else why not, naming the input as `what`.
std::string fileValue(const QString &text, int arrangement, const std::string &what, double &value)
{
    if (text.isEmpty())
        return what + " is empty, and arrangement " + std::to_string(arrangement) + " uses it";
    const calc::ReadNumber read = calc::readNumber(text.toStdString());
    if (read.reading == calc::Reading::NotNumber || read.reading == calc::Reading::Ambiguous)
        return what + ": " + refusal(text.toStdString(), read.reading);
    value = read.value;
    return {};
}

// The design in a design file, read as the main window reads it after opening the file: each
// field the arrangement uses gives its number, as when the calculate command runs, and where
// one is empty or not one number the window calculates nothing. The fields the arrangement
// does not use are disabled and empty in the window: 0 here. The loads of a file of several
// cases are those of its cases, read alike, unless `ownCases` replace them.
std::string fileDesign(const designfile::Contents &contents, const QString &path,
                       design::Design &design, bool ownCases)
{
    design.arrangement = contents.arrangement;
    design.cracked = contents.cracked;
    const std::string where = "cannot calculate the design " + cli::quoted(path.toStdString());
    const bool cases = !contents.cases.isEmpty();
    for (int i = 0; i < design::InputCount; ++i) {
        const design::Input &input = design::Inputs[i];
        if (!design::uses(contents.arrangement, input) ||
            ((cases || ownCases) && design::isLoad(input)))
            continue;
        const std::string why =
            fileValue(contents.texts[std::size_t(i)], contents.arrangement,
                      "the input " + std::string(input.key) + " (" + std::string(input.label) + ")",
                      design.input.*input.value);
        if (!why.empty())
            return where + ": " + why;
    }
    if (!cases || ownCases)
        return {};
    for (qsizetype k = 0; k < contents.cases.size(); ++k) {
        const designfile::CaseTexts &texts = contents.cases[k];
        design::LoadCase loadCase{texts.name.toStdString(), {}};
        calc::DesignInput loads;
        for (int l = 0; l < designfile::LoadCount; ++l) {
            const design::Input &input = design::Inputs[designfile::LoadInputs[l]];
            if (!design::uses(contents.arrangement, input))
                continue;
            const std::string why =
                fileValue(texts.loads[std::size_t(l)], contents.arrangement,
                          "the load case " + std::to_string(k + 1) + " " +
                              cli::quoted(texts.name.toStdString()) + ": " +
                              std::string(input.key) + " (" + std::string(input.label) + ")",
                          loads.*input.value);
            if (!why.empty())
                return where + ": " + why;
        }
        loadCase.loads = {loads.NSd, loads.V1d, loads.e1, loads.e2};
        design.cases.push_back(std::move(loadCase));
    }
    return {};
}

// The load cases of --cases: a CSV file, or standard input for "-".
std::string readCases(const QString &path, std::vector<design::LoadCase> &cases)
{
    QFile file;
    const bool opened = path == "-" ? file.open(stdin, QIODevice::ReadOnly)
                                    : (file.setFileName(path), file.open(QIODevice::ReadOnly));
    const std::string name = path == "-" ? "standard input" : cli::quoted(path.toStdString());
    if (!opened)
        return "--cases: cannot read " + name + ": " + file.errorString().toStdString();
    // One byte more than a table may have tells a larger one.
    const QByteArray bytes = file.read(loadcases::MaxFileSize + 1);
    if (file.error() != QFileDevice::NoError)
        return "--cases: cannot read " + name + ": " + file.errorString().toStdString();
    QString error;
    const std::optional<std::vector<design::LoadCase>> read = loadcases::fromCsv(bytes, error);
    if (!read)
        return "--cases: " + name + ": " + cli::oneLine(error.toStdString());
    cases = *read;
    return {};
}

// The single design, from the options or from the --design file (`file`); --save writes it
// first, with `project`.
int runSingle(const QCommandLineParser &parser, const std::optional<designfile::Contents> &file,
              const QString &project, const Designs &designs)
{
    design::Design design;
    designfile::Contents contents;
    const bool ownCases = parser.isSet("cases");
    const std::string error = file ? fileDesign(*file, parser.value("design"), design, ownCases)
                                   : optionsDesign(parser, design, contents);
    if (!error.empty())
        return usageError(error);
    if (file)
        contents = *file;
    contents.project = project;
    if (ownCases) {
        std::vector<design::LoadCase> cases;
        if (const std::string why = readCases(parser.value("cases"), cases); !why.empty())
            return usageError(why);
        // A design of one case is today's design: its loads are the input's. The file keeps
        // the loads as numbers that read back as themselves; those the arrangement does not use
        // as empty fields.
        const auto text = [&](const design::Input &input, double value) {
            return design::uses(design.arrangement, input)
                       ? QString::fromStdString(calc::exactForm(value))
                       : QString();
        };
        contents.cases.clear();
        if (cases.size() == 1) {
            design.input = calc::withLoads(design.input, cases.front().loads);
            for (const int i : designfile::LoadInputs)
                contents.texts[std::size_t(i)] =
                    text(design::Inputs[i], design.input.*design::Inputs[i].value);
        } else {
            for (const int i : designfile::LoadInputs)
                contents.texts[std::size_t(i)].clear();
            for (const design::LoadCase &c : cases) {
                designfile::CaseTexts saved{QString::fromStdString(c.name), {}};
                const calc::DesignInput loads = calc::withLoads({}, c.loads);
                for (int l = 0; l < designfile::LoadCount; ++l) {
                    const design::Input &input = design::Inputs[designfile::LoadInputs[l]];
                    saved.loads[std::size_t(l)] = text(input, loads.*input.value);
                }
                contents.cases << saved;
            }
            design.cases = std::move(cases);
        }
    }
    if (parser.isSet("save")) {
        // A text the file cannot keep (a line break) would make a file that does not open.
        QString why;
        if (!designfile::decode(designfile::encode(contents), why))
            return usageError("--save: " + cli::oneLine(why.toStdString()));
        const QString failed = designfile::write(parser.value("save"), contents, runFiles(parser));
        if (!failed.isEmpty()) {
            std::fprintf(stderr, "kiila-calc: %s\n", cli::oneLine(failed.toStdString()).c_str());
            return ExitWriteFailed;
        }
    }
    designs.writer.begin();
    designs.calculate(design);
    return 0;
}

// The design column of each field of the header; a usage error when the header is wrong.
std::string headerColumns(const std::vector<std::string> &fields, std::vector<int> &columns)
{
    bool seen[cli::DesignColumnCount] = {};
    for (const std::string &f : fields) {
        const std::string name = lowered(trimmed(f));
        int column = -1;
        for (int i = 0; i < cli::DesignColumnCount; ++i)
            if (name == cli::designColumnName(i))
                column = i;
        if (column < 0)
            return "unknown column " + cli::quoted(trimmed(f));
        if (seen[column])
            return "column " + cli::quoted(name) + " twice";
        seen[column] = true;
        columns.push_back(column);
    }
    if (!seen[0])
        return "no column 'arrangement'";
    return {};
}

// The design of a row; the reason when it cannot be read.
std::string readDesign(const cli::CsvRecord &record, const std::vector<int> &columns,
                       design::Design &design)
{
    const std::vector<std::string> &fields = record.fields;
    if (record.tooLong)
        return "row longer than 64 KiB";
    if (record.fieldCount != columns.size())
        return "row has " + std::to_string(record.fieldCount) + " fields, the header " +
               std::to_string(columns.size());
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const int column = columns[i];
        const std::string &text = fields[i];
        if (column == 0) {
            const std::optional<int> n = arrangement(text);
            if (!n)
                return "arrangement: give a number from 1 to 7, not " + cli::quoted(text);
            design.arrangement = *n;
        } else if (column == 1) {
            const std::optional<bool> c = cracked(text);
            if (!c)
                return "cracked: give 0/1 or yes/no, not " + cli::quoted(text);
            design.cracked = *c;
        } else {
            std::string why;
            const std::optional<double> v = value(text, why);
            if (!v)
                return cli::designColumnName(column) + ": " + why;
            design.input.*design::Inputs[column - 2].value = *v;
        }
    }
    return {};
}

// The rows of a chunk split into their fields, calculated and written; whether any of them
// failed. `record` is the job's own, reused from row to row.
bool calculateRows(std::string_view text, const cli::RawRecord *raw, std::size_t count,
                   const std::vector<int> &columns, const Designs &designs, cli::CsvRecord &record)
{
    bool anyFailed = false;
    for (const cli::RawRecord &r : std::span(raw, count)) {
        record.line = r.line;
        record.tooLong = r.tooLong;
        // A row of more fields than the header is refused: it needs none of them kept.
        record.fieldCount = r.tooLong ? 0
                                      : cli::splitFields(text.substr(r.offset, r.size),
                                                         record.fields, columns.size());
        if (r.tooLong)
            record.fields.clear();
        const std::vector<std::string> &fields = record.fields;
        if (!record.tooLong && record.fieldCount == 1 && trimmed(fields[0]).empty())
            continue; // a blank line
        design::Design design;
        const std::string error = readDesign(record, columns, design);
        if (error.empty()) {
            designs.calculate(design);
            continue;
        }
        anyFailed = true;
        // The cells by design column, as read: none when the row could not be split into them.
        std::vector<std::string> cells(cli::DesignColumnCount);
        if (!record.tooLong && record.fieldCount == columns.size())
            for (std::size_t i = 0; i < fields.size(); ++i)
                cells[columns[i]] = fields[i];
        designs.writer.error({record.line - 1, cells, error});
    }
    return anyFailed;
}

using MakeWriter = std::function<std::unique_ptr<cli::Writer>(cli::Lines lines)>;

// The rows of the CSV file; with more than one job, calculated in threads at once, each job
// with a writer of its own.
int runCsv(const QString &path, const Designs &designs, int jobs, const MakeWriter &makeWriter)
{
    std::FILE *file = stdin;
    if (path != "-") {
        file = std::fopen(QFile::encodeName(path).constData(), "rb");
        if (!file)
            return usageError("cannot read " + cli::quoted(path.toStdString()) + ": " +
                              std::strerror(errno));
    }
    struct Closer
    {
        std::FILE *f;
        ~Closer()
        {
            if (f != stdin)
                std::fclose(f);
        }
    } closer{file};

    cli::CsvReader reader(file);
    std::vector<std::string> fields;
    bool tooLong = false;
    if (!reader.next(fields, tooLong) || reader.error()) {
        if (const int error = reader.error())
            return usageError("cannot read " + cli::quoted(path.toStdString()) + ": " +
                              std::strerror(error));
        return usageError(cli::quoted(path.toStdString()) + ": no header row");
    }
    std::vector<int> columns;
    if (const std::string error = headerColumns(fields, columns); !error.empty())
        return usageError(cli::quoted(path.toStdString()) + ": " + error);

    designs.writer.begin();
    // Each job writes the lines of a chunk into the chunk's text, which is written at once.
    struct Job
    {
        std::string *out = nullptr;
        std::unique_ptr<cli::Writer> writer;
        cli::CsvRecord record;
    };
    std::vector<std::unique_ptr<Job>> jobList;
    std::vector<cli::ChunkJob> chunkJobs;
    for (int i = 0; i < jobs; ++i) {
        Job &job = *jobList.emplace_back(std::make_unique<Job>());
        job.writer = makeWriter([&job](std::string_view line) {
            job.out->append(line);
            job.out->push_back('\n');
        });
        chunkJobs.push_back([&job, &columns, &designs](std::string_view text,
                                                       const cli::RawRecord *records,
                                                       std::size_t count, std::string &out) {
            job.out = &out;
            return calculateRows(text, records, count, columns,
                                 {designs.texts, *job.writer, designs.observer, designs.working,
                                  designs.calculations},
                                 job.record);
        });
    }
    // Typed at a terminal, each row is answered as soon as it is read.
    const std::size_t rowsPerChunk = ::isatty(::fileno(file)) ? 1 : 512;
    const bool anyFailed = cli::runChunks(reader.splitter(), chunkJobs, rowsPerChunk, writeText);
    if (const int error = reader.error())
        return usageError("cannot read " + cli::quoted(path.toStdString()) + ": " +
                          std::strerror(error));
    return anyFailed ? ExitRowFailed : 0;
}

// The report file is completed when the designs were read (some rows may have failed); a page
// that could not be written makes it fail.
int finishReport(cli::Report *report, int status)
{
    if (!report || status == ExitUsage || report->finish())
        return status;
    std::fprintf(stderr, "kiila-calc: %s\n", report->error().c_str());
    return ExitWriteFailed;
}

int run(const QCoreApplication &app, bool inputClosed)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOption({"arrangement", "", "N"});
    parser.addOption({"cracked", ""});
    for (const design::Input &input : design::Inputs)
        parser.addOption({QString::fromLatin1(input.key.data(), input.key.size()), "", "X"});
    parser.addOption({"lang", "", "L", lang::row(lang::Language::English).tag});
    for (const std::string_view option : cli::formatOptions())
        parser.addOption({QString::fromLatin1(option.data(), option.size()), ""});
    parser.addOption({"details", ""});
    parser.addOption({"csv", "", "FILE"});
    parser.addOption({"jobs", "", "N", "1"});
    parser.addOption({"cases", "", "FILE"});
    parser.addOption({"design", "", "FILE"});
    parser.addOption({"save", "", "FILE"});
    cli::addReportOptions(parser);
    parser.addOption({{"h", "help"}, ""});
    parser.addOption({"version", ""});

    // Qt's message holds the option as given: one line only when its breaks are escaped.
    if (!parser.parse(app.arguments()))
        return usageError(cli::oneLine(parser.errorText().toStdString()));
    if (parser.isSet("help")) {
        write(std::string_view(Usage, sizeof Usage - 2)); // the last line end is write's
        return 0;
    }
    if (parser.isSet("version")) {
        write("kiila-calc " KIILA_VERSION);
        return 0;
    }
    if (!parser.positionalArguments().isEmpty())
        return usageError("unexpected argument " +
                          cli::quoted(parser.positionalArguments().first().toStdString()));

    for (const char *option : {"csv", "design", "cases", "save", "report"})
        if (parser.isSet(option) && !nameAsGiven(parser.value(option)))
            return usageError("--" + std::string(option) +
                              ": the file name is not valid UTF-8; give the file a UTF-8 name");

    const bool fromFile = parser.isSet("design");
    if (fromFile) {
        if (parser.isSet("csv"))
            return usageError("give --design FILE or --csv FILE, not both");
        for (const QString &option : parser.optionNames())
            if (option == "arrangement" || option == "cracked" || isInputOption(option))
                return usageError("--" + option.toStdString() +
                                  " goes with a design given by options, not with --design");
    }
    if (parser.isSet("cases") && !parser.isSet("csv")) {
        for (const design::Input &input : design::Inputs) {
            const QString name = QString::fromLatin1(input.key.data(), input.key.size());
            const bool load =
                input.value == &calc::DesignInput::NSd || input.value == &calc::DesignInput::V1d ||
                input.value == &calc::DesignInput::e1 || input.value == &calc::DesignInput::e2;
            if (load && parser.isSet(name))
                return usageError("--" + name.toStdString() +
                                  " goes with a design of one load case, not with --cases");
        }
        if (parser.value("cases") == "-" && inputClosed)
            return usageError("cannot read standard input: it is closed");
    }
    if (parser.isSet("project") && !parser.isSet("report") && !parser.isSet("save"))
        return usageError("--project goes with --report or --save");

    const std::optional<calc::Texts> texts = textsFor(parser.value("lang"));
    if (!texts)
        return usageError("--lang: give " + langChoices() + ", not " +
                          cli::quoted(parser.value("lang").toStdString()));
    std::optional<designfile::Contents> file;
    if (fromFile) {
        QString error;
        file = designfile::read(parser.value("design"), error);
        if (!file)
            return usageError(cli::oneLine(error.toStdString()));
    }
    if (parser.isSet("save") && !parser.isSet("csv")) {
        const QString path = parser.value("save");
        if (path.isEmpty())
            return usageError("--save: give the name of the design file");
        const QString refused = outfile::refusal(path, runFiles(parser));
        if (!refused.isEmpty())
            return usageError("--save: " + cli::quoted(path.toStdString()) + " " +
                              refused.toStdString());
        if (parser.isSet("report") && sameFile(path, parser.value("report")))
            return usageError("--save and --report name the same file " +
                              cli::quoted(path.toStdString()));
    }
    const QString project = parser.isSet("project") ? parser.value("project")
                            : file                  ? file->project
                                                    : QString();
    std::string reportError;
    const std::unique_ptr<cli::Report> report =
        cli::Report::start(parser, project, runFiles(parser), reportError);
    if (!reportError.empty())
        return usageError(reportError);
    Designs::Observer observer;
    if (report)
        observer = [&report](const design::Design &design, const calc::Result &result,
                             const calc::CasesResult *cases) {
            report->addPage(design, result, cases);
        };

    const bool csv = parser.isSet("csv");
    const auto isSet = [&parser](std::string_view option) {
        return parser.isSet(QString::fromLatin1(option.data(), option.size()));
    };
    // The words kiila-calc adds in the language's (English for none, as for a language without
    // words of its own).
    const lang::LanguageRow *languageRow = lang::rowOfTag(parser.value("lang").toStdString());
    const texts::Language words =
        languageRow ? texts::of(languageRow->language) : texts::Language::English;
    const MakeWriter makeWriter = [&](cli::Lines lines) {
        std::unique_ptr<cli::Writer> writer = cli::chooseWriter(
            isSet, csv ? cli::Source::CsvFile : cli::Source::Options, std::move(lines));
        writer->setLanguage(words);
        return writer;
    };
    const std::unique_ptr<cli::Writer> writer = makeWriter(write);
    const bool details = parser.isSet("details");
    // For the tests: how many calculations the run made, on standard error at its end.
    std::atomic<long> calculations = 0;
    const bool counted = qEnvironmentVariableIsSet("KIILA_COUNT_CALCULATIONS");
    const Designs designs{*texts, *writer, observer,
                          details ? calc::Working::Kept : calc::Working::Omitted,
                          counted ? &calculations : nullptr};
    struct Teller
    {
        const std::atomic<long> *calculations;
        ~Teller()
        {
            if (calculations)
                std::fprintf(stderr, "kiila-calc: %ld calculations\n", calculations->load());
        }
    } teller{designs.calculations};

    if (csv) {
        if (details && !parser.isSet("json") && !parser.isSet("report"))
            return usageError(
                "--details goes with --json or --report for a CSV file, not with CSV output");
        const std::vector<std::string_view> formats = cli::formatOptions();
        for (const QString &option : parser.optionNames())
            if (option != "csv" && option != "lang" && option != "jobs" && option != "details" &&
                !cli::isReportOption(option) &&
                std::find(formats.begin(), formats.end(), option.toStdString()) == formats.end())
                return usageError("--" + option.toStdString() +
                                  " goes with a single design, not with --csv");
        if (parser.value("csv") == "-" && inputClosed)
            return usageError("cannot read standard input: it is closed");
        const std::optional<int> jobs = jobCount(parser.value("jobs"));
        if (!jobs)
            return usageError("--jobs: give a number from 1 to " + std::to_string(MaxJobs) +
                              ", not " + cli::quoted(parser.value("jobs").toStdString()));
        // The report's pages are made one at a time, in the order of the rows.
        if (report && *jobs > 1)
            return usageError("--jobs goes with --csv without --report");
        return finishReport(report.get(), runCsv(parser.value("csv"), designs, *jobs, makeWriter));
    }
    if (parser.isSet("jobs"))
        return usageError("--jobs goes with --csv");
    if (!fromFile && !parser.isSet("arrangement"))
        return usageError(
            "give --arrangement N (1 to 7), --design FILE or --csv FILE; --help tells more");
    return finishReport(report.get(), runSingle(parser, file, project, designs));
}

} // namespace

int main(int argc, char *argv[])
{
    const int closed = reserveStandardDescriptors();
    if (closed & 2)
        writeFailed("standard output is closed");
    endQuietlyOnClosedPipe();

    givenArguments.assign(argv + 1, argv + argc);
    const std::unique_ptr<QCoreApplication> app = cli::application(argc, argv);
    const int status = run(*app, closed & 1);
    finishOutput();
    return status;
}
