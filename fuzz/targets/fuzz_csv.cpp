// The CSV reader of kiila-calc, and what it echoes of the input, on any bytes.
//
// Input: the first byte says how often the rest is repeated (1 to 32 times), so that records
// reach the 64 KiB limit. Every record kept holds at most 64 KiB; every record whose fields are
// valid UTF-8 comes back the same when its fields are written with csvField and read again;
// every echo of a field is valid UTF-8, a message on one line and a JSON error that parses.

#include "check.h"
#include "cli/csv.h"
#include "cli/text.h"
#include "cli/writer.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QStringDecoder>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Records
{
    std::vector<std::vector<std::string>> fields;
    std::vector<bool> tooLong;
    std::vector<long> lines;
};

Records readAll(const std::string &text)
{
    Records records;
    if (text.empty())
        return records;
    std::FILE *file = ::fmemopen(const_cast<char *>(text.data()), text.size(), "rb");
    FUZZ_CHECK(file);
    cli::CsvReader reader(file);
    std::vector<std::string> fields;
    bool tooLong = false;
    while (reader.next(fields, tooLong)) {
        records.fields.push_back(fields);
        records.tooLong.push_back(tooLong);
        records.lines.push_back(reader.line());
    }
    std::fclose(file);
    return records;
}

// The line a writer of the format writes for a row that failed.
std::string failedRow(bool json, const cli::FailedRow &row)
{
    std::string written;
    const auto writer = cli::chooseWriter(
        [json](std::string_view option) { return json && option == "json"; }, cli::Source::CsvFile,
        [&written](std::string_view line) { written = line; });
    writer->error(row);
    return written;
}

bool isUtf8(const std::string &text)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = decoder.decode(QByteArrayView(text.data(), qsizetype(text.size())));
    return !decoder.hasError();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::string once(reinterpret_cast<const char *>(data + 1), size - 1);
    std::string text;
    for (int i = 0; i <= data[0] % 32; ++i)
        text += once;

    const Records records = readAll(text);
    long previousLine = 0;
    for (std::size_t r = 0; r < records.fields.size(); ++r) {
        const std::vector<std::string> &fields = records.fields[r];
        FUZZ_CHECK(records.lines[r] > previousLine);
        previousLine = records.lines[r];
        if (records.tooLong[r]) {
            FUZZ_CHECK(fields.empty());
            continue;
        }
        FUZZ_CHECK(!fields.empty());
        std::size_t bytes = fields.size() - 1; // the commas
        bool plain = true;                     // valid UTF-8 without NUL: csvField keeps it
        for (const std::string &field : fields) {
            bytes += field.size();
            plain = plain && isUtf8(field) && field.find('\0') == std::string::npos;

            const std::string message = cli::quoted(field);
            FUZZ_CHECK(isUtf8(message));
            FUZZ_CHECK(message.find_first_of("\r\n") == std::string::npos);
            const std::string error = failedRow(true, {records.lines[r] - 1, {}, message});
            QJsonParseError parseError;
            const QJsonDocument doc = QJsonDocument::fromJson(
                QByteArray(error.data(), qsizetype(error.size())), &parseError);
            FUZZ_CHECK(parseError.error == QJsonParseError::NoError);
            FUZZ_CHECK(doc.object().value("error").toString().toStdString() == message);
        }
        FUZZ_CHECK(bytes <= cli::CsvReader::MaxRecord);
        const std::string row = failedRow(false, {records.lines[r] - 1, fields, "error"});
        FUZZ_CHECK(isUtf8(row) && row.find('\0') == std::string::npos);

        // (A byte-order mark at the start of the written text would be skipped as one.)
        if (plain && fields[0].rfind("\xEF\xBB\xBF", 0) != 0) {
            std::string written;
            for (std::size_t i = 0; i < fields.size(); ++i)
                written += (i ? "," : "") + cli::csvField(fields[i]);
            const Records again = readAll(written + "\n");
            FUZZ_CHECK(again.fields.size() == 1 && again.fields[0] == fields);
        }
    }
    return 0;
}
