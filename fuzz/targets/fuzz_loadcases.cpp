// The readers of load-case tables on any bytes, as a CSV file and as pasted cells: each either
// gives cases or says in one line what is wrong, never both. The cases are within the limits, with
// one-line names, and written back as CSV and as cells they read as the same cases.

#include "check.h"
#include "loadcases/loadcases.h"

#include <cstdint>

namespace {

void checkRead(const std::optional<std::vector<design::LoadCase>> &cases, const QString &error)
{
    if (!cases) {
        FUZZ_CHECK(!error.isEmpty());
        FUZZ_CHECK(!error.contains(u'\n') && !error.contains(u'\r'));
        return;
    }
    FUZZ_CHECK(!cases->empty() && int(cases->size()) <= loadcases::MaxCases);
    for (const design::LoadCase &c : *cases)
        FUZZ_CHECK(loadcases::isCaseName(QString::fromStdString(c.name)));
    QString again;
    const auto fromCsv = loadcases::fromCsv(loadcases::toCsv(*cases), again);
    FUZZ_CHECK(fromCsv && *fromCsv == *cases);
    const auto fromCells = loadcases::fromCells(loadcases::toCells(*cases), again);
    FUZZ_CHECK(fromCells && *fromCells == *cases);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QString error;
    checkRead(loadcases::fromCsv(bytes, error), error);
    QString cellsError;
    checkRead(loadcases::fromCells(QString::fromUtf8(bytes), cellsError), cellsError);
    return 0;
}
